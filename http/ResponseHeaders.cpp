#include "http/ResponseHeaders.h"

#include "http/CookieMerge.h"
#include "http/PumpMessages.h"
#include "http/ResponseDecoder.h"
#include "text/CodePage.h"
#include "text/Extraction.h"
#include "text/TextOps.h"

#include <optional>
#include <string>
#include <utility>

namespace ql::http {

namespace {

// The status text starts after "HTTP/1.1 ".
constexpr int kStatusTextPosition = 10;
constexpr std::string_view kLocationPrefix = "Location: ";

std::optional<Text> readRawHeaders(WinHttpLayer& layer, Handle request)
{
    std::uint32_t length = 0;
    // Fails for lack of room and leaves the size needed in length.
    layer.queryRawHeaders(request, nullptr, length);
    std::u16string buffer((length + 1) / 2, u'\0');
    if (!layer.queryRawHeaders(request, buffer.data(), length))
        return std::nullopt;
    // Ends at the first zero unit; base characters and combining marks are
    // composed where code page 936 has the composed character.
    return utf16ToGbk(Bytes(buffer.data(), buffer.size() * sizeof(char16_t)));
}

Text cookieEntry(const Text& line)
{
    const Text entry = findText(line, ";") != -1 ? textBetween(line, "Set-Cookie:", ";")
                                                 : replaceText(line, "Set-Cookie:", "");
    return trimSpaces(entry);
}

bool isLocationLine(const Text& line)
{
    return compareText(textLeft(line, int(kLocationPrefix.size())), Text(kLocationPrefix), false) == 0;
}

} // namespace

Text processResponseHeaders(WinHttpLayer& layer, Handle request, Bytes&& body,
                            const HttpRequestArgs& args, bool keepFailureStatus,
                            RegexObject& charsetFinder)
{
    std::optional<Text> rawHeaders = readRawHeaders(layer, request);
    if (!rawHeaders)
        return {};

    const int statusLineEnd = findText(*rawHeaders, "\r\n", kStatusTextPosition);
    const Text statusText =
        textMid(*rawHeaders, kStatusTextPosition, statusLineEnd - kStatusTextPosition);
    // One spelling, so that the exact searches below see every variant.
    const Text headers = replaceText(*rawHeaders, "Set-Cookie", "Set-Cookie");

    // Received cookies are appended to what the caller's variable holds.
    std::string cookies = args.receivedCookies ? args.receivedCookies->str() : std::string();
    std::optional<Text> location;
    for (const Text& line : splitText(headers, "\r\n")) {
        if (findText(line, "Set-Cookie") != -1) {
            cookies.append(cookieEntry(line).view());
            cookies.append("; ");
        }
        if (isLocationLine(line))
            location = textMid(line, int(kLocationPrefix.size()) + 1,
                               textLength(line) - int(kLocationPrefix.size()));
        pumpMessages();
    }
    const Text cookieText(std::move(cookies));
    Text receivedCookies = textLeft(cookieText, textLength(cookieText) - 2);
    if (args.autoMergeCookies && args.sentCookies)
        receivedCookies = mergeCookies(*args.sentCookies, receivedCookies);

    if (args.responseHeaders)
        *args.responseHeaders = headers;
    if (args.statusText && !keepFailureStatus)
        *args.statusText = statusText;
    if (args.receivedCookies)
        *args.receivedCookies = receivedCookies;
    if (args.redirectLocation && location)
        *args.redirectLocation = *location;
    if (args.responseBody)
        *args.responseBody = body;
    return decodeResponseText(std::move(body), charsetFinder);
}

} // namespace ql::http
