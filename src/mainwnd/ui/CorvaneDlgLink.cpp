// The main window as the radio link's host: dialogs, progress, waits and where frames go.
#include "CorvaneDlg.h"

#include "ColorLabel.h"
#include "Ini.h"
#include "Language.h"
#include "MessagePump.h"
#include "MessageTarget.h"
#include "NoPortDlg.h"
#include "NumEdit.h"
#include "RadioWork.h"

namespace {
namespace rc = radio::ctl;
using namespace mainwnd;
}  // namespace

void CCorvaneDlg::RunSetupDialog()
{
    settingsChanged_ = false;
    if (setupRunner_)
        settingsChanged_ = setupRunner_();
}

void CCorvaneDlg::FillModeList(bool /*withFmModes*/)
{
    // The controller leaves FM and WFM out for the IC-718 itself.
    controller_->SetModel(link_->Settings().id.model);
    controller_->FillModeList();
}

// The audio set-up is the audio part's; without one there is nothing to set up.
bool CCorvaneDlg::RunAudioSettingsDialog()
{
    IMainWindowPart* part = AudioPart();
    return part != nullptr && part->RunAudioSettings();
}

int CCorvaneDlg::TestAudioInput()
{
    IMainWindowPart* part = AudioPart();
    return part != nullptr ? part->TestAudioInput() : 0;
}

std::string CCorvaneDlg::AudioInputProblem()
{
    IMainWindowPart* part = AudioPart();
    return part != nullptr ? part->AudioInputProblem() : std::string();
}

void CCorvaneDlg::ApplyRecordingFormat()
{
    if (IMainWindowPart* part = AudioPart())
        part->ApplyRecordingFormat();
}

void CCorvaneDlg::PlaceRecorderBar(int /*front*/, int /*enabled*/)
{
    PlaceAudioRecorderWindow();
}

std::string CCorvaneDlg::DiagnosticsText()
{
    return WriteDiagnostics();
}

std::string CCorvaneDlg::WriteDiagnostics()
{
    const LinkSettings& s = link_->Settings();
    const std::string version = version_.empty() ? context_.GetVersionString() : version_;
    std::string text;
    text += language_.FormatText("Version : %s\r\n", {version});
    text += language_.FormatText(
        "COM Port : COM%d,%d,%d,%c,%d RTS=%d DTR=%d\r\n",
        {s.id.port, s.baud, s.dataBits, static_cast<int>(s.parity), s.stopBits, s.rts, s.dtr});
    text += language_.FormatText("PTT Port : COM%d  PTTPin : %d\r\n", {s.pttPort, s.pttPin});
    text += language_.FormatText("m_Delay : %dms m_DelayMemory:%dms\r\n",
                                 {s.delayCommand, s.delayMemory});
    text += language_.FormatText("Timeout : %dms\r\n", {s.timeout});
    return text;
}

void CCorvaneDlg::PlaceToolWindows()
{
    PlaceTxRxWindow();
}

bool CCorvaneDlg::SetPollingHeld(bool held)
{
    return !controller_->SetPollingEnabled(!held);
}

void CCorvaneDlg::SetSending(bool sending)
{
    controller_->SetSending(sending);
    // After Sync the speed test runs on a port opened just now, while the link still counts as
    // off line: its reads must go out, or it measures nothing.
    controller_->SetLinkTestRunning(link_->IsLinkTestRunning());
    controller_->SetSerialOpen(link_->MonitoredPort() != nullptr
                               || link_->ListenerPort() != nullptr);
}

void CCorvaneDlg::SendFrequencyRead()
{
    controller_->RequestFrequency();
}

void CCorvaneDlg::ReadFrequencyMode(bool wait)
{
    // After a Sync that brought the link back, the reads must not be dropped as off line.
    SyncControllerSettings();
    controller_->ReadFrequencyMode(wait);
}

void CCorvaneDlg::RefreshAfterSync()
{
    SyncControllerSettings();
    UpdateBandDisplay();
    if (controller_->State().sMeterOn)
        controller_->ShowSMeterOn();
}

void CCorvaneDlg::ShowLatency(const std::string& text)
{
    SetDlgItemText(kLatency, text);
}

void CCorvaneDlg::ShowOffLine()
{
    // Off line nothing unkeys the transmitter later: unkey it now.
    SetPtt(false);
    controller_->ShowOffLine();
    if (CNumEdit* f = NumField(rc::kFrequency)) {
        settingField_ = true;
        f->SetWindowText(QStringLiteral("OFF LINE"));
        settingField_ = false;
    }
}

void CCorvaneDlg::ShowLineLost(const std::string& text)
{
    controller_->ShowLineLost(text);
}

void CCorvaneDlg::OnLineLost(int port, int error)
{
    if (Closing() || !link_->OnLineLost(port, error))
        return;
    // The controller learns that the port is closed and the link off line.
    SyncControllerSettings();
}

void CCorvaneDlg::OpenProgress(const std::string& text, int steps)
{
    work_->progress.Open(text, steps);
}

void CCorvaneDlg::StepProgress()
{
    work_->progress.Step();
}

bool CCorvaneDlg::ProgressCancelled()
{
    return work_->progress.Cancelled();
}

void CCorvaneDlg::CloseProgress()
{
    work_->progress.Close();
}

radio::IWorkProgress& CCorvaneDlg::WorkProgress()
{
    return work_->progress;
}

radio::CRadioSnapshot& CCorvaneDlg::Snapshot()
{
    return work_->snapshot;
}

bool CCorvaneDlg::WaitPumpingMessages(int ms)
{
    return platform::WaitPumpingMessages(ms) && !Closing();
}

void CCorvaneDlg::PumpMessages()
{
    platform::PumpMessages();
}

int CCorvaneDlg::RunNoPortDialog(int port)
{
    CNoPort dialog(language_, port);
    dialog.SetOwner(this);
    if (!otherFace_.empty())
        dialog.SetTemplateFont(otherFace_, otherSize_);
    return dialog.DoModal();
}

void CCorvaneDlg::CloseProgram(bool atStartup)
{
    if (atStartup && !initialised_)
        EndEarly(ctl::kIdCancel);
    else
        CloseProgram();
}

void CCorvaneDlg::CloseAuxiliaryPorts()
{
    // The remote handler's ports come with that part.
    for (const auto& part : parts_)
        part->CloseAuxiliaryPorts();
}

cat::IWorkerNotify* CCorvaneDlg::WorkerNotifyTarget()
{
    return controller_.get();
}

cat::ISerialOwner* CCorvaneDlg::SerialOwner()
{
    return controller_.get();
}

DrvPostFn CCorvaneDlg::DriverPostFunction()
{
    return &platform::MessageTarget::PostTrampoline;
}

void* CCorvaneDlg::DriverPostContext()
{
    return controller_->Messages().PostContext();
}
