#include "CorvaneApp.h"

#include "AtomicFile.h"
#include "ControlResources.h"

#include "KeyboardPtt.h"
#include "LanguageDialogRunner.h"
#include "LanguageChooser.h"
#include "MessageBox.h"
#include "PendingRestore.h"
#include "PlugInFile.h"
#include "PositionReset.h"
#include "PrivateProfile.h"
#include "ProgramFolder.h"
#include "RestoredFiles.h"
#include "SettingsImport.h"
#include "StringTable.h"
#include "Tolvash.h"

#include <cstdlib>

const char* const CCorvaneApp::kSystemNotSupportedText =
    "Sorry, this program does not work with this operating system.";

CCorvaneApp::CCorvaneApp() : CCorvaneApp(Setup{}) {}

CCorvaneApp::CCorvaneApp(Setup setup) : setup_(std::move(setup))
{
    profile_ = setup_.profile ? setup_.profile : &AppProfile();
    if (!setup_.languageDialog) {
        ownLanguageDialog_ = std::make_unique<CLanguageDialogRunner>();
        setup_.languageDialog = ownLanguageDialog_.get();
    }
    framework::InstallMessageBoxes(language_);
}

CCorvaneApp::~CCorvaneApp() = default;

void CCorvaneApp::Step(StartupStep step) const
{
    if (setup_.observer)
        setup_.observer->OnStartupStep(step);
}

bool CCorvaneApp::CheckSystem()
{
    // The program relies on interfaces of Linux 3 and later (O_CLOEXEC everywhere, pipes, ptys).
    if (uname(&os_) == 0 && std::atoi(os_.release) >= 3)
        return true;
    language_.MessageBoxText(kSystemNotSupportedText, mb::kIconError);
    return false;
}

void CCorvaneApp::SetProgramPaths()
{
    executablePath_ =
        setup_.executablePath.empty() ? platform::ExecutablePath() : setup_.executablePath;
    programFolder_ = platform::DirName(executablePath_);
    if (programFolder_.empty() || programFolder_.back() != '/')
        programFolder_ += '/';
    // The executable "Corvane" keeps its settings in "Corvane.ini" beside it.
    std::string stem = platform::BaseName(executablePath_);
    if (std::size_t dot = stem.rfind('.'); dot != std::string::npos && dot > 0)
        stem.resize(dot);
    iniPath_ = programFolder_ + stem + ".ini";
    platform::SetProgramFolder(programFolder_);
}

bool CCorvaneApp::InitInstance()
{
    Step(StartupStep::SystemCheck);
    if (!CheckSystem())
        return false;

    // The profile lives under Software\Dravik\Corvane (Profile::kRootKey).
    Step(StartupStep::RegistryKey);

    Step(StartupStep::ProgramPaths);
    SetProgramPaths();

    // The extension library finds the INI through this value.
    Step(StartupStep::LastPath);
    profile_->Write(settings::reg::LastPath, programFolder_);

    Step(StartupStep::PositionReset);
    position_reset::ResetWindowPositions(*profile_);

    // Before anything reads the files a restore replaced, the INI included. What killed
    // processes left half written goes first; a restore cut short after its commit is completed.
    Step(StartupStep::RestoredFiles);
    std::vector<std::string> ownFolders{programFolder_, plugins::PlugInFolder(programFolder_)};
    // Without a settings file (no home folder) its folder would be the working folder: not ours.
    if (const std::string settingsFile = profile_->FilePath(); !settingsFile.empty())
        ownFolders.push_back(platform::DirName(settingsFile));
    for (const std::string& folder : ownFolders)
        platform::RemoveLeftoverTemps(folder, true);
    const auto showError = [this](const std::string& message) {
        language_.ShowMessage({message, {}, mb::kOk, 0});
    };
    std::string restoreError;
    if (backup::FinishPendingRestore(programFolder_, &restoreError))
        restored_files::RenamePending(programFolder_, showError);
    else
        showError("Error: " + restoreError);

    Step(StartupStep::IniPath);
    ini_.SetPath(iniPath_.c_str());
    // Settings that cannot be read are no first start: nothing may be asked or written over them.
    if (std::string error; !platform::ProfileReadable(iniPath_, &error)) {
        language_.ShowMessage(
            {language_.FormatString2(strid::kSettingsUnread, iniPath_, language_.Translate(error)),
             {},
             mb::kIconError});
        return false;
    }

    Step(StartupStep::SettingsImport);
    settings_import::ImportOldSettings(ini_, *profile_);

    Step(StartupStep::Language);
    if (!LoadLanguage())
        return false;

    if (!TestWriteRights())
        return false;

    Step(StartupStep::Bitmaps);
    LoadBitmaps();

    RunMainWindow();
    return false;
}

bool CCorvaneApp::LoadLanguage()
{
    if (LanguageChooser::LoadConfigured(language_, ini_, programFolder_))
        return true;
    Step(StartupStep::LanguageDialog);
    return setup_.languageDialog->Run(*this);
}

bool CCorvaneApp::TestWriteRights()
{
    WriteTest test(programFolder_, ini_);
    Step(StartupStep::WriteTestFile);
    bool ok = test.TestFile();
    if (ok) {
        Step(StartupStep::WriteTestIni);
        ok = test.TestIni();
    }
    writeTestReport_ = test.GetReport();
    if (!ok)
        language_.MessageBox(strid::kNoWriteRights, mb::kIconError);
    return ok;
}

void CCorvaneApp::LoadBitmaps()
{
    // The images come with the program's resources; a missing one stays empty.
    for (std::size_t i = 0; i < bitmaps_.size(); ++i)
        bitmaps_[i] = res::LoadBitmap(kBitmapIds[i]);
}

void CCorvaneApp::RunMainWindow()
{
    if (!setup_.mainWindow || stopRequested_)
        return;
    Step(StartupStep::MainWindowCreate);
    mainWindow_ = setup_.mainWindow->Create(*this);
    if (!mainWindow_)
        return;

    Step(StartupStep::MainWindowFonts);
    // A size stored by hand beyond what the configuration offers would push the windows off
    // the screen.
    using settings::reg::OfferedFontSize;
    mainWindow_->SetOtherDialogFont(
        profile_->Get(settings::reg::FontOther),
        OfferedFontSize(profile_->Get(settings::reg::FontSizeOtherAtStartup)));
    std::string face = profile_->Get(settings::reg::FontMain);
    int size = OfferedFontSize(profile_->Get(settings::reg::FontSizeMainAtStartup));

    Step(StartupStep::MainWindowRun);
    {
        CKeyboardPtt ptt(*mainWindow_);
        mainWindow_->DoModalWithFont(face, size);
    }  // the hook goes first, unkeying what it keyed

    Step(StartupStep::MainWindowDelete);
    mainWindow_.reset();
}

int CCorvaneApp::ExitInstance()
{
    return 0;
}

int CCorvaneApp::FindFiles(const std::string& pattern)
{
    foundFiles_ = platform::GlobFolder(platform::DirName(pattern), platform::BaseName(pattern));
    return static_cast<int>(foundFiles_.size());
}

std::string CCorvaneApp::GetVersionString()
{
    std::string path = executablePath_.empty() ? platform::ExecutablePath() : executablePath_;
    VersionText version = MakeVersionText(platform::CVersionInfoReader(path));
    beta_ = version.beta;
    return version.text;
}

bool CCorvaneApp::RunUpdateCheck(bool run) const
{
    return tolvash_call::RunUpdateCheck(run, programFolder_, iniPath_);
}
