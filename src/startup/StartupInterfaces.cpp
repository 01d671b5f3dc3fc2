#include "StartupInterfaces.h"

const char* StartupStepName(StartupStep step)
{
    switch (step) {
    case StartupStep::SystemCheck: return "SystemCheck";
    case StartupStep::RegistryKey: return "RegistryKey";
    case StartupStep::ProgramPaths: return "ProgramPaths";
    case StartupStep::LastPath: return "LastPath";
    case StartupStep::PositionReset: return "PositionReset";
    case StartupStep::RestoredFiles: return "RestoredFiles";
    case StartupStep::IniPath: return "IniPath";
    case StartupStep::SettingsImport: return "SettingsImport";
    case StartupStep::Language: return "Language";
    case StartupStep::LanguageDialog: return "LanguageDialog";
    case StartupStep::WriteTestFile: return "WriteTestFile";
    case StartupStep::WriteTestIni: return "WriteTestIni";
    case StartupStep::Bitmaps: return "Bitmaps";
    case StartupStep::MainWindowCreate: return "MainWindowCreate";
    case StartupStep::MainWindowFonts: return "MainWindowFonts";
    case StartupStep::MainWindowRun: return "MainWindowRun";
    case StartupStep::MainWindowDelete: return "MainWindowDelete";
    }
    return "?";
}
