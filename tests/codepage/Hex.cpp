#include "Hex.h"

#include <cstdio>

namespace ql::test {

std::string fromHex(std::string_view hex)
{
    std::string bytes;
    int high = -1;
    for (char c : hex) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<char>(high << 4 | digit));
            high = -1;
        }
    }
    return bytes;
}

std::string toHex(std::string_view bytes)
{
    std::string hex;
    char pair[4];
    for (unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", byte);
        if (!hex.empty())
            hex += ' ';
        hex += pair;
    }
    return hex;
}

std::string toHex(std::u16string_view units)
{
    std::string hex;
    char unit[8];
    for (char16_t u : units) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(u));
        if (!hex.empty())
            hex += ' ';
        hex += unit;
    }
    return hex;
}

Bytes utf16le(std::u16string_view units)
{
    std::string bytes;
    for (char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return Bytes(std::move(bytes));
}

} // namespace ql::test
