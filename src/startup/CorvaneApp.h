// CCorvaneApp: the program's application object. InitInstance prepares the environment (registry
// profile, program folder and INI path, restored files, one-time import, language, write test),
// then creates the main window and runs it until it closes; it always returns false, so the
// program then ends through ExitInstance.
//
// Everything that shows a window goes through an interface, so tests can answer it: message
// boxes through the language table's sink (the framework's message boxes unless replaced with
// Language().SetMessageBoxSink), the language dialog and the main window through the Setup.
// The main window sees the application only as its IMainWindowContext.
#pragma once

#include "Ini.h"
#include "Language.h"
#include "Profile.h"
#include "StartupInterfaces.h"
#include "VersionText.h"
#include "WriteTest.h"

#include <QPixmap>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <sys/utsname.h>
#include <vector>

class CKeyboardPtt;

class CCorvaneApp : public IMainWindowContext {
public:
    struct Setup {
        std::string executablePath;                 // empty = this process's executable
        Profile* profile = nullptr;                 // null = the user's registry profile
        IMainWindowFactory* mainWindow = nullptr;   // null = start-up ends after the checks
        ILanguageDialog* languageDialog = nullptr;  // null = the language dialog CDlgLng
        IStartupObserver* observer = nullptr;
    };

    // "Sorry, this program does not work with this operating system."
    static const char* const kSystemNotSupportedText;
    // Bitmap resources loaded in start-up.
    static constexpr std::array<int, 3> kBitmapIds{150, 151, 152};

    CCorvaneApp();
    explicit CCorvaneApp(Setup setup);
    ~CCorvaneApp() override;
    CCorvaneApp(const CCorvaneApp&) = delete;
    CCorvaneApp& operator=(const CCorvaneApp&) = delete;

    // The start-up and the main window's run. Always false.
    bool InitInstance();
    // The program is to end (a termination signal): a start-up still running creates no main
    // window. Whoever calls this also ends the waiting dialogs.
    void RequestStop() { stopRequested_ = true; }
    int ExitInstance();

    // Empties the found-files list and fills it with the names of the regular files matching
    // `pattern` (a folder and a shell pattern, names matched ignoring case); returns the count.
    int FindFiles(const std::string& pattern);
    const std::vector<std::string>& FoundFiles() const { return foundFiles_; }

    // "4.7.1", "Beta.3" or the "Comments" text of the running executable; sets the beta flag.
    std::string GetVersionString() override;
    bool IsBeta() const { return beta_; }

    // The updater: starts tolvash without waiting.
    bool RunUpdateCheck(bool run) const override;

    CIni& Ini() override { return ini_; }
    const CIni& Ini() const { return ini_; }
    CLanguage& Language() override { return language_; }
    const CLanguage& Language() const { return language_; }
    Profile& RegistryProfile() override { return *profile_; }
    // The executable's folder, ending in '/'.
    const std::string& ProgramFolder() const override { return programFolder_; }
    const std::string& ExecutablePath() const { return executablePath_; }
    const QPixmap& Bitmap(int index) const { return bitmaps_.at(static_cast<std::size_t>(index)); }
    IMainWindow* MainWindow() const { return mainWindow_.get(); }
    bool ToolTips() const { return toolTips_; }
    void SetToolTips(bool on) { toolTips_ = on; }
    const WriteTest::Report& WriteTestReport() const { return writeTestReport_; }

private:
    void Step(StartupStep step) const;
    bool CheckSystem();
    void SetProgramPaths();
    bool LoadLanguage();
    bool TestWriteRights();
    void LoadBitmaps();
    void RunMainWindow();

    CIni ini_;
    std::array<QPixmap, 3> bitmaps_;
    CLanguage language_;
    std::unique_ptr<IMainWindow> mainWindow_;
    std::string programFolder_;
    std::vector<std::string> foundFiles_;
    bool beta_ = false;
    bool toolTips_ = true;
    bool stopRequested_ = false;
    struct utsname os_ {};

    Setup setup_;
    std::unique_ptr<ILanguageDialog> ownLanguageDialog_;
    Profile* profile_ = nullptr;
    std::string executablePath_;
    std::string iniPath_;
    WriteTest::Report writeTestReport_;
};
