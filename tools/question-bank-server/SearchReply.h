#pragma once
// The text of a search reply, which the desktop client splits at "<br>" into rows of the form
// "id:" id "题目:" question. It never shows the piece after the last "<br>", so every reply ends
// with a closing piece that counts the matches, and all rows stay visible.

#include "QuestionBank.h"

#include <string>
#include <string_view>

namespace ql::qbank {

// The text with every match of the needle, the case of ASCII letters ignored, wrapped in "<em>"
// and "</em>"; matches are taken from left to right and do not overlap.
std::string highlightMatches(std::string_view text, std::string_view needle);

std::string formatSearchReply(const SearchResult& result, std::string_view needle);

}  // namespace ql::qbank
