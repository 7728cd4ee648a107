#include "app/StartupEnvironment.h"

#include "http/PumpMessages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QtGlobal>

#include <unistd.h>

namespace ql::app {

void prepareWebEngineEnvironment()
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --disable-background-networking --disable-component-update"
             " --disable-domain-reliability --disable-sync --no-pings";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

void installEventPump()
{
    // Never waits for new events. A quit request met here only marks the main
    // loop as finished; the running handler returns first.
    http::setPumpMessagesHook([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
}

} // namespace ql::app
