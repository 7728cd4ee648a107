#include "text/CodePage.h"

#include "text/Cp936Codec.h"
#include "text/IcuConverter.h"
#include "text/Utf8Codec.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace ql {
namespace {

std::string_view upToNul(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// The units of UTF-16LE data; a trailing odd byte is ignored.
std::u16string unitsOf(const Bytes& data)
{
    std::u16string units(data.size() / 2, u'\0');
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(units.data(), data.data(), units.size() * 2);
    } else {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
        for (std::size_t k = 0; k < units.size(); ++k)
            units[k] = static_cast<char16_t>(bytes[2 * k] | bytes[2 * k + 1] << 8);
    }
    return units;
}

std::string littleEndianBytes(std::u16string_view units)
{
    std::string bytes(units.size() * 2, '\0');
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes.data(), units.data(), bytes.size());
    } else {
        for (std::size_t k = 0; k < units.size(); ++k) {
            bytes[2 * k] = static_cast<char>(units[k] & 0xFF);
            bytes[2 * k + 1] = static_cast<char>(units[k] >> 8);
        }
    }
    return bytes;
}

std::u16string beforeZeroUnit(std::u16string units)
{
    units.resize(std::min(units.size(), units.find(u'\0')));
    return units;
}

// Callers hand this straight to the system as a wide-string pointer, so its
// storage must read as an empty wide string (two zero bytes) although its
// length is 0. The storage is made larger than the string's in-object
// buffer so that moving the value keeps it.
Bytes emptyWideString()
{
    std::string storage(2 * sizeof(std::string), '\0');
    storage.clear();
    return Bytes(std::move(storage));
}

constexpr std::size_t kUtf8PieceSize = 16 * 1024;

// Where the piece of UTF-8 beginning at start should end: about
// kUtf8PieceSize bytes on, before a byte that cannot continue a sequence,
// so that no sequence, valid or not, is cut in two.
std::size_t utf8PieceEnd(std::string_view utf8, std::size_t start)
{
    std::size_t end = std::min(utf8.size(), start + kUtf8PieceSize);
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        ++end;
    return end;
}

bool isGbkCodePage(int codePage)
{
    return codePage == kCodePageGbk || codePage == kCodePageAnsi;
}

} // namespace

Bytes gbkToUtf16(const Text& text, bool dropTerminator)
{
    if (text.empty())
        return emptyWideString();
    std::string utf16;
    utf16.reserve(2 * (text.size() + 1));
    appendCp936DecodedUtf16le(text.view(), utf16);
    if (!dropTerminator)
        utf16.append(2, '\0');
    return Bytes(std::move(utf16));
}

Text utf16ToGbk(const Bytes& data)
{
    // Whatever follows a zero unit would be cut from the result anyway.
    std::string gbk;
    appendCp936EncodedUtf16le(data.view(), Composition::pairwise, gbk);
    return Text(std::move(gbk));
}

Bytes codePageToUtf16(std::string_view text, int codePage)
{
    const std::string_view input = upToNul(text);
    std::string utf16;
    if (codePage == kCodePageUtf8)
        utf16 = littleEndianBytes(utf8ToWide(input));
    else if (isGbkCodePage(codePage))
        appendCp936DecodedUtf16le(input, utf16);
    else
        return Bytes();
    utf16.append(2, '\0');
    return Bytes(std::move(utf16));
}

std::string utf16ToCodePage(const Bytes& data, int codePage)
{
    if (codePage == kCodePageUtf8)
        return wideToUtf8(beforeZeroUnit(unitsOf(data)));
    std::string encoded;
    if (isGbkCodePage(codePage))
        appendCp936EncodedUtf16le(data.view(), Composition::none, encoded);
    return encoded;
}

Text utf8ToGbk(std::string_view text)
{
    // The same as converting through codePageToUtf16 and utf16ToCodePage,
    // but a piece at a time through a small buffer instead of whole
    // terminated UTF-16 buffers. The text up to its NUL has no zero unit.
    const std::string_view input = upToNul(text);
    std::string gbk;
    // No UTF-8 sequence (nor invalid byte) yields more GBK bytes than it has.
    gbk.reserve(input.size() + 2 * kUtf8PieceSize);
    std::u16string wide;
    for (std::size_t start = 0; start < input.size();) {
        const std::size_t end = utf8PieceEnd(input, start);
        wide.clear();
        appendUtf8Decoded(input.substr(start, end - start), wide);
        appendCp936Encoded(wide, Composition::none, gbk);
        start = end;
    }
    return Text(std::move(gbk));
}

std::u16string gbkToWide(std::string_view gbk, std::vector<std::int32_t>* byteOffsets)
{
    std::u16string wide;
    std::vector<std::int32_t> offsets;
    appendCp936Decoded(gbk, wide, byteOffsets ? &offsets : nullptr);
    if (byteOffsets)
        *byteOffsets = std::move(offsets);
    return wide;
}

std::string wideToGbk(std::u16string_view wide)
{
    std::string gbk;
    appendCp936Encoded(wide, Composition::none, gbk);
    return gbk;
}

std::string wideToUtf8(std::u16string_view wide)
{
    std::string utf8;
    appendEncoded(threadUtf8Converter(), wide, utf8);
    return utf8;
}

std::u16string utf8ToWide(std::string_view utf8)
{
    std::u16string wide;
    appendUtf8Decoded(utf8, wide);
    return wide;
}

std::string upperCaseGbkCharacter(std::string_view character)
{
    if (character.size() == 1) {
        const char byte = character[0];
        return std::string(1, byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte);
    }
    const std::u16string wide = gbkToWide(character);
    std::u16string upper;
    bool changed = false;
    for (std::size_t i = 0; i < wide.size();) {
        UChar32 c = 0;
        U16_NEXT(wide.data(), i, wide.size(), c);
        const UChar32 upperC = u_toupper(c);
        if (upperC != c) {
            // The platform's mapping keeps letters whose capital the code
            // page lacks, rather than turning them into '?'.
            if (!hasCp936Mapping(upperC))
                return std::string(character);
            changed = true;
        }
        if (U_IS_BMP(upperC)) {
            upper.push_back(static_cast<char16_t>(upperC));
        } else {
            upper.push_back(U16_LEAD(upperC));
            upper.push_back(U16_TRAIL(upperC));
        }
    }
    if (!changed)
        return std::string(character);
    // Upper-casing works in place on a buffer of fixed length.
    std::string result = wideToGbk(upper);
    return result.size() == character.size() ? result : std::string(character);
}

} // namespace ql
