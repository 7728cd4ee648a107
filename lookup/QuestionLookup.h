#pragma once
// The two click handlers of the main window: the keyword search, which
// fills result rows 1 to 6 and their question ids, and the answer view,
// which opens the answer page of row k in the browser view.

#include "lookup/LookupView.h"
#include "lookup/QuestionIds.h"
#include "lookup/RequestEngine.h"

#include <cstdint>

namespace ql::lookup {

class QuestionLookup {
public:
    QuestionLookup(LookupView& view, Text questionBankHost, RequestEngine engine);

    // Runs one search. The engine may let window events through while it
    // waits; a search started and finished meanwhile wins, and this one then
    // writes nothing.
    void onSearchClicked();
    // k runs from 1 to 6; there is no answer button for any other k.
    void onAnswerClicked(int k);

    const QuestionIds& questionIds() const { return questionIds_; }

private:
    LookupView& view_;
    Text questionBankHost_;
    RequestEngine engine_;
    QuestionIds questionIds_;
    std::uint64_t searchesStarted_ = 0;
};

} // namespace ql::lookup
