#include "http/RequestHeaderBlock.h"

#include "text/TextOps.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace ql::http {

namespace {

constexpr int kPostMethod = 1;

struct DefaultHeader {
    std::string_view marker; // searched anywhere in the block built so far
    bool ignoreCase;
    std::string_view line;
};

constexpr DefaultHeader kUserAgent{
    "User-Agent: ", true,
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"};
constexpr DefaultHeader kAccept{"Accept: ", true, "Accept: text/html, application/xhtml+xml, */*\r\n"};
constexpr DefaultHeader kAcceptEncoding{"Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312\r\n"};
constexpr DefaultHeader kAcceptLanguage{"Accept-Language: ", true, "Accept-Language: zh-cn\r\n"};
// Exact case and no blank: a caller's "content-type:" line does not stop it.
constexpr DefaultHeader kFormContentType{"Content-Type:", false,
                                         "Content-Type: application/x-www-form-urlencoded\r\n"};
constexpr DefaultHeader kCacheControl{"Cache-Control: ", true, "Cache-Control: no-cache\r\n"};
constexpr std::string_view kCookieMarker = "Cookie: ";

bool blockHolds(const std::string& block, std::string_view marker, bool ignoreCase)
{
    return findText(Text(block), Text(marker), 1, ignoreCase) != -1;
}

void appendUnlessPresent(std::string& block, const DefaultHeader& header)
{
    if (!blockHolds(block, header.marker, header.ignoreCase))
        block.append(header.line);
}

} // namespace

Text withoutLineBreaks(const Text& text)
{
    std::string kept = text.str();
    std::erase_if(kept, [](char byte) { return byte == '\r' || byte == '\n'; });
    return Text(std::move(kept));
}

Text buildRequestHeaderBlock(const Text& extraHeaders, int method, const Text* sentCookies)
{
    std::string block;
    if (!extraHeaders.empty()) {
        block = extraHeaders.str();
        block.append("\r\n");
    }
    appendUnlessPresent(block, kUserAgent);
    appendUnlessPresent(block, kAccept);
    appendUnlessPresent(block, kAcceptEncoding);
    appendUnlessPresent(block, kAcceptLanguage);
    if (method == kPostMethod)
        appendUnlessPresent(block, kFormContentType);
    appendUnlessPresent(block, kCacheControl);

    const Text cookies = sentCookies ? withoutLineBreaks(*sentCookies) : Text();
    if (!cookies.empty() && !blockHolds(block, kCookieMarker, true)) {
        block.append(kCookieMarker);
        block.append(cookies.view());
        block.append("\r\n");
    }
    return Text(std::move(block));
}

} // namespace ql::http
