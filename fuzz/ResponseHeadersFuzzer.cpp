// processResponseHeaders over arbitrary raw header units from the fake
// platform layer. Checked: every out-parameter is a proper Text; the status
// text is the status line from its tenth byte; every spelling of
// "Set-Cookie" has become that one; one cookie entry per line naming
// "Set-Cookie"; the redirect target is the rest of the last "Location: "
// line; the body is handed on unchanged.

#include "FuzzInput.h"
#include "ReferenceText.h"
#include "http/ResponseHeaders.h"
#include "http/testing/FakeWinHttpLayer.h"
#include "regex/RegexObject.h"
#include "text/CodePage.h"

#include <optional>
#include <string>

namespace ql::fuzz {
namespace {

// The raw headers: bytes taken one per unit (the way a reply's header bytes
// usually arrive) or two per unit, low byte first (any UTF-16 at all).
std::u16string rawHeadersFrom(std::string_view bytes, bool wide)
{
    std::u16string units;
    if (wide) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            units += char16_t(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    } else {
        for (char byte : bytes)
            units += char16_t(static_cast<unsigned char>(byte));
    }
    return units;
}

int countCharacters(std::string_view text, char wanted)
{
    int count = 0;
    for (std::size_t at = 0; at < text.size(); at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1)
        count += text[at] == wanted;
    return count;
}

bool isLocationLine(std::string_view line)
{
    constexpr std::string_view prefix = "location: ";
    if (line.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = line[i] >= 'A' && line[i] <= 'Z' ? char(line[i] - 'A' + 'a') : line[i];
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace
} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    using http::testing::FakeWinHttpLayer;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    const std::string body(input.field());
    FakeWinHttpLayer layer;
    layer.rawHeaders = rawHeadersFrom(input.rest(), input.flag(options, 0));

    Text sentCookies("a=1; b=2");
    Text receivedCookies, responseHeaders, redirectLocation, statusText("713");
    Bytes responseBody;
    http::HttpRequestArgs args;
    args.sentCookies = input.flag(options, 1) ? &sentCookies : nullptr;
    args.autoMergeCookies = input.flag(options, 2);
    args.receivedCookies = &receivedCookies;
    args.responseHeaders = &responseHeaders;
    args.redirectLocation = &redirectLocation;
    args.statusText = &statusText;
    args.responseBody = &responseBody;
    RegexObject charsetFinder;
    const Text result = http::processResponseHeaders(layer, FakeWinHttpLayer::kRequest, Bytes(body), args,
                                                     false, charsetFinder);

    for (const Text* text : std::initializer_list<const Text*>{&result, &receivedCookies, &responseHeaders,
                                                               &redirectLocation, &statusText})
        FUZZ_CHECK(isZeroFree(text->view()));
    FUZZ_CHECK(responseBody == Bytes(body));

    const std::string raw = wideToGbk(std::u16string_view(layer.rawHeaders).substr(
        0, std::min(layer.rawHeaders.find(u'\0'), layer.rawHeaders.size())));
    FUZZ_CHECK(responseHeaders.size() == Text(raw).size());
    const int lineEnd = reference::findText(raw, "\r\n", 10, false);
    const std::string expectedStatus = lineEnd >= 10 ? raw.substr(9, std::size_t(lineEnd - 10)) : std::string();
    FUZZ_CHECK(statusText.view() == expectedStatus);

    // Every spelling of the name now reads "Set-Cookie".
    for (int at = reference::findText(responseHeaders.view(), "set-cookie", 1, true); at != -1;
         at = reference::findText(responseHeaders.view(), "set-cookie", at + 10, true))
        FUZZ_CHECK(responseHeaders.view().substr(std::size_t(at - 1), 10) == "Set-Cookie");

    int cookieLines = 0;
    std::optional<std::string> location;
    for (const std::string& line : reference::splitText(responseHeaders.view(), "\r\n")) {
        cookieLines += reference::findText(line, "Set-Cookie", std::nullopt, false) != -1;
        if (isLocationLine(line))
            location = line.substr(10);
    }
    if (!args.sentCookies || !args.autoMergeCookies)
        FUZZ_CHECK(countCharacters(receivedCookies.view(), ';') == std::max(cookieLines - 1, 0));
    else
        FUZZ_CHECK(receivedCookies == sentCookies);
    FUZZ_CHECK(redirectLocation.view() == location.value_or(""));
    return 0;
}
