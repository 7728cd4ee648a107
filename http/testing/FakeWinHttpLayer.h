#pragma once
// A WinHttpLayer for tests: it answers from a script, can make any single
// call fail, and records every call with its arguments and every handle
// closed, in order.

#include "http/WinHttpLayer.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ql::http::testing {

enum class Operation {
    CheckPlatform,
    CrackUrl,
    Open,
    Connect,
    OpenRequest,
    SetTimeouts,
    SetCredentials,
    SetOption,
    AddRequestHeaders,
    SendRequest,
    ReceiveResponse,
    QueryDataAvailable,
    ReadData,
    QueryRawHeaders,
    CloseHandle,
};

std::string_view operationName(Operation operation);

struct RecordedCall {
    Operation operation = Operation::CheckPlatform;
    Handle handle = 0;          // the handle acted on; the parent for open and connect
    std::u16string text{};      // url, proxy name, host, verb, user name or header block
    std::u16string secondText{};// object name or password
    // open: access type; connect: port; openRequest: secure; setTimeouts:
    // the four time-outs; setCredentials: target; setOption: option, value;
    // addRequestHeaders: modifiers; readData: bytes asked for.
    std::vector<std::int64_t> numbers{};
    std::string body{};         // sendRequest
};

class FakeWinHttpLayer final : public WinHttpLayer {
public:
    static constexpr Handle kSession = 0x51;
    static constexpr Handle kConnection = 0x52;
    static constexpr Handle kRequest = 0x53;

    // The reply. rawHeaders is handed out as the raw header block (the
    // zero unit is added); the body is offered chunk by chunk.
    std::u16string rawHeaders = u"HTTP/1.1 200 OK\r\n\r\n";
    std::vector<std::string> bodyChunks;
    // The most bytes one readData call delivers, to imitate short reads.
    std::uint32_t readLimit = UINT32_MAX;

    // Makes the occurrence-th call (from 1) of the operation fail.
    void failOn(Operation operation, int occurrence = 1);

    const std::vector<RecordedCall>& calls() const { return calls_; }
    std::vector<Operation> operations() const;
    std::vector<RecordedCall> callsOf(Operation operation) const;
    const std::vector<Handle>& closedHandles() const { return closed_; }

    bool checkPlatform() override;
    bool crackUrl(std::u16string_view url, CrackedUrl& out) override;
    Handle open(AccessType accessType, std::u16string_view proxyName) override;
    Handle connect(Handle session, std::u16string_view host, std::uint16_t port) override;
    Handle openRequest(Handle connection, std::u16string_view verb, std::u16string_view objectName,
                       bool secure) override;
    bool setTimeouts(Handle request, int resolveMs, int connectMs, int sendMs, int receiveMs) override;
    bool setCredentials(Handle request, AuthTarget target, std::u16string_view userName,
                        std::u16string_view password) override;
    bool setOption(Handle request, std::uint32_t option, std::uint32_t value) override;
    bool addRequestHeaders(Handle request, std::u16string_view headers, std::uint32_t modifiers) override;
    bool sendRequest(Handle request, std::string_view body) override;
    bool receiveResponse(Handle request) override;
    bool queryDataAvailable(Handle request, std::uint32_t& available) override;
    bool readData(Handle request, char* buffer, std::uint32_t toRead, std::uint32_t& read) override;
    bool queryRawHeaders(Handle request, char16_t* buffer, std::uint32_t& bufferLength) override;
    bool closeHandle(Handle handle) override;

private:
    // Records the call and tells whether it is the one scripted to fail.
    bool record(RecordedCall call);
    std::uint32_t bytesLeftInChunk() const;

    std::map<Operation, int> failingOccurrence_;
    std::map<Operation, int> callCounts_;
    std::vector<RecordedCall> calls_;
    std::vector<Handle> closed_;
    std::size_t chunkIndex_ = 0;
    std::size_t chunkOffset_ = 0;
};

} // namespace ql::http::testing
