// The receive path: frames from the worker, the driver and early serial frames, and the parse
// table of every reply the controller understands. Each reply has a minimum length and its
// numbers must be decimal digits; anything else is ignored and logged, never read past its end.
#include <algorithm>
#include <climits>
#include <utility>

#include "CivFrame.h"
#include "CivNumbers.h"
#include "Ini.h"
#include "ModelCaps.h"
#include "RadioController.h"

#include <utility>
#include "RemoteCodes.h"
#include "TraceLog.h"
#include "VekDriver.h"
#include "WindowMessages.h"

namespace radio {

namespace {

constexpr int kGuiBufferSize = 1024;
// FE FE E0 addr cmd ... FD: the shortest frame worth reading.
constexpr int kMinFrame = 6;

// Shortest reply per command (header, data, FD).
constexpr int kMinFrequency = 11;               // 5 BCD bytes
constexpr int64_t kLargestShownHz = 999999999;  // the frequency field's nine digits
constexpr int kMinEmptyChannel = 7;             // 03 FF
constexpr int kMinMode = 8;                     // mode, filter
constexpr int kBandEdgeLength = 17;             // 5 BCD, "-", 5 BCD
constexpr int kMinOffset = 9;                   // 3 BCD bytes
constexpr int kMinAttenuator = 7;
constexpr int kMinSquelch = 8;          // 15 01 value
constexpr int kMinSMeter = 9;           // 15 02 two BCD bytes
constexpr int kMinFunction = 8;         // 16 sub value
constexpr int kMinId = 8;               // 19 00 id
constexpr uint8_t kSMeterHighPair = 2;  // readings go up to 0255

}  // namespace

void CRadioController::LogRejected(const uint8_t* frame, int length, const char* why)
{
    if (log_ == nullptr || frame == nullptr)
        return;
    const size_t n = static_cast<size_t>(std::max(0, std::min(length, cat::kMaxFrameSize)));
    log_->WriteBytes(std::string("RX ignored (") + why + "):", frame, n, "\r\n");
}

void CRadioController::OnFramesAvailable()
{
    worker_.AcknowledgeFramesAvailable();
    uint8_t buffer[kGuiBufferSize];
    int size = kGuiBufferSize;
    while (worker_.PopFrameForGui(size, buffer)) {
        view_.SwapRxIndicator();
        if (size > cat::kPosSource && buffer[cat::kPosSource] == state_.address) {
            if (log_ != nullptr)
                log_->WriteBytes("RX:", buffer, static_cast<size_t>(size), "\r\n");
            ParseFrame(buffer, size);
        }
        size = kGuiBufferSize;
    }
}

void CRadioController::OnIdleTick()
{
    worker_.AcknowledgeIdleTick();
    if (state_.startingUp || state_.closing || !state_.pollingAllowed)
        return;
    PollRadio();
}

void CRadioController::OnDriverFrame(int length, std::intptr_t handle)
{
    uint8_t frame[cat::kMaxFrameSize];
    if (length >= 1 && length <= cat::kMaxFrameSize && driver_ != nullptr
        && driver_->CopyBuffRx(handle, frame, length)) {
        state_.noAnswer = false;
        worker_.PushReceivedFrame(length, frame);
        return;
    }
    state_.noAnswer = true;
    state_.frequencyHz = 0;
    state_.frequencyBlank = false;
    view_.ShowFrequency(0);
    view_.SetControlText(ctl::kStatus2, " ");
    view_.SetControlText(ctl::kStatus, "Error");
    Log("RX:Error ");
}

void CRadioController::OnSerialBlock(const uint8_t* bytes, int length)
{
    if (bytes == nullptr || length <= 0 || length > cat::kMaxFrameSize) {
        OnDriverFrame(0, 0);  // the same receive error
        return;
    }
    // The frame ends at the first FD and begins at the last preamble before it: a preamble in
    // the middle starts a new frame rather than being glued to the broken one.
    int end = -1;
    for (int i = 0; i < length; ++i) {
        if (bytes[i] == cat::kEndOfFrame) {
            end = i;
            break;
        }
    }
    int start = -1;
    for (int i = end - 2; i >= 0; --i) {
        if (bytes[i] == cat::kPreamble && bytes[i + 1] == cat::kPreamble) {
            start = i;
            break;
        }
    }
    if (end < 0 || start < 0)
        return;
    const int n = end - start + 1;
    const uint8_t* frame = bytes + start;
    if (n <= cat::kPosSource || frame[cat::kPosSource] != state_.address)
        return;
    view_.SwapRxIndicator();
    if (log_ != nullptr)
        log_->WriteBytes("RX:", frame, static_cast<size_t>(n), " ");
    worker_.PushReceivedFrame(n, frame);
}

bool CRadioController::ParseFrame(const uint8_t* frame, int length)
{
    if (frame == nullptr || length < kMinFrame || length > cat::kMaxFrameSize
        || !cat::IsCivFrame(frame, static_cast<size_t>(length))) {
        LogRejected(frame, length, "not a frame");
        return false;
    }
    switch (frame[cat::kPosCommand]) {
    case civ::kCmdTransceiveFrequency: return ParseFrequency(frame, length, true);
    case civ::kCmdReadFrequency: return ParseFrequency(frame, length, false);
    case civ::kCmdTransceiveMode:
    case civ::kCmdReadMode: return ParseMode(frame, length);
    case civ::kCmdReadBandEdges: return ParseBandEdges(frame, length);
    case civ::kCmdReadOffset: return ParseDuplexOffset(frame, length);
    case civ::kCmdAttenuator: return ParseAttenuator(frame, length);
    case civ::kCmdMeter: return ParseMeter(frame, length);
    case civ::kCmdFunction: return ParseFunction(frame, length);
    case civ::kCmdReadId: return ParseId(frame, length);
    default: return false;  // OK, NG and commands the display does not follow
    }
}

bool CRadioController::ParseFrequency(const uint8_t* frame, int length, bool transceive)
{
    // Reads asked for at start-up must land; unasked frames wait until the window is ready.
    if ((transceive && state_.startingUp) || state_.linkTest || state_.frequencyStepRunning)
        return false;
    // Answers to reads asked before the last set tell the old frequency: the set is in force.
    if (!transceive && staleFrequencyRead_ != 0) {
        // Before that read's answer is taken, answers come from reads older still.
        if (!worker_.IsAnswerTaken(staleFrequencyRead_))
            return true;
        // Taken: this is its answer, unless it ended unanswered and this answers a later read.
        const uint64_t stale = std::exchange(staleFrequencyRead_, 0);
        if (worker_.GetCommandOutcome(stale) == cat::CommandOutcome::Answered)
            return true;
    }
    if (!transceive && length >= kMinEmptyChannel && frame[5] == civ::kNoFrequency) {
        // No frequency, for example an empty memory channel.
        state_.frequencyHz = 0;
        state_.frequencyBlank = true;
        state_.noAnswer = true;
        view_.BlankFrequency();
        return true;
    }
    int64_t hz = 0;
    if (length < kMinFrequency) {
        LogRejected(frame, length, "short");
        return false;
    }
    if (!ReadBcd(frame, 5, 5, hz)) {
        LogRejected(frame, length, "not BCD");
        return false;
    }
    if (hz > kLargestShownHz) {
        LogRejected(frame, length, "out of range");
        return false;
    }
    if (hz == 0) {
        state_.frequencyHz = 0;
        state_.frequencyBlank = true;
        state_.noAnswer = true;
        view_.BlankFrequency();
        return true;
    }
    state_.noAnswer = false;
    state_.frequencyKnown = true;
    state_.confirmedHz = hz;
    if (!state_.frequencyBlank && hz == state_.frequencyHz) {
        // Other programs see every reply, changed or not.
        if (clients_ != nullptr)
            clients_->DdeFrequency(hz);
        return true;
    }
    ShowReportedFrequency(hz);
    return true;
}

void CRadioController::ShowReportedFrequency(int64_t hz)
{
    state_.frequencyHz = hz;
    state_.frequencyBlank = false;
    view_.ShowFrequency(hz);
    Notify(remote::kNoteFrequency, hz);
    if (clients_ != nullptr)
        clients_->DdeFrequency(hz);
    view_.UpdateBandDisplay();
}

bool CRadioController::ParseMode(const uint8_t* frame, int length)
{
    if (length < kMinMode) {
        LogRejected(frame, length, "short");
        return false;
    }
    const std::optional<RadioMode> mode = ModeFromCiv(frame[length - 3]);
    // Any filter byte but 1 is narrow (00 included); an unknown mode still leaves the filter.
    const int filter = frame[length - 2];
    // The model's mode list bounds the modes it has.
    if (!mode || *mode >= static_cast<int>(state_.modeNames.size())) {
        LogRejected(frame, length, "bad mode");
    } else if (*mode != state_.mode) {
        state_.mode = *mode;
        const std::string text = ModeText(*mode);
        view_.SetModeText(text);
        if (clients_ != nullptr)
            clients_->DdeMode(text);
        Notify(remote::kNoteMode, ModeInfoFor(*mode)->remote);
        if (*mode == kFm) {
            RestoreDuplexButtons();
        } else {
            SetDuplexButtons(false, false);
            Notify(remote::kNoteDupPlus, 0);
            Notify(remote::kNoteDupMinus, 0);
        }
    }
    state_.filterNarrow = filter != 1;
    view_.SetButton(ctl::kFilter, state_.filterNarrow);
    Notify(remote::kNoteFilter, state_.filterNarrow ? 1 : 0);
    UpdateStatusLine();
    view_.UpdateBandDisplay();
    return true;
}

bool CRadioController::ParseBandEdges(const uint8_t* frame, int length)
{
    if (state_.linkTest)
        return false;
    if (length != kBandEdgeLength || !ShowBandEdges(frame, length)) {
        LogRejected(frame, length, "bad band edges");
        return false;
    }
    {
        CIni::Batch both(ini_);
        ini_.WriteInt(settings::setup::LimiteInferiore, static_cast<int>(state_.lowerLimit));
        ini_.WriteInt(settings::setup::LimiteSuperiore, static_cast<int>(state_.upperLimit));
    }
    UpdateRangeInfo();
    return true;
}

bool CRadioController::ShowBandEdges(const uint8_t* frame, int length)
{
    if (frame == nullptr || length < kBandEdgeLength || frame[10] != civ::kBandEdgeSeparator)
        return false;
    int64_t lower = 0, upper = 0;
    if (!ReadBcd(frame, 5, 5, lower) || !ReadBcd(frame, 11, 5, upper))
        return false;
    // Limits must leave room for a band, and fit the nine-digit fields that show and edit them.
    if (lower >= upper || upper > kLargestShownHz)
        return false;
    state_.lowerLimit = lower;
    state_.upperLimit = upper;
    view_.SetControlText(ctl::kRange, RangeText());
    return true;
}

bool CRadioController::ParseDuplexOffset(const uint8_t* frame, int length)
{
    int64_t units = 0;
    if (length < kMinOffset || !ReadBcd(frame, 5, 3, units)) {
        LogRejected(frame, length, "bad offset");
        return false;
    }
    const int kHz = static_cast<int>(units / 10);
    if (kHz != 0) {
        state_.duplexOffsetKHz = kHz;
        view_.SetOffsetField(kHz);
        Notify(remote::kNoteDuplexOffset, kHz);
    }
    return true;
}

bool CRadioController::ParseAttenuator(const uint8_t* frame, int length)
{
    if (length < kMinAttenuator) {
        LogRejected(frame, length, "short");
        return false;
    }
    const std::optional<bool> on = FunctionValueState(RadioFunction::Attenuator, frame[5]);
    if (!on) {
        LogRejected(frame, length, "bad value");
        return false;
    }
    SetFunctionButton(RadioFunction::Attenuator, *on);
    Notify(FunctionInfo(RadioFunction::Attenuator).notifyCode, *on ? 1 : 0);
    return true;
}

bool CRadioController::ParseMeter(const uint8_t* frame, int length)
{
    const uint8_t sub = frame[5];
    if (sub == civ::kMeterSquelch) {
        if (length < kMinSquelch || frame[6] > civ::kOn) {
            LogRejected(frame, length, "bad squelch");
            return false;
        }
        // 00: the squelch holds the receiver closed and "SQL" shows.
        const bool closed = frame[6] == civ::kOff;
        state_.squelchOpen = !closed;
        view_.ShowControl(ctl::kSquelch, closed);
        squelchWatcher_.Post(closed ? msg::kSquelchClosed : msg::kSquelchOpened, 0, 0);
        Notify(remote::kNoteSquelch, closed ? 1 : 0);
        return true;
    }
    if (sub != civ::kMeterS)
        return false;
    int64_t reading = 0;
    // Two BCD bytes, most significant first (0000..0255).
    if (length < kMinSMeter || frame[6] > kSMeterHighPair || !ReadBcd(frame, 7, 1, reading)) {
        LogRejected(frame, length, "bad S-meter");
        return false;
    }
    int64_t high = 0;
    if (!ReadBcd(frame, 6, 1, high)) {
        LogRejected(frame, length, "bad S-meter");
        return false;
    }
    reading += high * 100;
    // The scaling comes from the settings file: wide to keep any stored value from overflowing.
    const int64_t divisor = std::max(1, state_.sMeterDivisor);
    const int s = static_cast<int>(
        std::clamp<int64_t>((reading - state_.sMeterLower) / divisor, INT_MIN, INT_MAX));
    state_.sValue = s;
    Notify(remote::kNoteSignal, s);
    state_.sText = s <= 9 ? "S " + std::to_string(s)
                          : "S 9+" + std::to_string(static_cast<int64_t>(s) * 10 - 90);
    view_.SetControlText(ctl::kSText, state_.sText);
    if (clients_ != nullptr)
        clients_->DdeSMeter(state_.sText);
    view_.SetPeakMeter(s);
    return true;
}

bool CRadioController::ParseFunction(const uint8_t* frame, int length)
{
    if (length < kMinFunction) {
        LogRejected(frame, length, "short");
        return false;
    }
    const std::optional<RadioFunction> f = FunctionFromCommand(civ::kCmdFunction, frame[5]);
    if (!f)
        return false;  // a function the display does not show
    const std::optional<bool> on = FunctionValueState(*f, frame[6]);
    if (!on) {
        LogRejected(frame, length, "bad value");
        return false;
    }
    SetFunctionButton(*f, *on);
    Notify(FunctionInfo(*f).notifyCode, *on ? 1 : 0);
    return true;
}

bool CRadioController::ParseId(const uint8_t* frame, int length)
{
    if (length < kMinId || frame[5] != civ::kIdRead) {
        LogRejected(frame, length, "bad ID");
        return false;
    }
    // Only the ID of a radio with the extended functions decides; others leave the setting.
    const civ::ModelCaps* byId = civ::FindCapsByAddress(frame[6]);
    if (byId != nullptr && byId->extendedId)
        state_.extendedFunctions = true;
    return true;
}

// ---- Range ----

std::string CRadioController::RangeText() const
{
    return "Range:" + FormatFrequency(state_.lowerLimit) + " Hz\n"
           + FormatFrequency(state_.upperLimit) + " Hz";
}

void CRadioController::UpdateRangeInfo()
{
    int64_t lower = ini_.GetInt(settings::setup::LimiteInferiore);
    int64_t upper = ini_.GetInt(settings::setup::LimiteSuperiore);
    const civ::ModelCaps* caps = civ::FindCaps(state_.model);
    if (upper <= lower || lower < 0) {
        lower = kDefaultLowerLimit;
        upper = caps != nullptr ? static_cast<int64_t>(caps->bandEdges.highHz) : kDefaultUpperLimit;
    }
    state_.lowerLimit = lower;
    state_.upperLimit = upper;
    view_.SetBandMenuEntry(ctl::kMenu70cm, upper >= 400000000);
    view_.SetBandMenuEntry(ctl::kMenu2m, upper >= 140000000);
    view_.SetBandMenuEntry(ctl::kMenu6m, upper >= 50000000);
    view_.SetControlText(ctl::kRange, RangeText());

    view_.ShowDuplexControls(caps == nullptr || caps->duplexShift);
    // Noise reduction and auto notch take the Tone and TSQL buttons where a model has them.
    const bool nrAnf = caps != nullptr && caps->nrAnfSubs;
    view_.SetControlText(ctl::kTone, nrAnf ? "NR" : "Tone");
    view_.SetControlText(ctl::kTsql, nrAnf ? "ANF" : "TSQL");
    view_.SetToolTip(ctl::kTone, nrAnf ? 1302 : 1194);
    view_.SetToolTip(ctl::kTsql, nrAnf ? 1301 : 1195);
    FillModeList();
    view_.SetModeMenu(state_.modeNames);
}

}  // namespace radio
