// processResponseHeaders over arbitrary raw header units from the fake
// platform layer. Checked: every out-parameter is a proper Text; the status
// text is the status line from its tenth byte; every spelling of
// "Set-Cookie" has become that one; one cookie entry per line naming
// "Set-Cookie"; the redirect target is the rest of the last "Location: "
// line; the body is handed on unchanged. In wire mode the bytes are first
// taken apart into lines and rebuilt into a header block the way the libcurl
// layer does it, which must always give a block of CRLF lines.

#include "FuzzInput.h"
#include "ReferenceText.h"
#include "http/ResponseHeaderBlock.h"
#include "http/ResponseHeaders.h"
#include "http/testing/FakeWinHttpLayer.h"
#include "regex/RegexObject.h"
#include "text/CodePage.h"

#include <algorithm>
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

// The lines as curl's header callback hands them over, each with its LF;
// curl refuses a reply that does not begin with a status line.
std::optional<std::u16string> rebuiltFromWire(std::string_view wire)
{
    if (!wire.starts_with("HTTP/"))
        return std::nullopt;
    http::ResponseHeaderBlock block;
    while (!wire.empty()) {
        const std::size_t end = std::min(wire.find('\n'), wire.size() - 1);
        block.addLine(wire.substr(0, end + 1));
        wire.remove_prefix(end + 1);
    }
    if (!block.complete())
        return std::nullopt;
    const std::string_view text = block.text();
    FUZZ_CHECK(text.starts_with("HTTP/") && text.ends_with("\r\n\r\n"));
    FUZZ_CHECK(block.statusCode() >= 0 && block.statusCode() <= 999);
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        FUZZ_CHECK(at > 0 && text[at - 1] == '\r');
    return gbkToWide(text);
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
    if (input.flag(options, 3)) {
        std::optional<std::u16string> rebuilt = rebuiltFromWire(input.rest());
        if (!rebuilt)
            return 0;
        layer.rawHeaders = std::move(*rebuilt);
    } else {
        layer.rawHeaders = rawHeadersFrom(input.rest(), input.flag(options, 0));
    }

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

    // The block as the engine narrows it: composing, up to the first zero unit.
    const std::string raw =
        utf16ToGbk(Bytes(layer.rawHeaders.data(), layer.rawHeaders.size() * sizeof(char16_t))).str();
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
