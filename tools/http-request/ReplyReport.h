#pragma once
// What http-request prints: one JSON object with the result and every
// out-parameter, texts converted from GBK to UTF-8.

#include "text/Text.h"

#include <optional>
#include <string>

namespace ql::tools {

struct ReplyOutputs {
    Text result;
    Text statusText;
    Text responseHeaders;
    Text receivedCookies;
    Text redirectLocation;
    std::optional<Text> sentCookies; // reported only when it was given
    Bytes responseBody;
};

std::string replyReport(const ReplyOutputs& outputs);

} // namespace ql::tools
