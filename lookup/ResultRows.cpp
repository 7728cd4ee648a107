#include "lookup/ResultRows.h"

#include "text/CodePage.h"
#include "text/Extraction.h"
#include "text/TextOps.h"

namespace ql::lookup {

namespace {

constexpr const char* kIdMarker = "id:";
constexpr const char* kQuestionMarker = "\xCC\xE2\xC4\xBF:"; // "题目:" (ASCII colon)

constexpr int kMaxHighlightTagsRemoved = 80;
// One replacement per cleaning pair: the id's digits may also occur inside
// the question text ("id:5题目:5+5=?"), and those must stay.
constexpr int kMaxCleaningReplacements = 1;

constexpr int kFromStart = 0;
constexpr bool kIgnoreLetterCase = false; // batchReplace's caseSensitive

} // namespace

TextArray replyPieces(std::string_view utf8Body)
{
    const Text reply = batchReplace(utf8ToGbk(utf8Body), kMaxHighlightTagsRemoved, true, kFromStart,
                                    kIgnoreLetterCase, "<em>", "", "</em>", "");
    return splitText(reply, "<br>");
}

ResultRow readResultRow(const Text& piece)
{
    Text id = textBetween(piece, kIdMarker, kQuestionMarker);
    Text displayText = batchReplace(piece, kMaxCleaningReplacements, true, kFromStart,
                                    kIgnoreLetterCase, kIdMarker, "", id, "", kQuestionMarker, "");
    return {std::move(id), std::move(displayText)};
}

} // namespace ql::lookup
