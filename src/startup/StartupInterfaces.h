// What the start-up calls that lives elsewhere: the main window (MainWindowApi.h), the language
// dialog, and an observer that sees each step as it runs (the tests record the order with it).
#pragma once

#include "MainWindowApi.h"

class CCorvaneApp;

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
    LanguageDialog,  // only when the configured language does not load
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
