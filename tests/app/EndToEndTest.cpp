// The whole road against a running question-bank server, on a real display
// (Xvfb): type a question, press "查询", read the rows, press "查询此题" and
// watch the view load the answer page. The server's host comes from
// QL_E2E_QUESTION_BANK_HOST, which only this test reads; the app itself
// talks to the host it was built for.

#include "app/MainWindow.h"
#include "app/StartupEnvironment.h"
#include "http/PumpMessages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <functional>
#include <memory>

class EndToEndTest : public QObject {
    Q_OBJECT

private:
    ql::Text host_;
    QString answerPrefix_;
    std::unique_ptr<ql::app::MainWindow> window_;
    // Runs once, at the first time the request engine lets events through.
    std::function<void()> atFirstPump_;

    template <typename Control>
    Control* control(const char* name) const
    {
        return window_->findChild<Control*>(QString::fromUtf8(name));
    }

    QString row(int k) const
    {
        return control<QPlainTextEdit>(qPrintable(QStringLiteral("t%1").arg(k)))->toPlainText();
    }

    void search(const QString& question)
    {
        auto* box = control<QLineEdit>("编辑框1");
        box->clear();
        box->setFocus();
        const bool typeable = std::all_of(question.begin(), question.end(),
                                          [](QChar c) { return c.unicode() < 0x80; });
        if (typeable) {
            QTest::keyClicks(box, question);
        } else {
            // Chinese arrives the way an input method delivers it.
            QInputMethodEvent typed;
            typed.setCommitString(question);
            QApplication::sendEvent(box, &typed);
        }
        QCOMPARE(box->text(), question);
        QTest::mouseClick(control<QPushButton>("按钮1"), Qt::LeftButton);
    }

    // Presses answer button k and waits until the view has loaded the page.
    bool openAnswer(int k, const QString& expectedId)
    {
        QSignalSpy loaded(window_->browserView(), &QWebEngineView::loadFinished);
        QTest::mouseClick(control<QPushButton>(qPrintable(QStringLiteral("c%1").arg(k))),
                          Qt::LeftButton);
        const QUrl expected(answerPrefix_ + expectedId);
        while (loaded.wait(30000)) {
            if (window_->browserView()->url() == expected)
                return loaded.last().at(0).toBool();
        }
        return false;
    }

    QString pageText()
    {
        QString text;
        bool done = false;
        window_->browserView()->page()->toPlainText([&](const QString& result) {
            text = result;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 10000))
            qWarning("the page text did not arrive");
        return text;
    }

private slots:
    void initTestCase()
    {
        const QByteArray host = qgetenv("QL_E2E_QUESTION_BANK_HOST");
        QVERIFY2(!host.isEmpty(), "QL_E2E_QUESTION_BANK_HOST names the test server");
        host_ = ql::Text(host.toStdString());
        answerPrefix_ = QStringLiteral("http://%1/qwg/indexchaxun.php?id=").arg(host);

        ql::http::setPumpMessagesHook([this] {
            if (auto once = std::exchange(atFirstPump_, nullptr))
                once();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        });
        window_ = std::make_unique<ql::app::MainWindow>(host_, ql::lookup::networkRequestEngine());
        QSignalSpy blankLoaded(window_->browserView(), &QWebEngineView::loadFinished);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QVERIFY(blankLoaded.count() > 0 || blankLoaded.wait(30000));
        QCOMPARE(window_->browserView()->url(), QUrl(QStringLiteral("about:blank")));
    }

    void searchShowsTheRowsAndTheAnswerPageOpens()
    {
        search(QStringLiteral("明月"));
        QCOMPARE(row(1), QStringLiteral("明月松间照的下一句"));
        QCOMPARE(row(2), QStringLiteral("明月几时有的作者是谁"));
        QCOMPARE(row(3), QStringLiteral("床前明月光的下一句是什么"));
        QCOMPARE(row(4), QString());
        QCOMPARE(window_->questionIds().slot(2), ql::Text("103"));

        QVERIFY(openAnswer(2, QStringLiteral("103")));
        const QString page = pageText();
        QVERIFY2(page.contains(QStringLiteral("苏轼")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("明月几时有的作者是谁")), qPrintable(page));

        const QString artifactDir = qEnvironmentVariable("QL_E2E_ARTIFACT_DIR", QDir::currentPath());
        QVERIFY(QDir().mkpath(artifactDir));
        QTest::qWait(500); // let the compositor paint the loaded page
        const QString shot = artifactDir + QStringLiteral("/end-to-end-answer.png");
        QVERIFY(window_->grab().save(shot));
        qInfo("screenshot: %s", qPrintable(shot));
    }

    void charactersWithAMeaningInAddressesReachTheServer()
    {
        search(QStringLiteral("1+1=?"));
        QCOMPARE(row(1), QStringLiteral("1+1=?"));
        QCOMPARE(window_->questionIds().slot(1), ql::Text("101"));
    }

    void aSearchPressedWhileAnotherWaitsLeavesTheNewerRows()
    {
        atFirstPump_ = [this] { search(QStringLiteral("沸腾")); };
        search(QStringLiteral("明月"));
        QCOMPARE(control<QLineEdit>("编辑框1")->text(), QStringLiteral("沸腾"));
        QCOMPARE(row(1), QStringLiteral("水在标准大气压下100度沸腾"));
        QCOMPARE(window_->questionIds().slot(1), ql::Text("105"));
        // Rows 2 and 3 were not reached by the newer search: they keep the
        // rows of the search before, not those of the overtaken one.
        QCOMPARE(row(2), QStringLiteral("明月几时有的作者是谁"));
    }

    // Last, as the app runs: from its main loop. Closing the window while a
    // search waits asks the loop to quit; the search runs to its end, writing
    // only to the still existing, hidden window, and then the loop ends.
    void closingTheWindowDuringASearchEndsTheLoopCleanly()
    {
        atFirstPump_ = [this] { window_->close(); };
        QTimer::singleShot(0, this, [this] { search(QStringLiteral("明月")); });
        QTimer::singleShot(60000, this, [] { QCoreApplication::exit(2); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!window_->isVisible());
        QCOMPARE(row(1), QStringLiteral("明月松间照的下一句"));
    }

    void cleanupTestCase()
    {
        ql::http::setPumpMessagesHook(nullptr);
        window_.reset();
    }
};

int main(int argc, char* argv[])
{
    ql::app::prepareWebEngineEnvironment();
    QApplication application(argc, argv);
    EndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EndToEndTest.moc"
