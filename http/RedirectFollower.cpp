#include "http/RedirectFollower.h"

#include "http/AsciiCase.h"
#include "http/CurlHandles.h"

#include <charconv>
#include <optional>

namespace ql::http {
namespace {

bool isRedirect(int statusCode)
{
    return statusCode == 301 || statusCode == 302 || statusCode == 303 || statusCode == 307
        || statusCode == 308;
}

std::optional<std::string> urlPart(CURLU* url, CURLUPart part, unsigned flags = 0)
{
    char* value = nullptr;
    if (curl_url_get(url, part, &value, flags) != CURLUE_OK)
        return std::nullopt;
    std::string copy(value);
    curl_free(value);
    return copy;
}

// The Location resolved against the leg it answered, the way curl resolves
// it for its own redirects; user info and fragment are dropped.
std::optional<RequestTarget> resolveLocation(const RequestTarget& from, const std::string& location)
{
    const UrlHandle url(curl_url());
    const unsigned flags = CURLU_URLENCODE | CURLU_ALLOW_SPACE | CURLU_PATH_AS_IS;
    if (!url || curl_url_set(url.get(), CURLUPART_URL, from.url().c_str(), flags) != CURLUE_OK
        || curl_url_set(url.get(), CURLUPART_URL, location.c_str(), flags) != CURLUE_OK)
        return std::nullopt;

    const auto scheme = urlPart(url.get(), CURLUPART_SCHEME);
    const auto host = urlPart(url.get(), CURLUPART_HOST);
    const auto port = urlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    const auto path = urlPart(url.get(), CURLUPART_PATH);
    if (!scheme || !host || !port || !path)
        return std::nullopt;
    RequestTarget target;
    if (equalsIgnoringAsciiCase(*scheme, "https"))
        target.secure = true;
    else if (!equalsIgnoringAsciiCase(*scheme, "http"))
        return std::nullopt;
    target.host = *host;
    if (std::from_chars(port->data(), port->data() + port->size(), target.port).ec != std::errc{})
        return std::nullopt;
    target.path = path->empty() ? "/" : *path;
    if (const auto query = urlPart(url.get(), CURLUPART_QUERY))
        target.query = '?' + *query;
    return target;
}

} // namespace

RedirectFollower::Next RedirectFollower::next(int statusCode, const std::vector<std::string>& locations,
                                              RequestLeg& leg)
{
    if (!isRedirect(statusCode) || locations.empty())
        return Next::Final;
    if (followed_ == kMaxRedirects)
        return Next::Refused;
    std::optional<RequestTarget> target = resolveLocation(leg.target, locations.back());
    if (!target || (leg.target.secure && !target->secure))
        return Next::Refused;

    const bool becomesGet = (statusCode == 303 && leg.verb != "HEAD")
        || ((statusCode == 301 || statusCode == 302) && leg.verb == "POST");
    if (becomesGet) {
        leg.verb = "GET";
        leg.sendBody = false;
    }
    leg.target = std::move(*target);
    ++followed_;
    return Next::Follow;
}

} // namespace ql::http
