#pragma once
// Runs httpRequest against the fake layer with every out-parameter wired to
// a variable of the fixture, and counts the message pumps.

#include "http/HttpRequest.h"
#include "http/PumpMessages.h"
#include "http/testing/FakeWinHttpLayer.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace ql::http::testing {

// Tests are written in UTF-8; the engine speaks GBK.
inline Text gbk(std::string_view utf8) { return utf8ToGbk(utf8); }
inline std::string utf8(const Text& text) { return wideToUtf8(gbkToWide(text.view())); }

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override { setPumpMessagesHook([this] { ++pumps; }); }
    void TearDown() override { setPumpMessagesHook(nullptr); }

    Text run(const Text& url = "http://example.test/page")
    {
        args.receivedCookies = &receivedCookies;
        args.responseHeaders = &responseHeaders;
        args.redirectLocation = &redirectLocation;
        args.statusText = &statusText;
        args.responseBody = &responseBody;
        return httpRequest(fake, url, args);
    }

    // The header block as the layer received it.
    std::u16string sentHeaderBlock() const
    {
        const auto calls = fake.callsOf(Operation::AddRequestHeaders);
        return calls.empty() ? std::u16string() : calls.front().text;
    }

    FakeWinHttpLayer fake;
    HttpRequestArgs args;
    Text receivedCookies;
    Text responseHeaders{"headers before"};
    Text redirectLocation{"location before"};
    Text statusText{"status before"};
    Bytes responseBody{std::string("body before")};
    int pumps = 0;
};

} // namespace ql::http::testing
