// URL cracking and object-name escaping on arbitrary addresses. Whatever
// the address holds, nothing that could split or bend the request line gets
// through: the host is safe, the escaped object name is printable ASCII
// without blanks, the port is the one written (or the scheme's default),
// and cracking what was cracked gives the same parts again.

#include "FuzzInput.h"
#include "http/ObjectNameEscaper.h"
#include "http/UrlCracker.h"
#include "text/CodePage.h"

#include <string>

namespace ql::fuzz {
namespace {

std::u16string unitsFrom(std::string_view bytes, bool wide)
{
    if (!wide)
        return gbkToWide(bytes);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += char16_t(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return units;
}

bool isRequestLineSafe(std::string_view escaped)
{
    for (char c : escaped)
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            return false;
    return true;
}

// Undoes the escaping: every "%XX" the escaper wrote, and any '%' it kept.
std::string unescape(std::string_view escaped)
{
    auto isHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
    auto hex = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    std::string bytes;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && isHex(escaped[i + 1]) && isHex(escaped[i + 2])) {
            bytes += char(hex(escaped[i + 1]) * 16 + hex(escaped[i + 2]));
            i += 2;
        } else {
            bytes += escaped[i];
        }
    }
    return bytes;
}

void checkEscaping(std::u16string_view objectName)
{
    const std::string escaped = http::escapeObjectName(objectName);
    FUZZ_CHECK(isRequestLineSafe(escaped));
    // Nothing is lost unless the name held '%' already (kept as written).
    if (objectName.find(u'%') == std::u16string_view::npos)
        FUZZ_CHECK(unescape(escaped) == wideToUtf8(objectName));
}

} // namespace
} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    using namespace ql::http;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    std::u16string url = unitsFrom(input.rest(), input.flag(options, 0));
    if (input.flag(options, 1)) // most inputs get a scheme to go on from
        url = (input.flag(options, 2) ? u"https://" : u"http://") + url;

    checkEscaping(url);
    CrackedUrl cracked;
    if (!crackHttpUrl(url, cracked))
        return 0;
    FUZZ_CHECK(isSafeHost(cracked.host));
    for (char16_t c : cracked.host)
        FUZZ_CHECK(c > 0x20 && c != 0x7F);
    FUZZ_CHECK(cracked.urlPath.empty() || cracked.urlPath.front() == u'/');
    FUZZ_CHECK(cracked.extraInfo.empty() || cracked.extraInfo.front() == u'?' || cracked.extraInfo.front() == u'#');
    checkEscaping(cracked.urlPath + cracked.extraInfo);

    // The same parts, with the port always written out, crack the same way.
    const std::u16string scheme = cracked.scheme == Scheme::Https ? u"https://" : u"http://";
    std::u16string port;
    for (char c : std::to_string(cracked.port))
        port += char16_t(c);
    CrackedUrl again;
    FUZZ_CHECK(crackHttpUrl(scheme + cracked.host + u":" + port + cracked.urlPath + cracked.extraInfo, again));
    FUZZ_CHECK(again.scheme == cracked.scheme && again.host == cracked.host && again.port == cracked.port
               && again.urlPath == cracked.urlPath && again.extraInfo == cracked.extraInfo);
    // Without a port written, the scheme's default.
    const std::size_t authorityEnd = url.find_first_of(u"/?#", scheme.size());
    const std::u16string_view authority = std::u16string_view(url).substr(0, authorityEnd);
    if (authority.substr(scheme.size()).find_first_of(u":[") == std::u16string_view::npos)
        FUZZ_CHECK(cracked.port == (cracked.scheme == Scheme::Https ? 443 : 80));
    return 0;
}
