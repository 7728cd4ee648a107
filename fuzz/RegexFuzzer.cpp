// RegexObject::execute on an arbitrary (pattern, subject) pair and options,
// then every reading operation. The engine's limits bound each run, so a
// pathological pattern ends quickly with false. Checked: a failed run reads
// as empty; a run that took place gives matches that stand in the subject
// at the positions reported, in order; the pattern reads back as written.

#include "FuzzInput.h"
#include "regex/RegexObject.h"
#include "text/CodePage.h"
#include "text/TextOps.h"

#include <algorithm>
#include <string>

namespace {

// Keeps one run short: long subjects only repeat what short ones find.
constexpr std::size_t kMaxSubjectBytes = 4096;
constexpr int kMaxMatchesRead = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    const bool caseSensitive = input.flag(options, 0);
    const bool multiline = input.flag(options, 1);
    const bool global = input.flag(options, 2);
    const bool quoteToken = input.flag(options, 3);
    const Text pattern(input.field());
    const Text replacement(input.field());
    const Text subject(input.rest().substr(0, kMaxSubjectBytes));

    RegexObject regex;
    const bool ran = regex.execute(pattern, subject, caseSensitive, multiline, global, quoteToken);
    const Text written = quoteToken ? replaceText(pattern, "\x23\xD2\xFD\xBA\xC5" /* "#引号" */, "\"",
                                                  std::nullopt, std::nullopt, true)
                                    : pattern;
    FUZZ_CHECK(regex.getPattern() == written);

    const int count = regex.matchCount();
    const Text replaced = regex.replaceMatches(replacement);
    FUZZ_CHECK(isZeroFree(replaced.view()));
    if (!ran) {
        FUZZ_CHECK(count == 0 && regex.submatchCount() == 0);
        FUZZ_CHECK(regex.matchText(1).empty() && regex.submatchText(1, 1).empty() && replaced.empty());
        return 0;
    }
    FUZZ_CHECK(count >= 0 && (global || count <= 1));
    FUZZ_CHECK(regex.submatchCount() >= 0);
    FUZZ_CHECK(regex.matchText(count + 1).empty() && regex.matchText(0).empty());

    // Positions can be checked byte for byte only where the subject survives
    // the trip through UTF-16 unchanged.
    const bool exactSubject = wideToGbk(gbkToWide(subject.view())) == subject.str();
    int previous = 0;
    for (int i = 1; i <= std::min(count, kMaxMatchesRead); ++i) {
        int position = -1;
        const Text match = regex.matchText(i, &position);
        FUZZ_CHECK(isZeroFree(match.view()));
        FUZZ_CHECK(position >= previous && position <= textLength(subject));
        previous = position;
        if (exactSubject)
            FUZZ_CHECK(subject.view().substr(std::size_t(position), match.size()) == match.view());
        for (int group = 1; group <= std::min(regex.submatchCount(), 9); ++group) {
            int groupPosition = -1;
            const Text groupText = regex.submatchText(i, group, &groupPosition);
            FUZZ_CHECK(isZeroFree(groupText.view()));
            FUZZ_CHECK(groupPosition >= -1 && groupPosition <= textLength(subject));
        }
    }
    return 0;
}
