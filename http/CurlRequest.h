#pragma once
// The state behind one request handle: its settings, its header list, the
// legs of its redirect chain and the body as it streams in. It owns its
// multi handle, so the legs of one chain can reuse a kept-alive connection.

#include "http/CurlTransfer.h"
#include "http/RedirectCookieJar.h"
#include "http/RedirectFollower.h"
#include "http/RequestHeaderList.h"
#include "http/RequestTarget.h"
#include "http/WinHttpError.h"
#include "http/WinHttpLayer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ql::http {

struct RequestConfig {
    std::string proxyList; // WinHTTP named-proxy list; empty: none
    RequestTarget target;
    std::string verb;
    std::string caFile;
};

class CurlRequest {
public:
    explicit CurlRequest(RequestConfig config);
    ~CurlRequest();
    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    // Every operation returns false and leaves the reason in error().
    // Resolve and connect share curl's one connect limit (the larger of the
    // two); send and receive are idle limits: an operation fails when no
    // byte has moved for that long. 0 and -1 mean no limit.
    bool setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);
    bool setCredentials(AuthTarget target, Credentials credentials);
    bool setOption(std::uint32_t option, std::uint32_t value);
    bool addHeaders(std::string_view block, std::uint32_t modifiers);
    // Drives the first leg until the request has gone out: resolving,
    // connecting, TLS and certificate failures surface here.
    bool send(std::string_view body);
    // Drives until the final response's headers are in, following redirects;
    // a silent server, an empty or malformed reply, a refused redirect, and
    // any failure of a later leg surface here.
    bool receive();
    // What is buffered, or waits for more; 0 only at a clean end. A body
    // that broke off is announced as one byte, which read() then fails on.
    bool queryDataAvailable(std::uint32_t& available);
    bool read(char* buffer, std::uint32_t toRead, std::uint32_t& read);
    // The final response's header block; empty before receive() succeeded.
    const std::string& rawHeaders() const { return rawHeaders_; }

    WinHttpError error() const { return error_; }

private:
    enum class Phase { Configuring, Sent, Received, Failed };

    bool fail(WinHttpError error);
    bool startLeg();
    std::optional<HeaderSlist> legHeaders() const;
    bool waitForBody();

    RequestConfig config_;
    Phase phase_ = Phase::Configuring;
    WinHttpError error_ = WinHttpError::None;

    // WinHTTP's defaults until setTimeouts: no resolve limit, 60 s connect,
    // 30 s send and receive.
    int resolveMs_ = 0;
    int connectMs_ = 60000;
    int sendMs_ = 30000;
    int receiveMs_ = 30000;
    Credentials serverCredentials_;
    Credentials proxyCredentials_;
    bool cookiesEnabled_ = true;
    bool redirectsEnabled_ = true;
    RequestHeaderList headers_;

    std::string body_;
    RequestLeg leg_;
    RedirectFollower redirects_;
    RedirectCookieJar cookieJar_;
    std::string rawHeaders_;

    // The transfer goes before the multi handle it is attached to.
    MultiHandle multi_;
    std::unique_ptr<CurlTransfer> transfer_;
};

} // namespace ql::http
