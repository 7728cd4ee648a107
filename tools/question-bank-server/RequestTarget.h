#pragma once
// Reading what a request target carries: the id of an answer page, the question of a search.
//
// The desktop client appends the question to "chazhao.php?w=" without escaping it, and its HTTP
// layer escapes only blanks, control and a few other characters: "&", "+" and "%" arrive as they
// were typed. So everything after "w=" is the question, "+" is a plus sign rather than a blank,
// and a "%" that does not start a valid escape stands for itself.

#include <cstddef>
#include <string>
#include <string_view>

namespace ql::qbank {

// The longest question accepted, in bytes of UTF-8 after unescaping.
inline constexpr std::size_t maxQuestionBytes = 2048;

struct QuestionText {
    std::string text;   // unescaped, trimmed UTF-8; meaningful when error is empty
    std::string error;  // why the request cannot be served
};

// The still escaped value of "w" in a request target such as "/qwg/chazhao.php?w=...": everything
// after the first "w=" that starts the query or follows a "&". Empty when there is none.
std::string_view rawQuestionParameter(std::string_view target);

// The still escaped value of a parameter, up to the next "&"; empty when there is none. Unlike
// the library's own parsing, a value with a "=" in it is kept whole.
std::string_view rawParameter(std::string_view target, std::string_view key);

// Replaces each "%" and two hex digits by its byte; any other "%" is kept as it is.
std::string percentDecode(std::string_view escaped);

// The question of a request target: unescaped, checked to be UTF-8 without zero bytes and not
// too long, with blanks (ASCII and the ideographic space) trimmed from both ends.
QuestionText questionFromTarget(std::string_view target);

}  // namespace ql::qbank
