// Saving, shutting down, the configuration cycle, polling and the file search.
#include "CorvaneDlg.h"

#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "MessagePump.h"
#include "PageTabCtrl.h"
#include "Profile.h"
#include "ProgramFolder.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

namespace {

constexpr settings::IniInt kChild{"CurrentSet", "Child", 9};
constexpr settings::IniInt kOnMemGrid{"CurrentSet", "OnMemGrid", 0};
constexpr settings::IniInt kOnMemGridRadio{"CurrentSet", "OnMemGridRadio", 0};

constexpr int kMsgConfigNotValid = 102;
constexpr int kMsgRestart = 149;
constexpr int kClosePauseMs = 500;

// The wait cursor for the length of a scope.
class WaitCursor {
public:
    explicit WaitCursor(CCorvaneDlg& dlg) : dlg_(dlg) { dlg_.SetWaitCursor(true); }
    ~WaitCursor() { dlg_.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    CCorvaneDlg& dlg_;
};

}  // namespace

void CCorvaneDlg::SetPollingEnabled(bool on)
{
    controller_->SetPollingEnabled(on);
}

int CCorvaneDlg::FindFiles(const std::string& pattern)
{
    foundFiles_ = platform::GlobFolder(platform::DirName(pattern), platform::BaseName(pattern));
    return static_cast<int>(foundFiles_.size());
}

void CCorvaneDlg::SaveState()
{
    WaitCursor wait(*this);
    // One rewrite of the settings file for all the keys, however many the parts save.
    CIni::Batch batch(ini_);
    ini_.WriteInt(settings::setup::DelayMemory, link_->Settings().delayMemory);
    // Still on the page shown in place of an empty stored one: the stored choice stays.
    if (const CPageTabCtrl* tabs = Tabs(); tabs != nullptr && tabs->GetCurSel() >= 0) {
        const int page = tabs->GetCurSel();
        ini_.WriteInt(kChild, page == standInPage_ ? storedPage_ : page);
    }
    const QWidget* mem = ToolWindow(230);
    const QWidget* memRadio = ToolWindow(4002);
    ini_.WriteInt(kOnMemGrid, mem != nullptr && mem->isVisible() ? 1 : 0);
    ini_.WriteInt(kOnMemGridRadio, memRadio != nullptr && memRadio->isVisible() ? 1 : 0);
    // The band rows, the pages' lists and the memory files belong to their parts.
    for (const auto& part : parts_)
        part->SaveState();
    if (!batch.Commit())
        std::fprintf(stderr, "settings not saved: %s\n", ini_.LastError().c_str());
}

void CCorvaneDlg::CloseProgram()
{
    // A second Exit (or signal) while the first runs changes nothing.
    if (Closing() || closed_)
        return;
    // From here on no command waits for its answer.
    controller_->BeginClosing();
    WaitCursor wait(*this);

    // The transmitter goes off before anything else stops or closes.
    SetPtt(false);
    for (const auto& part : parts_)
        part->OnClosing();

    SetPollingEnabled(false);
    cat::CGestCommand& worker = controller_->Worker();
    if (worker.IsRunning()) {
        worker.ClearQueues();
        worker.Stop(true);
    }
    platform::WaitPumpingMessages(kClosePauseMs);
    link_->ClosePort();
    platform::WaitPumpingMessages(kClosePauseMs);

    SaveState();

    EnableControl(mainwnd::kExit, false);
    setupInProgress_ = true;
    SetFirstInit(false);
    KillTimer(mainwnd::kTimerId);
    timerId_ = 0;
    platform::SetAbortFlag(true);

    // Visible tool windows keep their places for the next start.
    Profile::Batch places(profile_);
    static constexpr struct {
        int id;
        settings::RegRect rect;
    } kPlaces[] = {{230, settings::reg::MemorieRect},
                   {4002, settings::reg::MemorieRadioRect},
                   {249, settings::reg::TxRxRect},
                   {252, settings::reg::AudioRecorderRect}};
    for (const auto& place : kPlaces) {
        QWidget* w = ToolWindow(place.id);
        if (w == nullptr || !w->isVisible())
            continue;
        const QRect r = w->frameGeometry();
        profile_.WriteRect(place.rect, {r.top(), r.bottom() + 1, r.left(), r.right() + 1});
        w->close();
    }

    link_->Log().Close();
    controller_->SetLog(nullptr);
    if (!isMinimized() && isVisible()) {
        const QRect r = frameGeometry();
        profile_.WriteRect(settings::reg::MainWindowRect,
                           {r.top(), r.bottom() + 1, r.left(), r.right() + 1});
    }
    if (!places.Commit())
        std::fprintf(stderr, "window places not saved: %s\n", profile_.LastError().c_str());
    closed_ = true;
    if (initialised_)
        EndDialog(ctl::kIdCancel);
    else
        EndEarly(ctl::kIdCancel);
}

void CCorvaneDlg::OnSetup()
{
    if (Closing() || setupInProgress_)
        return;
    {
        WaitCursor wait(*this);
        PlaceMemoryWindow(0);
        PlaceMemoryRadioWindow(0);
        if (link_->Settings().pttPort != 0 || IsTransmitting()) {
            SetPtt(false);
            if (QWidget* txrx = ToolWindow(249))
                txrx->hide();
        }
        if (QWidget* recorder = ToolWindow(252))
            recorder->hide();

        const int delay = link_->DelayCommand();
        platform::WaitPumpingMessages(delay);
        setupInProgress_ = true;
        KillTimer(mainwnd::kTimerId);
        timerId_ = 0;
        SetPollingEnabled(false);
        controller_->Worker().Stop(true);
        platform::WaitPumpingMessages(delay);
        link_->ClosePort();
        link_->Log().Close();
        controller_->SetLog(nullptr);
        platform::WaitPumpingMessages(link_->Settings().delayMemory);
    }

    RunSetupDialog();
    if (Closing())
        return;  // a termination signal ended the dialog and the program
    if (settingsChanged_) {
        language_.MessageBox(kMsgRestart, mb::kIconInformation);
        setupInProgress_ = false;
        CloseProgram();
        return;
    }
    // Cancelled: the old settings connect again.
    if (!Connect(true)) {
        if (settingsChanged_ && !Closing()) {
            language_.MessageBox(kMsgRestart, mb::kIconInformation);
            setupInProgress_ = false;
            CloseProgram();
        }
        return;
    }
    setupInProgress_ = false;
    SetFirstInit(false);
    SetTimer(mainwnd::kTimerId, mainwnd::kTimerMs);
    timerId_ = mainwnd::kTimerId;
    UpdateTitle(ini_.GetInt(settings::setup::Beta));
    controller_->UpdateRangeInfo();
    link_->OnSync();
    SyncControllerSettings();
    // The settings were read again: so were the colours.
    ApplyColours();
    SetPollingEnabled(true);
}
