#pragma once
// One request through httpRequest with every out-parameter wired up, and
// what came back, for the fault cases.

#include "http/FailureTexts.h"
#include "http/HttpRequest.h"
#include "http/WinHttpLayer.h"
#include "text/Text.h"

#include <string>
#include <string_view>
#include <utility>

namespace ql::http::testing {

// The out-parameters start with these, so that an untouched one shows.
inline const Text kUntouchedText{"untouched"};
inline const Bytes kUntouchedBody{std::string("untouched")};

struct Outcome {
    Text result;
    Text statusText = kUntouchedText;
    Text responseHeaders = kUntouchedText;
    Text receivedCookies;
    Text redirectLocation = kUntouchedText;
    Bytes body = kUntouchedBody;
};

inline Outcome requestThrough(WinHttpLayer& layer, const std::string& url, HttpRequestArgs args = {})
{
    Outcome outcome;
    args.statusText = &outcome.statusText;
    args.responseHeaders = &outcome.responseHeaders;
    args.receivedCookies = &outcome.receivedCookies;
    args.redirectLocation = &outcome.redirectLocation;
    args.responseBody = &outcome.body;
    outcome.result = httpRequest(layer, Text(url), args);
    return outcome;
}

inline Outcome request(const std::string& url, HttpRequestArgs args = {})
{
    return requestThrough(defaultWinHttpLayer(), url, std::move(args));
}

} // namespace ql::http::testing
