#pragma once
// The script engine's Replace over the matches of a run: every stretch
// between matches is kept, every match gives way to the replacement with its
// $ specials expanded:
//   $$ a dollar sign; $& the match; $` the subject before it; $' the subject
//   after it; $n and $nn a capturing group (two digits when that number is a
//   group, else one digit when that is a group; an unset group is empty).
// Any other $ is an ordinary character.

#include "regex/MatchList.h"

#include <string>
#include <string_view>

namespace ql::regex_detail {

std::u16string replaceMatches(std::u16string_view subject, const MatchList& matches,
                              std::u16string_view replacement);

} // namespace ql::regex_detail
