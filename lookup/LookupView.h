#pragma once
// What the lookup needs from the window, so that it runs without a GUI
// toolkit in tests. All texts are GBK.

#include "text/Text.h"

namespace ql::lookup {

class LookupView {
public:
    virtual ~LookupView() = default;

    // The whole current text of the question box.
    virtual Text questionText() const = 0;
    // Replaces the whole text of result box `row` (1 to 6).
    virtual void showResult(int row, const Text& text) = 0;
    // Makes the browser view open `address`, replacing the page it shows.
    virtual void openAddress(const Text& address) = 0;
};

} // namespace ql::lookup
