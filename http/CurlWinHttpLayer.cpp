#include "http/CurlWinHttpLayer.h"

#include "http/CurlHandles.h"
#include "http/CurlRequest.h"
#include "http/ObjectNameEscaper.h"
#include "http/UrlCracker.h"
#include "text/CodePage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ql::http {
namespace {

thread_local WinHttpError lastErrorOfThread = WinHttpError::None;

bool failWith(WinHttpError error)
{
    lastErrorOfThread = error;
    return false;
}

Handle noHandle(WinHttpError error)
{
    lastErrorOfThread = error;
    return 0;
}

bool isTokenCharacter(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return true;
    return std::u16string_view(u"!#$%&'*+-.^_`|~").find(c) != std::u16string_view::npos;
}

// Header text and credentials travel in the system code page (GBK), so the
// engine's GBK bytes reach the wire unchanged.
std::string narrow(std::u16string_view wide) { return wideToGbk(wide); }

} // namespace

CurlWinHttpLayer::Object::Object(Kind kind, Handle parent) : kind(kind), parent(parent) {}
CurlWinHttpLayer::Object::Object(Object&&) noexcept = default;
CurlWinHttpLayer::Object::~Object() = default;

CurlWinHttpLayer::CurlWinHttpLayer(CurlLayerSettings settings) : settings_(std::move(settings)) {}

CurlWinHttpLayer::~CurlWinHttpLayer()
{
    const std::lock_guard lock(mutex_);
    std::vector<Handle> sessions;
    for (const auto& [handle, object] : objects_)
        if (object->kind == Kind::Session)
            sessions.push_back(handle);
    for (Handle session : sessions)
        closeLocked(session);
}

WinHttpError CurlWinHttpLayer::lastError() { return lastErrorOfThread; }

bool CurlWinHttpLayer::checkPlatform() { return ensureCurlGlobalInit(); }

bool CurlWinHttpLayer::crackUrl(std::u16string_view url, CrackedUrl& out)
{
    return crackHttpUrl(url, out) || failWith(WinHttpError::InvalidUrl);
}

Handle CurlWinHttpLayer::open(AccessType accessType, std::u16string_view proxyName)
{
    if (!ensureCurlGlobalInit())
        return noHandle(WinHttpError::InternalError);
    Object session{Kind::Session};
    if (accessType == AccessType::NamedProxy) {
        if (proxyName.empty())
            return noHandle(WinHttpError::InvalidParameter);
        session.proxyList = wideToUtf8(proxyName);
    } else if (accessType != AccessType::NoProxy) {
        return noHandle(WinHttpError::InvalidParameter);
    }
    const std::lock_guard lock(mutex_);
    return addLocked(std::move(session));
}

Handle CurlWinHttpLayer::connect(Handle session, std::u16string_view host, std::uint16_t port)
{
    if (!isSafeHost(host))
        return noHandle(WinHttpError::InvalidUrl);
    const std::lock_guard lock(mutex_);
    if (!find(session, Kind::Session))
        return noHandle(WinHttpError::InvalidHandle);
    Object connection{Kind::Connection, session};
    connection.host = wideToUtf8(host);
    connection.port = port;
    return addLocked(std::move(connection));
}

Handle CurlWinHttpLayer::openRequest(Handle connection, std::u16string_view verb,
                                     std::u16string_view objectName, bool secure)
{
    if (!std::all_of(verb.begin(), verb.end(), isTokenCharacter))
        return noHandle(WinHttpError::InvalidParameter);
    const std::lock_guard lock(mutex_);
    const Object* parent = find(connection, Kind::Connection);
    if (!parent)
        return noHandle(WinHttpError::InvalidHandle);
    const Object* session = find(parent->parent, Kind::Session);

    RequestConfig config;
    config.proxyList = session ? session->proxyList : std::string();
    config.verb = verb.empty() ? "GET" : wideToUtf8(verb);
    config.caFile = settings_.caFile;
    config.target.secure = secure;
    config.target.host = parent->host;
    config.target.port = parent->port;
    std::string object = escapeObjectName(objectName);
    if (!object.starts_with('/'))
        object.insert(0, 1, '/');
    const std::size_t query = object.find('?');
    config.target.path = object.substr(0, query);
    config.target.query = query == std::string::npos ? std::string() : object.substr(query);

    Object request{Kind::Request, connection};
    request.request = std::make_unique<CurlRequest>(std::move(config));
    return addLocked(std::move(request));
}

bool CurlWinHttpLayer::setTimeouts(Handle request, int resolveMs, int connectMs, int sendMs, int receiveMs)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->setTimeouts(resolveMs, connectMs, sendMs, receiveMs) || failWith(state->error());
}

bool CurlWinHttpLayer::setCredentials(Handle request, AuthTarget target, std::u16string_view userName,
                                      std::u16string_view password)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    if (target != AuthTarget::Server && target != AuthTarget::Proxy)
        return failWith(WinHttpError::InvalidParameter);
    return state->setCredentials(target, Credentials{narrow(userName), narrow(password)})
        || failWith(state->error());
}

bool CurlWinHttpLayer::setOption(Handle request, std::uint32_t option, std::uint32_t value)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->setOption(option, value) || failWith(state->error());
}

bool CurlWinHttpLayer::addRequestHeaders(Handle request, std::u16string_view headers, std::uint32_t modifiers)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->addHeaders(narrow(headers), modifiers) || failWith(state->error());
}

bool CurlWinHttpLayer::sendRequest(Handle request, std::string_view body)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->send(body) || failWith(state->error());
}

bool CurlWinHttpLayer::receiveResponse(Handle request)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->receive() || failWith(state->error());
}

bool CurlWinHttpLayer::queryDataAvailable(Handle request, std::uint32_t& available)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->queryDataAvailable(available) || failWith(state->error());
}

bool CurlWinHttpLayer::readData(Handle request, char* buffer, std::uint32_t toRead, std::uint32_t& read)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    return state->read(buffer, toRead, read) || failWith(state->error());
}

bool CurlWinHttpLayer::queryRawHeaders(Handle request, char16_t* buffer, std::uint32_t& bufferLength)
{
    CurlRequest* state = findRequest(request);
    if (!state)
        return false;
    if (state->rawHeaders().empty())
        return failWith(WinHttpError::IncorrectHandleState);
    // Header bytes are widened through the system code page, so GBK bytes a
    // server sends come back unchanged when the engine narrows them again.
    const std::u16string wide = gbkToWide(state->rawHeaders());
    const std::size_t needed = (wide.size() + 1) * sizeof(char16_t);
    if (!buffer || bufferLength < needed) {
        bufferLength = static_cast<std::uint32_t>(needed);
        return failWith(WinHttpError::InsufficientBuffer);
    }
    std::memcpy(buffer, wide.c_str(), needed);
    bufferLength = static_cast<std::uint32_t>(needed - sizeof(char16_t));
    return true;
}

bool CurlWinHttpLayer::closeHandle(Handle handle)
{
    const std::lock_guard lock(mutex_);
    if (!objects_.contains(handle))
        return failWith(WinHttpError::InvalidHandle);
    closeLocked(handle);
    return true;
}

Handle CurlWinHttpLayer::addLocked(Object object)
{
    const Handle handle = nextHandle_++;
    objects_.emplace(handle, std::make_unique<Object>(std::move(object)));
    return handle;
}

CurlWinHttpLayer::Object* CurlWinHttpLayer::find(Handle handle, Kind kind)
{
    const auto found = objects_.find(handle);
    return found != objects_.end() && found->second->kind == kind ? found->second.get() : nullptr;
}

CurlRequest* CurlWinHttpLayer::findRequest(Handle request)
{
    const std::lock_guard lock(mutex_);
    Object* object = find(request, Kind::Request);
    if (!object) {
        failWith(objects_.contains(request) ? WinHttpError::IncorrectHandleType : WinHttpError::InvalidHandle);
        return nullptr;
    }
    return object->request.get();
}

void CurlWinHttpLayer::closeLocked(Handle handle)
{
    std::vector<Handle> children;
    for (const auto& [child, object] : objects_)
        if (object->parent == handle)
            children.push_back(child);
    for (Handle child : children)
        closeLocked(child);
    objects_.erase(handle);
}

WinHttpLayer& defaultWinHttpLayer()
{
    static CurlWinHttpLayer layer;
    return layer;
}

} // namespace ql::http
