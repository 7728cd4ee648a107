// bench-app: 1 / seconds from process start until the main window is shown
// with its view at about:blank, beside a minimal Qt program that shows one
// window holding a WebEngine view. Both run as child processes of this one
// (this same program, started with "ours" or "floor"); a child writes one
// byte to its standard output once it is ready and then quits. Rounds
// alternate; each side's best round counts, since on a shared machine other
// work only ever slows a start down. Peak memory is each child's maximum
// resident set size.

#include "app/MainWindow.h"
#include "app/StartupEnvironment.h"
#include "lookup/Addresses.h"

#include <QApplication>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kRounds = 7;

// Reports readiness once the window is exposed and the view has finished
// loading about:blank; 1 ms polling is far below a start-up's time.
int runUntilReady(QWidget& window, QWebEngineView& view)
{
    bool blankLoaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) {
        blankLoaded = ok && view.url() == QUrl(QStringLiteral("about:blank"));
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (blankLoaded && window.windowHandle() && window.windowHandle()->isExposed()) {
            poll.stop();
            const char ready = '\n';
            if (write(STDOUT_FILENO, &ready, 1) != 1)
                std::exit(1);
            QCoreApplication::quit();
        }
    });
    poll.start(1);
    window.show();
    return QApplication::exec();
}

int runOurs(int argc, char** argv)
{
    ql::app::prepareWebEngineEnvironment();
    QApplication application(argc, argv);
    ql::app::installEventPump();
    ql::app::MainWindow window(ql::lookup::configuredQuestionBankHost(),
                               ql::lookup::networkRequestEngine());
    return runUntilReady(window, *window.browserView());
}

int runFloor(int argc, char** argv)
{
    // Chromium will not start as root with its sandbox; nothing else is set.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    QWidget window;
    window.resize(893, 359);
    QWebEngineView view(&window);
    view.setGeometry(360, 8, 520, 304);
    view.setUrl(QUrl(QStringLiteral("about:blank")));
    return runUntilReady(window, view);
}

struct Start {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

Start timeStart(const char* self, const char* mode)
{
    int ready[2];
    if (pipe(ready) != 0)
        return {};
    const auto begin = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(ready[1], STDOUT_FILENO);
        close(ready[0]);
        close(ready[1]);
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    char byte = 0;
    const bool gotReady = child > 0 && read(ready[0], &byte, 1) == 1;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;
    close(ready[0]);
    int status = 0;
    rusage usage{};
    if (child > 0)
        wait4(child, &status, 0, &usage);
    return {elapsed.count(), usage.ru_maxrss, gotReady && WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "ours") == 0)
        return runOurs(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "floor") == 0)
        return runFloor(argc, argv);

    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::printf("startup: no display, both programs run on the offscreen platform\n");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::vector<Start> ours;
    std::vector<Start> floor;
    for (int round = 0; round < kRounds; ++round) {
        ours.push_back(timeStart(argv[0], "ours"));
        floor.push_back(timeStart(argv[0], "floor"));
        if (!ours.back().ok || !floor.back().ok) {
            std::fprintf(stderr, "bench-app: a start did not reach its window\n");
            return 1;
        }
    }
    const auto fastest = [](const std::vector<Start>& starts) {
        return std::min_element(starts.begin(), starts.end(),
                                [](const Start& a, const Start& b) { return a.seconds < b.seconds; })
            ->seconds;
    };
    const auto peak = [](const std::vector<Start>& starts) {
        return std::max_element(starts.begin(), starts.end(),
                                [](const Start& a, const Start& b) { return a.peakKiB < b.peakKiB; })
            ->peakKiB;
    };
    const double oursRate = 1.0 / fastest(ours);
    const double floorRate = 1.0 / fastest(floor);
    std::printf("startup: fastest of %d starts, 1/s; peak memory ours %ld KiB, floor %ld KiB\n",
                kRounds, peak(ours), peak(floor));
    std::printf("RESULT startup %.3f %.3f %.3f\n", oursRate, floorRate, oursRate / floorRate);
    return 0;
}
