#include "http/CharsetDecoder.h"

#include "http/AsciiCase.h"
#include "text/CodePage.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>

namespace ql::http {

namespace {

// Charset labels are short (IANA names are at most 40 characters); a longer
// or oddly spelt one from a page is not worth handing to the converter
// lookup, which would also treat an empty name as the default converter.
constexpr std::size_t kMaxLabelLength = 64;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

enum class Table { CodePage936, Icu };

struct Charset {
    Table table = Table::Icu;
    Converter converter;         // set for Table::Icu
    bool dropByteOrderMark = false;
};

bool isLabelCharacter(char byte)
{
    const char folded = foldAscii(byte);
    return (folded >= 'a' && folded <= 'z') || (byte >= '0' && byte <= '9') || byte == '-' ||
           byte == '_' || byte == '.' || byte == ':';
}

bool isPlausibleLabel(std::string_view label)
{
    return !label.empty() && label.size() <= kMaxLabelLength &&
           std::ranges::all_of(label, isLabelCharacter);
}

// Every name the browser table maps to code page 936. The converter lookup
// would open plain GB2312 (or another table) for several of them.
constexpr std::array kCodePage936Labels = {
    "gb2312",  "gbk",        "x-gbk",         "cp936",           "ms936",      "windows-936",
    "chinese", "cn-gb",      "csgb2312",      "csgb231280",      "csiso58gb231280",
    "gb_2312-80", "gb231280", "gb2312-80",    "iso-ir-58",       "euc-cn",     "x-euc-cn"};

struct Remap {
    std::string_view label;
    const char* converterName;
    bool dropByteOrderMark;
};

constexpr std::array kRemaps = {
    // The converter lookup reads BOM-less "unicode" big-endian; the browser
    // table means little-endian.
    Remap{"unicode", "UTF-16LE", true},
    Remap{"utf-16", "UTF-16LE", true},
    Remap{"unicodefffe", "UTF-16BE", true},
    Remap{"iso-8859-1", "windows-1252", false},
    Remap{"iso8859-1", "windows-1252", false},
    Remap{"iso_8859-1", "windows-1252", false},
    Remap{"latin1", "windows-1252", false},
};

Converter openConverter(const char* name)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

std::optional<Charset> charsetFor(std::string_view label)
{
    if (!isPlausibleLabel(label))
        return std::nullopt;
    for (std::string_view known : kCodePage936Labels) {
        if (equalsIgnoringAsciiCase(label, known))
            return Charset{Table::CodePage936, nullptr, false};
    }
    for (const Remap& remap : kRemaps) {
        if (equalsIgnoringAsciiCase(label, remap.label)) {
            Converter converter = openConverter(remap.converterName);
            if (!converter)
                return std::nullopt;
            return Charset{Table::Icu, std::move(converter), remap.dropByteOrderMark};
        }
    }
    const std::string name(label);
    Converter converter = openConverter(name.c_str());
    if (!converter)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const bool isUtf8 = std::string_view(ucnv_getName(converter.get(), &status)) == "UTF-8";
    return Charset{Table::Icu, std::move(converter), isUtf8};
}

std::optional<std::u16string> decodeWithConverter(UConverter* converter, std::string_view bytes)
{
    std::u16string decoded;
    decoded.reserve(bytes.size());
    std::array<UChar, 8192> chunk;
    const char* source = bytes.data();
    const char* const sourceEnd = source + bytes.size();
    UErrorCode status = U_ZERO_ERROR;
    do {
        status = U_ZERO_ERROR;
        UChar* target = chunk.data();
        ucnv_toUnicode(converter, &target, chunk.data() + chunk.size(), &source, sourceEnd, nullptr,
                       true, &status);
        decoded.append(chunk.data(), target);
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    if (U_FAILURE(status))
        return std::nullopt;
    return decoded;
}

} // namespace

std::optional<std::u16string> decodeCharset(std::string_view label, std::string_view bytes)
{
    std::optional<Charset> charset = charsetFor(label);
    if (!charset)
        return std::nullopt;
    if (charset->table == Table::CodePage936)
        return gbkToWide(bytes);

    std::optional<std::u16string> decoded = decodeWithConverter(charset->converter.get(), bytes);
    if (decoded && charset->dropByteOrderMark && decoded->starts_with(u'\xFEFF'))
        decoded->erase(0, 1);
    return decoded;
}

} // namespace ql::http
