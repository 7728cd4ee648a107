#pragma once
// Operations on Text, Bytes and TextArray. Positions are byte positions
// counted from 1; a search that finds nothing gives -1; out-of-range
// positions and counts give the empty value. Searching, replacing,
// splitting and trimming step over GBK double-byte characters (a byte
// >= 0x80 begins a two-byte character); cutting by position counts bytes.
// Letter folding is ASCII-only and byte by byte, except in compareText.
// Optional parameters are std::optional where "left out" and "given"
// behave differently.

#include "text/Text.h"

#include <initializer_list>
#include <optional>

namespace ql {

int textLength(const Text& text);
Text textLeft(const Text& text, int count);
Text textRight(const Text& text, int count);
Text textMid(const Text& text, int startPosition, int count);
int findText(const Text& text, const Text& sought, std::optional<int> startPosition = std::nullopt,
             bool ignoreCase = false);
Text replaceText(const Text& text, const Text& sought, const Text& replacement = {},
                 std::optional<int> startPosition = std::nullopt,
                 std::optional<int> maxReplacements = std::nullopt, bool caseSensitive = false);
TextArray splitText(const Text& text, const Text& delimiter);
Text trimSpaces(const Text& text);
Text removeSpaces(const Text& text);
int compareText(const Text& first, const Text& second, bool caseSensitive);
bool textEquals(const Text& first, const Text& second);
Text concatText(std::initializer_list<std::string_view> parts);
Text blankText(int count);

int bytesLength(const Bytes& bytes);
Bytes bytesLeft(const Bytes& bytes, int count);
Bytes blankBytes(int count);
Bytes concatBytes(std::initializer_list<std::string_view> parts);
Bytes textToBytes(const Text& text);
Text bytesToText(const Bytes& bytes);
Bytes bytesAtAddress(const void* address, int count);

int arrayCount(const TextArray& array);
// k runs from 1 to arrayCount(array); callers check the count first.
const Text& arrayMember(const TextArray& array, int k);
void arrayAppend(TextArray& array, const Text& text);

} // namespace ql
