#pragma once
// One leg of a request: one easy handle on the request's multi handle,
// driven step by step so that the caller sees the request go out, the
// headers arrive and the body stream in. Every wait is bounded by an idle
// time-out: the operation fails when no byte moves for that long.

#include "http/CurlHandles.h"
#include "http/ResponseHeaderBlock.h"
#include "http/WinHttpError.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace ql::http {

struct Credentials {
    std::string userName;
    std::string password;
    bool given() const { return !userName.empty() || !password.empty(); }
};

struct TransferSetup {
    std::string url;
    std::string verb;
    std::string_view body;          // must outlive the transfer
    bool sendBody = false;
    HeaderSlist headers;
    long connectTimeoutMs = 0;      // 0: no limit of our own
    std::string proxyUrl;           // empty: no proxy, whatever the environment says
    Credentials proxyCredentials;
    Credentials serverCredentials;
    std::string caFile;             // extra trust anchors; empty: the system's
};

class CurlTransfer {
public:
    CurlTransfer(CURLM* multi, TransferSetup setup);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Each returns true when its goal is reached; false when the transfer
    // failed first (see error()) or ended without reaching it. An idle
    // time-out of 0 or below waits without limit.
    bool driveUntilSent(int idleMs);
    bool driveUntilHeaders(int idleMs);
    bool driveUntilBody(int idleMs); // some body bytes buffered, or the end

    const ResponseHeaderBlock& headers() const { return headers_; }
    std::size_t buffered() const { return body_.size() - bodyReadPos_; }
    std::size_t read(char* buffer, std::size_t capacity);

    bool endedCleanly() const { return state_ == State::Done; }
    bool failed() const { return state_ == State::Failed; }
    WinHttpError error() const { return error_; }

private:
    enum class State { Running, Done, Failed };
    using Clock = std::chrono::steady_clock;

    template <typename Goal>
    bool drive(Goal reached, int idleMs);
    void collectResult();
    void fail(WinHttpError error);
    void markProgress() { lastProgress_ = Clock::now(); }

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* self);
    static int onConnected(void* self, char*, char*, int, int);

    CURLM* multi_;
    TransferSetup setup_;
    EasyHandle easy_;
    bool attached_ = false;
    State state_ = State::Running;
    WinHttpError error_ = WinHttpError::None;

    bool connected_ = false;
    bool requestHeadSent_ = false;
    std::size_t bodyBytesSent_ = 0;
    bool responseStarted_ = false;
    Clock::time_point lastProgress_ = Clock::now();

    ResponseHeaderBlock headers_;
    std::string body_; // bytes received and not yet read, from bodyReadPos_
    std::size_t bodyReadPos_ = 0;
    bool paused_ = false;
};

} // namespace ql::http
