#pragma once
// Runs a pattern in the script engine's syntax over a UTF-16 subject with
// PCRE2, the way the script engine's Execute does: ASCII-only classes and
// case folding, global runs stepping one code unit past an empty match.

#include "regex/MatchList.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ql::regex_detail {

struct MatchOptions {
    bool ignoreCase = true;
    bool multiline = true;
    bool global = true;
};

// The work of one pcre2_match call is bounded by these limits, so that a
// pattern that backtracks without end fails the run instead of hanging it.
constexpr std::uint32_t kMatchLimit = 100000;
constexpr std::uint32_t kDepthLimit = 10000;
constexpr std::uint32_t kHeapLimitKiB = 1024;

// nullopt when the pattern is refused or does not compile, or when a match
// attempt fails (a limit reached); an empty list when nothing matches.
std::optional<MatchList> matchAll(std::u16string_view pattern, std::u16string_view subject,
                                  const MatchOptions& options);

} // namespace ql::regex_detail
