#include "text/CodePage.h"
#include "text/GbkWalk.h"
#include "text/TextOps.h"

#include <string>

namespace ql {
namespace {

// A character's value for ordering: first byte * 256 + second byte for a
// double-byte character, the byte itself otherwise, 0 past the end so a
// text orders before any longer text it begins.
int characterValue(std::string_view character)
{
    int value = 0;
    for (char byte : character)
        value = value * 256 + static_cast<unsigned char>(byte);
    return value;
}

std::string_view characterAt(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return {};
    return text.substr(at, gbk::characterLength(text, at));
}

int foldedCharacterValue(std::string_view character)
{
    // Past the end, or a truncated lead byte: nothing the case mapping knows.
    if (character.empty() || (character.size() == 1 && gbk::isLeadByte(character[0])))
        return characterValue(character);
    const std::string upper = upperCaseGbkCharacter(character);
    // The mapping keeps byte lengths; anything else would break the ordering.
    return characterValue(upper.size() == character.size() ? std::string_view(upper) : character);
}

} // namespace

int compareText(const Text& first, const Text& second, bool caseSensitive)
{
    const std::string_view a = first.view();
    const std::string_view b = second.view();
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        const std::string_view left = characterAt(a, i);
        const std::string_view right = characterAt(b, j);
        const int difference = caseSensitive
                                   ? characterValue(left) - characterValue(right)
                                   : foldedCharacterValue(left) - foldedCharacterValue(right);
        if (difference != 0)
            return difference;
        i += left.size();
        j += right.size();
    }
    return 0;
}

} // namespace ql
