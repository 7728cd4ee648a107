#pragma once
// Reading the search endpoint's reply: UTF-8 rows separated by "<br>", each
// row "id:" <id> "题目:" <question>, with <em></em> highlight tags anywhere.

#include "text/Text.h"

#include <string_view>

namespace ql::lookup {

// The reply decoded from UTF-8 (once), its highlight tags removed (at most
// 80 of each, letter case ignored), split at "<br>". Piece k is row k.
TextArray replyPieces(std::string_view utf8Body);

struct ResultRow {
    Text id;          // between the first "id:" and the first "题目:" after it
    Text displayText; // the piece without "id:", the id and "题目:"
};

ResultRow readResultRow(const Text& piece);

} // namespace ql::lookup
