#include "app/MainWindow.h"
#include "app/StartupEnvironment.h"
#include "lookup/Addresses.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    ql::app::prepareWebEngineEnvironment();
    QApplication application(argc, argv);
    ql::app::installEventPump();

    // Lives until the loop has ended, so a search still running when the
    // window closes never meets destroyed widgets.
    ql::app::MainWindow window(ql::lookup::configuredQuestionBankHost(),
                               ql::lookup::networkRequestEngine());
    window.show();
    return application.exec();
}
