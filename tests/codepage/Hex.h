#pragma once
// Byte strings written as hex pairs ("41 00 CC E2") so that test tables
// can hold zero bytes and show GBK and UTF-16 data as it is laid out.

#include "text/Text.h"

#include <string>
#include <string_view>

namespace ql::test {

std::string fromHex(std::string_view hex);
std::string toHex(std::string_view bytes);
std::string toHex(std::u16string_view units);
// The units as UTF-16LE bytes, low byte first, as the conversions carry them.
Bytes utf16le(std::u16string_view units);

} // namespace ql::test
