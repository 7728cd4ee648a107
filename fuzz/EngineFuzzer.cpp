// httpRequest over the fake platform layer with arbitrary arguments, reply
// and one platform call made to fail. Checked: the handles that were opened
// are closed, request first, and nothing runs after them; a failure text
// comes with an empty result, the pumps its stage earned and untouched
// out-parameters; a body that broke off keeps "713" and a prefix of the
// body; the header block holds every default header; merged cookies reach
// both cookie variables.

#include "FuzzInput.h"
#include "ReferenceText.h"
#include "http/FailureTexts.h"
#include "http/HttpRequest.h"
#include "http/PumpMessages.h"
#include "http/testing/FakeWinHttpLayer.h"
#include "text/CodePage.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace ql::fuzz {
namespace {

using http::testing::FakeWinHttpLayer;
using http::testing::Operation;

// The failure texts that end a request before its response step, with the
// pumps each earns: one per stage reached.
const std::array<std::pair<std::string_view, int>, 12> kEarlyFailures = {{
    {http::failure::kPlatform, 0},
    {http::failure::kCrackUrl, 1},
    {http::failure::kSession, 2},
    {http::failure::kConnection, 3},
    {http::failure::kRequest, 4},
    {http::failure::kTimeouts, 5},
    {http::failure::kCredentials, 0},
    {http::failure::kCookieOption, 0},
    {http::failure::kRedirectOption, 0},
    {http::failure::kAddHeaders, 6},
    {http::failure::kSend, 7},
    {http::failure::kReceive, 8},
}};

const Text kUntouched("untouched");

std::u16string unitsOf(std::string_view bytes)
{
    std::u16string units;
    for (char byte : bytes)
        units += char16_t(static_cast<unsigned char>(byte));
    return units;
}

// The three opening calls run at most once, so only a first call can fail.
bool opened(const FakeWinHttpLayer& layer, Operation operation, Operation failing, int occurrence)
{
    return !layer.callsOf(operation).empty() && !(operation == failing && occurrence == 1);
}

void checkHandles(const FakeWinHttpLayer& layer, Operation failing, int occurrence)
{
    std::vector<http::Handle> expected;
    if (opened(layer, Operation::OpenRequest, failing, occurrence))
        expected.push_back(FakeWinHttpLayer::kRequest);
    if (opened(layer, Operation::Connect, failing, occurrence))
        expected.push_back(FakeWinHttpLayer::kConnection);
    if (opened(layer, Operation::Open, failing, occurrence))
        expected.push_back(FakeWinHttpLayer::kSession);
    FUZZ_CHECK(layer.closedHandles() == expected);
    const std::vector<Operation> operations = layer.operations();
    for (std::size_t i = operations.size() - expected.size(); i < operations.size(); ++i)
        FUZZ_CHECK(operations[i] == Operation::CloseHandle);
}

// sendsCookies: a cookie text was given that holds more than line breaks.
void checkHeaderBlock(const FakeWinHttpLayer& layer, int method, bool sendsCookies)
{
    const auto calls = layer.callsOf(Operation::AddRequestHeaders);
    if (calls.empty())
        return;
    const std::string block = wideToGbk(calls.front().text);
    for (std::string_view marker : {"User-Agent: ", "Accept: ", "Accept-Encoding: ", "Accept-Language: ",
                                    "Cache-Control: "})
        FUZZ_CHECK(reference::findText(block, marker, std::nullopt, true) != -1);
    if (method == 1)
        FUZZ_CHECK(reference::findText(block, "Content-Type:", std::nullopt, false) != -1);
    if (sendsCookies)
        FUZZ_CHECK(reference::findText(block, "Cookie: ", std::nullopt, true) != -1);
    FUZZ_CHECK(block.ends_with("\r\n"));
}

} // namespace
} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    const std::uint8_t failure = input.byte();
    const int method = int(input.byte() % 12) - 2;
    const std::uint8_t chunkSize = input.byte();

    FakeWinHttpLayer layer;
    // Any one call up to the header query, its first, second or third time.
    const auto failing = Operation(failure % 16);
    const int occurrence = 1 + failure / 16 % 3;
    if (failing >= Operation::CrackUrl && failing <= Operation::QueryRawHeaders)
        layer.failOn(failing, occurrence);
    if (input.flag(options, 3))
        layer.readLimit = 1 + chunkSize % 7;

    const Text url(input.field());
    Text sentCookies(input.field());
    http::HttpRequestArgs args;
    args.method = method;
    args.extraHeaders = Text(input.field());
    args.userName = Text(input.field());
    args.password = Text(input.field());
    args.proxy = Text(input.field());
    args.sentCookies = input.flag(options, 0) ? &sentCookies : nullptr;
    args.autoMergeCookies = input.flag(options, 1);
    args.disableRedirects = input.flag(options, 2);
    args.timeoutSeconds = input.smallInt();
    layer.rawHeaders = unitsOf(input.field());
    const std::string body(input.rest());
    for (std::size_t at = 0; at < body.size(); at += 1 + chunkSize)
        layer.bodyChunks.push_back(body.substr(at, 1 + chunkSize));

    Text statusText = kUntouched, responseHeaders = kUntouched, receivedCookies = kUntouched;
    Text redirectLocation = kUntouched;
    Bytes responseBody(kUntouched.str());
    args.statusText = &statusText;
    args.responseHeaders = &responseHeaders;
    args.receivedCookies = &receivedCookies;
    args.redirectLocation = &redirectLocation;
    args.responseBody = &responseBody;
    const bool sendsCookies =
        args.sentCookies && sentCookies.view().find_first_not_of("\r\n") != std::string_view::npos;
    // Where invalid GBK becomes replacement characters on its way to the
    // layer, the characters no longer line up with the engine's own block.
    const auto survives = [](const Text& text) { return wideToGbk(gbkToWide(text.view())) == text.str(); };
    const bool blockComparable = survives(args.extraHeaders) && survives(sentCookies);
    int pumps = 0;
    http::setPumpMessagesHook([&pumps] { ++pumps; });
    const Text result = http::httpRequest(layer, url, args);
    http::setPumpMessagesHook(nullptr);

    FUZZ_CHECK(isZeroFree(result.view()));
    checkHandles(layer, failing, occurrence);
    if (blockComparable)
        checkHeaderBlock(layer, method, sendsCookies);

    for (const auto& [text, stagePumps] : kEarlyFailures) {
        if (statusText.view() != text)
            continue;
        FUZZ_CHECK(result.empty() && pumps == stagePumps);
        FUZZ_CHECK(responseHeaders == kUntouched && redirectLocation == kUntouched);
        FUZZ_CHECK(receivedCookies == kUntouched && responseBody == Bytes(kUntouched.str()));
        return 0;
    }
    if (responseBody == Bytes(kUntouched.str()))
        return 0; // the raw headers could not be read: nothing else was written
    FUZZ_CHECK(pumps >= 9);
    // A failing data query ends the body like its end does, without a text.
    if (statusText.view() == http::failure::kRead || failing == Operation::QueryDataAvailable)
        FUZZ_CHECK(body.starts_with(responseBody.view()));
    else
        FUZZ_CHECK(responseBody.view() == body);
    if (args.sentCookies && args.autoMergeCookies)
        FUZZ_CHECK(sentCookies == receivedCookies);
    return 0;
}
