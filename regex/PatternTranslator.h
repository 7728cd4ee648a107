#pragma once
// Rewrites a pattern in the script engine's syntax into an equivalent PCRE2
// pattern (16-bit, no UTF, no UCP), so that PCRE2 matches exactly what the
// script engine would:
//  - ^ and $ outside classes become explicit assertions; with multiline they
//    also hold after / before '\r' as well as '\n';
//  - \n, \nm and \nml follow the script rule: a backreference only when at
//    least that many capturing groups are opened before it, else an octal
//    escape (\8 and \9 then stand for the digit);
//  - \c followed by anything but an ASCII letter is the letter 'c';
//  - \v is the vertical tab, not PCRE2's vertical-space class;
//  - '[' inside a class is a plain bracket, never a POSIX class.
// Constructs the script engine does not have (lookbehind, named groups,
// inline options, comments, verbs, atomic groups, possessive quantifiers and
// PCRE2-only escapes such as \A \z \Z \G \p \P \K \R \X \Q) and a trailing
// backslash, which PCRE2 would take as a literal one, reject the
// pattern, as a syntax error of the script engine would.

#include <optional>
#include <string>
#include <string_view>

namespace ql::regex_detail {

// nullopt when the pattern uses a construct the script engine lacks. Other
// syntax errors (an unbalanced parenthesis, say) are left for PCRE2 to find.
std::optional<std::u16string> translatePattern(std::u16string_view pattern, bool multiline);

} // namespace ql::regex_detail
