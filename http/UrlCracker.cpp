#include "http/UrlCracker.h"

#include "http/AsciiCase.h"

namespace ql::http {
namespace {

bool isAllowedInHost(char16_t c)
{
    // Control characters, blanks and the URL's own delimiters could split the
    // request line or move the request to another authority.
    if (c <= 0x20 || c == 0x7F)
        return false;
    constexpr std::u16string_view forbidden = u"@\\\"<>^`{|}%";
    return forbidden.find(c) == std::u16string_view::npos;
}

std::size_t hostEnd(std::u16string_view rest)
{
    if (!rest.empty() && rest.front() == u'[') { // IPv6 literal, kept with its brackets
        const std::size_t close = rest.find(u']');
        return close == std::u16string_view::npos ? rest.size() : close + 1;
    }
    const std::size_t end = rest.find_first_of(u":/?#");
    return end == std::u16string_view::npos ? rest.size() : end;
}

bool parsePort(std::u16string_view digits, std::uint16_t defaultPort, std::uint16_t& port)
{
    if (digits.empty()) {
        port = defaultPort;
        return true;
    }
    std::uint32_t value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > 65535)
            return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

} // namespace

bool isSafeHost(std::u16string_view host)
{
    if (host.empty() || host == u"[]")
        return false;
    const bool bracketed = host.front() == u'[';
    if (bracketed && host.back() != u']')
        return false;
    const std::u16string_view inner = bracketed ? host.substr(1, host.size() - 2) : host;
    for (char16_t c : inner)
        if (!isAllowedInHost(c) || (!bracketed && (c == u'[' || c == u']' || c == u':'))
            || c == u'/' || c == u'?' || c == u'#')
            return false;
    return true;
}

bool crackHttpUrl(std::u16string_view url, CrackedUrl& out)
{
    const std::size_t colon = url.find(u':');
    if (colon == std::u16string_view::npos)
        return false;
    const std::u16string_view schemeName = url.substr(0, colon);
    Scheme scheme;
    if (equalsIgnoringAsciiCase<char16_t>(schemeName, u"http"))
        scheme = Scheme::Http;
    else if (equalsIgnoringAsciiCase<char16_t>(schemeName, u"https"))
        scheme = Scheme::Https;
    else
        return false;

    std::u16string_view rest = url.substr(colon + 1);
    if (!rest.starts_with(u"//"))
        return false;
    rest.remove_prefix(2);

    const std::u16string_view host = rest.substr(0, hostEnd(rest));
    if (!isSafeHost(host))
        return false;
    rest.remove_prefix(host.size());

    std::u16string_view portDigits;
    if (rest.starts_with(u':')) {
        const std::size_t end = rest.find_first_of(u"/?#");
        portDigits = rest.substr(1, end == std::u16string_view::npos ? std::u16string_view::npos : end - 1);
        rest.remove_prefix(1 + portDigits.size());
    } else if (!rest.empty() && rest.front() != u'/' && rest.front() != u'?' && rest.front() != u'#') {
        return false; // "[::1]x": something glued to an IPv6 literal
    }
    const std::uint16_t defaultPort = scheme == Scheme::Https ? 443 : 80;
    std::uint16_t port = 0;
    if (!parsePort(portDigits, defaultPort, port))
        return false;

    // The path ends at the first '?' or '#', so a fragment is never mistaken
    // for part of the path, even when a '?' follows it.
    std::size_t pathEnd = rest.find_first_of(u"?#");
    if (pathEnd == std::u16string_view::npos)
        pathEnd = rest.size();

    out.scheme = scheme;
    out.host.assign(host);
    out.port = port;
    out.urlPath.assign(rest.substr(0, pathEnd));
    out.extraInfo.assign(rest.substr(pathEnd));
    return true;
}

} // namespace ql::http
