#include "app/MainWindow.h"

#include "app/EditBoxes.h"
#include "app/WidgetLookupView.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWindow>

namespace ql::app {

namespace {

QString mainWindowTitle()
{
    return QStringLiteral("青梧阁查题工具---无限制查题---支持付费题---服务器渣各位大佬轻点用")
        + QString(21, u' ') + QStringLiteral("云栈：lanternfox");
}

template <typename Control>
Control* place(Control* control, const QString& name, int left, int top, int width, int height)
{
    control->setObjectName(name);
    control->setGeometry(left, top, width, height);
    return control;
}

QPushButton* pushButton(QWidget* parent, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    // A plain window has no default button: Enter in an edit box clicks nothing.
    button->setAutoDefault(false);
    return button;
}

} // namespace

MainWindow::MainWindow(Text questionBankHost, lookup::RequestEngine engine, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setWindowTitle(mainWindowTitle());
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);

    buildControls();
    lookupView_ = std::make_unique<WidgetLookupView>(questionBox_, resultBoxes_, browserView_);
    lookup_ = std::make_unique<lookup::QuestionLookup>(*lookupView_, std::move(questionBankHost),
                                                       std::move(engine));
    connectHandlers();
    chainTabOrder();
    questionBox_->setFocus(Qt::OtherFocusReason);

    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(kOuterWidth, kOuterHeight);
    centreOnPrimaryScreen();
}

MainWindow::~MainWindow()
{
    // A page must go before its profile, which is a later-deleted child.
    delete browserView_;
}

void MainWindow::buildControls()
{
    auto* label = place(new QLabel(QStringLiteral("题目："), this), QStringLiteral("透明标签1"),
                        8, 8, 48, 32);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    questionBox_ = place(new QLineEdit(this), QStringLiteral("编辑框1"), 64, 8, 200, 32);
    configureQuestionBox(questionBox_);

    searchButton_ = place(pushButton(this, QStringLiteral("查询")), QStringLiteral("按钮1"),
                          272, 8, 80, 32);

    auto* groupBox = place(new QGroupBox(this), QStringLiteral("分组框1"), 16, 56, 336, 264);
    buildResultRows(groupBox);
    buildBrowserView();
}

void MainWindow::buildResultRows(QWidget* groupBox)
{
    for (int k = 1; k <= 6; ++k) {
        const int top = 16 + 40 * (k - 1);
        auto* box = place(new QPlainTextEdit(groupBox), QStringLiteral("t%1").arg(k), 8, top, 224,
                          32);
        configureResultBox(box);
        resultBoxes_[k - 1] = box;
        answerButtons_[k - 1] = place(pushButton(groupBox, QStringLiteral("查询此题")),
                                      QStringLiteral("c%1").arg(k), 248, top, 80, 32);
    }
}

void MainWindow::buildBrowserView()
{
    // Off the record: no cookies, cache or history reach the disk.
    profile_ = new QWebEngineProfile(this);
    profile_->settings()->setDefaultTextEncoding(QStringLiteral("GBK"));

    browserView_ = place(new QWebEngineView(this), QStringLiteral("超文本浏览框1"), 360, 8, 520,
                         304);
    browserView_->setFocusPolicy(Qt::StrongFocus);
    browserView_->setPage(new QWebEnginePage(profile_, browserView_));
    browserView_->setUrl(QUrl(QStringLiteral("about:blank")));
}

void MainWindow::connectHandlers()
{
    connect(searchButton_, &QPushButton::clicked, this, [this] { lookup_->onSearchClicked(); });
    for (int k = 1; k <= 6; ++k) {
        connect(answerButtons_[k - 1], &QPushButton::clicked, this,
                [this, k] { lookup_->onAnswerClicked(k); });
    }
}

void MainWindow::chainTabOrder()
{
    QWidget* previous = searchButton_;
    QWidget::setTabOrder(questionBox_, searchButton_);
    for (int k = 0; k < 6; ++k) {
        QWidget::setTabOrder(previous, resultBoxes_[k]);
        QWidget::setTabOrder(resultBoxes_[k], answerButtons_[k]);
        previous = answerButtons_[k];
    }
    QWidget::setTabOrder(previous, browserView_);
}

void MainWindow::centreOnPrimaryScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect full = screen->geometry();
        // For a top-level window, move() places the outer frame.
        move(full.x() + (full.width() - kOuterWidth) / 2,
             full.y() + (full.height() - kOuterHeight) / 2);
    }
}

void MainWindow::fitOuterSizeToFrame()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame == fittedFrame_)
        return;
    fittedFrame_ = frame;
    setFixedSize(kOuterWidth - frame.left() - frame.right(),
                 kOuterHeight - frame.top() - frame.bottom());
    centreOnPrimaryScreen();
}

bool MainWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    // A window manager adds its frame after mapping the window; one of these
    // follows, whichever it sends first.
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        fitOuterSizeToFrame();
        break;
    default:
        break;
    }
    return handled;
}

} // namespace ql::app
