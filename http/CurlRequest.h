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
    bool setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);
    bool setCredentials(AuthTarget target, Credentials credentials);
    bool setOption(std::uint32_t option, std::uint32_t value);
    bool addHeaders(std::string_view block, std::uint32_t modifiers);
    bool send(std::string_view body);
    bool receive();
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
