#pragma once
// The answer page of a question: a small self-contained UTF-8 HTML page sized for the client's
// 520 x 304 browser view.

#include "Question.h"

#include <string>
#include <string_view>

namespace ql::qbank {

std::string escapeHtml(std::string_view text);

std::string renderAnswerPage(const Question& question);

// The page for an id that names no question; the id is shown as it was asked for.
std::string renderNotFoundPage(std::string_view requestedId);

}  // namespace ql::qbank
