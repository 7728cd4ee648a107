#include "text/Cp936Tables.h"

#include "text/IcuConverter.h"

#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <memory>
#include <string>
#include <string_view>

namespace ql {
namespace {

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
                static_cast<std::uint16_t>(first | static_cast<unsigned char>(bytes[1]) << 8);
    }
    tables.encoded[0] = kZeroUnit;
}

void fillComposition(Cp936Tables& tables)
{
    tables.encodedComposing = tables.encoded;
    UErrorCode status = U_ZERO_ERROR;
    tables.nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) {
        tables.nfc = nullptr;
        return;
    }
    // Only a character without a boundary before it can join the one before.
    for (UChar32 c = 0; c < static_cast<UChar32>(kBmpSize); ++c) {
        if (!U16_IS_SURROGATE(c) && !unorm2_hasBoundaryBefore(tables.nfc, c))
            tables.encodedComposing[c] = kMayCompose;
    }
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

} // namespace

const Cp936Tables& cp936Tables()
{
    static const Cp936Tables tables = buildTables();
    return tables;
}

} // namespace ql
