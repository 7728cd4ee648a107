#pragma once
// Code page 936 tables taken once per process from ICU's windows-936-2000
// converter (configured as by openCp936Converter), so that the conversions
// look characters up instead of calling ICU, whose double-byte path is
// several times slower. Whatever the tables cannot answer is marked, and
// the conversions hand it to ICU itself.

#include <unicode/unorm2.h>

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ql {

constexpr std::size_t kBmpSize = 0x10000;

// A decoded unit that stands for "decode through ICU" (no sequence of one
// or two bytes other than the byte 0x00 decodes to U+0000).
constexpr char16_t kDecodeThroughIcu = 0;

// Encoded bytes are held first byte low: a single byte b as b, a pair as
// lead | trail << 8 (lead 0x81 or above). The markers below have a zero
// low byte above 0xFF, which neither form has.
constexpr std::uint16_t kEncodeThroughIcu = 0x0100;
constexpr std::uint16_t kMayCompose = 0x0200;
// U+0000, which ends the input of some callers.
constexpr std::uint16_t kZeroUnit = 0x0300;

inline bool isEncodingMarker(std::uint16_t bytes)
{
    return bytes > 0xFF && (bytes & 0xFF) == 0;
}

struct Cp936Tables {
    std::array<bool, 256> isLeadByte{};
    // Units for the bytes that stand alone (0x80 and 0xFF among them).
    std::array<char16_t, 256> singleByte{};
    // Units for lead byte (0x80..0xFF) and second byte (0x00..0xFF).
    std::vector<char16_t> doubleByte = std::vector<char16_t>(128 * 256, kDecodeThroughIcu);
    // Bytes per BMP unit.
    std::vector<std::uint16_t> encoded = std::vector<std::uint16_t>(kBmpSize, kEncodeThroughIcu);
    // The same, except that units which may join the unit before them into
    // a precomposed character hold kMayCompose, so that composition costs
    // nothing for all other units.
    std::vector<std::uint16_t> encodedComposing;
    // Characters code page 936 encodes by round trip or best fit, without
    // those it writes as '?'.
    std::bitset<kBmpSize> mapped;
    // Null when ICU has no NFC data; nothing is composed then.
    const UNormalizer2* nfc = nullptr;
};

// Built on first use; immutable and shared by all threads.
const Cp936Tables& cp936Tables();

} // namespace ql
