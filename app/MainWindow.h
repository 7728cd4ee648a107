#pragma once
// The one main window: the question box, the search button, six result
// rows inside a caption-less group box, and the browser view. Clicks go to
// the lookup; no other event has a handler.

#include "lookup/QuestionLookup.h"

#include <QMargins>
#include <QWidget>

#include <array>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWebEngineProfile;
class QWebEngineView;

namespace ql::app {

class WidgetLookupView;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kOuterWidth = 893;
    static constexpr int kOuterHeight = 359;

    MainWindow(Text questionBankHost, lookup::RequestEngine engine, QWidget* parent = nullptr);
    ~MainWindow() override;

    QWebEngineView* browserView() const { return browserView_; }
    const lookup::QuestionIds& questionIds() const { return lookup_->questionIds(); }

protected:
    bool event(QEvent* event) override;

private:
    void buildControls();
    void buildResultRows(QWidget* groupBox);
    void buildBrowserView();
    void connectHandlers();
    void chainTabOrder();
    void centreOnPrimaryScreen();
    // The outer size includes the window manager's frame, which is known
    // only once the window is shown and may arrive later.
    void fitOuterSizeToFrame();

    QLineEdit* questionBox_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    std::array<QPlainTextEdit*, 6> resultBoxes_{};
    std::array<QPushButton*, 6> answerButtons_{};
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* browserView_ = nullptr;
    QMargins fittedFrame_{-1, -1, -1, -1};

    std::unique_ptr<WidgetLookupView> lookupView_;
    std::unique_ptr<lookup::QuestionLookup> lookup_;
};

} // namespace ql::app
