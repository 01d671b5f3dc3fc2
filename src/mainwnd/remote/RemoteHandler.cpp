#include "RemoteHandler.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>

#include "Ini.h"
#include "IpcServer.h"
#include "RadioController.h"
#include "RadioLink.h"

namespace remote {

namespace {

// A field's double as a whole number for an answer; -1 when it is none.
int WholeAnswer(double value)
{
    if (!std::isfinite(value) || value < INT_MIN || value > INT_MAX)
        return kNotAvailable;
    return static_cast<int>(value);
}

const radio::FunctionCommand* SwitchEntry(int code)
{
    const int getCode = code - ((code - kFirstSwitch) % 2);
    for (size_t i = 0; i < radio::kFunctionCount; ++i)
        if (radio::FunctionTable()[i].notifyCode == getCode)
            return &radio::FunctionTable()[i];
    return nullptr;
}

// The codes that change the radio (the set half of the switch pairs included).
bool ChangesRadio(int code)
{
    if (code >= kFirstSwitch && code <= kLastSwitch)
        return (code - kFirstSwitch) % 2 == 1;
    switch (code) {
    case kSetFrequency:
    case kSetMode:
    case kSetFilter:
    case kSetSplit:
    case kSelectVfoA:
    case kSelectVfoB:
    case kSetVfoAB:
    case kSetDupPlus:
    case kSetDupMinus:
    case kSetDup: return true;
    default: return false;
    }
}

}  // namespace

int VersionNumber(const std::string& versionText)
{
    long long number = 0;
    for (char c : versionText) {
        if (c == '.')
            continue;
        if (c < '0' || c > '9')
            break;
        number = number * 10 + (c - '0');
        if (number > INT_MAX)
            return INT_MAX;
    }
    for (int i = 0; i < 3 && number < 1000; ++i)
        number *= 10;
    return static_cast<int>(number);
}

CRemoteHandler::CRemoteHandler(radio::CRadioController& controller, radio::IRadioView& view,
                               CIni& ini, CRadioLink& link, cat::CVekDriver& driver,
                               IRemoteWindow& window)
    : controller_(controller),
      view_(view),
      ini_(ini),
      link_(link),
      window_(window),
      aux_(ini, link, driver)
{
}

CRemoteHandler::~CRemoteHandler() = default;

bool CRemoteHandler::StartServer(const std::string& title, const std::string& folder,
                                 std::string* error)
{
    using platform::IpcServer;
    server_ = std::make_unique<IpcServer>(
        title,
        [this](IpcServer::ClientId client, std::int32_t code, std::int32_t argument) {
            return static_cast<std::int32_t>(OnClientCommand(client, code, argument));
        },
        IpcServer::ClientEvents{
            .gone = [this](IpcServer::ClientId client) { OnClientGone(client); },
            // A client that keyed must not lose its place, and with it the transmission.
            .holdsPlace = [this](IpcServer::ClientId client) { return client == keyer_; }});
    std::string why;
    if (server_->Start(folder, &why))
        return true;
    // Clients only see a program that does not answer; the reason has to be told here.
    const std::string text = "Remote control is off: " + why;
    std::fprintf(stderr, "Corvane: %s\n", text.c_str());
    if (link_.IsLogOpen())
        link_.Log().WriteText(text + "\r\n");
    if (error)
        *error = why;
    return false;
}

void CRemoteHandler::SetTitle(const std::string& title)
{
    if (server_)
        server_->SetTitle(title);
}

bool CRemoteHandler::ExtendedFunctions() const
{
    return controller_.State().extendedFunctions;
}

int CRemoteHandler::OnRemoteCommand(int code, int argument)
{
    if (ChangesRadio(code) && !controller_.TakesClientChanges())
        return kNotAvailable;
    // Off line the frequency field holds no frequency; a radio gone quiet has the last one it
    // told.
    if (code == kGetFrequency) {
        if (controller_.State().offLine)
            return kNotAvailable;
        if (controller_.RadioUnanswering())
            return controller_.State().confirmedHz > 0
                       ? WholeAnswer(static_cast<double>(controller_.State().confirmedHz))
                       : kNotAvailable;
    }
    // A frame the command queue refused is a change that never reaches the radio.
    const uint64_t refused = controller_.NotQueuedCount();
    const int answer = Answer(code, argument);
    if (answer == 0 && controller_.NotQueuedCount() != refused)
        return kNotAvailable;
    return answer;
}

int CRemoteHandler::OnClientCommand(ClientId client, int code, int argument)
{
    const int answer = OnRemoteCommand(code, argument);
    if (code == kPtt) {
        keyer_ = argument != 0 && transmitting_ ? client : 0;
        if (keyer_ != 0 && !server_->HasClient(keyer_))
            OnClientGone(keyer_);  // it went while its keying ran
    }
    return answer;
}

void CRemoteHandler::OnClientGone(ClientId client)
{
    if (client == 0 || client != keyer_)
        return;
    keyer_ = 0;
    if (!closed_ && transmitting_)
        window_.SetPtt(false);
}

void CRemoteHandler::OnTransmitState(bool on)
{
    transmitting_ = on;
    // Unkeyed by any route: a client that keyed earlier owns no transmission any more.
    if (!on)
        keyer_ = 0;
}

int CRemoteHandler::Answer(int code, int argument)
{
    const radio::RadioState& state = controller_.State();
    if (code < 0 || code > kLastCode)
        return kNotAvailable;
    if (code >= kFirstSwitch && code <= kSetDup && !ExtendedFunctions())
        return kNotAvailable;

    switch (code) {
    case kGetFrequency:
        // A frequency only asked for is none the radio has: until it told one, there is none.
        if (!state.frequencyKnown)
            return kNotAvailable;
        return WholeAnswer(static_cast<double>(state.frequencyHz));
    case kSetFrequency: return controller_.SetFrequencyForClient(argument) ? 0 : kNotAvailable;
    case kGetMode: return GetMode();
    case kSetMode: return SetMode(argument);
    case kGetFilter: return state.filterNarrow ? 1 : 0;
    case kSetFilter: return SetFilter(argument != 0);
    case kGetSplit: return state.split ? 1 : 0;
    case kSetSplit: return SetSplit(argument != 0);
    case kSelectVfoA: controller_.SelectVfoA(); return 0;
    case kSelectVfoB: controller_.SelectVfoB(); return 0;
    case kSetVfoAB: window_.SetVfoAEqualB(); return 0;
    case kExit: window_.ExitProgram(); return 0;
    case kIfPtt:
        return ini_.GetInt(settings::setup::PTTPorta) != 0 || link_.DriverSupportsPtt() ? 1 : 0;
    case kIfAudio: return ini_.GetInt(settings::audiorecorder::Abilitato) != 0 ? 1 : 0;
    case kPtt: window_.SetPtt(argument != 0); return 0;
    case kRecord: return Recorder(RecorderButton::Record, argument);
    case kPause: return Recorder(RecorderButton::Pause, argument);
    case kPlay: return Recorder(RecorderButton::Play, argument);
    case kIfExtensionG: return ExtendedFunctions() ? 1 : 0;
    case kGetSignal: return state.sMeterOn && ExtendedFunctions() ? state.sValue : kNotAvailable;
    case kGetSql:
        if (!state.sMeterOn || !ExtendedFunctions())
            return kNotAvailable;
        // 1 while the squelch holds the receiver closed, as its notification says.
        return state.squelchOpen ? 0 : 1;
    case kSetDupPlus: return SetDuplex(true, argument != 0);
    case kSetDupMinus: return SetDuplex(false, argument != 0);
    case kGetDup: return WholeAnswer(view_.GetOffsetField());
    case kSetDup: return SetDuplexOffset(argument);
    case kGetCom: return ini_.GetInt(settings::setup::Porta);
    case kGetComPtt: return ini_.GetInt(settings::setup::PTTPorta);
    case kOpenCom: return aux_.Open(argument);
    case kCloseCom: return aux_.Close();
    case kSetDtr: return aux_.SetDtr(argument);
    case kSetRts: return aux_.SetRts(argument);
    case kGetVersionPrg: return VersionNumber(versionText_);
    case kGetSystem: return 1;
    case kSetHwnd:
        // The client registers its token with the server on its notification connection; the
        // server keeps the list (once per token, in order, dropped with the connection).
        return 0;
    default: return Switch(code, argument);
    }
}

int CRemoteHandler::GetMode() const
{
    // A mode outside the model's mode list is none the radio can be in.
    const radio::RadioState& state = controller_.State();
    const radio::ModeInfo* mode = radio::ModeInfoFor(state.mode);
    if (mode == nullptr || state.mode >= static_cast<int>(state.modeNames.size()))
        return kNotAvailable;
    return mode->remote;
}

int CRemoteHandler::SetMode(int argument)
{
    // The mode list is shorter on radios without FM.
    const std::optional<radio::RadioMode> mode = radio::ModeFromRemote(argument);
    if (!mode || *mode >= static_cast<int>(controller_.State().modeNames.size()))
        return kNotAvailable;
    return controller_.SetMode(*mode) ? 0 : kNotAvailable;
}

int CRemoteHandler::SetFilter(bool narrow)
{
    controller_.SetFilter(narrow);
    return 0;
}

int CRemoteHandler::SetSplit(bool on)
{
    controller_.SetSplit(on);
    return 0;
}

int CRemoteHandler::Switch(int code, int argument)
{
    const radio::FunctionCommand* entry = SwitchEntry(code);
    if (entry == nullptr)
        return kNotAvailable;
    if (code == entry->notifyCode)
        return controller_.State().Function(entry->function) ? 1 : 0;
    controller_.SetSwitch(entry->function, argument != 0);
    return 0;
}

int CRemoteHandler::SetDuplex(bool plus, bool on)
{
    const radio::RadioState& state = controller_.State();
    if ((plus ? state.duplexPlus : state.duplexMinus) != on) {
        if (plus)
            controller_.OnDuplexPlus();
        else
            controller_.OnDuplexMinus();
    }
    return 0;
}

int CRemoteHandler::SetDuplexOffset(int kHz)
{
    if (kHz < 0 || kHz > 9999)
        return kNotAvailable;
    view_.SetOffsetField(kHz);
    return controller_.SendDuplexOffset(kHz) ? 0 : kNotAvailable;
}

int CRemoteHandler::Recorder(RecorderButton button, int argument)
{
    if (ini_.GetInt(settings::audiorecorder::Abilitato) == 0)
        return kNotAvailable;
    return window_.RunRecorder(button, argument != 0);
}

int CRemoteHandler::NotifyClients(int code, int64_t value)
{
    if (closed_ || !server_ || server_->RegistrationCount() == 0)
        return kNotAvailable;
    const int32_t v = value > INT32_MAX   ? INT32_MAX
                      : value < INT32_MIN ? INT32_MIN
                                          : static_cast<int32_t>(value);
    server_->Notify(code, v);
    return 0;
}

void CRemoteHandler::Shutdown()
{
    if (closed_)
        return;
    NotifyClients(kNoteShutdown, 0);
    closed_ = true;
}

}  // namespace remote
