// Corvane: the radio-control program. Sets up Qt and the dialog framework, then runs the
// application's start-up, which creates the main window and returns when it has closed.
#include "Clock.h"
#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "CustomControls.h"
#include "FrameworkContext.h"
#include "MainWindowFactory.h"
#include "ProgramMark.h"
#include "ProgramParts.h"
#include "RuntimeFolder.h"
#include "ShutdownSignals.h"

#include <QApplication>
#include <QMetaObject>

#include <cstring>

namespace {

// A termination signal: the main window shuts down as "Exit" does (transmitter off, link closed,
// state saved). A dialog or menu still waiting, at start-up or opened by the user, would keep
// the program alive: exit() ends every running event loop and makes later ones return at once,
// so the start-up runs out through its dialogs' cancel answers and the program ends with status 0.
void EndProgram(CCorvaneApp& app, CCorvaneDlg* window)
{
    app.RequestStop();
    const bool running = window != nullptr && window->IsInitialised();
    if (window != nullptr)
        window->CloseProgram();
    const bool waiting = QApplication::activeModalWidget() != nullptr
                         || QApplication::activePopupWidget() != nullptr;
    if (!running || waiting)
        QCoreApplication::exit(0);
}

// "--minimized": started for another program (the extension library), the window waits on the
// task bar instead of coming to the front.
bool StartMinimised(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--minimized") == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    CShutdownSignals::ExitOnSignals();
    // Clients must not start a second program while this one starts (or waits in a dialog).
    platform::ipc::ProgramMark running;
    if (const platform::ipc::FolderResult folder = platform::ipc::RuntimeFolder())
        running.Take(folder.path);
    // A test clock starts with the process, not with the first tick.
    mainwnd::ProgramClock();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    // The main window ends the program, not the last window closed (tool windows may be open).
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterCustomControls();

    CMainWindowFactory::Prepare prepare;
    if (StartMinimised(argc, argv))
        prepare = [](CCorvaneDlg& w) { w.StartMinimised(); };
    CMainWindowFactory factory(ProgramParts(), prepare);
    CCorvaneApp::Setup setup;
    setup.mainWindow = &factory;
    CCorvaneApp app(setup);
    framework::SetLanguage(&app.Language());
    framework::SetIni(&app.Ini());

    CShutdownSignals stopSignals([&](int) {
        QMetaObject::invokeMethod(
            &qapp, [&] { EndProgram(app, factory.Window()); }, Qt::QueuedConnection);
    });

    app.InitInstance();
    return app.ExitInstance();
}
