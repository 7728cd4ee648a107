#include "regex/MatchEngine.h"

#include "regex/PatternTranslator.h"
#include "regex/Pcre2Handles.h"

#include <optional>
#include <string>
#include <utility>

namespace ql::regex_detail {
namespace {

PCRE2_SPTR16 units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR16>(text.data()); }

// No PCRE2_UTF: the script engine works on UTF-16 code units and accepts
// unpaired surrogates. No PCRE2_UCP: \w \d \s \b and case folding stay ASCII.
// ^ and $ are rewritten by the translator, so PCRE2_MULTILINE is never set.
CompiledPattern compile(std::u16string_view translated, bool ignoreCase)
{
    CompileContext context(pcre2_compile_context_create_16(nullptr));
    if (!context)
        return CompiledPattern(nullptr);
    pcre2_set_newline_16(context.get(), PCRE2_NEWLINE_LF);
    pcre2_set_compile_extra_options_16(context.get(), PCRE2_EXTRA_BAD_ESCAPE_IS_LITERAL);

    std::uint32_t options = PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY
                            | PCRE2_ALLOW_EMPTY_CLASS;
    if (ignoreCase)
        options |= PCRE2_CASELESS;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    return CompiledPattern(pcre2_compile_16(units(translated), translated.size(), options, &errorCode,
                                            &errorOffset, context.get()));
}

MatchContext boundedMatchContext()
{
    MatchContext context(pcre2_match_context_create_16(nullptr));
    if (context) {
        pcre2_set_match_limit_16(context.get(), kMatchLimit);
        pcre2_set_depth_limit_16(context.get(), kDepthLimit);
        pcre2_set_heap_limit_16(context.get(), kHeapLimitKiB);
    }
    return context;
}

// Every request runs the same charset pattern, so the last pattern compiled
// on this thread is kept: repeating it costs neither translation nor
// compilation. Compiled code is only read while matching, and no match calls
// back into this engine, so one thread's runs never disturb each other.
struct LastCompiled {
    std::u16string pattern;
    bool multiline = false;
    bool ignoreCase = false;
    std::optional<CompiledPattern> code;
};

const pcre2_code_16* compiledFor(std::u16string_view pattern, const MatchOptions& options)
{
    thread_local LastCompiled last;
    if (last.code && last.pattern == pattern && last.multiline == options.multiline &&
        last.ignoreCase == options.ignoreCase)
        return last.code->get();

    const std::optional<std::u16string> translated = translatePattern(pattern, options.multiline);
    if (!translated)
        return nullptr;
    CompiledPattern code = compile(*translated, options.ignoreCase);
    if (!code)
        return nullptr;
    last.code.emplace(std::move(code));
    last.pattern = pattern;
    last.multiline = options.multiline;
    last.ignoreCase = options.ignoreCase;
    return last.code->get();
}

std::vector<Span> spansOf(const MatchData& data, int groupCount)
{
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(data.get());
    std::vector<Span> spans(groupCount + 1);
    for (int group = 0; group <= groupCount; ++group) {
        if (ovector[2 * group] != PCRE2_UNSET)
            spans[group] = {static_cast<std::int32_t>(ovector[2 * group]),
                            static_cast<std::int32_t>(ovector[2 * group + 1])};
    }
    return spans;
}

} // namespace

std::optional<MatchList> matchAll(std::u16string_view pattern, std::u16string_view subject,
                                  const MatchOptions& options)
{
    const pcre2_code_16* code = compiledFor(pattern, options);
    if (!code)
        return std::nullopt;
    std::uint32_t captureCount = 0;
    pcre2_pattern_info_16(code, PCRE2_INFO_CAPTURECOUNT, &captureCount);
    thread_local const MatchContext context = boundedMatchContext();
    const MatchData data(pcre2_match_data_create_from_pattern_16(code, nullptr));
    if (!context || !data)
        return std::nullopt;

    const int groupCount = static_cast<int>(captureCount);
    MatchList matches(groupCount);
    std::size_t start = 0;
    while (start <= subject.size()) {
        const int rc = pcre2_match_16(code, units(subject), subject.size(), start, 0, data.get(),
                                      context.get());
        if (rc == PCRE2_ERROR_NOMATCH)
            break;
        if (rc < 0)
            return std::nullopt;
        const std::vector<Span> spans = spansOf(data, groupCount);
        matches.append(spans);
        if (!options.global)
            break;
        // After an empty match the script engine simply moves one unit on;
        // it never retries at the same place for a non-empty match.
        const auto end = static_cast<std::size_t>(spans[0].end);
        start = end == static_cast<std::size_t>(spans[0].begin) ? end + 1 : end;
    }
    return matches;
}

} // namespace ql::regex_detail
