#pragma once
// UTF-8 to UTF-16 exactly as ICU's "UTF-8" converter decodes it with its
// default callbacks (one U+FFFD per maximal invalid subpart, a byte order
// mark kept as U+FEFF); well-formed sequences are decoded here directly,
// which is several times faster than a converter call.

#include <string>
#include <string_view>

namespace ql {

// Decodes every byte of `bytes` (zero bytes included) and appends the units to `out`.
void appendUtf8Decoded(std::string_view bytes, std::u16string& out);

} // namespace ql
