#include "CommandLine.h"

#include "text/CodePage.h"

#include <charconv>
#include <functional>
#include <map>

namespace ql::tools {

namespace {

std::optional<int> parseInteger(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

using TextSetter = std::function<void(RequestCommand&, Text)>;
using IntegerSetter = std::function<void(RequestCommand&, int)>;
using FlagSetter = std::function<void(RequestCommand&)>;

const std::map<std::string_view, TextSetter>& textOptions()
{
    static const std::map<std::string_view, TextSetter> options = {
        {"--post-data", [](RequestCommand& c, Text t) { c.postData = std::move(t); }},
        {"--sent-cookies", [](RequestCommand& c, Text t) { c.sentCookies = std::move(t); }},
        {"--extra-headers", [](RequestCommand& c, Text t) { c.extraHeaders = std::move(t); }},
        {"--user-name", [](RequestCommand& c, Text t) { c.userName = std::move(t); }},
        {"--password", [](RequestCommand& c, Text t) { c.password = std::move(t); }},
        {"--proxy", [](RequestCommand& c, Text t) { c.proxy = std::move(t); }},
        {"--proxy-user-name", [](RequestCommand& c, Text t) { c.proxyUserName = std::move(t); }},
        {"--proxy-password", [](RequestCommand& c, Text t) { c.proxyPassword = std::move(t); }},
    };
    return options;
}

const std::map<std::string_view, IntegerSetter>& integerOptions()
{
    static const std::map<std::string_view, IntegerSetter> options = {
        {"--method", [](RequestCommand& c, int n) { c.method = n; }},
        {"--timeout-seconds", [](RequestCommand& c, int n) { c.timeoutSeconds = n; }},
    };
    return options;
}

const std::map<std::string_view, FlagSetter>& flagOptions()
{
    static const std::map<std::string_view, FlagSetter> options = {
        {"--disable-redirects", [](RequestCommand& c) { c.disableRedirects = true; }},
        {"--no-auto-merge-cookies", [](RequestCommand& c) { c.autoMergeCookies = false; }},
    };
    return options;
}

} // namespace

std::string interpretEscapes(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == 'r' || next == 'n' || next == '\\')) {
            result.push_back(next == 'r' ? '\r' : next == 'n' ? '\n' : '\\');
            ++i;
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

std::variant<RequestCommand, UsageError> parseCommandLine(const std::vector<std::string_view>& arguments)
{
    RequestCommand command;
    bool haveUrl = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!argument.starts_with("--")) {
            if (haveUrl)
                return UsageError{"more than one URL"};
            command.url = utf8ToGbk(argument);
            haveUrl = true;
            continue;
        }
        if (const auto flag = flagOptions().find(argument); flag != flagOptions().end()) {
            flag->second(command);
            continue;
        }
        const auto text = textOptions().find(argument);
        const auto integer = integerOptions().find(argument);
        if (text == textOptions().end() && integer == integerOptions().end())
            return UsageError{"unknown option " + std::string(argument)};
        if (i + 1 >= arguments.size())
            return UsageError{"missing value for " + std::string(argument)};
        const std::string_view value = arguments[++i];
        if (text != textOptions().end()) {
            // Escapes are read in UTF-8, where a backslash byte is always a
            // backslash; in GBK it can be the second byte of a character.
            const bool escaped = argument == "--extra-headers";
            text->second(command, utf8ToGbk(escaped ? interpretEscapes(value) : std::string(value)));
        } else if (const std::optional<int> number = parseInteger(value)) {
            integer->second(command, *number);
        } else {
            return UsageError{"not an integer for " + std::string(argument) + ": " + std::string(value)};
        }
    }
    if (!haveUrl)
        return UsageError{"no URL"};
    return command;
}

} // namespace ql::tools
