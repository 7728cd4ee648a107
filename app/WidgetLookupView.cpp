#include "app/WidgetLookupView.h"

#include "app/WidgetText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>
#include <QWebEngineView>

namespace ql::app {

WidgetLookupView::WidgetLookupView(QLineEdit* questionBox,
                                   const std::array<QPlainTextEdit*, 6>& resultBoxes,
                                   QWebEngineView* browserView)
    : questionBox_(questionBox), browserView_(browserView)
{
    for (std::size_t i = 0; i < resultBoxes.size(); ++i)
        resultBoxes_[i] = resultBoxes[i];
}

Text WidgetLookupView::questionText() const
{
    return questionBox_ ? toText(questionBox_->text()) : Text();
}

void WidgetLookupView::showResult(int row, const Text& text)
{
    if (row < 1 || row > static_cast<int>(resultBoxes_.size()))
        return;
    if (QPlainTextEdit* box = resultBoxes_[static_cast<std::size_t>(row - 1)])
        box->setPlainText(toQString(text));
}

void WidgetLookupView::openAddress(const Text& address)
{
    // load() rather than setUrl(): pressing the same answer button again
    // must fetch the page again.
    if (browserView_)
        browserView_->load(QUrl(toQString(address)));
}

} // namespace ql::app
