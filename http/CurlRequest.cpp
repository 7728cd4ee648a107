#include "http/CurlRequest.h"

#include "http/AsciiCase.h"
#include "http/ProxySetting.h"

#include <algorithm>
#include <limits>

namespace ql::http {
namespace {

constexpr std::uint32_t kKnownDisableFlags = kDisableCookies | kDisableRedirects;

bool isValidTimeout(int ms) { return ms >= -1; }
// 0 and -1 both mean "wait without limit".
int limitOf(int ms) { return ms > 0 ? ms : 0; }

// Credentials and cookies of the caller belong to the host they were meant
// for; a redirect to another host:port must not carry them.
bool isHostBound(std::string_view name)
{
    return equalsIgnoringAsciiCase(name, "Authorization") || equalsIgnoringAsciiCase(name, "Cookie")
        || equalsIgnoringAsciiCase(name, "Host");
}

} // namespace

CurlRequest::CurlRequest(RequestConfig config)
    : config_(std::move(config)), leg_{config_.target, config_.verb, false}, multi_(curl_multi_init())
{
}

CurlRequest::~CurlRequest()
{
    transfer_.reset();
    multi_.reset();
}

bool CurlRequest::fail(WinHttpError error)
{
    error_ = error;
    return false;
}

bool CurlRequest::setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs)
{
    if (!isValidTimeout(resolveMs) || !isValidTimeout(connectMs) || !isValidTimeout(sendMs)
        || !isValidTimeout(receiveMs))
        return fail(WinHttpError::InvalidParameter);
    resolveMs_ = limitOf(resolveMs);
    connectMs_ = limitOf(connectMs);
    sendMs_ = limitOf(sendMs);
    receiveMs_ = limitOf(receiveMs);
    return true;
}

bool CurlRequest::setCredentials(AuthTarget target, Credentials credentials)
{
    if (phase_ != Phase::Configuring)
        return fail(WinHttpError::IncorrectHandleState);
    (target == AuthTarget::Proxy ? proxyCredentials_ : serverCredentials_) = std::move(credentials);
    return true;
}

bool CurlRequest::setOption(std::uint32_t option, std::uint32_t value)
{
    if (option == kOptionDisableFeature) {
        if (value == 0 || (value & ~kKnownDisableFlags) != 0)
            return fail(WinHttpError::InvalidParameter);
        if (value & kDisableCookies)
            cookiesEnabled_ = false;
        if (value & kDisableRedirects)
            redirectsEnabled_ = false;
        return true;
    }
    if (option == kOptionEnableFeature) {
        // SSL revocation checking is accepted but cannot be enforced: curl
        // over OpenSSL fetches no CRL and asks no OCSP responder; it can only
        // demand a stapled OCSP answer, which many sound servers never send.
        // The certificate chain and host name are still always verified.
        return value == kEnableSslRevocation || fail(WinHttpError::InvalidParameter);
    }
    return fail(WinHttpError::InvalidOption);
}

bool CurlRequest::addHeaders(std::string_view block, std::uint32_t modifiers)
{
    // ADD | REPLACE is the only combination the engine uses.
    if (modifiers != (kAddReqFlagAdd | kAddReqFlagReplace))
        return fail(WinHttpError::InvalidParameter);
    if (phase_ != Phase::Configuring)
        return fail(WinHttpError::IncorrectHandleState);
    return headers_.addOrReplace(block) || fail(WinHttpError::InvalidHeader);
}

bool CurlRequest::send(std::string_view body)
{
    if (phase_ != Phase::Configuring)
        return fail(WinHttpError::IncorrectHandleState);
    if (!multi_) {
        phase_ = Phase::Failed;
        return fail(WinHttpError::OutOfMemory);
    }
    body_.assign(body);
    leg_.sendBody = !body_.empty();
    if (!startLeg()) {
        phase_ = Phase::Failed;
        return false;
    }
    phase_ = Phase::Sent;
    return true;
}

bool CurlRequest::startLeg()
{
    transfer_.reset(); // a leg left early closes its connection
    TransferSetup setup;
    setup.url = leg_.target.url();
    setup.verb = leg_.verb;
    setup.body = body_;
    setup.sendBody = leg_.sendBody;
    std::optional<HeaderSlist> headers = legHeaders();
    if (!headers)
        return fail(WinHttpError::OutOfMemory);
    setup.headers = std::move(*headers);
    // curl has one limit for resolving and connecting together.
    setup.connectTimeoutMs = std::max(resolveMs_, connectMs_);
    setup.proxyUrl = proxyUrlFor(config_.proxyList, leg_.target.secure);
    setup.proxyCredentials = proxyCredentials_;
    if (leg_.target.sameAuthority(config_.target))
        setup.serverCredentials = serverCredentials_;
    setup.caFile = config_.caFile;
    transfer_ = std::make_unique<CurlTransfer>(multi_.get(), std::move(setup));
    if (!transfer_->driveUntilSent(sendMs_))
        return fail(transfer_->failed() ? transfer_->error() : WinHttpError::ConnectionError);
    return true;
}

std::optional<HeaderSlist> CurlRequest::legHeaders() const
{
    const bool originalHost = leg_.target.sameAuthority(config_.target);
    const std::string jarCookies =
        cookiesEnabled_ ? cookieJar_.cookiesFor(leg_.target.host, leg_.target.path, leg_.target.secure)
                        : std::string();
    HeaderSlist list;
    bool complete = true;
    const auto add = [&list, &complete](const std::string& line) { complete = list.append(line) && complete; };
    bool cookieSent = false;
    for (const RequestHeader& header : headers_.entries()) {
        if (!originalHost && isHostBound(header.name))
            continue;
        std::string line = header.name + ": " + header.value;
        if (equalsIgnoringAsciiCase(header.name, "Cookie") && !jarCookies.empty()) {
            line += "; " + jarCookies;
            cookieSent = true;
        }
        add(line);
    }
    if (!cookieSent && !jarCookies.empty())
        add("Cookie: " + jarCookies);

    // curl's own additions that WinHTTP never makes; an empty value removes
    // them unless the caller supplied the header.
    for (const char* name : {"Accept", "Expect", "Content-Type"})
        if (!headers_.find(name))
            add(std::string(name) + ":");
    if (!headers_.find("Connection"))
        add("Connection: Keep-Alive");
    if ((leg_.verb == "POST" || leg_.verb == "PUT") && !leg_.sendBody && !headers_.find("Content-Length"))
        add("Content-Length: 0");
    if (!complete)
        return std::nullopt;
    return list;
}

bool CurlRequest::receive()
{
    if (phase_ != Phase::Sent)
        return fail(WinHttpError::IncorrectHandleState);
    for (;;) {
        if (!transfer_->driveUntilHeaders(receiveMs_)) {
            phase_ = Phase::Failed;
            return fail(transfer_->failed() ? transfer_->error() : WinHttpError::InvalidServerResponse);
        }
        const ResponseHeaderBlock& headers = transfer_->headers();
        if (cookiesEnabled_)
            cookieJar_.store(headers.values("Set-Cookie"), leg_.target.host, leg_.target.path);
        if (!redirectsEnabled_)
            break;
        const RedirectFollower::Next next = redirects_.next(headers.statusCode(), headers.values("Location"), leg_);
        if (next == RedirectFollower::Next::Final)
            break;
        if (next == RedirectFollower::Next::Refused) {
            phase_ = Phase::Failed;
            return fail(WinHttpError::RedirectFailed);
        }
        if (!startLeg()) {
            phase_ = Phase::Failed;
            return false;
        }
    }
    rawHeaders_ = transfer_->headers().text();
    phase_ = Phase::Received;
    return true;
}

bool CurlRequest::waitForBody()
{
    if (transfer_->buffered() == 0 && !transfer_->endedCleanly() && !transfer_->failed())
        transfer_->driveUntilBody(receiveMs_);
    return transfer_->buffered() > 0;
}

bool CurlRequest::queryDataAvailable(std::uint32_t& available)
{
    if (phase_ != Phase::Received)
        return fail(WinHttpError::IncorrectHandleState);
    if (waitForBody()) {
        available = static_cast<std::uint32_t>(
            std::min<std::size_t>(transfer_->buffered(), std::numeric_limits<std::uint32_t>::max()));
        return true;
    }
    // A body that broke off is announced as one more byte, so that the
    // reader asks for it and the read reports the failure; it must never
    // look like the end of the body.
    available = transfer_->failed() ? 1 : 0;
    return true;
}

bool CurlRequest::read(char* buffer, std::uint32_t toRead, std::uint32_t& read)
{
    if (phase_ != Phase::Received)
        return fail(WinHttpError::IncorrectHandleState);
    if (toRead == 0) {
        read = 0;
        return true;
    }
    if (!buffer)
        return fail(WinHttpError::InvalidParameter);
    if (!waitForBody() && transfer_->failed())
        return fail(transfer_->error());
    read = static_cast<std::uint32_t>(transfer_->read(buffer, toRead));
    return true;
}

} // namespace ql::http
