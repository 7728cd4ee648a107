#include "SearchReply.h"

namespace ql::qbank {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Byte comparison is enough for UTF-8: a valid needle cannot match in the middle of a character.
bool matchesAt(std::string_view text, std::size_t at, std::string_view needle)
{
    if (text.size() - at < needle.size())
        return false;
    for (std::size_t i = 0; i < needle.size(); ++i)
        if (asciiLower(text[at + i]) != asciiLower(needle[i]))
            return false;
    return true;
}

}  // namespace

std::string highlightMatches(std::string_view text, std::string_view needle)
{
    if (needle.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        if (matchesAt(text, i, needle)) {
            out += "<em>";
            out += text.substr(i, needle.size());
            out += "</em>";
            i += needle.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string formatSearchReply(const SearchResult& result, std::string_view needle)
{
    std::string reply;
    for (const SearchHit& hit : result.hits) {
        reply += "id:";
        reply += std::to_string(hit.id);
        reply += "题目:";
        reply += highlightMatches(hit.question, needle);
        reply += "<br>";
    }
    reply += "共找到 " + std::to_string(result.total) + " 道题";
    if (static_cast<std::int64_t>(result.hits.size()) < result.total)
        reply += "，列出前 " + std::to_string(result.hits.size()) + " 道";
    return reply;
}

}  // namespace ql::qbank
