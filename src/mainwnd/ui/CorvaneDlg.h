// CCorvaneDlg: the program's main window (dialog 102), run by the application for its whole
// life. It is the view of the radio controller (IRadioView) and where it reports changes
// (IRadioClients), the host of the radio link (the interfaces in RadioLinkHost.h), the main
// window the start-up drives (IMainWindow) and the host of its parts (IMainWindowServices). It
// owns the controller (and through it the CI-V worker), the link, the driver binding, the parts,
// the tab control with its ten pages and the four tool windows.
//
// The worker posts to the controller's MessageTarget, whose procedure runs on the GUI thread
// and drains the worker's queue there; long waits pump messages, so handlers may run inside
// them, guarded by the first-initialisation, setup and closing flags.
#pragma once

#include "MainWindowApi.h"
#include "MainWindowIds.h"
#include "MainWindowPart.h"
#include "MainWindowServices.h"
#include "MyFontDialog.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "RadioLinkHost.h"
#include "RadioView.h"
#include "SettingsKeys.h"
#include "ToolWindowPlace.h"
#include "VekDriver.h"

#include <QMargins>
#include <QPoint>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CIni;
class CLanguage;
class CLevelMeter;
class CNumEdit;
class COnOffButton;
class CPageTabCtrl;
class CQuietStart;
class CTabPage;
struct RadioWork;
struct ColourScheme;
class Profile;
class QBoxLayout;
class QLineEdit;
class QMenu;

class CCorvaneDlg : public CMyFontDialog,
                    public radio::IRadioView,
                    public ILinkUser,
                    public ILinkProgress,
                    public ILinkAudio,
                    public ILinkDisplay,
                    public ILinkRadio,
                    public ILinkPosting,
                    public IMainWindow,
                    public IMainWindowServices,
                    public radio::IRadioClients {
    Q_OBJECT
public:
    // The program's display name, the start of the window title (never translated).
    static std::string DisplayName();
    // The title for a version text and model; beta > 0 appends " BETA %d".
    static std::string BuildTitle(const CLanguage& language, const std::string& version, int model,
                                  int beta = 0);

    // The parts are created in the list's order, before the pages and tool windows.
    explicit CCorvaneDlg(IMainWindowContext& context, const MainWindowPartList& parts = {});
    ~CCorvaneDlg() override;
    // The window first shows minimised (started for another program, whose window keeps the
    // front and the focus). Before it runs.
    void StartMinimised();

    // ---- IMainWindow ----
    void SetOtherDialogFont(const std::string& face, int pointSize) override;
    int DoModalWithFont(const std::string& face, int pointSize) override;
    int PttKey() const override;
    bool IsTransmitting() const override;
    void SetPtt(bool on) override;
    void TellTransmitState(bool on) override;

    // ---- Operations other windows use ----
    void OnSetup() override;
    void SaveState() override;
    void CloseProgram();
    void PlaceMemoryWindow(int show);
    void PlaceMemoryRadioWindow(int show);
    // Shows the TX/RX window while a PTT port or the driver keys, else hides it; without a place
    // of its own it stands beside the main window.
    void PlaceTxRxWindow();
    void PlaceAudioRecorderWindow();
    void SetPollingEnabled(bool on);
    int FindFiles(const std::string& pattern);
    const std::vector<std::string>& FoundFiles() const { return foundFiles_; }
    std::string WriteDiagnostics();

    // The configuration dialog, when one exists; it returns whether the settings changed.
    void SetSetupDialogRunner(std::function<bool()> runner) { setupRunner_ = std::move(runner); }

    // ---- State for the other parts and tests (several serve IMainWindowServices too) ----
    radio::CRadioController& Controller() override { return *controller_; }
    CRadioLink& Link() override { return *link_; }
    cat::CVekDriver& Driver() override { return driver_; }
    CIni* IniStore() { return &ini_; }
    const CLanguage* LanguageTable() const { return &language_; }
    const std::string& VersionText() const override { return version_; }
    // The mode menu's operation (mode index into the mode list) and "VFO A=B".
    void OnModeMenuCommand(int mode);
    void OnVfoEqual() override;
    CPageTabCtrl* Tabs() const;
    QWidget* ToolWindow(int dialogId) const;
    QWidget* Page(int dialogId) const;
    // Closing and off line are the controller's: no command waits or goes out then.
    bool IsClosing() override { return Closing(); }
    bool IsOffLine() const override { return controller_->State().offLine; }
    bool IsFirstInit() const override { return firstInit_; }
    // The start-up has finished and the window runs.
    bool IsInitialised() const { return initialised_ && !Closing(); }
    const std::string& ProgramFolderPath() const { return programFolder_; }
    std::string OtherDialogFace() const { return otherFace_; }
    int OtherDialogSize() const { return otherSize_; }

    // ---- IMainWindowServices (the rest above) ----
    radio::IRadioView& View() override { return *this; }
    CIni& Ini() override { return ini_; }
    Profile& Registry() override { return profile_; }
    const CLanguage& Language() const override { return language_; }
    CMyFontDialog& Window() override { return *this; }
    const bands::CBandTable* BandTable() const override;
    radio::IWorkProgress& WorkProgress() override;
    radio::CRadioSnapshot& Snapshot() override;
    void GoOffLine() override;
    void PostClose() override;
    std::string ProgramName() const override { return DisplayName(); }
    void RunUpdateCheck() override;
    void TellUsageTime(int minutes) override;
    void ShowToolWindow(unsigned dialogId) override;
    std::vector<std::string> ListLines(unsigned dialogId) const override;
    bool PrintList(unsigned dialogId) override;
    bool RunLimitsDialog() override;
    remote::CAuxiliaryPort* AuxiliaryPort() override;
    int RemoteCommand(int code, int argument) override;
    void CheckDueSked(int utcMinute, const std::string& key) override;

    // ---- radio::IRadioClients: passed on to the parts ----
    void NotifyClients(int code, int64_t value) override;
    void DdeFrequency(int64_t hz) override;
    void DdeMode(const std::string& modeText) override;
    void DdeSMeter(const std::string& text) override;
    void DdeAltFrequency(int64_t hz) override;
    void DdeVfo(int vfo) override;
    void DdeSplit(bool on) override;

    // ---- radio::IRadioView ----
    bool ShowFrequency(int64_t hz) override;
    void BlankFrequency() override;
    double GetOffsetField() const override;
    std::string GetOffsetFieldText() const override;
    void SetOffsetField(int kHz) override;
    void SetButton(int id, bool down) override;
    void EnableControl(int id, bool enabled) override;
    void ShowControl(int id, bool shown) override;
    void SetControlText(int id, const std::string& text) override;
    void SetToolTip(int id, int stringId) override;
    void ShowDuplexControls(bool shown) override;
    void SetModeText(const std::string& text) override;
    void SetModeList(const std::vector<std::string>& names) override;
    void SetModeMenu(const std::vector<std::string>& names) override;
    void SetBandMenuEntry(int command, bool present) override;
    void SetStatusLine(const std::string& text) override;
    void SetSecondDisplay(const std::string& label, const std::string& text) override;
    void SwapRxIndicator() override;
    void ShowSMeterPanel(bool shown) override;
    void SetPeakMeter(int sValue) override;
    void UpdateBandDisplay() override;
    void SetWaitCursor(bool on) override;
    void Beep(unsigned style) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    int ChooseVfo() override;

    // ---- ILinkUser (ShowMessageBox and SetWaitCursor above) ----
    void RunSetupDialog() override;
    int RunNoPortDialog(int port) override;
    void CloseProgram(bool atStartup) override;
    // ---- ILinkProgress (IsClosing above) ----
    void OpenProgress(const std::string& text, int steps) override;
    void StepProgress() override;
    bool ProgressCancelled() override;
    void CloseProgress() override;
    bool WaitPumpingMessages(int ms) override;
    void PumpMessages() override;
    // ---- ILinkAudio ----
    bool RunAudioSettingsDialog() override;
    int TestAudioInput() override;
    std::string AudioInputProblem() override;
    void ApplyRecordingFormat() override;
    void PlaceRecorderBar(int front, int enabled) override;
    // ---- ILinkDisplay ----
    void FillModeList(bool withFmModes) override;
    std::string DiagnosticsText() override;
    void PlaceToolWindows() override;
    void ShowLatency(const std::string& text) override;
    void ShowOffLine() override;
    void ShowLineLost(const std::string& text) override;
    // ---- ILinkRadio ----
    bool SetPollingHeld(bool held) override;
    void SetSending(bool sending) override;
    void SendFrequencyRead() override;
    void ReadFrequencyMode(bool wait) override;
    void RefreshAfterSync() override;
    void CloseAuxiliaryPorts() override;
    // ---- ILinkPosting ----
    cat::IWorkerNotify* WorkerNotifyTarget() override;
    cat::ISerialOwner* SerialOwner() override;
    DrvPostFn DriverPostFunction() override;
    void* DriverPostContext() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    void OnTimer(int id) override;
    void OnHelp() override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Start-up steps.
    bool Connect(bool atSetup);
    void SyncControllerSettings();
    void CreateChildWindows();
    void AddPages();
    // The page to open for the stored one; sets standInPage_ when it is another.
    int StartPage(const CPageTabCtrl& tabs, int stored);
    void AddToolTips(bool functionPanel);
    void ConfigureFields();
    void AlignDigitButtons(const QLineEdit& display);
    QBoxLayout* RowOf(QWidget* w) const;
    void RestoreWindowPosition();
    void ShowAtStart();
    // Makes the window (frame included) fit the free part of its screen: at a stored place by
    // getting smaller, else by moving; never below its minimum size.
    void FitToScreen();
    // Fits again once the window manager's frame is known or has changed.
    void RefitWhenFramed();
    QMargins FrameMargins() const;
    // The frequency font follows the window's size (up to twice the base size).
    void ScaleDisplay();
    void LimitFieldWidths();
    // The colour scheme from the user's colours: into the template's custom controls, and
    // painted behind them.
    ColourScheme Scheme() const;
    void ApplyColours();
    void BlankEmptyDisplayLines();
    void RunSpeedTestAtStartup();
    void FinishInitialisation();
    void EndEarly(int result);

    // Handlers.
    void OnLineLost(int port, int error);
    void OnFrequencyFocusOut();
    // What the frequency field holds as typed (the controller's frequency unless the user typed).
    double TypedFrequency() const;
    void OnDigitStep(int id);
    void OnStore(bool radio);
    void OnPollingButton();
    void OnHookClipboard();
    bool OnFunctionCommand(int id);
    void UpdateTitle(int beta);
    // The parts.
    void CreateParts(const MainWindowPartList& parts);
    void DestroyParts();
    CTabPage* PartPage(unsigned dialogId);
    std::unique_ptr<CMyFontDialog> PartToolWindow(unsigned dialogId);
    QMenu* PartsBandMenu();
    bool RouteToParts(int id, int code);
    bool PartsServeBands() const;
    // The part that keys the transmitter, or null.
    IMainWindowPart* PttPart() const;
    IMainWindowPart* AudioPart() const;
    void TellParts(const RadioStateChange& change);

    static bool IsPlaceholder(const QWidget* w);
    // A stored top-left corner moved onto a visible screen when it lies off every screen.
    static QPoint OnScreen(QPoint at);
    // Buttons whose operations come with later parts stay disabled until then.
    bool IsUnavailable(int id) const;
    COnOffButton* Button(int id) const;
    CNumEdit* NumField(int id) const;
    QWidget* Item(int id) const { return GetDlgItem(id); }
    bool Closing() const { return controller_->State().closing; }
    // The first-initialisation flag; the controller holds off polling and transceive reports
    // while it is set.
    void SetFirstInit(bool on)
    {
        firstInit_ = on;
        controller_->SetStartingUp(on);
    }

    IMainWindowContext& context_;
    CIni& ini_;
    CLanguage& language_;
    Profile& profile_;
    std::string programFolder_;
    std::string otherFace_;
    int otherSize_ = 0;

    cat::CVekDriver driver_;
    std::unique_ptr<radio::CRadioController> controller_;
    std::unique_ptr<CRadioLink> link_;
    std::unique_ptr<RadioWork> work_;  // the progress window and the state snapshot
    std::vector<std::unique_ptr<IMainWindowPart>> parts_;
    std::function<bool()> setupRunner_;

    void PlaceListWindow(int id, const settings::RegRect& place, bool& shownOnce, int show);
    bool TxRxInUse() const;
    // A tool window that stands by the main window until the user moves it; one at a stored
    // place gives way as StoredPlaceGivesWay says.
    struct ToolFollow {
        bool followsMain = false;
        bool stored = false;  // at its stored place, which gives way
        QRect placed;         // the frame it was last given or found at
        int requests = 0;     // moves still asked for while it is not there yet
        std::chrono::steady_clock::time_point asked;  // the last move asked for
        QPoint storedCorner;                          // of the stored frame
        static ToolFollow ByMain()
        {
            ToolFollow f;
            f.followsMain = true;
            return f;
        }
        static ToolFollow AtStored(QPoint corner)
        {
            ToolFollow f;
            f.stored = true;
            f.storedCorner = corner;
            return f;
        }
    };
    // The tool windows in the order they take their places by the main window.
    static constexpr int kToolOrder[] = {249, 252, 230, 4002};
    static int ToolIndex(int id);
    // Shows a tool window (placed by the main window when it follows it), once the main window
    // is shown.
    void ShowPlacedToolWindow(int id);
    // Every tool window that follows the main window, placed again whenever a frame changes or
    // the main window moves; `answered` is the tool window the window system has just moved.
    void PlaceToolWindowsByMain(const QObject* answered = nullptr);
    void FollowMain(int index, bool answered);
    // What the tool window `index` is placed among: the screen, the main window's parts it keeps
    // clear of and the windows placed before it (or that stay where they are).
    mainwnd::PlaceContext PlaceContextFor(int index) const;
    // A stored place gives way where it covers the main window or a window placed before it
    // and the screen has a place that covers neither, or, with no such place, where it covers
    // the readout or an operating control and a fresh place does not.
    bool StoredPlaceGivesWay(int index, const QRect& frame) const;
    // The frame a tool window has, or will have once the window manager frames it.
    QSize WholeFrame(const QWidget& w) const;
    // At the main window's first showing without a stored place: room on its left for the
    // following tool windows that stand beside it.
    void MakeRoomForToolWindows();
    bool IsToolPlaceEvent(QObject* watched, const QEvent* event) const;
    // Called as a tool window is shown, before the window system maps it.
    void StandAboveMain(QWidget& w) const;

    // Pages (owned by the tab control once added) and tool windows (owned here).
    std::vector<QPointer<QWidget>> pages_;
    std::vector<std::unique_ptr<QWidget>> toolWindows_;
    int storedPage_ = -1;   // the page "Child" names
    int standInPage_ = -1;  // the page opened instead, while that one is empty
    bool toolWindowShownOnce_[2] = {false, false};
    bool toolWindowWasVisible_[4] = {false, false, false, false};  // when minimised

    QMenu* modeMenu_ = nullptr;  // owned by the Mode button
    QMenu* bandMenu_ = nullptr;  // owned by the Band button

    std::vector<std::string> foundFiles_;
    std::string version_;

    bool firstInit_ = true;
    bool setupInProgress_ = false;
    bool closed_ = false;
    bool settingsChanged_ = false;
    bool initialised_ = false;
    bool endedEarly_ = false;
    bool startMinimised_ = false;
    std::unique_ptr<CQuietStart> quietStart_;  // while a minimised start runs
    int timerId_ = 0;
    int waitCursorDepth_ = 0;
    bool settingField_ = false;           // the program, not the user, changes the frequency field
    QMargins fittedFrame_;                // the window frame FitToScreen last allowed for
    std::optional<QPoint> storedCorner_;  // the frame's stored place, until it is framed there
    bool placeStored_ = false;            // the main window came up at a stored place
    ToolFollow follow_[4];                // by kToolOrder
    bool showPending_[4] = {};            // shown when the main window is
    bool movingTool_ = false;             // while the main window moves a tool window
    // The frequency font at the window's natural width, and that width.
    int displayPoints_ = 0;
    int displayWidth_ = 0;
};
