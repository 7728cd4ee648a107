// The table-driven conversions must give exactly what plain ICU converter
// calls over the whole input give; a difference means a table or a split
// into ASCII runs and ICU pieces changed a result.

#include "Hex.h"
#include "text/CodePage.h"
#include "text/IcuConverter.h"

#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

namespace ql {
namespace {

using test::utf16le;

struct UsetCloser {
    void operator()(USet* set) const { uset_close(set); }
};

// Plain ICU over the whole input, with the platform's adjustments written
// out the obvious way.
class PlainIcuReference {
public:
    PlainIcuReference()
    {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_getUnicodeSet(cp936_.get(), mapped_.get(), UCNV_ROUNDTRIP_AND_FALLBACK_SET, &status);
        nfc_ = unorm2_getNFCInstance(&status);
        EXPECT_TRUE(U_SUCCESS(status));
    }

    std::u16string decodeGbk(std::string_view bytes, std::vector<std::int32_t>* offsets = nullptr) const
    {
        std::u16string units;
        appendDecoded(cp936_.get(), bytes, units, offsets);
        return units;
    }

    std::string encodeGbk(std::u16string_view units, bool compose) const
    {
        std::u16string prepared;
        for (std::size_t i = 0; i < units.size(); ++i) {
            UChar32 c = units[i];
            if (compose && i + 1 < units.size() && !U16_IS_SURROGATE(c)) {
                const UChar32 composed = unorm2_composePair(nfc_, c, units[i + 1]);
                if (composed >= 0 && uset_contains(mapped_.get(), composed)
                    && !replacedByPlatform(composed)) {
                    c = composed;
                    ++i;
                }
            }
            prepared.push_back(replacedByPlatform(c) ? u'?' : static_cast<char16_t>(c));
        }
        std::string bytes;
        appendEncoded(cp936_.get(), prepared, bytes);
        return bytes;
    }

    std::u16string decodeUtf8(std::string_view bytes) const
    {
        std::u16string units;
        appendDecoded(utf8_.get(), bytes, units);
        return units;
    }

private:
    static bool replacedByPlatform(UChar32 c) { return (c >= 0xFFE9 && c <= 0xFFEC) || c == 0xFFEE; }

    IcuConverter cp936_ = openCp936Converter();
    IcuConverter utf8_{"UTF-8"};
    std::unique_ptr<USet, UsetCloser> mapped_{uset_openEmpty()};
    const UNormalizer2* nfc_ = nullptr;
};

std::u16string beforeZeroUnit(std::u16string units)
{
    return units.substr(0, units.find(u'\0'));
}

class FastPathCrossCheck : public ::testing::Test {
protected:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::string randomGbk(std::size_t characters)
    {
        std::string bytes;
        for (std::size_t k = 0; k < characters; ++k) {
            switch (pick(0, 9)) {
            case 0:
            case 1:
            case 2:
                bytes.push_back(static_cast<char>(pick(0x20, 0x7E)));
                break;
            case 3:
            case 4:
            case 5: // a pair in the valid ranges, assigned or not
                bytes.push_back(static_cast<char>(pick(0x81, 0xFE)));
                bytes.push_back(static_cast<char>(pick(0, 1) ? pick(0x40, 0x7E) : pick(0x80, 0xFE)));
                break;
            case 6:
                bytes.push_back(static_cast<char>(pick(0, 1) ? 0x80 : 0xFF));
                break;
            case 7: // a lead byte before whatever comes next
                bytes.push_back(static_cast<char>(pick(0x81, 0xFE)));
                break;
            default:
                bytes.push_back(static_cast<char>(pick(0, 0xFF)));
                break;
            }
        }
        return bytes;
    }

    std::u16string randomUnits(std::size_t count)
    {
        static const char16_t kSpecial[] = {0xFFE9, 0xFFEA, 0xFFEB, 0xFFEC, 0xFFEE, 0x200B, 0xFEFF,
                                            0x00AD, 0xF92C, 0x20AC, 0xF8F5, 0x00C0, 0x00A5, 0x0000};
        std::u16string units;
        for (std::size_t k = 0; k < count; ++k) {
            switch (pick(0, 9)) {
            case 0:
            case 1:
                units.push_back(static_cast<char16_t>(pick(0x20, 0x7E)));
                break;
            case 2:
            case 3:
                units.push_back(static_cast<char16_t>(pick(0x4E00, 0x9FA5)));
                break;
            case 4: // combining marks, most after a base that may take them
                units.push_back(static_cast<char16_t>(pick(0x0300, 0x036F)));
                break;
            case 5:
                units.push_back(static_cast<char16_t>(pick(0x00A0, 0x024F)));
                break;
            case 6:
                units.push_back(static_cast<char16_t>(pick(0xD800, 0xDFFF)));
                break;
            case 7:
                units.push_back(static_cast<char16_t>(pick(0xD800, 0xDBFF)));
                units.push_back(static_cast<char16_t>(pick(0xDC00, 0xDFFF)));
                break;
            case 8:
                units.push_back(kSpecial[pick(0, std::size(kSpecial) - 1)]);
                break;
            default:
                units.push_back(static_cast<char16_t>(pick(0x0001, 0xFFFF)));
                break;
            }
        }
        return units;
    }

    std::string randomUtf8(std::size_t pieces)
    {
        std::string bytes;
        for (std::size_t k = 0; k < pieces; ++k) {
            const int kind = pick(0, 9);
            if (kind <= 2) {
                bytes.push_back(static_cast<char>(pick(0x20, 0x7E)));
            } else if (kind <= 6) { // a well-formed character, sometimes cut short
                const char32_t c = static_cast<char32_t>(
                    kind == 3 ? pick(0x80, 0x7FF) : kind == 6 ? pick(0x10000, 0x10FFFF) : pick(0x800, 0xFFFF));
                std::string encoded;
                if (c < 0x800) {
                    encoded = {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
                } else if (c < 0x10000) {
                    encoded = {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                               static_cast<char>(0x80 | (c & 0x3F))};
                } else {
                    encoded = {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                               static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
                }
                if (pick(0, 7) == 0)
                    encoded.resize(static_cast<std::size_t>(pick(1, static_cast<int>(encoded.size()))));
                bytes += encoded;
            } else {
                bytes.push_back(static_cast<char>(pick(kind == 7 ? 0x80 : 0, 0xFF)));
            }
        }
        return bytes;
    }

    void expectGbkDecodingMatches(std::string_view bytes)
    {
        std::vector<std::int32_t> expectedOffsets;
        const std::u16string expected = reference_.decodeGbk(bytes, &expectedOffsets);
        std::vector<std::int32_t> offsets;
        ASSERT_EQ(gbkToWide(bytes, &offsets), expected);
        ASSERT_EQ(offsets, expectedOffsets);
        ASSERT_EQ(gbkToWide(bytes), expected);
    }

    void expectGbkEncodingMatches(std::u16string_view units)
    {
        ASSERT_EQ(wideToGbk(units), reference_.encodeGbk(units, false));
        const std::u16string input = beforeZeroUnit(std::u16string(units));
        ASSERT_EQ(utf16ToGbk(utf16le(units)).str(), reference_.encodeGbk(input, true));
    }

    std::mt19937 random_{20240611};
    PlainIcuReference reference_;
};

TEST_F(FastPathCrossCheck, EveryTwoByteSequenceDecodesAsIcu)
{
    for (unsigned first = 0; first < 256; ++first) {
        for (unsigned second = 0; second < 256; ++second) {
            SCOPED_TRACE(testing::Message() << std::hex << first << ' ' << second);
            const char bytes[] = {static_cast<char>(first), static_cast<char>(second), 'A',
                                  static_cast<char>(0xCC), static_cast<char>(0xE2)};
            expectGbkDecodingMatches({bytes, 2});
            expectGbkDecodingMatches({bytes, 3});
            expectGbkDecodingMatches({bytes, 5});
        }
    }
}

TEST_F(FastPathCrossCheck, RandomGbkDecodesAsIcu)
{
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = randomGbk(static_cast<std::size_t>(pick(0, 60)));
        SCOPED_TRACE(testing::Message() << "round " << round);
        expectGbkDecodingMatches(bytes);
        const Text text(bytes);
        std::u16string terminated = reference_.decodeGbk(text.view());
        terminated.push_back(u'\0');
        ASSERT_EQ(gbkToUtf16(text), text.empty() ? Bytes() : utf16le(terminated));
    }
}

TEST_F(FastPathCrossCheck, EveryBmpUnitEncodesAsIcu)
{
    for (char32_t c = 0; c < 0x10000; ++c) {
        SCOPED_TRACE(testing::Message() << std::hex << static_cast<unsigned>(c));
        const char16_t unit = static_cast<char16_t>(c);
        expectGbkEncodingMatches(std::u16string{unit});
        expectGbkEncodingMatches(std::u16string{unit, u'\u0301'});
        expectGbkEncodingMatches(std::u16string{u'e', unit, u'a'});
    }
}

TEST_F(FastPathCrossCheck, RandomUtf16EncodesAsIcu)
{
    for (int round = 0; round < 3000; ++round) {
        const std::u16string units = randomUnits(static_cast<std::size_t>(pick(0, 60)));
        SCOPED_TRACE(testing::Message() << "round " << round);
        expectGbkEncodingMatches(units);
    }
}

TEST_F(FastPathCrossCheck, LongUtf8ConvertsAsIcuAcrossPieces)
{
    // Long enough to be converted in many pieces, with a run of
    // continuation bytes longer than a piece.
    std::string bytes = randomUtf8(100000);
    bytes.insert(bytes.size() / 2, std::string(40000, '\x80'));
    bytes += randomUtf8(100000);
    std::replace(bytes.begin(), bytes.end(), '\0', 'x');
    ASSERT_EQ(utf8ToGbk(bytes).str(), reference_.encodeGbk(reference_.decodeUtf8(bytes), false));
}

TEST_F(FastPathCrossCheck, RandomUtf8DecodesAsIcu)
{
    for (int round = 0; round < 5000; ++round) {
        const std::string bytes = randomUtf8(static_cast<std::size_t>(pick(0, 40)));
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::u16string expected = reference_.decodeUtf8(bytes);
        ASSERT_EQ(utf8ToWide(bytes), expected);
        const std::string beforeNul = bytes.substr(0, bytes.find('\0'));
        ASSERT_EQ(utf8ToGbk(bytes).str(), reference_.encodeGbk(reference_.decodeUtf8(beforeNul), false));
    }
}

} // namespace
} // namespace ql
