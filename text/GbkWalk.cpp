#include "text/GbkWalk.h"

#include <cstring>

namespace ql::gbk {

bool isWalkStop(std::string_view text, std::size_t walkStart, std::size_t candidate)
{
    std::size_t at = candidate;
    while (at > walkStart && isLeadByte(text[at - 1]))
        --at;
    return (candidate - at) % 2 == 0;
}

AlignedSearch::AlignedSearch(std::string_view text, std::string_view needle, bool foldCase)
    : text_(text), needle_(needle), foldCase_(foldCase)
{
}

std::size_t AlignedSearch::find(std::size_t walkStart) const
{
    if (needle_.empty() || walkStart > text_.size() || text_.size() - walkStart < needle_.size())
        return npos;
    return foldCase_ ? findFolded(walkStart) : findExact(walkStart);
}

std::size_t AlignedSearch::findExact(std::size_t walkStart) const
{
    // memmem finds byte matches fast; a match inside a character is skipped
    // and the search resumes after it, where the walk is known to stop.
    std::size_t knownStop = walkStart;
    std::size_t from = walkStart;
    while (from + needle_.size() <= text_.size()) {
        const void* hit = memmem(text_.data() + from, text_.size() - from, needle_.data(), needle_.size());
        if (!hit)
            return npos;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
        if (isWalkStop(text_, knownStop, at))
            return at;
        // `at` is the second byte of a character, so the walk stops right after it.
        knownStop = at + 1;
        from = at + 1;
    }
    return npos;
}

bool AlignedSearch::matchesFoldedAt(std::size_t at) const
{
    for (std::size_t i = 0; i < needle_.size(); ++i)
        if (foldAsciiCase(text_[at + i]) != foldAsciiCase(needle_[i]))
            return false;
    return true;
}

std::size_t AlignedSearch::findFolded(std::size_t walkStart) const
{
    for (std::size_t at = walkStart; at + needle_.size() <= text_.size();
         at += characterLength(text_, at)) {
        if (matchesFoldedAt(at))
            return at;
    }
    return npos;
}

} // namespace ql::gbk
