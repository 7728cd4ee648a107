#include "lookup/QuestionLookup.h"

#include "lookup/Addresses.h"
#include "lookup/ResultRows.h"
#include "text/TextOps.h"

namespace ql::lookup {

QuestionLookup::QuestionLookup(LookupView& view, Text questionBankHost, RequestEngine engine)
    : view_(view), questionBankHost_(std::move(questionBankHost)), engine_(std::move(engine))
{
}

void QuestionLookup::onSearchClicked()
{
    const std::uint64_t thisSearch = ++searchesStarted_;
    const Text address = searchAddress(questionBankHost_, view_.questionText());

    // The rows are read from the raw body, decoded from UTF-8 here only: the
    // engine's own result may already have been decoded by a meta charset.
    // The engine writes the body only when a response came back, so a failed
    // request leaves it empty, which yields no rows and changes nothing.
    Bytes body;
    http::HttpRequestArgs get; // GET (method 0), every other argument left out
    get.responseBody = &body;
    engine_(address, get);
    if (thisSearch != searchesStarted_)
        return;

    const TextArray pieces = replyPieces(body.view());
    for (int k = 1; k <= QuestionIds::kSlotCount; ++k) {
        // The last piece is never a row: it follows the final "<br>".
        if (arrayCount(pieces) <= k)
            break;
        ResultRow row = readResultRow(arrayMember(pieces, k));
        questionIds_.store(k, std::move(row.id));
        view_.showResult(k, row.displayText);
    }
}

void QuestionLookup::onAnswerClicked(int k)
{
    if (!QuestionIds::isSlot(k))
        return;
    view_.openAddress(answerAddress(questionBankHost_, questionIds_.slot(k)));
}

} // namespace ql::lookup
