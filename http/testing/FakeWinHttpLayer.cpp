#include "http/testing/FakeWinHttpLayer.h"

#include "http/UrlCracker.h"

#include <algorithm>
#include <cstring>

namespace ql::http::testing {

std::string_view operationName(Operation operation)
{
    switch (operation) {
    case Operation::CheckPlatform: return "checkPlatform";
    case Operation::CrackUrl: return "crackUrl";
    case Operation::Open: return "open";
    case Operation::Connect: return "connect";
    case Operation::OpenRequest: return "openRequest";
    case Operation::SetTimeouts: return "setTimeouts";
    case Operation::SetCredentials: return "setCredentials";
    case Operation::SetOption: return "setOption";
    case Operation::AddRequestHeaders: return "addRequestHeaders";
    case Operation::SendRequest: return "sendRequest";
    case Operation::ReceiveResponse: return "receiveResponse";
    case Operation::QueryDataAvailable: return "queryDataAvailable";
    case Operation::ReadData: return "readData";
    case Operation::QueryRawHeaders: return "queryRawHeaders";
    case Operation::CloseHandle: return "closeHandle";
    }
    return "unknown";
}

void FakeWinHttpLayer::failOn(Operation operation, int occurrence)
{
    failingOccurrence_[operation] = occurrence;
}

std::vector<Operation> FakeWinHttpLayer::operations() const
{
    std::vector<Operation> result;
    for (const RecordedCall& call : calls_)
        result.push_back(call.operation);
    return result;
}

std::vector<RecordedCall> FakeWinHttpLayer::callsOf(Operation operation) const
{
    std::vector<RecordedCall> result;
    std::ranges::copy_if(calls_, std::back_inserter(result),
                         [&](const RecordedCall& call) { return call.operation == operation; });
    return result;
}

bool FakeWinHttpLayer::record(RecordedCall call)
{
    const int occurrence = ++callCounts_[call.operation];
    const auto failing = failingOccurrence_.find(call.operation);
    calls_.push_back(std::move(call));
    return failing != failingOccurrence_.end() && failing->second == occurrence;
}

bool FakeWinHttpLayer::checkPlatform()
{
    return !record({Operation::CheckPlatform});
}

bool FakeWinHttpLayer::crackUrl(std::u16string_view url, CrackedUrl& out)
{
    if (record({Operation::CrackUrl, 0, std::u16string(url)}))
        return false;
    // The real cracker: it needs no network.
    return crackHttpUrl(url, out);
}

Handle FakeWinHttpLayer::open(AccessType accessType, std::u16string_view proxyName)
{
    const bool fails =
        record({Operation::Open, 0, std::u16string(proxyName), {}, {std::int64_t(accessType)}});
    return fails ? 0 : kSession;
}

Handle FakeWinHttpLayer::connect(Handle session, std::u16string_view host, std::uint16_t port)
{
    const bool fails = record({Operation::Connect, session, std::u16string(host), {}, {port}});
    return fails ? 0 : kConnection;
}

Handle FakeWinHttpLayer::openRequest(Handle connection, std::u16string_view verb,
                                     std::u16string_view objectName, bool secure)
{
    const bool fails = record({Operation::OpenRequest, connection, std::u16string(verb),
                               std::u16string(objectName), {secure ? 1 : 0}});
    return fails ? 0 : kRequest;
}

bool FakeWinHttpLayer::setTimeouts(Handle request, int resolveMs, int connectMs, int sendMs,
                                   int receiveMs)
{
    return !record({Operation::SetTimeouts, request, {}, {}, {resolveMs, connectMs, sendMs, receiveMs}});
}

bool FakeWinHttpLayer::setCredentials(Handle request, AuthTarget target, std::u16string_view userName,
                                      std::u16string_view password)
{
    return !record({Operation::SetCredentials, request, std::u16string(userName),
                    std::u16string(password), {std::int64_t(target)}});
}

bool FakeWinHttpLayer::setOption(Handle request, std::uint32_t option, std::uint32_t value)
{
    return !record({Operation::SetOption, request, {}, {}, {option, value}});
}

bool FakeWinHttpLayer::addRequestHeaders(Handle request, std::u16string_view headers,
                                         std::uint32_t modifiers)
{
    return !record({Operation::AddRequestHeaders, request, std::u16string(headers), {}, {modifiers}});
}

bool FakeWinHttpLayer::sendRequest(Handle request, std::string_view body)
{
    return !record({Operation::SendRequest, request, {}, {}, {}, std::string(body)});
}

bool FakeWinHttpLayer::receiveResponse(Handle request)
{
    return !record({Operation::ReceiveResponse, request});
}

std::uint32_t FakeWinHttpLayer::bytesLeftInChunk() const
{
    if (chunkIndex_ >= bodyChunks.size())
        return 0;
    return std::uint32_t(bodyChunks[chunkIndex_].size() - chunkOffset_);
}

bool FakeWinHttpLayer::queryDataAvailable(Handle request, std::uint32_t& available)
{
    if (record({Operation::QueryDataAvailable, request}))
        return false;
    while (chunkIndex_ < bodyChunks.size() && bytesLeftInChunk() == 0) {
        ++chunkIndex_;
        chunkOffset_ = 0;
    }
    available = bytesLeftInChunk();
    return true;
}

bool FakeWinHttpLayer::readData(Handle request, char* buffer, std::uint32_t toRead, std::uint32_t& read)
{
    if (record({Operation::ReadData, request, {}, {}, {toRead}}))
        return false;
    read = std::min({toRead, readLimit, bytesLeftInChunk()});
    if (read > 0)
        std::memcpy(buffer, bodyChunks[chunkIndex_].data() + chunkOffset_, read);
    chunkOffset_ += read;
    return true;
}

bool FakeWinHttpLayer::queryRawHeaders(Handle request, char16_t* buffer, std::uint32_t& bufferLength)
{
    if (record({Operation::QueryRawHeaders, request, {}, {}, {bufferLength}}))
        return false;
    const auto needed = std::uint32_t((rawHeaders.size() + 1) * sizeof(char16_t));
    if (buffer == nullptr || bufferLength < needed) {
        bufferLength = needed;
        return false;
    }
    std::copy(rawHeaders.begin(), rawHeaders.end(), buffer);
    buffer[rawHeaders.size()] = u'\0';
    bufferLength = needed - sizeof(char16_t);
    return true;
}

bool FakeWinHttpLayer::closeHandle(Handle handle)
{
    closed_.push_back(handle);
    return !record({Operation::CloseHandle, handle});
}

} // namespace ql::http::testing
