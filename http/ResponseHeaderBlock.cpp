#include "http/ResponseHeaderBlock.h"

#include "http/AsciiCase.h"

namespace ql::http {
namespace {

std::string_view withoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// "HTTP/1.1 200 OK" -> 200; 0 when the code is missing.
int parseStatusCode(std::string_view statusLine)
{
    const std::size_t blank = statusLine.find(' ');
    if (blank == std::string_view::npos || statusLine.size() < blank + 4)
        return 0;
    int code = 0;
    for (char c : statusLine.substr(blank + 1, 3)) {
        if (c < '0' || c > '9')
            return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

} // namespace

void ResponseHeaderBlock::addLine(std::string_view rawLine)
{
    const std::string_view line = withoutLineEnd(rawLine);
    if (line.starts_with("HTTP/")) {
        statusCode_ = parseStatusCode(line);
        // 101 Switching Protocols is final: nothing else follows on HTTP/1.1.
        interim_ = statusCode_ >= 100 && statusCode_ < 200 && statusCode_ != 101;
        complete_ = false;
        text_.clear();
        fields_.clear();
        if (!interim_)
            text_.append(line).append("\r\n");
        return;
    }
    if (interim_ || complete_)
        return;
    if (line.empty()) {
        text_.append("\r\n");
        complete_ = true;
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) { // a folded continuation line, kept as it came
        text_.append(line).append("\r\n");
        return;
    }
    const std::string_view name = line.substr(0, colon);
    std::string_view value = line.substr(colon + 1);
    const std::size_t firstNonBlank = value.find_first_not_of(" \t");
    value.remove_prefix(firstNonBlank == std::string_view::npos ? value.size() : firstNonBlank);
    text_.append(name).append(": ").append(value).append("\r\n");
    fields_.push_back({std::string(name), std::string(value)});
}

std::vector<std::string> ResponseHeaderBlock::values(std::string_view name) const
{
    std::vector<std::string> found;
    for (const Field& field : fields_)
        if (equalsIgnoringAsciiCase(field.name, name))
            found.push_back(field.value);
    return found;
}

} // namespace ql::http
