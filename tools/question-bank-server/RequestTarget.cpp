#include "RequestTarget.h"

#include "Utf8.h"

namespace ql::qbank {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr std::string_view ideographicSpace = "\xE3\x80\x80";  // U+3000, UTF-8

std::string_view trimBlanks(std::string_view text)
{
    for (;;) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        else if (text.starts_with(ideographicSpace))
            text.remove_prefix(ideographicSpace.size());
        else if (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        else if (text.ends_with(ideographicSpace))
            text.remove_suffix(ideographicSpace.size());
        else
            return text;
    }
}

// The rest of the query from just after "key=", where that starts the query or follows a "&".
std::string_view fromParameter(std::string_view target, std::string_view key)
{
    const auto queryStart = target.find('?');
    if (queryStart == std::string_view::npos)
        return {};
    const std::string_view query = target.substr(queryStart + 1);
    const std::string start = std::string(key) + "=";
    if (query.starts_with(start))
        return query.substr(start.size());
    const auto at = query.find("&" + start);
    return at == std::string_view::npos ? std::string_view() : query.substr(at + 1 + start.size());
}

}  // namespace

std::string_view rawQuestionParameter(std::string_view target)
{
    return fromParameter(target, "w");
}

std::string_view rawParameter(std::string_view target, std::string_view key)
{
    const std::string_view rest = fromParameter(target, key);
    return rest.substr(0, rest.find('&'));
}

std::string percentDecode(std::string_view escaped)
{
    std::string decoded;
    decoded.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && hexValue(escaped[i + 1]) >= 0
            && hexValue(escaped[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(escaped[i + 1]) * 16 + hexValue(escaped[i + 2]));
            i += 2;
        } else {
            decoded += escaped[i];
        }
    }
    return decoded;
}

QuestionText questionFromTarget(std::string_view target)
{
    const std::string decoded = percentDecode(rawQuestionParameter(target));
    if (decoded.size() > maxQuestionBytes)
        return {{}, "question text longer than " + std::to_string(maxQuestionBytes) + " bytes"};
    if (!isValidUtf8(decoded))
        return {{}, "question text is not valid UTF-8"};
    if (decoded.find('\0') != std::string::npos)
        return {{}, "question text contains a zero byte"};
    return {std::string(trimBlanks(decoded)), {}};
}

}  // namespace ql::qbank
