// The code page conversions on arbitrary bytes. Beyond not crashing:
//  - gbkToUtf16 of a non-empty text is whole units ending in one zero unit,
//    with no zero unit before it, and dropTerminator takes exactly that off;
//  - text made of valid GBK characters comes back byte for byte;
//  - an ASCII byte that cannot be the second byte of a character (or that
//    follows a byte that cannot begin one) is never swallowed.

#include "FuzzInput.h"
#include "text/CodePage.h"

#include <array>
#include <string>

namespace ql::fuzz {
namespace {

bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// Code page 936 reads 0x80 and 0xFF as characters of one byte.
bool isLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// How often each ASCII byte must come out of the decoder: every ASCII byte
// that the walk does not take as the second byte of a pair.
std::array<int, 128> asciiThatMustSurvive(std::string_view text)
{
    std::array<int, 128> counts{};
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++counts[byte];
            ++i;
        } else if (isLeadByte(byte) && i + 1 < text.size()
                   && isTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            i += 2;
        } else {
            ++i;
        }
    }
    return counts;
}

std::u16string unitsOf(const Bytes& utf16)
{
    std::u16string units(utf16.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(static_cast<unsigned char>(utf16.data()[2 * i])
                            | static_cast<unsigned char>(utf16.data()[2 * i + 1]) << 8);
    return units;
}

void checkGbkToUtf16(const Text& text)
{
    const Bytes withTerminator = gbkToUtf16(text);
    const Bytes without = gbkToUtf16(text, true);
    if (text.empty()) {
        FUZZ_CHECK(withTerminator.empty() && without.empty());
        return;
    }
    FUZZ_CHECK(withTerminator.size() % 2 == 0 && withTerminator.size() >= 4);
    FUZZ_CHECK(withTerminator.view().ends_with(std::string_view("\0\0", 2)));
    FUZZ_CHECK(without.view() == withTerminator.view().substr(0, withTerminator.size() - 2));
    const std::u16string units = unitsOf(without);
    FUZZ_CHECK(units.find(u'\0') == std::u16string::npos);
    FUZZ_CHECK(units == gbkToWide(text.view()));

    const std::array<int, 128> expected = asciiThatMustSurvive(text.view());
    std::array<int, 128> found{};
    for (char16_t unit : units)
        if (unit < 0x80)
            ++found[unit];
    for (std::size_t byte = 1; byte < 128; ++byte) {
        if (byte == '?') // also the replacement for what cannot be read
            FUZZ_CHECK(found[byte] >= expected[byte]);
        else
            FUZZ_CHECK(found[byte] == expected[byte]);
    }

    const Text back = utf16ToGbk(withTerminator);
    FUZZ_CHECK(isZeroFree(back.view()));
    FUZZ_CHECK(utf16ToGbk(without) == back);
}

// Pairs from the GB2312 hanzi rows (B0-F7 x A1-FE, without the five unused
// places D7FA-D7FE) and from the first GBK extension (81-A0 x 40-FE
// without 7F), which code page 936 fills completely, and ASCII 01-7F.
std::string validGbkFrom(std::string_view seed)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < seed.size(); i += 2) {
        const auto a = static_cast<unsigned char>(seed[i]);
        const auto b = static_cast<unsigned char>(seed[i + 1]);
        switch (a % 3) {
        case 0:
            text += char(1 + b % 0x7F);
            break;
        case 1: {
            const auto lead = static_cast<unsigned char>(0xB0 + a / 3 % (0xF7 - 0xB0 + 1));
            auto trail = static_cast<unsigned char>(0xA1 + b % (0xFE - 0xA1 + 1));
            if (lead == 0xD7 && trail >= 0xFA)
                trail = 0xA1;
            text += char(lead);
            text += char(trail);
            break;
        }
        default: {
            const auto lead = static_cast<unsigned char>(0x81 + a / 3 % (0xA0 - 0x81 + 1));
            auto trail = static_cast<unsigned char>(0x40 + b % (0xFE - 0x40 + 1));
            if (trail == 0x7F)
                trail = 0x80;
            text += char(lead);
            text += char(trail);
            break;
        }
        }
    }
    return text;
}

void checkRoundTrip(std::string_view seed)
{
    const Text valid(validGbkFrom(seed));
    FUZZ_CHECK(utf16ToGbk(gbkToUtf16(valid)) == valid);
    FUZZ_CHECK(wideToGbk(gbkToWide(valid.view())) == valid.str());
    FUZZ_CHECK(utf8ToGbk(wideToUtf8(gbkToWide(valid.view()))) == valid);
    FUZZ_CHECK(utf16ToCodePage(gbkToUtf16(valid), kCodePageGbk) == valid.str());
}

void checkArbitraryUtf16(std::string_view bytes)
{
    const Bytes data{std::string(bytes)};
    const Text gbk = utf16ToGbk(data);
    FUZZ_CHECK(isZeroFree(gbk.view()));
    for (int codePage : {kCodePageAnsi, kCodePageGbk, kCodePageUtf8}) {
        const std::string converted = utf16ToCodePage(data, codePage);
        FUZZ_CHECK(isZeroFree(converted));
    }
    const Bytes wide = codePageToUtf16(bytes, kCodePageUtf8);
    FUZZ_CHECK(wide.size() % 2 == 0 && wide.view().ends_with(std::string_view("\0\0", 2)));
    FUZZ_CHECK(isZeroFree(utf8ToGbk(bytes).view()));
    const Bytes fromGbk = codePageToUtf16(Text(bytes).view(), kCodePageGbk);
    FUZZ_CHECK(fromGbk.size() % 2 == 0 && fromGbk.view().ends_with(std::string_view("\0\0", 2)));
}

} // namespace
} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const std::string_view bytes = input.rest();
    checkGbkToUtf16(Text(bytes));
    checkRoundTrip(bytes);
    checkArbitraryUtf16(bytes);
    return 0;
}
