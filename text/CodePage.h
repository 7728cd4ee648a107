#pragma once
// Conversions between GBK (code page 936), UTF-8 (65001) and UTF-16LE
// carried in Bytes (two bytes per unit, low byte first). They never fail:
// invalid input and unmapped characters come out as the platform's default
// replacements ('?' for code page 936).

#include "text/Text.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

constexpr int kCodePageAnsi = 0;   // stands for 936 on the systems this tool targets
constexpr int kCodePageGbk = 936;
constexpr int kCodePageUtf8 = 65001;

Bytes gbkToUtf16(const Text& text, bool dropTerminator = false);
Text utf16ToGbk(const Bytes& data);
Bytes codePageToUtf16(std::string_view text, int codePage = kCodePageUtf8);
std::string utf16ToCodePage(const Bytes& data, int codePage = kCodePageAnsi);
Text utf8ToGbk(std::string_view text);

// Wide-string forms for the edges (Qt, the HTTP platform layer, the regex
// engine). gbkToWide decodes exactly as gbkToUtf16 does, without a
// terminator; when byteOffsets is given it receives, for each UTF-16 unit,
// the byte offset in `gbk` of the character it came from.
std::u16string gbkToWide(std::string_view gbk, std::vector<std::int32_t>* byteOffsets = nullptr);
// Encodes as utf16ToCodePage(.., 936) does (flags 0: best fit, no composition).
std::string wideToGbk(std::u16string_view wide);
std::string wideToUtf8(std::u16string_view wide);
std::u16string utf8ToWide(std::string_view utf8);

// The upper-case form of one GBK character (one or two bytes) through the
// system's case mapping, keeping its byte length; used by compareText.
std::string upperCaseGbkCharacter(std::string_view character);

} // namespace ql
