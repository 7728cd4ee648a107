#pragma once
// The command line of http-request: an address and one option per request
// parameter. Text arguments arrive in UTF-8 and are kept as GBK.

#include "text/Text.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ql::tools {

inline constexpr std::string_view kUsage =
    "usage: http-request URL [--method N] [--post-data T] [--sent-cookies T] [--extra-headers T] "
    "[--disable-redirects] [--user-name U] [--password P] [--proxy HOST:PORT] "
    "[--proxy-user-name U] [--proxy-password P] [--timeout-seconds N] [--no-auto-merge-cookies]";

struct RequestCommand {
    Text url;
    int method = 0;
    Text postData;
    std::optional<Text> sentCookies; // left out unless given, even empty
    Text extraHeaders;
    bool disableRedirects = false;
    Text userName;
    Text password;
    Text proxy;
    Text proxyUserName;
    Text proxyPassword;
    int timeoutSeconds = 0;
    bool autoMergeCookies = true;
};

struct UsageError {
    std::string message;
};

// arguments excludes the program name.
std::variant<RequestCommand, UsageError> parseCommandLine(const std::vector<std::string_view>& arguments);

// "\r", "\n" and "\\" become CR, LF and one backslash; any other backslash
// stays as written.
std::string interpretEscapes(std::string_view text);

} // namespace ql::tools
