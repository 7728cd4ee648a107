#include "text/Cp936Codec.h"

#include "text/IcuConverter.h"

#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <memory>

namespace ql {
namespace {

constexpr std::size_t kBmpSize = 0x10000;
// Marks a table entry whose conversion is left to ICU itself.
constexpr char16_t kDecodeThroughIcu = 0;
constexpr std::uint16_t kEncodeThroughIcu = 0xFFFF;

// ICU maps these by fallback to control characters (0x1B, 0x18, 0x1A, 0x19,
// 0x09); the platform writes '?' for them.
bool isReplacedByPlatform(UChar32 c)
{
    return (c >= 0xFFE9 && c <= 0xFFEC) || c == 0xFFEE;
}

struct UsetCloser {
    void operator()(USet* set) const { uset_close(set); }
};
using UsetOwner = std::unique_ptr<USet, UsetCloser>;

struct Cp936Tables {
    std::array<bool, 256> isLeadByte{};
    // Units for the bytes that stand alone (0x80 and 0xFF among them).
    std::array<char16_t, 256> singleByte{};
    // Units for lead byte (0x80..0xFF) and second byte (0x00..0xFF).
    std::vector<char16_t> doubleByte = std::vector<char16_t>(128 * 256, kDecodeThroughIcu);
    // Bytes per BMP unit: one byte as its value, two bytes as lead << 8 | trail.
    std::vector<std::uint16_t> encoded = std::vector<std::uint16_t>(kBmpSize, kEncodeThroughIcu);
    std::bitset<kBmpSize> mapped;
    std::bitset<kBmpSize> combinesBackward;
    const UNormalizer2* nfc = nullptr;
};

// A unit for a sequence when ICU turns it into exactly one unit, else the
// marker that sends it through ICU.
char16_t decodeOne(UConverter* converter, std::string_view sequence)
{
    std::u16string units;
    appendDecoded(converter, sequence, units);
    return units.size() == 1 && units[0] != kDecodeThroughIcu ? units[0] : kDecodeThroughIcu;
}

void fillDecoding(UConverter* converter, Cp936Tables& tables)
{
    UBool starters[256] = {};
    UErrorCode status = U_ZERO_ERROR;
    ucnv_getStarters(converter, starters, &status);
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char single[1] = {static_cast<char>(byte)};
        tables.isLeadByte[byte] = U_SUCCESS(status) && starters[byte];
        if (!tables.isLeadByte[byte])
            tables.singleByte[byte] = decodeOne(converter, {single, 1});
    }
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
        if (!tables.isLeadByte[lead])
            continue;
        for (unsigned trail = 0; trail < 0x100; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            tables.doubleByte[(lead - 0x80) * 256 + trail] = decodeOne(converter, {pair, 2});
        }
    }
}

void fillEncoding(UConverter* converter, Cp936Tables& tables)
{
    UsetOwner set(uset_openEmpty());
    UErrorCode status = U_ZERO_ERROR;
    ucnv_getUnicodeSet(converter, set.get(), UCNV_ROUNDTRIP_AND_FALLBACK_SET, &status);
    std::string bytes;
    for (UChar32 c = 0; c < static_cast<UChar32>(kBmpSize); ++c) {
        if (U16_IS_SURROGATE(c))
            continue;
        if (isReplacedByPlatform(c)) {
            tables.encoded[c] = '?';
            continue;
        }
        tables.mapped[c] = U_SUCCESS(status) && uset_contains(set.get(), c);
        const char16_t unit = static_cast<char16_t>(c);
        bytes.clear();
        appendEncoded(converter, {&unit, 1}, bytes);
        const auto first = static_cast<unsigned char>(bytes.empty() ? 0 : bytes[0]);
        if (bytes.size() == 1)
            tables.encoded[c] = first;
        else if (bytes.size() == 2 && first >= 0x80)
            tables.encoded[c] =
                static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
    }
}

void fillComposition(Cp936Tables& tables)
{
    UErrorCode status = U_ZERO_ERROR;
    tables.nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) {
        tables.nfc = nullptr;
        return;
    }
    // Only a character without a boundary before it can join the one before.
    for (UChar32 c = 0; c < static_cast<UChar32>(kBmpSize); ++c)
        tables.combinesBackward[c] = !unorm2_hasBoundaryBefore(tables.nfc, c);
}

Cp936Tables buildTables()
{
    Cp936Tables tables;
    const IcuConverter converter = openCp936Converter();
    if (converter.get()) {
        fillDecoding(converter.get(), tables);
        fillEncoding(converter.get(), tables);
    }
    fillComposition(tables);
    return tables;
}

const Cp936Tables& cp936Tables()
{
    static const Cp936Tables tables = buildTables();
    return tables;
}

std::size_t putEncoded(std::uint16_t bytes, char* target)
{
    if (bytes < 0x100) {
        target[0] = static_cast<char>(bytes);
        return 1;
    }
    target[0] = static_cast<char>(bytes >> 8);
    target[1] = static_cast<char>(bytes & 0xFF);
    return 2;
}

} // namespace

void appendCp936Decoded(std::string_view bytes, std::u16string& out,
                        std::vector<std::int32_t>* offsets)
{
    const Cp936Tables& tables = cp936Tables();
    const auto* input = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // A byte never yields more than one unit, except in the rare sequences
    // decoded through ICU, which grow the buffers themselves.
    std::size_t written = out.size();
    out.resize(written + size);
    if (offsets)
        offsets->resize(written + size);

    std::u16string piece;
    std::vector<std::int32_t> pieceOffsets;
    std::size_t i = 0;
    while (i < size) {
        const unsigned byte = input[i];
        char16_t unit = kDecodeThroughIcu;
        std::size_t length = 1;
        if (byte < 0x80) {
            unit = static_cast<char16_t>(byte);
        } else if (!tables.isLeadByte[byte]) {
            unit = tables.singleByte[byte];
        } else if (i + 1 < size) {
            unit = tables.doubleByte[(byte - 0x80) * 256 + input[i + 1]];
            length = 2;
        }
        if (byte < 0x80 || unit != kDecodeThroughIcu) {
            out[written] = unit;
            if (offsets)
                (*offsets)[written] = static_cast<std::int32_t>(i);
            ++written;
            i += length;
            continue;
        }
        // Invalid, unassigned or cut-off sequences: ICU decides how many
        // bytes they take and what they become.
        piece.clear();
        pieceOffsets.clear();
        appendDecoded(threadCp936Converter(), bytes.substr(i, length), piece,
                      offsets ? &pieceOffsets : nullptr, static_cast<std::int32_t>(i));
        if (written + piece.size() + (size - i) > out.size()) {
            out.resize(written + piece.size() + (size - i));
            if (offsets)
                offsets->resize(out.size());
        }
        std::copy(piece.begin(), piece.end(), out.begin() + static_cast<std::ptrdiff_t>(written));
        if (offsets)
            std::copy(pieceOffsets.begin(), pieceOffsets.end(),
                      offsets->begin() + static_cast<std::ptrdiff_t>(written));
        written += piece.size();
        i += length;
    }
    out.resize(written);
    if (offsets)
        offsets->resize(written);
}

void appendCp936Encoded(std::u16string_view units, Composition composition, std::string& out)
{
    const Cp936Tables& tables = cp936Tables();
    const bool compose = composition == Composition::pairwise && tables.nfc;
    const std::size_t size = units.size();
    // A unit never yields more than two bytes.
    std::size_t written = out.size();
    out.resize(written + 2 * size);

    std::string piece;
    std::size_t i = 0;
    while (i < size) {
        const char16_t unit = units[i];
        const bool markFollows = compose && i + 1 < size && tables.combinesBackward[units[i + 1]];
        if (unit < 0x80 && !markFollows) {
            out[written++] = static_cast<char>(unit);
            ++i;
            continue;
        }
        if (markFollows && !U16_IS_SURROGATE(unit)) {
            const UChar32 composed = unorm2_composePair(tables.nfc, unit, units[i + 1]);
            if (composed >= 0 && composed < static_cast<UChar32>(kBmpSize) && tables.mapped[composed]) {
                written += putEncoded(tables.encoded[composed], &out[written]);
                i += 2;
                continue;
            }
        }
        const std::uint16_t bytes = tables.encoded[unit];
        if (bytes != kEncodeThroughIcu) {
            written += putEncoded(bytes, &out[written]);
            ++i;
            continue;
        }
        // Surrogates: a pair is one character to ICU, a lone one is illegal.
        const std::size_t length =
            U16_IS_LEAD(unit) && i + 1 < size && U16_IS_TRAIL(units[i + 1]) ? 2 : 1;
        piece.clear();
        appendEncoded(threadCp936Converter(), units.substr(i, length), piece);
        if (written + piece.size() + 2 * (size - i) > out.size())
            out.resize(written + piece.size() + 2 * (size - i));
        std::copy(piece.begin(), piece.end(), out.begin() + static_cast<std::ptrdiff_t>(written));
        written += piece.size();
        i += length;
    }
    out.resize(written);
}

bool hasCp936Mapping(UChar32 c)
{
    return c >= 0 && c < static_cast<UChar32>(kBmpSize) && cp936Tables().mapped[c];
}

} // namespace ql
