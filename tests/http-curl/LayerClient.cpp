#include "LayerClient.h"

#include "http/CurlWinHttpLayer.h"
#include "text/CodePage.h"

#include <vector>

namespace ql::http::testing {
namespace {

class Run {
public:
    explicit Run(WinHttpLayer& layer) : layer_(layer) {}
    ~Run()
    {
        for (Handle handle : {request, connection, session})
            if (handle)
                layer_.closeHandle(handle);
    }

    bool check(bool ok, Stage stage)
    {
        if (!ok && outcome.failedAt == Stage::None) {
            outcome.failedAt = stage;
            outcome.error = CurlWinHttpLayer::lastError();
        }
        return ok;
    }

    WinHttpLayer& layer_;
    Handle session = 0, connection = 0, request = 0;
    LayerOutcome outcome;
};

bool runSteps(Run& run, const LayerCall& call)
{
    WinHttpLayer& layer = run.layer_;
    CrackedUrl url;
    if (!run.check(layer.crackUrl(utf8ToWide(call.url), url), Stage::Crack))
        return false;
    run.session = layer.open(call.proxy.empty() ? AccessType::NoProxy : AccessType::NamedProxy,
                             utf8ToWide(call.proxy));
    if (!run.check(run.session != 0, Stage::Open))
        return false;
    run.connection = layer.connect(run.session, url.host, url.port);
    if (!run.check(run.connection != 0, Stage::Connect))
        return false;
    const std::u16string object = url.urlPath.empty() ? u"/" : url.urlPath + url.extraInfo;
    run.request = layer.openRequest(run.connection, utf8ToWide(call.verb), object, url.scheme == Scheme::Https);
    if (!run.check(run.request != 0, Stage::OpenRequest))
        return false;
    const Handle request = run.request;
    const int t = call.timeoutMs;
    if (!run.check(layer.setTimeouts(request, t, t, t, t), Stage::Timeouts))
        return false;
    if (!call.userName.empty()
        && !run.check(layer.setCredentials(request, AuthTarget::Server, utf8ToWide(call.userName),
                                           utf8ToWide(call.password)),
                      Stage::Credentials))
        return false;
    if (!call.proxyUserName.empty()
        && !run.check(layer.setCredentials(request, AuthTarget::Proxy, utf8ToWide(call.proxyUserName),
                                           utf8ToWide(call.proxyPassword)),
                      Stage::Credentials))
        return false;
    const bool options = (!call.disableCookies || layer.setOption(request, kOptionDisableFeature, kDisableCookies))
        && (!call.disableRedirects || layer.setOption(request, kOptionDisableFeature, kDisableRedirects));
    if (!run.check(options, Stage::Options))
        return false;
    if (!call.headers.empty()
        && !run.check(layer.addRequestHeaders(request, utf8ToWide(call.headers), kAddReqFlagAdd | kAddReqFlagReplace),
                      Stage::Headers))
        return false;
    if (!run.check(layer.sendRequest(request, call.body), Stage::Send)
        || !run.check(layer.receiveResponse(request), Stage::Receive))
        return false;

    for (;;) {
        std::uint32_t available = 0;
        if (!layer.queryDataAvailable(request, available) || available == 0)
            break;
        std::vector<char> buffer(available);
        std::uint32_t read = 0;
        if (!run.check(layer.readData(request, buffer.data(), available, read), Stage::Read))
            break;
        run.outcome.body.append(buffer.data(), read);
    }

    std::uint32_t size = 0;
    layer.queryRawHeaders(request, nullptr, size);
    std::u16string headers(size / 2, u'\0');
    if (!run.check(layer.queryRawHeaders(request, headers.data(), size), Stage::QueryHeaders))
        return false;
    headers.resize(size / 2);
    run.outcome.rawHeaders = wideToUtf8(headers);
    return true;
}

} // namespace

LayerOutcome runThroughLayer(WinHttpLayer& layer, const LayerCall& call)
{
    Run run(layer);
    runSteps(run, call);
    return run.outcome;
}

} // namespace ql::http::testing
