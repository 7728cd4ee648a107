#include "ReplyReport.h"

#include "text/CodePage.h"

#include <nlohmann/json.hpp>

#include <string_view>

namespace ql::tools {

namespace {

std::string toUtf8(const Text& text) { return wideToUtf8(gbkToWide(text.view())); }

std::string lowerCaseHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

} // namespace

std::string replyReport(const ReplyOutputs& outputs)
{
    nlohmann::json report = {
        {"result", toUtf8(outputs.result)},
        {"statusText", toUtf8(outputs.statusText)},
        {"responseHeaders", toUtf8(outputs.responseHeaders)},
        {"receivedCookies", toUtf8(outputs.receivedCookies)},
        {"redirectLocation", toUtf8(outputs.redirectLocation)},
        {"resultHex", lowerCaseHex(outputs.result.view())},
        {"responseBodyHex", lowerCaseHex(outputs.responseBody.view())},
    };
    if (outputs.sentCookies)
        report["sentCookies"] = toUtf8(*outputs.sentCookies);
    // Replacement instead of an exception should a conversion ever leave
    // invalid UTF-8 behind.
    return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace ql::tools
