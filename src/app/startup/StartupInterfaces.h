// What the start-up calls that lives elsewhere: the main window, the language dialog, and an
// observer that sees each step as it runs (the tests record the order with it).
#pragma once

#include <memory>
#include <string>

class CCorvaneApp;

// The main window as the application object drives it.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // Face and point size for the dialogs the main window opens; an empty face or a size below 1
    // keeps each dialog's template font.
    virtual void SetOtherDialogFont(const std::string& face, int pointSize) = 0;
    // Shows the window with its own face and size (same rules) and returns when it closes.
    virtual int DoModalWithFont(const std::string& face, int pointSize) = 0;

    // Keyboard push-to-talk: the configured key as a virtual-key code (0 = none), whether the
    // TX/RX window is transmitting, and the switch.
    virtual int PttKey() const = 0;
    virtual bool IsTransmitting() const = 0;
    virtual void SetPtt(bool on) = 0;
};

class IMainWindowFactory {
public:
    virtual ~IMainWindowFactory() = default;
    virtual std::unique_ptr<IMainWindow> Create(CCorvaneApp& app) = 0;
};

// The language dialog run modally: true when a language was chosen ("Ok"), false for "Abort".
class ILanguageDialog {
public:
    virtual ~ILanguageDialog() = default;
    virtual bool Run(CCorvaneApp& app) = 0;
};

enum class StartupStep {
    SystemCheck,
    RegistryKey,
    ProgramPaths,
    LastPath,
    PositionReset,
    RestoredFiles,
    IniPath,
    SettingsImport,
    Language,
    LanguageDialog,   // only when the configured language does not load
    WriteTestFile,
    WriteTestIni,
    Bitmaps,
    MainWindowCreate,
    MainWindowFonts,
    MainWindowRun,
    MainWindowDelete,
};

const char* StartupStepName(StartupStep step);

class IStartupObserver {
public:
    virtual ~IStartupObserver() = default;
    // Called as each step begins.
    virtual void OnStartupStep(StartupStep step) = 0;
};
