// The main window started for real: a temporary program folder with the simulated radio's
// driver, the language file, tolvash and the first-run settings, the application's start-up
// with the main window factory, and the test's steps run inside the window's modal loop.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "CustomControls.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "MainWindowFactory.h"
#include "MessagePump.h"
#include "Profile.h"
#include "ProgramParts.h"
#include "TempDir.h"

namespace wndtest {

namespace fs = std::filesystem;

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        RegisterCustomControls();
        return a;
    }();
    return *app;
}

// Runs the GUI until pred holds or the limit passes; the limit only stops a broken test.
template <typename Pred>
bool PumpUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        platform::WaitPumpingMessages(10);
    }
    return true;
}

struct WindowFixture {
    testing_support::TempDir folder{"corvane-window"};
    testing_support::TempDir config{"corvane-window-config"};
    std::string trace;
    std::vector<MessageBoxRequest> boxes;
    int yesNoAnswer = mb::kIdNo;  // what every Yes/No question is answered
    std::unique_ptr<Profile> profile;

    WindowFixture()
    {
        App();
        ::setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", config.path.c_str(), 1);
        trace = folder / "radio-trace.txt";
        ::setenv("SIMRADIO_TRACE", trace.c_str(), 1);
        const std::string bin = CORVANE_BIN_DIR;
        fs::create_directories(folder / "Drivers");
        fs::copy_file(bin + "/Drivers/SimRadio.so", folder / "Drivers/SimRadio.so");
        fs::copy_file(bin + "/English.lng", folder / "English.lng");
        fs::copy_file(bin + "/Corvane.html", folder / "Corvane.html");
        fs::copy_file(bin + "/tolvash", folder / "tolvash");
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/resources/FirstRun.ini",
                      folder / "Corvane.ini");
        fs::create_directories(config.path + "/Dravik/Corvane");
        profile = std::make_unique<Profile>(config.path + "/Dravik/Corvane/registry.ini");
    }
    ~WindowFixture() { ::unsetenv("SIMRADIO_TRACE"); }

    std::string Ini() const { return testing_support::GetFile(folder / "Corvane.ini"); }
    // The simulated radio's control entry ("signal ...", "link down"; its reply into the buffer,
    // 1 when taken) in the driver the window loaded; null when no driver is loaded.
    using SimControl = int (*)(const char*, char*, int);
    SimControl SimRadioControl() const
    {
        const std::string driver = folder / "VekDriver.so";
        void* lib = ::dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (lib == nullptr)
            return nullptr;
        auto control = reinterpret_cast<SimControl>(::dlsym(lib, "SimRadioControl"));
        ::dlclose(lib);  // drops only the reference taken here
        return control;
    }

    // The radio model the next start finds in the INI.
    void SetModel(int model) const
    {
        CIni ini;
        ini.SetPath((folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "RTX", model);
    }
    std::string Trace() const { return testing_support::GetFile(trace); }

    // Starts the program's start-up; `steps` runs inside the main window once it is running,
    // and must end the window (CloseProgram). Returns when the start-up has returned.
    bool Run(const std::function<void(CCorvaneDlg&)>& steps,
             CMainWindowFactory::Prepare prepare = {}, MainWindowPartList parts = ProgramParts())
    {
        CMainWindowFactory factory(std::move(parts), std::move(prepare));
        CCorvaneApp::Setup setup;
        setup.executablePath = folder / "Corvane";
        setup.profile = profile.get();
        setup.mainWindow = &factory;
        CCorvaneApp app(setup);
        app.Language().SetMessageBoxSink([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return (r.style & mb::kButtonsMask) == mb::kYesNo ? yesNoAnswer : mb::kIdOk;
        });
        framework::SetLanguage(&app.Language());
        framework::SetIni(&app.Ini());

        bool ran = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            CCorvaneDlg* w = factory.Window();
            if (ran || w == nullptr || !w->isVisible() || !w->IsInitialised())
                return;
            ran = true;
            poll.stop();
            steps(*w);
            // A failed assertion left the steps early: the window still has to close.
            if (::testing::Test::HasFatalFailure())
                w->PostClose();
        });
        poll.start();
        app.InitInstance();
        poll.stop();
        framework::SetIni(nullptr);
        framework::SetLanguage(nullptr);
        return ran;
    }
};

}  // namespace wndtest
