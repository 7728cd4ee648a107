#pragma once
// The two addresses on the question-bank server: the search endpoint and
// the answer page. `host` is "name[:port]".

#include "text/Text.h"

#include <string>

namespace ql::lookup {

// The host the build was configured for (QUESTION_BANK_HOST).
Text configuredQuestionBankHost();

// The question travels as UTF-8, percent-encoded, so that "&", "#", "+",
// "%", blanks and Chinese characters reach the server as typed.
Text searchAddress(const Text& host, const Text& question);
// The id is appended as stored: ids come from the server's own replies.
Text answerAddress(const Text& host, const Text& id);

// Percent-encodes the UTF-8 form of a GBK text; only the unreserved
// characters A-Z a-z 0-9 - . _ ~ stay as they are.
std::string percentEncodeAsUtf8(const Text& gbk);

} // namespace ql::lookup
