// The main window on the offscreen platform: its settings, its seventeen
// controls, focus and tab order, and how clicks and keys reach the lookup.
// Requests go to a fake engine; answer pages point at a closed loopback port.

#include "app/MainWindow.h"
#include "app/StartupEnvironment.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>
#include <string>
#include <vector>

namespace {

// Nothing listens on port 1: a page load fails at once, on loopback only.
constexpr const char* kHost = "127.0.0.1:1";

struct FakeEngine {
    std::vector<ql::Text> urls;
    std::string body;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    FakeEngine engine_;
    std::unique_ptr<ql::app::MainWindow> window_;

    template <typename Control = QWidget>
    Control* control(const QString& name) const
    {
        auto* found = window_->findChild<Control*>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }

    void pressSearch() { QTest::mouseClick(control<QPushButton>("按钮1"), Qt::LeftButton); }

private slots:
    void init()
    {
        engine_ = {};
        window_ = std::make_unique<ql::app::MainWindow>(
            kHost, [this](const ql::Text& url, const ql::http::HttpRequestArgs& args) {
                engine_.urls.push_back(url);
                if (args.responseBody)
                    *args.responseBody = ql::Bytes(engine_.body);
                return ql::Text(engine_.body);
            });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() { window_.reset(); }

    void titleHasItsBlanksAndFullWidthColon()
    {
        const QString expected = QStringLiteral("青梧阁查题工具---无限制查题---支持付费题---"
                                                "服务器渣各位大佬轻点用")
            + QStringLiteral("                     ") + QStringLiteral("云栈：lanternfox");
        QCOMPARE(window_->windowTitle(), expected);
        const QString title = window_->windowTitle();
        const qsizetype afterYong = title.indexOf(QStringLiteral("用")) + 1;
        QCOMPARE(title.indexOf(QStringLiteral("云栈")) - afterYong, 21);
        QCOMPARE(title.mid(afterYong, 21), QString(21, u' '));
        QVERIFY(title.contains(QChar(0xFF1A)));
    }

    void outerSizeIsFixedAndCentred()
    {
        // The test platform adds a frame, as a window manager would.
        QVERIFY(window_->geometry().size() != window_->frameGeometry().size());
        QCOMPARE(window_->frameGeometry().size(), QSize(893, 359));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        QCOMPARE(window_->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window_->frameGeometry().topLeft(),
                 QPoint((screen.width() - 893) / 2, (screen.height() - 359) / 2));
    }

    void minimiseAndCloseButNoMaximise()
    {
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(flags.testFlag(Qt::Window));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void backgroundIsButtonFace()
    {
        QVERIFY(window_->autoFillBackground());
        QCOMPARE(window_->palette().color(QPalette::Window),
                 window_->palette().color(QPalette::Button));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tabStop");

        const QString window = QString(); // the window has no object name
        QTest::addRow("透明标签1") << "QLabel" << window << QRect(8, 8, 48, 32) << "题目：" << false;
        QTest::addRow("编辑框1") << "QLineEdit" << window << QRect(64, 8, 200, 32) << "" << true;
        QTest::addRow("按钮1") << "QPushButton" << window << QRect(272, 8, 80, 32) << "查询" << true;
        QTest::addRow("分组框1") << "QGroupBox" << window << QRect(16, 56, 336, 264) << "" << false;
        QTest::addRow("超文本浏览框1")
            << "QWebEngineView" << window << QRect(360, 8, 520, 304) << "" << true;
        for (int k = 1; k <= 6; ++k) {
            const int top = 16 + 40 * (k - 1);
            QTest::addRow("t%d", k) << "QPlainTextEdit" << "分组框1" << QRect(8, top, 224, 32)
                                    << "" << true;
            QTest::addRow("c%d", k) << "QPushButton" << "分组框1" << QRect(248, top, 80, 32)
                                    << "查询此题" << true;
        }
    }

    void controls()
    {
        QFETCH(QString, kind);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, tabStop);

        QWidget* widget = control(QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(widget);
        QVERIFY2(widget->inherits(kind.toLatin1()), widget->metaObject()->className());
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->geometry(), geometry);
        QVERIFY(widget->isVisible());
        QVERIFY(widget->isEnabled());
        QCOMPARE(bool(widget->focusPolicy() & Qt::TabFocus), tabStop);

        QString shown;
        if (auto* label = qobject_cast<QLabel*>(widget))
            shown = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(widget))
            shown = button->text();
        else if (auto* line = qobject_cast<QLineEdit*>(widget))
            shown = line->text();
        else if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
            shown = box->toPlainText();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            shown = group->title();
        QCOMPARE(shown, text);
    }

    void thereAreSeventeenNamedControls()
    {
        int named = 0;
        for (QWidget* widget : window_->findChildren<QWidget*>()) {
            if (widget->inherits("QLabel") || widget->inherits("QLineEdit")
                || widget->inherits("QPushButton") || widget->inherits("QGroupBox")
                || widget->inherits("QPlainTextEdit") || widget->inherits("QWebEngineView"))
                named += widget->objectName().isEmpty() ? 0 : 1;
        }
        QCOMPARE(named, 17);
    }

    void editBoxSettings_data()
    {
        QTest::addColumn<bool>("multiLine");
        QTest::addRow("编辑框1") << false;
        for (int k = 1; k <= 6; ++k)
            QTest::addRow("t%d", k) << true;
    }

    void editBoxSettings()
    {
        QFETCH(bool, multiLine);
        QWidget* widget = control(QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(widget);
        const QPalette colours = widget->palette();
        QCOMPARE(colours.color(QPalette::Active, QPalette::Base), QColor(Qt::white));
        QCOMPARE(colours.color(QPalette::Active, QPalette::Text), QColor(Qt::black));
        // The selection is drawn invisibly while the box lacks the focus.
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
                 colours.color(QPalette::Inactive, QPalette::Base));

        if (!multiLine) {
            auto* box = qobject_cast<QLineEdit*>(widget);
            QVERIFY(box);
            QVERIFY(!box->isReadOnly());
            QVERIFY(box->hasFrame());
            QVERIFY(box->maxLength() >= 1'000'000);
            return;
        }
        auto* box = qobject_cast<QPlainTextEdit*>(widget);
        QVERIFY(box);
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->frameShadow(), QFrame::Sunken);
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        box->setFocus();
        QTest::keyClicks(box, "ab");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "cd");
        QCOMPARE(box->toPlainText(), QStringLiteral("ab\ncd"));
    }

    void browserViewStartsBlankOffTheRecordWithGbkDefault()
    {
        auto* view = window_->browserView();
        QCOMPARE(view->url(), QUrl(QStringLiteral("about:blank")));
        QVERIFY(view->page()->profile()->isOffTheRecord());
        QCOMPARE(view->page()->profile()->persistentCookiesPolicy(),
                 QWebEngineProfile::NoPersistentCookies);
        QCOMPARE(view->page()->settings()->defaultTextEncoding(), QStringLiteral("GBK"));
    }

    void focusStartsInTheQuestionBoxAndTabFollowsTheLayout()
    {
        QCOMPARE(QApplication::focusWidget(), control("编辑框1"));
        const QStringList order{"按钮1", "t1", "c1", "t2", "c2", "t3", "c3",
                                "t4",   "c4", "t5", "c5", "t6", "c6"};
        for (const QString& name : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* view = window_->browserView();
        QWidget* focused = QApplication::focusWidget();
        QVERIFY2(focused == view || view->isAncestorOf(focused) || view->focusProxy() == focused,
                 qPrintable(focused ? focused->metaObject()->className() : QString("none")));
    }

    void enterInTheQuestionBoxStartsNoSearch()
    {
        auto* box = control<QLineEdit>("编辑框1");
        box->setFocus();
        QTest::keyClicks(box, "abc");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter);
        QVERIFY(engine_.urls.empty());
        QCOMPARE(box->text(), QStringLiteral("abc"));
        pressSearch();
        QCOMPARE(engine_.urls.size(), std::size_t(1));
    }

    void theQuestionIsSentAsTypedAndRowsShowAsSent()
    {
        control<QLineEdit>("编辑框1")->setText(QStringLiteral("中文 1+1"));
        engine_.body = "id:1001题目:<em>中文</em>题一<br>id:1002题目:second<br>end";
        pressSearch();
        QCOMPARE(engine_.urls.size(), std::size_t(1));
        QCOMPARE(engine_.urls[0].str(),
                 std::string("http://127.0.0.1:1/qwg/chazhao.php?w=%E4%B8%AD%E6%96%87%201%2B1"));
        QCOMPARE(control<QPlainTextEdit>("t1")->toPlainText(), QStringLiteral("中文题一"));
        QCOMPARE(control<QPlainTextEdit>("t2")->toPlainText(), QStringLiteral("second"));
        QCOMPARE(control<QPlainTextEdit>("t3")->toPlainText(), QString());
    }

    void typingIntoAResultBoxLeavesItsIdAlone()
    {
        engine_.body = "id:1001题目:first<br>end";
        pressSearch();
        auto* box = control<QPlainTextEdit>("t1");
        box->setFocus();
        QTest::keyClicks(box, "2002");
        QCOMPARE(window_->questionIds().slot(1), ql::Text("1001"));

        QTest::mouseClick(control<QPushButton>("c1"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(
            window_->browserView()->url(),
            QUrl(QStringLiteral("http://127.0.0.1:1/qwg/indexchaxun.php?id=1001")), 30000);
    }

    void answerButtonBeforeAnySearchOpensAnEmptyId()
    {
        QTest::mouseClick(control<QPushButton>("c4"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window_->browserView()->url(),
                                  QUrl(QStringLiteral("http://127.0.0.1:1/qwg/indexchaxun.php?id=")),
                                  30000);
        QVERIFY(engine_.urls.empty());
    }
};

int main(int argc, char* argv[])
{
    ql::app::prepareWebEngineEnvironment();
    QApplication application(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
