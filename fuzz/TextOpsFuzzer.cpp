// findText, replaceText, splitText, trimSpaces and removeSpaces on arbitrary
// GBK bytes, against the plain reference versions and their own invariants.

#include "FuzzInput.h"
#include "ReferenceText.h"
#include "text/TextOps.h"

#include <algorithm>
#include <optional>
#include <string>

namespace ql::fuzz {
namespace {

std::string joinPieces(const TextArray& pieces, std::string_view delimiter)
{
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            joined.append(delimiter);
        joined.append(pieces[i].view());
    }
    return joined;
}

void checkFind(const Text& text, const Text& sought, std::optional<int> start, bool ignoreCase)
{
    const int found = findText(text, sought, start, ignoreCase);
    FUZZ_CHECK(found == reference::findText(text.view(), sought.view(), start, ignoreCase));
    if (found == -1 || sought.empty())
        return;
    FUZZ_CHECK(found >= 1 && found <= textLength(text));
    FUZZ_CHECK(found >= (start ? *start : 1));
    // Where a walk started at the start position stops; that is a character
    // start of the whole text whenever the search starts at the first byte.
    if (!start || *start <= 1)
        FUZZ_CHECK(reference::isCharacterStart(text.view(), std::size_t(found - 1)));
    const std::string_view there = text.view().substr(std::size_t(found - 1), sought.size());
    if (!ignoreCase)
        FUZZ_CHECK(there == sought.view());
}

void checkSplit(const Text& text, const Text& delimiter)
{
    const TextArray pieces = splitText(text, delimiter);
    const std::vector<std::string> expected = reference::splitText(text.view(), delimiter.view());
    FUZZ_CHECK(pieces.size() == expected.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(isZeroFree(pieces[i].view()));
        FUZZ_CHECK(pieces[i].view() == expected[i]);
    }
    if (text.empty()) {
        FUZZ_CHECK(pieces.empty());
        return;
    }
    // Only a delimiter at the very end is lost in the pieces.
    const std::string joined = joinPieces(pieces, delimiter.view());
    FUZZ_CHECK(joined == text.view() || joined + delimiter.str() == text.view());
}

// Cutting counts bytes, whatever characters it cuts through.
void checkCutting(const Text& text, int start, int count)
{
    const std::string_view bytes = text.view();
    const std::size_t length = bytes.size();
    const std::size_t left = count < 1 ? 0 : std::min<std::size_t>(std::size_t(count), length);
    FUZZ_CHECK(textLeft(text, count).view() == bytes.substr(0, left));
    FUZZ_CHECK(textRight(text, count).view() == bytes.substr(length - left));
    const bool outside = start < 1 || std::size_t(start) > length || count < 1;
    FUZZ_CHECK(textMid(text, start, count).view()
               == (outside ? std::string_view() : bytes.substr(std::size_t(start - 1), std::size_t(count))));
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// Character by character, a double-byte character counting as first byte
// times 256 plus second byte.
int referenceCompare(std::string_view first, std::string_view second)
{
    auto next = [](std::string_view text, std::size_t& at) {
        const auto lead = static_cast<unsigned char>(text[at++]);
        if (lead < 0x80 || at == text.size())
            return int(lead);
        return int(lead) * 256 + static_cast<unsigned char>(text[at++]);
    };
    std::size_t i = 0, j = 0;
    while (i < first.size() && j < second.size()) {
        const int a = next(first, i);
        const int b = next(second, j);
        if (a != b)
            return sign(a - b);
    }
    return sign(int(i < first.size()) - int(j < second.size()));
}

void checkCompare(const Text& first, const Text& second)
{
    FUZZ_CHECK(sign(compareText(first, second, true)) == referenceCompare(first.view(), second.view()));
    FUZZ_CHECK(compareText(first, first, false) == 0);
    FUZZ_CHECK(sign(compareText(first, second, false)) == -sign(compareText(second, first, false)));
    FUZZ_CHECK(textEquals(first, second) == (first.view() == second.view()));
}

} // namespace
} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    const bool foldCase = input.flag(options, 0);
    const std::optional<int> start = input.flag(options, 1) ? std::optional<int>(input.smallInt()) : std::nullopt;
    const std::optional<int> limit = input.flag(options, 2) ? std::optional<int>(input.smallInt()) : std::nullopt;
    const Text sought(input.field());
    const Text replacement(input.field());
    const Text text(input.rest());

    checkFind(text, sought, start, foldCase);
    checkSplit(text, sought);

    const Text replaced = replaceText(text, sought, replacement, start, limit, !foldCase);
    FUZZ_CHECK(isZeroFree(replaced.view()));
    FUZZ_CHECK(replaced.view()
               == reference::replaceText(text.view(), sought.view(), replacement.view(), start, limit,
                                         !foldCase));

    checkCutting(text, start.value_or(1) * 3, limit.value_or(100) * 3);
    checkCompare(text, sought);

    const Text trimmed = trimSpaces(text);
    FUZZ_CHECK(trimmed.view() == reference::trimSpaces(text.view()));
    FUZZ_CHECK(text.view().find(trimmed.view()) != std::string_view::npos);
    FUZZ_CHECK(removeSpaces(text).view() == reference::removeSpaces(text.view()));
    return 0;
}
