#pragma once
// The WinHTTP-like platform operations the request engine is written
// against, in their wide-character synchronous form. CurlWinHttpLayer is the
// real implementation over libcurl; tests use a fault-injecting fake.

#include <cstdint>
#include <string>
#include <string_view>

namespace ql::http {

using Handle = std::uintptr_t; // 0 is the null handle

enum class Scheme : int { Http = 1, Https = 2 };

struct CrackedUrl {
    Scheme scheme = Scheme::Http;
    std::u16string host;
    std::uint16_t port = 0;      // the scheme's default when the URL names none
    std::u16string urlPath;      // up to the first '?' or '#', may be empty
    std::u16string extraInfo;    // from there on, may be empty
};

enum class AccessType : std::uint32_t { NoProxy = 1, NamedProxy = 3 };
enum class AuthTarget : std::uint32_t { Server = 0, Proxy = 1 };

// Option numbers and values as WinHTTP defines them.
constexpr std::uint32_t kOptionDisableFeature = 63;
constexpr std::uint32_t kOptionEnableFeature = 79;
constexpr std::uint32_t kDisableCookies = 1;
constexpr std::uint32_t kDisableRedirects = 2;
constexpr std::uint32_t kEnableSslRevocation = 1;
constexpr std::uint32_t kAddReqFlagAdd = 0x20000000;
constexpr std::uint32_t kAddReqFlagReplace = 0x80000000;

class WinHttpLayer {
public:
    virtual ~WinHttpLayer() = default;

    virtual bool checkPlatform() = 0;
    virtual bool crackUrl(std::u16string_view url, CrackedUrl& out) = 0;
    // No agent name and no bypass list. proxyName is empty, "http=host:port"
    // (plain-HTTP URLs only) or "host:port" (every scheme).
    virtual Handle open(AccessType accessType, std::u16string_view proxyName) = 0;
    virtual Handle connect(Handle session, std::u16string_view host, std::uint16_t port) = 0;
    // No version, referrer or accept types; objectName is path plus query.
    virtual Handle openRequest(Handle connection, std::u16string_view verb,
                               std::u16string_view objectName, bool secure) = 0;
    virtual bool setTimeouts(Handle request, int resolveMs, int connectMs, int sendMs,
                             int receiveMs) = 0;
    // Basic scheme only.
    virtual bool setCredentials(Handle request, AuthTarget target, std::u16string_view userName,
                                std::u16string_view password) = 0;
    virtual bool setOption(Handle request, std::uint32_t option, std::uint32_t value) = 0;
    virtual bool addRequestHeaders(Handle request, std::u16string_view headers,
                                   std::uint32_t modifiers) = 0;
    // The body is sent as it stands; an empty body sends none.
    virtual bool sendRequest(Handle request, std::string_view body) = 0;
    virtual bool receiveResponse(Handle request) = 0;
    // available = 0 at the end of the body.
    virtual bool queryDataAvailable(Handle request, std::uint32_t& available) = 0;
    virtual bool readData(Handle request, char* buffer, std::uint32_t toRead,
                          std::uint32_t& read) = 0;
    // WINHTTP_QUERY_RAW_HEADERS_CRLF: the status line and header lines, each
    // ended by CRLF, then an empty line, then a zero unit. bufferLength is
    // in bytes; when it is too small the call fails and sets it to the size
    // needed, terminator included.
    virtual bool queryRawHeaders(Handle request, char16_t* buffer, std::uint32_t& bufferLength) = 0;
    virtual bool closeHandle(Handle handle) = 0;
};

// The real layer, shared by every call in the process; it keeps no state
// between requests.
WinHttpLayer& defaultWinHttpLayer();

} // namespace ql::http
