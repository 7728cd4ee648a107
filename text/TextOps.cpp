#include "text/TextOps.h"

#include "text/GbkWalk.h"
#include "text/JoinBytes.h"

#include <algorithm>
#include <string>

namespace ql {
namespace {

// The byte offset where a search begins: startPosition - 1, raised to 0;
// 0 when left out.
std::size_t skipFor(std::optional<int> startPosition)
{
    return startPosition && *startPosition > 1 ? static_cast<std::size_t>(*startPosition - 1) : 0;
}

} // namespace

int textLength(const Text& text)
{
    return static_cast<int>(text.size());
}

Text textLeft(const Text& text, int count)
{
    if (count <= 0)
        return {};
    return Text(text.view().substr(0, static_cast<std::size_t>(count)));
}

Text textRight(const Text& text, int count)
{
    if (count <= 0)
        return {};
    const std::size_t kept = std::min(text.size(), static_cast<std::size_t>(count));
    return Text(text.view().substr(text.size() - kept));
}

Text textMid(const Text& text, int startPosition, int count)
{
    if (startPosition < 1 || static_cast<std::size_t>(startPosition) > text.size() || count <= 0)
        return {};
    return Text(text.view().substr(static_cast<std::size_t>(startPosition - 1),
                                     static_cast<std::size_t>(count)));
}

int findText(const Text& text, const Text& sought, std::optional<int> startPosition, bool ignoreCase)
{
    const std::size_t skip = skipFor(startPosition);
    if (skip >= text.size())
        return -1;
    if (sought.empty())
        return 1; // not startPosition: an empty search text reports the first byte
    const std::size_t at = gbk::AlignedSearch(text.view(), sought.view(), ignoreCase).find(skip);
    return at == gbk::npos ? -1 : static_cast<int>(at + 1);
}

Text replaceText(const Text& text, const Text& sought, const Text& replacement,
                 std::optional<int> startPosition, std::optional<int> maxReplacements,
                 bool caseSensitive)
{
    const std::string_view in = text.view();
    const std::size_t skip = skipFor(startPosition);
    if (in.empty() || sought.empty() || skip >= in.size() || maxReplacements == 0)
        return text;

    const gbk::AlignedSearch search(in, sought.view(), !caseSensitive);
    const int limit = maxReplacements.value_or(-1); // below 0: never reached
    std::string out;
    out.reserve(in.size());
    out.append(in.substr(0, skip));

    std::size_t walkStart = skip;
    int replaced = 0;
    bool limitReached = false;
    for (std::size_t at = search.find(walkStart); at != gbk::npos; at = search.find(walkStart)) {
        out.append(in.substr(walkStart, at - walkStart));
        out.append(replacement.view());
        walkStart = at + sought.size();
        if (++replaced == limit) {
            limitReached = true;
            break;
        }
    }

    // The walk drops a truncated last character it steps over without a
    // match; it only gets that far when the search text is one byte long.
    std::string_view rest = in.substr(walkStart);
    if (!limitReached && sought.size() == 1 && !rest.empty() &&
        gbk::isTruncatedCharacter(in, in.size() - 1) &&
        gbk::isWalkStop(in, walkStart, in.size() - 1))
        rest.remove_suffix(1);
    out.append(rest);
    return Text(std::move(out));
}

TextArray splitText(const Text& text, const Text& delimiter)
{
    TextArray pieces;
    if (text.empty())
        return pieces;
    if (delimiter.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    const std::string_view in = text.view();
    const gbk::AlignedSearch search(in, delimiter.view(), false);
    std::size_t pieceStart = 0;
    for (std::size_t at = search.find(0); at != gbk::npos; at = search.find(pieceStart)) {
        pieces.push_back(Text(in.substr(pieceStart, at - pieceStart)));
        pieceStart = at + delimiter.size();
    }
    if (pieceStart < in.size())
        pieces.push_back(Text(in.substr(pieceStart)));
    return pieces;
}

bool textEquals(const Text& first, const Text& second)
{
    return first == second;
}

Text concatText(std::initializer_list<std::string_view> parts)
{
    return Text(detail::joinBytes(parts));
}

Text blankText(int count)
{
    if (count < 1)
        return {};
    return Text(std::string(static_cast<std::size_t>(count), ' '));
}

} // namespace ql
