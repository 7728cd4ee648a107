#pragma once
// The character walk that searching, replacing, splitting and trimming share:
// a byte >= 0x80 begins a two-byte character whatever follows it, and a walk
// may start at any byte, which it then treats as a character start.

#include <cstddef>
#include <string_view>

namespace ql::gbk {

constexpr std::size_t npos = std::string_view::npos;

constexpr bool isLeadByte(char byte)
{
    return static_cast<unsigned char>(byte) >= 0x80;
}

// Length of the character starting at `at`: 2 for a lead byte, else 1. A
// truncated lead byte at the end still counts 2, so a walk steps past the end.
constexpr std::size_t characterLength(std::string_view text, std::size_t at)
{
    return isLeadByte(text[at]) ? 2 : 1;
}

constexpr bool isTruncatedCharacter(std::string_view text, std::size_t at)
{
    return at + 1 == text.size() && isLeadByte(text[at]);
}

// Length of the space (0x20, or the full-width pair A1 A1) starting at
// character start `at`, or 0 when the character there is not a space.
constexpr std::size_t spaceLength(std::string_view text, std::size_t at)
{
    if (text[at] == ' ')
        return 1;
    if (text[at] == '\xA1' && at + 1 < text.size() && text[at + 1] == '\xA1')
        return 2;
    return 0;
}

// ASCII-only on purpose: letter folding must not follow the C locale.
constexpr char foldAsciiCase(char byte)
{
    return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// Whether a walk that started at `walkStart` stops at `candidate`
// (walkStart <= candidate). The byte after any byte < 0x80 is always a stop
// (such a byte is a whole character or a second byte), so only the run of
// lead-range bytes right before `candidate` matters: the walk stops there
// exactly when that run, cut off at walkStart, has even length. Costs at
// most candidate - walkStart steps.
bool isWalkStop(std::string_view text, std::size_t walkStart, std::size_t candidate);

// Finds where `needle` occurs at a stop of a walk, letter case exact or
// folded. Successive calls must pass non-decreasing walk starts (each a
// stop of the walk, such as the end of the previous occurrence), which keeps
// a scan over the whole text linear.
class AlignedSearch {
public:
    AlignedSearch(std::string_view text, std::string_view needle, bool foldCase);

    // First occurrence at or after `walkStart` that the walk from there
    // reaches with at least needle.size() bytes left; npos when none.
    std::size_t find(std::size_t walkStart) const;

private:
    std::size_t findExact(std::size_t walkStart) const;
    std::size_t findFolded(std::size_t walkStart) const;
    bool matchesFoldedAt(std::size_t at) const;

    std::string_view text_;
    std::string_view needle_;
    bool foldCase_;
};

} // namespace ql::gbk
