#include "text/Extraction.h"

#include "text/TextOps.h"

#include <array>
#include <optional>
#include <utility>

namespace ql {
namespace {

// Lets callers write a double quote inside a marker.
Text withQuotes(const Text& marker)
{
    static const Text kQuoteToken("\x23\xD2\xFD\xBA\xC5"); // "#引号"
    return replaceText(marker, kQuoteToken, "\"", 1, std::nullopt, true);
}

} // namespace

Text textBetween(const Text& text, const Text& leftMarker, const Text& rightMarker,
                 int startPosition, bool ignoreCase)
{
    const Text left = withQuotes(leftMarker);
    const Text right = withQuotes(rightMarker);
    const int leftAt = findText(text, left, startPosition, ignoreCase);
    if (leftAt == -1)
        return {};
    const int afterLeft = leftAt + textLength(left);
    const int rightAt = findText(text, right, afterLeft, ignoreCase);
    if (rightAt == -1)
        return {};
    // An empty right marker is reported at position 1, which gives no bytes.
    return textMid(text, afterLeft, rightAt - afterLeft);
}

Text batchReplace(const Text& text, int maxReplacements, bool limitReplacements,
                  int startPosition, bool caseSensitive, const Text& find1, const Text& replacement1,
                  const Text& find2, const Text& replacement2, const Text& find3,
                  const Text& replacement3, const Text& find4, const Text& replacement4,
                  const Text& find5, const Text& replacement5)
{
    const std::array<std::pair<const Text*, const Text*>, 5> pairs{{
        {&find1, &replacement1},
        {&find2, &replacement2},
        {&find3, &replacement3},
        {&find4, &replacement4},
        {&find5, &replacement5},
    }};
    const int from = startPosition == 0 ? 1 : startPosition;
    const std::optional<int> count =
        limitReplacements ? std::optional<int>(maxReplacements) : std::nullopt;
    Text current = text;
    for (const auto& [find, replacement] : pairs)
        current = replaceText(current, *find, *replacement, from, count, caseSensitive);
    return current;
}

} // namespace ql
