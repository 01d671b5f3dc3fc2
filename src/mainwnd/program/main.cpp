// Corvane: the radio-control program. Sets up Qt and the dialog framework, then runs the
// application's start-up, which creates the main window and returns when it has closed.
#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "CustomControls.h"
#include "FrameworkContext.h"
#include "MainWindowFactory.h"
#include "ShutdownSignals.h"

#include <QApplication>
#include <QMetaObject>
#include <QPointer>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    // The main window ends the program, not the last window closed (tool windows may be open).
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterCustomControls();

    // SIGTERM and SIGINT shut down as "Exit" does once the main window exists; before that
    // there is nothing to save and they end the program as usual.
    std::unique_ptr<CShutdownSignals> stopSignals;
    CMainWindowFactory factory([&stopSignals](CCorvaneDlg& window) {
        QPointer<CCorvaneDlg> target(&window);
        stopSignals = std::make_unique<CShutdownSignals>([target](int) {
            if (target)
                QMetaObject::invokeMethod(
                    target, [target] { if (target) target->CloseProgram(); },
                    Qt::QueuedConnection);
        });
    });
    CCorvaneApp::Setup setup;
    setup.mainWindow = &factory;
    CCorvaneApp app(setup);
    framework::SetLanguage(&app.Language());
    framework::SetIni(&app.Ini());

    app.InitInstance();
    stopSignals.reset();
    return app.ExitInstance();
}
