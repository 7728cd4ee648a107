#pragma once
// The WinHTTP-like layer over libcurl. Handles are numbers into a table:
// a session owns its connections and a connection its requests, so closing a
// parent closes what it still holds, requests first.

#include "http/WinHttpError.h"
#include "http/WinHttpLayer.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace ql::http {

class CurlRequest;

struct CurlLayerSettings {
    // A PEM file of extra trust anchors instead of the system's; empty for
    // the system store. Certificates are verified either way.
    std::string caFile;
};

class CurlWinHttpLayer final : public WinHttpLayer {
public:
    explicit CurlWinHttpLayer(CurlLayerSettings settings = {});
    ~CurlWinHttpLayer() override;

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

    // Why the last failing call of this thread failed, as GetLastError would.
    static WinHttpError lastError();

private:
    enum class Kind { Session, Connection, Request };
    struct Object {
        // Defined where CurlRequest is complete.
        explicit Object(Kind kind, Handle parent = 0);
        Object(Object&&) noexcept;
        ~Object();
        Kind kind;
        Handle parent;
        std::string proxyList;              // session
        std::string host;                   // connection
        std::uint16_t port = 0;             // connection
        std::unique_ptr<CurlRequest> request;
    };

    Handle addLocked(Object object);
    Object* find(Handle handle, Kind kind);
    CurlRequest* findRequest(Handle request);
    void closeLocked(Handle handle);

    CurlLayerSettings settings_;
    std::mutex mutex_;
    std::unordered_map<Handle, std::unique_ptr<Object>> objects_;
    Handle nextHandle_ = 1;
};

} // namespace ql::http
