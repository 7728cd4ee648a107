#pragma once
// Code page 936 (GBK) in both directions, byte for byte what the ICU
// converter from threadCp936Converter() produces (plus the platform's '?'
// for five code points ICU maps by fallback), but through tables taken from
// that converter once per process: ICU's own double-byte path is several
// times slower than a table look-up.

#include <unicode/umachine.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

// Decodes every byte of `bytes` (zero bytes included) and appends the units
// to `out`; `offsets`, when given, receives per unit the offset in `bytes`
// of the character it came from and must be as long as `out` on entry.
void appendCp936Decoded(std::string_view bytes, std::u16string& out,
                        std::vector<std::int32_t>* offsets = nullptr);
// The same, appending the units to `out` as UTF-16LE bytes.
void appendCp936DecodedUtf16le(std::string_view bytes, std::string& out);

enum class Composition {
    none,
    // A base character and the combining mark after it become the one
    // precomposed character where code page 936 maps that character.
    pairwise,
};

// Encodes every unit of `units` with best-fit mappings, '?' for the rest.
void appendCp936Encoded(std::u16string_view units, Composition composition, std::string& out);
// Encodes the UTF-16LE units in `data` (a trailing odd byte ignored) up to
// their first zero unit the same way.
void appendCp936EncodedUtf16le(std::string_view data, Composition composition, std::string& out);

// True when code page 936 encodes `c` to something other than the
// replacement '?' (by round trip or best fit).
bool hasCp936Mapping(UChar32 c);

} // namespace ql
