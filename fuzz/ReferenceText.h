#pragma once
// Plain, slow reference versions of the text operations, written straight
// from their rules: walk the text one character at a time (a byte >= 0x80
// begins a two-byte character) and compare byte by byte. The fuzz targets
// check the real operations against these.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ql::fuzz::reference {

int findText(std::string_view text, std::string_view sought, std::optional<int> startPosition,
             bool ignoreCase);
std::string replaceText(std::string_view text, std::string_view sought, std::string_view replacement,
                        std::optional<int> startPosition, std::optional<int> maxReplacements,
                        bool caseSensitive);
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);
std::string trimSpaces(std::string_view text);
std::string removeSpaces(std::string_view text);

std::string textBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                        int startPosition, bool ignoreCase);
// pairs holds find1, replacement1, ... find5, replacement5.
std::string batchReplace(std::string_view text, int maxReplacements, bool limitReplacements,
                         int startPosition, bool caseSensitive, const std::string (&pairs)[10]);

std::string mergeCookies(std::string_view sentCookies, std::string_view receivedCookies);

// Whether a walk over the whole text from its first byte stops at `at`.
bool isCharacterStart(std::string_view text, std::size_t at);

} // namespace ql::fuzz::reference
