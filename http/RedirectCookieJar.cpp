#include "http/RedirectCookieJar.h"

#include "http/AsciiCase.h"

#include <curl/curl.h>

#include <algorithm>
#include <ctime>

namespace ql::http {
namespace {

std::string_view trimBlanks(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string lowerAscii(std::string_view s)
{
    std::string lower(s);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return foldAscii(c); });
    return lower;
}

bool domainMatches(std::string_view host, std::string_view domain)
{
    const std::string lowerHost = lowerAscii(host);
    return lowerHost == domain
        || (lowerHost.size() > domain.size() && lowerHost.ends_with(domain)
            && lowerHost[lowerHost.size() - domain.size() - 1] == '.');
}

bool pathMatches(std::string_view requestPath, std::string_view cookiePath)
{
    if (!requestPath.starts_with(cookiePath))
        return false;
    return requestPath.size() == cookiePath.size() || cookiePath.ends_with('/')
        || requestPath[cookiePath.size()] == '/';
}

// The directory of the request path, the default path of a cookie.
std::string defaultPath(std::string_view requestPath)
{
    const std::size_t lastSlash = requestPath.rfind('/');
    if (lastSlash == std::string_view::npos || lastSlash == 0)
        return "/";
    return std::string(requestPath.substr(0, lastSlash));
}

} // namespace

void RedirectCookieJar::store(const std::vector<std::string>& setCookieValues, std::string_view host,
                              std::string_view requestPath)
{
    for (const std::string& value : setCookieValues)
        storeOne(value, host, requestPath);
}

void RedirectCookieJar::storeOne(std::string_view setCookie, std::string_view host,
                                 std::string_view requestPath)
{
    const std::size_t firstSemicolon = setCookie.find(';');
    const std::string_view pair = trimBlanks(setCookie.substr(0, firstSemicolon));
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || trimBlanks(pair.substr(0, equals)).empty())
        return;

    Cookie cookie{std::string(trimBlanks(pair.substr(0, equals))),
                  std::string(trimBlanks(pair.substr(equals + 1))),
                  lowerAscii(host), true, defaultPath(requestPath), false};
    bool expired = false;
    std::string_view attributes =
        firstSemicolon == std::string_view::npos ? std::string_view{} : setCookie.substr(firstSemicolon + 1);
    while (!attributes.empty()) {
        const std::size_t end = attributes.find(';');
        const std::string_view attribute = trimBlanks(attributes.substr(0, end));
        attributes.remove_prefix(end == std::string_view::npos ? attributes.size() : end + 1);
        const std::size_t attrEquals = attribute.find('=');
        const std::string_view name = trimBlanks(attribute.substr(0, attrEquals));
        const std::string_view value =
            attrEquals == std::string_view::npos ? std::string_view{} : trimBlanks(attribute.substr(attrEquals + 1));
        if (equalsIgnoringAsciiCase(name, "domain") && !value.empty()) {
            std::string domain = lowerAscii(value.starts_with('.') ? value.substr(1) : value);
            if (!domainMatches(host, domain))
                return; // a host may not set cookies for another one
            cookie.domain = std::move(domain);
            cookie.hostOnly = false;
        } else if (equalsIgnoringAsciiCase(name, "path") && value.starts_with('/')) {
            cookie.path = value;
        } else if (equalsIgnoringAsciiCase(name, "secure")) {
            cookie.secureOnly = true;
        } else if (equalsIgnoringAsciiCase(name, "max-age")) {
            expired = !value.empty()
                && (value.starts_with('-') || value.find_first_not_of('0') == std::string_view::npos);
        } else if (equalsIgnoringAsciiCase(name, "expires")) {
            const std::time_t when = curl_getdate(std::string(value).c_str(), nullptr);
            expired = expired || (when != -1 && when <= std::time(nullptr));
        }
    }

    std::erase_if(cookies_, [&cookie](const Cookie& c) {
        return c.name == cookie.name && c.domain == cookie.domain && c.path == cookie.path;
    });
    if (!expired)
        cookies_.push_back(std::move(cookie));
}

std::string RedirectCookieJar::cookiesFor(std::string_view host, std::string_view path, bool secure) const
{
    std::string joined;
    for (const Cookie& cookie : cookies_) {
        const bool hostMatches = cookie.hostOnly ? equalsIgnoringAsciiCase(host, cookie.domain)
                                                 : domainMatches(host, cookie.domain);
        if (!hostMatches || !pathMatches(path, cookie.path) || (cookie.secureOnly && !secure))
            continue;
        if (!joined.empty())
            joined += "; ";
        joined.append(cookie.name).append("=").append(cookie.value);
    }
    return joined;
}

} // namespace ql::http
