#include "http/HttpRequest.h"

#include "http/FailureTexts.h"
#include "http/PumpMessages.h"
#include "http/RequestHandles.h"
#include "http/RequestHeaderBlock.h"
#include "http/ResponseHeaders.h"
#include "regex/RegexObject.h"
#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <string_view>
#include <utility>

namespace ql::http {

namespace {

constexpr std::array<std::u16string_view, 8> kVerbs = {u"GET",     u"POST",   u"HEAD",  u"PUT",
                                                        u"OPTIONS", u"DELETE", u"TRACE", u"CONNECT"};
constexpr int kDefaultTimeoutMs = 30000;

std::u16string_view verbFor(int method)
{
    return method >= 0 && method < int(kVerbs.size()) ? kVerbs[std::size_t(method)] : kVerbs[0];
}

// An address without a path ("http://host?x=1") still keeps its query.
std::u16string objectNameFor(const CrackedUrl& cracked)
{
    std::u16string name = cracked.urlPath.empty() ? std::u16string(u"/") : cracked.urlPath;
    name.append(cracked.extraInfo);
    return name;
}

// A named proxy serves plain-HTTP addresses only unless the address is https.
std::u16string proxyNameFor(const Text& proxy, bool secure)
{
    if (proxy.empty())
        return {};
    return (secure ? std::u16string() : std::u16string(u"http=")) + gbkToWide(proxy.view());
}

int timeoutMsFor(int timeoutSeconds)
{
    if (timeoutSeconds < 1)
        return kDefaultTimeoutMs;
    // Clamped rather than overflowing; nobody waits 24 days for a reply.
    return int(std::min<long long>(timeoutSeconds * 1000LL, INT_MAX));
}

// One request from cracking the address to the decoded reply. Each stage it
// reaches earns one message pump at the end, whether it succeeded or not.
class RequestExchange {
public:
    RequestExchange(WinHttpLayer& layer, const HttpRequestArgs& args, RegexObject& charsetFinder)
        : layer_(layer), args_(args), charsetFinder_(charsetFinder), handles_(layer)
    {}

    Text perform(const Text& url);

private:
    void report(std::string_view failureText)
    {
        if (args_.statusText)
            *args_.statusText = Text(failureText);
    }
    Text failWith(std::string_view failureText)
    {
        report(failureText);
        return windUp({});
    }
    Text returnEarly(std::string_view failureText)
    {
        report(failureText);
        handles_.close();
        return {};
    }
    Text windUp(Text result)
    {
        for (int stage = 0; stage < stagesReached_; ++stage)
            pumpMessages();
        handles_.close();
        return result;
    }

    bool setCredentials(AuthTarget target, const Text& userName, const Text& password);
    bool setCookieOption();
    bool readBody();

    WinHttpLayer& layer_;
    const HttpRequestArgs& args_;
    RegexObject& charsetFinder_;
    RequestHandles handles_;
    int stagesReached_ = 0;
    Bytes body_;
};

Text RequestExchange::perform(const Text& url)
{
    if (!layer_.checkPlatform()) {
        report(failure::kPlatform);
        return windUp({});
    }

    ++stagesReached_; // URL cracking
    CrackedUrl cracked;
    if (!layer_.crackUrl(gbkToWide(url.view()), cracked))
        return failWith(failure::kCrackUrl);
    const bool secure = cracked.scheme == Scheme::Https;

    ++stagesReached_; // session
    const Text proxy = withoutLineBreaks(args_.proxy);
    handles_.session = layer_.open(proxy.empty() ? AccessType::NoProxy : AccessType::NamedProxy,
                                   proxyNameFor(proxy, secure));
    if (handles_.session == 0)
        return failWith(failure::kSession);

    ++stagesReached_; // connection
    handles_.connection = layer_.connect(handles_.session, cracked.host, cracked.port);
    if (handles_.connection == 0)
        return failWith(failure::kConnection);

    ++stagesReached_; // request
    handles_.request = layer_.openRequest(handles_.connection, verbFor(args_.method),
                                          objectNameFor(cracked), secure);
    if (handles_.request == 0)
        return failWith(failure::kRequest);

    ++stagesReached_; // time-outs, with credentials and options
    const int timeoutMs = timeoutMsFor(args_.timeoutSeconds);
    if (!layer_.setTimeouts(handles_.request, timeoutMs, timeoutMs, timeoutMs, timeoutMs))
        return failWith(failure::kTimeouts);
    if (!setCredentials(AuthTarget::Server, args_.userName, args_.password) ||
        !setCredentials(AuthTarget::Proxy, args_.proxyUserName, args_.proxyPassword))
        return returnEarly(failure::kCredentials);
    if (!setCookieOption())
        return returnEarly(failure::kCookieOption);
    if (args_.disableRedirects &&
        !layer_.setOption(handles_.request, kOptionDisableFeature, kDisableRedirects))
        return returnEarly(failure::kRedirectOption);

    ++stagesReached_; // header adding
    const Text headerBlock = buildRequestHeaderBlock(args_.extraHeaders, args_.method, args_.sentCookies);
    if (!layer_.addRequestHeaders(handles_.request, gbkToWide(headerBlock.view()),
                                  kAddReqFlagAdd | kAddReqFlagReplace))
        return failWith(failure::kAddHeaders);

    ++stagesReached_; // sending
    if (!layer_.sendRequest(handles_.request, args_.postData.view()))
        return failWith(failure::kSend);

    ++stagesReached_; // receiving
    if (!layer_.receiveResponse(handles_.request))
        return failWith(failure::kReceive);
    const bool readFailed = !readBody();

    ++stagesReached_; // response step
    return windUp(processResponseHeaders(layer_, handles_.request, std::move(body_), args_, readFailed,
                                         charsetFinder_));
}

// Credentials are set only when both texts are given. Line breaks are taken
// out: they can never be part of a credential.
bool RequestExchange::setCredentials(AuthTarget target, const Text& userName, const Text& password)
{
    const Text user = withoutLineBreaks(userName);
    const Text secret = withoutLineBreaks(password);
    if (user.empty() || secret.empty())
        return true;
    return layer_.setCredentials(handles_.request, target, gbkToWide(user.view()),
                                 gbkToWide(secret.view()));
}

// A caller who leaves the cookie text out gets no cookie handling from the
// platform at all; one who passes a cookie text, even empty, keeps it on.
bool RequestExchange::setCookieOption()
{
    if (args_.sentCookies)
        return layer_.setOption(handles_.request, kOptionEnableFeature, kEnableSslRevocation);
    return layer_.setOption(handles_.request, kOptionDisableFeature, kDisableCookies);
}

// False when a read failed; the bytes read before stay in the body.
bool RequestExchange::readBody()
{
    for (;;) {
        std::uint32_t available = 0;
        if (!layer_.queryDataAvailable(handles_.request, available) || available < 1)
            return true;
        // Read straight into the zero-filled tail of the accumulator, which
        // grows geometrically, rather than through a separate buffer.
        const std::size_t filled = body_.size();
        body_.resize(filled + available);
        std::uint32_t read = 0;
        const bool ok = layer_.readData(handles_.request, body_.data() + filled, available, read);
        body_.resize(filled + (ok ? std::min(read, available) : 0));
        if (!ok) {
            report(failure::kRead);
            return false;
        }
    }
}

} // namespace

Text httpRequest(WinHttpLayer& layer, const Text& url, const HttpRequestArgs& args)
{
    // The decoding step's state belongs to the call and outlives its handles.
    RegexObject charsetFinder;
    RequestExchange exchange(layer, args, charsetFinder);
    return exchange.perform(url);
}

Text httpRequest(const Text& url, const HttpRequestArgs& args)
{
    return httpRequest(defaultWinHttpLayer(), url, args);
}

} // namespace ql::http
