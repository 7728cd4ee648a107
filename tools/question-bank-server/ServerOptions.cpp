#include "ServerOptions.h"

#include <charconv>
#include <optional>

namespace ql::qbank {

namespace {

std::optional<int> parseNumber(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < lowest
        || value > highest)
        return std::nullopt;
    return value;
}

}  // namespace

OptionsResult parseOptions(std::span<const std::string_view> arguments)
{
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.showHelp = true;
            continue;
        }
        if (name != "--port" && name != "--host" && name != "--bank" && name != "--limit")
            return {{}, "unknown option " + std::string(name)};
        if (i + 1 == arguments.size())
            return {{}, std::string(name) + " needs a value"};
        const std::string_view value = arguments[++i];
        if (name == "--port") {
            const auto port = parseNumber(value, 0, 65535);
            if (!port)
                return {{}, "--port takes a number from 0 to 65535, not " + std::string(value)};
            options.port = *port;
        } else if (name == "--limit") {
            const auto limit = parseNumber(value, 1, 1000);
            if (!limit)
                return {{}, "--limit takes a number from 1 to 1000, not " + std::string(value)};
            options.rowLimit = *limit;
        } else if (value.empty()) {
            return {{}, std::string(name) + " needs a value"};
        } else if (name == "--host") {
            options.host = value;
        } else {
            options.bankPath = value;
        }
    }
    return {std::move(options), {}};
}

}  // namespace ql::qbank
