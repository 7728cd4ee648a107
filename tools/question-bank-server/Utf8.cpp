#include "Utf8.h"

namespace ql::qbank {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        // The allowed range of the second byte rules out overlong forms, surrogates and
        // code points above U+10FFFF.
        unsigned char secondLow = 0x80, secondHigh = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                secondLow = 0xA0;
            else if (lead == 0xED)
                secondHigh = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                secondLow = 0x90;
            else if (lead == 0xF4)
                secondHigh = 0x8F;
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        if (length > 1) {
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            if (second < secondLow || second > secondHigh)
                return false;
            for (std::size_t k = 2; k < length; ++k)
                if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
                    return false;
        }
        i += length;
    }
    return true;
}

std::size_t countCodePoints(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char byte : utf8)
        if (!isContinuation(static_cast<unsigned char>(byte)))
            ++count;
    return count;
}

}  // namespace ql::qbank
