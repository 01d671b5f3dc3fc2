#include "RadioLink.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "DriverInstall.h"
#include "GestCommand.h"
#include "Ini.h"
#include "Language.h"
#include "ModelCaps.h"
#include "MonitoredPort.h"
#include "ProgramFolder.h"
#include "Profile.h"
#include "SerialLineListener.h"
#include "SerialPorts.h"
#include "SettingsKeys.h"
#include "VekDriver.h"
#include "WindowMessages.h"

namespace {

constexpr int kMsgNoPort = 103;
constexpr int kMsgConfigNotValid = 104;
constexpr int kMsgAudioError = 1259;
constexpr int kMsgChangeAudio = 1265;
constexpr int kMsgDriverError = 1305;
constexpr int kMsgPortLost = 2101;
constexpr int kDriverOffLine = 4;

}  // namespace

CRadioLink::CRadioLink(const RadioLinkHost& host, CIni& ini, const Profile& profile,
                       const CLanguage& language, cat::CGestCommand& worker,
                       cat::CVekDriver& driver)
    : host_(host),
      ini_(ini),
      profile_(profile),
      language_(language),
      worker_(worker),
      driver_(driver)
{
}

CRadioLink::~CRadioLink()
{
    // The worker writes through the port objects and the log: it ends before they do.
    worker_.Stop(true);
    monitored_.reset();
    listener_.reset();
    if (useDriver_)
        driver_.Unload();
}

int CRadioLink::ShowQuestion(int id, const std::string& insert)
{
    MessageBoxRequest request;
    request.text = insert.empty() ? language_.LoadString(id) : language_.FormatString1(id, insert);
    request.style = mb::kYesNo | mb::kIconQuestion;
    return host_.user.ShowMessageBox(request);
}

void CRadioLink::SetOffLine(bool offLine)
{
    offLine_ = offLine;
}

int CRadioLink::LoadSettings(bool forceSetup)
{
    settings_.id = ReadLinkIdentity(ini_);
    if (!forceSetup && !IsConfigValid(settings_.id)) {
        if (ShowQuestion(kMsgConfigNotValid) != mb::kIdYes)
            return kNotConnected;
        forceSetup = true;
    }
    if (forceSetup) {
        host_.user.RunSetupDialog();
        return kSetupShown;
    }

    settings_.extendedFunctions = ResolveExtendedFunctions(ini_, settings_.id.model);
    const civ::ModelCaps* caps = civ::FindCaps(settings_.id.model);
    host_.display.FillModeList(caps == nullptr || civ::HasMode(*caps, civ::kModeFm));
    ReadRemainingSettings(ini_, profile_, settings_);
    ClosePort();

    if (settings_.id.port == 0) {
        const int result = ConnectDriver();
        if (result != kConnected)
            return result;
    } else if (settings_.id.port == kInvalidPort || !OpenPort()) {
        const std::string port = settings_.id.port == kInvalidPort
                                     ? settings_.id.portText
                                     : std::to_string(settings_.id.port);
        return ShowQuestion(kMsgNoPort, port) == mb::kIdYes ? kWantsSetup : kNotConnected;
    }

    SetUpAudio();
    OpenLog();

    host_.radio.SetPollingHeld(true);
    StartWorker();
    host_.radio.SetPollingHeld(false);
    host_.display.PlaceToolWindows();
    return kConnected;
}

int CRadioLink::ConnectDriver()
{
    LoadDriver();
    const std::string path =
        platform::ResolveInFolder(platform::ProgramFolder(), cat::CVekDriver::kLibraryName);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return AskDriverSetup(path + ": " + platform::ErrorText(errno));
    if (!driver_.Load(path))
        return AskDriverSetup(driver_.LastError());
    const int result =
        driver_.Init(host_.posting.DriverPostFunction(), host_.posting.DriverPostContext(),
                     msg::kDriverRx, msg::kDriverAudio, msg::kDriverHelp);
    if (result == -1 || result == 0) {
        driver_.Unload();
        return result == -1 ? kDriverRefused
                            : AskDriverSetup(path + ": the driver refused to start (DrvInit 0)");
    }
    useDriver_ = true;
    driverAudio_ = driver_.IsSupportAudio() != 0;
    driverPtt_ = driver_.IsSupportPTT() != 0;
    if (result == kDriverOffLine)
        offLine_ = true;
    return kConnected;
}

int CRadioLink::AskDriverSetup(const std::string& why)
{
    // The chosen driver's name and the loader's reason go first, so the user knows what to fix.
    const std::string chosen = DriverEntryFileName(settings_.id.driver);
    const std::string detail = chosen.empty() ? why : chosen + ": " + why;
    std::fprintf(stderr, "Corvane: driver error: %s\n", detail.c_str());
    MessageBoxRequest request;
    request.text = detail + "\n\n" + language_.LoadString(kMsgDriverError);
    request.style = mb::kYesNo | mb::kIconQuestion;
    return host_.user.ShowMessageBox(request) == mb::kIdYes ? kWantsSetup : kNotConnected;
}

bool CRadioLink::LoadDriver()
{
    const std::string entry = ini_.GetString(settings::setup::Driver);
    if (entry.empty() || IsComPortEntry(entry))
        return true;
    host_.user.SetWaitCursor(true);
    std::string error;
    const DriverInstallResult result = InstallDriver(platform::ProgramFolder(), entry, &error);
    host_.user.SetWaitCursor(false);
    if (result != DriverInstallResult::kFailed)
        return true;
    MessageBoxRequest request;
    request.text = error;
    host_.user.ShowMessageBox(request);
    return false;
}

bool CRadioLink::OpenPort()
{
    if (monitored_ || listener_)
        return false;
    // "Handshake" is kept for the dialog only: the CAT line runs without flow control, and RTS
    // and DTR keep the states set here (they may key the transmitter).
    cat::SerialParams params = CatPortFraming(settings_);
    params.rts = settings_.rts;
    params.dtr = settings_.dtr;
    cat::ISerialOwner* owner = host_.posting.SerialOwner();
    const int port = settings_.id.port;
    // The CAT port that also keys: its PTT line starts off, whatever "RTS" and "DTR" say.
    if (settings_.pttPort == port)
        (settings_.pttPin == 1 ? params.dtr : params.rts) = 0;
    bool ok = false;
    if (settings_.portMode != 0) {
        monitored_ = std::make_unique<cat::CMonitoredPort>();
        ok = monitored_->InitPort(owner, port, params) && monitored_->StartMonitoring();
    } else {
        listener_ = std::make_unique<cat::CSerialLineListener>();
        ok = listener_->OpenPort(owner, port, params) && listener_->StartListener() == 0;
    }
    if (!ok)
        ClosePort();
    return ok;
}

void CRadioLink::ClosePort()
{
    // The worker writes through the objects closed here.
    worker_.Stop(true);
    host_.radio.CloseAuxiliaryPorts();
    const bool hadPort = monitored_ || listener_;
    CloseSerialPort();
    if (!hadPort && useDriver_) {
        driver_.Unload();
        useDriver_ = false;
        driverAudio_ = false;
        driverPtt_ = false;
    }
}

void CRadioLink::CloseSerialPort()
{
    if (monitored_) {
        monitored_->RegisterWorker(nullptr);
        monitored_->StopMonitoring();
        monitored_.reset();
    }
    if (listener_) {
        listener_->RegisterWorker(nullptr);
        listener_->StopListener(-1);
        listener_->Close();
        listener_.reset();
    }
}

bool CRadioLink::OnLineLost(int port, int error)
{
    // The message may come after Sync or the set-up replaced the port: only a port that has
    // itself seen its device go counts.
    const cat::CSerialLine* line = monitored_ ? &monitored_->Line() : listener_.get();
    const bool lost = monitored_ ? monitored_->IsLineLost() : listener_ && listener_->IsLineLost();
    if (line == nullptr || !lost || port != settings_.id.port)
        return false;
    const std::string device = line->DevicePath();
    // The worker writes through the port; the auxiliary ports are the clients' and stay.
    worker_.Stop(true);
    CloseSerialPort();
    offLine_ = true;
    const std::string text =
        language_.FormatString2(kMsgPortLost, platform::PortName(port), device);
    log_.WriteText(text + ": " + std::strerror(error) + "\r\n");
    host_.display.ShowOffLine();
    host_.display.ShowLineLost(text);
    return true;
}

bool CRadioLink::IsRadioConnected()
{
    return !useDriver_ || driver_.IsConnected() != 0;
}

bool CRadioLink::HasTransport() const
{
    return useDriver_ || monitored_ || listener_;
}

cat::ICivWriter* CRadioLink::SerialWriter()
{
    if (monitored_)
        return monitored_.get();
    return listener_.get();
}

void CRadioLink::SetUpAudio()
{
    int enabled = settings_.recorderEnabled;
    if (!driverAudio_ && enabled != 0) {
        if (enabled == 2 && ShowQuestion(kMsgChangeAudio) == mb::kIdYes) {
            host_.audio.RunAudioSettingsDialog();
            enabled = ini_.GetInt(settings::audiorecorder::AbilitatoAtLink);
        }
        while (enabled != 0) {
            const int error = host_.audio.TestAudioInput();
            if (error == 0)
                break;
            MessageBoxRequest request;
            const std::string problem = host_.audio.AudioInputProblem();
            request.text = language_.Format(kMsgAudioError, {error}) + "\n"
                           + (problem.empty() ? "" : problem + "\n")
                           + language_.LoadString(kMsgChangeAudio);
            request.style = mb::kYesNo | mb::kIconQuestion;
            if (host_.user.ShowMessageBox(request) != mb::kIdYes) {
                enabled = 0;  // no audio for this run
                break;
            }
            host_.audio.RunAudioSettingsDialog();
        }
        if (enabled != 0)
            host_.audio.ApplyRecordingFormat();
    }
    settings_.recorderEnabled = enabled;
    settings_.recorderFront = ini_.GetInt(settings::audiorecorder::Front);
    host_.audio.PlaceRecorderBar(settings_.recorderFront, enabled);
}

void CRadioLink::OpenLog()
{
    log_.Close();  // the worker is stopped: nobody writes to it now
    if (settings_.logPath.empty() || !log_.Open(settings_.logPath))
        return;
    log_.WriteText(host_.display.DiagnosticsText());
}

void CRadioLink::StartWorker()
{
    worker_.Stop(true);
    // Frames carry the address as one byte: answers are recognised by that same byte.
    worker_.Configure(settings_.portMode, host_.posting.WorkerNotifyTarget(),
                      settings_.pollInterval, settings_.delayCommand, settings_.id.address & 0xFF,
                      log_.IsOpen() ? &log_ : nullptr, useDriver_ ? &driver_ : nullptr);
    worker_.Start(useDriver_ ? nullptr : SerialWriter());
    if (monitored_)
        monitored_->RegisterWorker(&worker_);
    if (listener_)
        listener_->RegisterWorker(&worker_);
}
