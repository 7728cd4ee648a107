#pragma once
// Picking text out between markers, and rewriting with up to five
// find-and-replace pairs. Note the opposite letter-case defaults:
// textBetween matches exactly unless ignoreCase; batchReplace ignores ASCII
// letter case unless caseSensitive.

#include "text/Text.h"

namespace ql {

// Markers may write a double quote as the token "#引号".
Text textBetween(const Text& text, const Text& leftMarker, const Text& rightMarker,
                 int startPosition = 0, bool ignoreCase = false);

Text batchReplace(const Text& text, int maxReplacements, bool limitReplacements,
                  int startPosition, bool caseSensitive, const Text& find1, const Text& replacement1,
                  const Text& find2 = {}, const Text& replacement2 = {}, const Text& find3 = {},
                  const Text& replacement3 = {}, const Text& find4 = {},
                  const Text& replacement4 = {}, const Text& find5 = {},
                  const Text& replacement5 = {});

} // namespace ql
