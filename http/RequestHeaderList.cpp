#include "http/RequestHeaderList.h"

#include "http/AsciiCase.h"

#include <algorithm>
#include <optional>

namespace ql::http {
namespace {

std::vector<std::string_view> splitAtLineBreaks(std::string_view block)
{
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < block.size()) {
        pos = block.find_first_not_of("\r\n", pos);
        if (pos == std::string_view::npos)
            break;
        std::size_t end = block.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = block.size();
        lines.push_back(block.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

struct ParsedLine {
    std::string_view name;
    std::string_view value;
};

std::optional<ParsedLine> parseLine(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    std::string_view value = line.substr(colon + 1);
    const std::size_t firstNonBlank = value.find_first_not_of(" \t");
    value.remove_prefix(firstNonBlank == std::string_view::npos ? value.size() : firstNonBlank);
    return ParsedLine{line.substr(0, colon), value};
}

} // namespace

bool RequestHeaderList::addOrReplace(std::string_view block)
{
    const std::vector<std::string_view> lines = splitAtLineBreaks(block);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<ParsedLine> parsed = parseLine(lines[i]);
        if (!parsed) {
            if (i == 0)
                return false;
            continue;
        }
        replace(parsed->name, parsed->value);
    }
    return true;
}

const std::string* RequestHeaderList::find(std::string_view name) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(), [name](const RequestHeader& h) {
        return equalsIgnoringAsciiCase(h.name, name);
    });
    return found == entries_.end() ? nullptr : &found->value;
}

void RequestHeaderList::replace(std::string_view name, std::string_view value)
{
    std::erase_if(entries_, [name](const RequestHeader& h) { return equalsIgnoringAsciiCase(h.name, name); });
    if (!value.empty())
        entries_.push_back({std::string(name), std::string(value)});
}

} // namespace ql::http
