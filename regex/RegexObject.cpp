#include "regex/RegexObject.h"

#include "regex/MatchEngine.h"
#include "regex/MatchReplacer.h"
#include "text/CodePage.h"
#include "text/TextOps.h"

#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace ql {
namespace {

const Text kQuoteToken = "\x23\xD2\xFD\xBA\xC5"; // "#引号"

// Memory running out is the one way an exception could arise here; like any
// other failure it yields the empty value of the operation's kind.
template <typename Result, typename Work>
Result orFallback(Result fallback, Work&& work) noexcept
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return fallback;
    }
}

} // namespace

struct RegexObject::Run {
    Text pattern; // as the caller wrote it, after the quote token
    std::u16string subject;
    // Byte offset in the subject Text of the character each UTF-16 unit came
    // from, plus one entry for the end of the subject.
    std::vector<std::int32_t> byteOffsets;
    std::optional<regex_detail::MatchList> matches; // nullopt: the run failed

    // The span of group `group` (0 = the whole match) of the 1-based match
    // `matchIndex`; nullptr when there is no such match or group.
    const regex_detail::Span* span(int matchIndex, int group) const
    {
        if (!matches || matchIndex < 1 || matchIndex > matches->count() || group < 0
            || group > matches->groupCount())
            return nullptr;
        return &matches->span(matchIndex - 1, group);
    }

    // The text of a span that took part in a match; position, when given,
    // gets the byte offset where the span begins.
    Text textAt(const regex_detail::Span& span, int* position) const
    {
        return orFallback(Text(), [&] {
            Text text(wideToGbk(std::u16string_view(subject).substr(span.begin, span.length())));
            if (position)
                *position = byteOffsets[span.begin];
            return text;
        });
    }
};

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::execute(const Text& pattern, const Text& subject, bool caseSensitive, bool multiline,
                          bool global, bool quoteToken)
{
    run_.reset(); // nothing of an earlier run survives, even if this one cannot be made
    return orFallback(false, [&] {
        auto run = std::make_shared<Run>();
        run->pattern = quoteToken ? replaceText(pattern, kQuoteToken, "\"", std::nullopt, std::nullopt, true)
                                  : pattern;
        run->subject = gbkToWide(subject.view(), &run->byteOffsets);
        run->byteOffsets.push_back(static_cast<std::int32_t>(subject.size()));
        run->matches = regex_detail::matchAll(gbkToWide(run->pattern.view()), run->subject,
                                              {.ignoreCase = !caseSensitive, .multiline = multiline,
                                               .global = global});
        const bool ran = run->matches.has_value();
        run_ = std::move(run);
        return ran;
    });
}

Text RegexObject::getPattern() const { return run_ ? run_->pattern : Text(); }

Text RegexObject::replaceMatches(const Text& replacement) const
{
    if (!run_ || !run_->matches)
        return {};
    return orFallback(Text(), [&] {
        return Text(wideToGbk(
            regex_detail::replaceMatches(run_->subject, *run_->matches, gbkToWide(replacement.view()))));
    });
}

int RegexObject::matchCount() const { return run_ && run_->matches ? run_->matches->count() : 0; }

Text RegexObject::matchText(int matchIndex, int* position) const
{
    const regex_detail::Span* span = run_ ? run_->span(matchIndex, 0) : nullptr;
    if (!span)
        return {};
    return run_->textAt(*span, position);
}

// A group that took no part in the match has no place: its text is empty and
// position is left as the caller set it.
Text RegexObject::submatchText(int matchIndex, int submatchIndex, int* position) const
{
    const regex_detail::Span* span =
        run_ && submatchIndex >= 1 ? run_->span(matchIndex, submatchIndex) : nullptr;
    if (!span || !span->participated())
        return {};
    return run_->textAt(*span, position);
}

int RegexObject::submatchCount() const { return matchCount() > 0 ? run_->matches->groupCount() : 0; }

} // namespace ql
