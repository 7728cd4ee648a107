#pragma once
// Byte-level checks on UTF-8 text.

#include <cstddef>
#include <string_view>

namespace ql::qbank {

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// The number of code points in valid UTF-8 (every byte that does not continue a sequence).
std::size_t countCodePoints(std::string_view utf8);

}  // namespace ql::qbank
