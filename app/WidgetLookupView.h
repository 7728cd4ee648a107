#pragma once
// The lookup's view over the main window's widgets. Widgets are held
// weakly: a search that returns after the window went away touches nothing.

#include "lookup/LookupView.h"

#include <QPointer>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QWebEngineView;

namespace ql::app {

class WidgetLookupView : public lookup::LookupView {
public:
    WidgetLookupView(QLineEdit* questionBox, const std::array<QPlainTextEdit*, 6>& resultBoxes,
                     QWebEngineView* browserView);

    Text questionText() const override;
    void showResult(int row, const Text& text) override;
    void openAddress(const Text& address) override;

private:
    QPointer<QLineEdit> questionBox_;
    std::array<QPointer<QPlainTextEdit>, 6> resultBoxes_;
    QPointer<QWebEngineView> browserView_;
};

} // namespace ql::app
