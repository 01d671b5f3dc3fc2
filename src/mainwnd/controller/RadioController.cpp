#include "RadioController.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "Bcd.h"
#include "CivNumbers.h"
#include "CommandLayout.h"
#include "Language.h"
#include "ModelCaps.h"
#include "MessagePump.h"
#include "MessageTarget.h"
#include "TraceLog.h"
#include "VekDriver.h"
#include "WindowMessages.h"

namespace radio {

namespace {

// WM_USER+4: the tool windows' request to read the frequency; serial port errors too.
constexpr unsigned kReadFrequencyRequest = msg::kUser + 4;
constexpr size_t kMaxEarlyFrames = 64;

// The names of the first `count` modes, in mode order.
std::vector<std::string> ModeNames(int count)
{
    std::vector<std::string> names;
    for (int mode = 0; mode < count && mode < kModeCount; ++mode)
        names.emplace_back(ModeTable()[mode].name);
    return names;
}

// The fields hold doubles; a value that is no whole frequency reads as 0.
int64_t WholeHz(double value)
{
    if (!std::isfinite(value) || value < 0 || value >= 1e10)
        return 0;
    return static_cast<int64_t>(value);
}

}  // namespace

CRadioController::CRadioController(IRadioView& view, CIni& ini, const CLanguage& language)
    : view_(view), ini_(ini), language_(language)
{
    state_.modeNames = ModeNames(kModeCount);
    target_ = std::make_unique<platform::MessageTarget>(
        [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            WindowProc(message, wParam, lParam);
        });
}

CRadioController::~CRadioController()
{
    state_.closing = true;
    worker_.Stop(true);
}

bool CRadioController::HasTransport() const
{
    return serialOpen_ || (driver_ != nullptr && driver_->IsLoaded());
}

void CRadioController::PostWorkerMessage(unsigned message)
{
    target_->Post(message, 0, 0);
}

void CRadioController::PostSerialFrame(int /*port*/, const uint8_t* frame, int length)
{
    std::vector<uint8_t> copy;
    if (frame != nullptr && length > 0 && length <= cat::kMaxFrameSize)
        copy.assign(frame, frame + length);
    {
        std::lock_guard<std::mutex> lock(earlyMutex_);
        if (earlyFrames_.size() >= kMaxEarlyFrames)
            earlyFrames_.pop_front();
        earlyFrames_.push_back(std::move(copy));
    }
    target_->Post(msg::kSerialBlock, 0, 0);
}

void CRadioController::PostSerialError(int port, int error)
{
    if (cat::IsLineGone(error))
        target_->Post(msg::kSerialLineLost, static_cast<std::uintptr_t>(error), port);
    else
        target_->Post(kReadFrequencyRequest, static_cast<std::uintptr_t>(error), port);
}

void CRadioController::WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    switch (message) {
    case kReadFrequencyRequest: OnReadFrequencyRequest(); break;
    case msg::kSerialBlock: {
        std::vector<uint8_t> frame;
        {
            std::lock_guard<std::mutex> lock(earlyMutex_);
            if (earlyFrames_.empty())
                break;
            frame = std::move(earlyFrames_.front());
            earlyFrames_.pop_front();
        }
        OnSerialBlock(frame.data(), static_cast<int>(frame.size()));
        break;
    }
    case msg::kFramesAvailable: OnFramesAvailable(); break;
    case msg::kIdleTick: OnIdleTick(); break;
    case msg::kAnswerState: OnAnswerState(); break;
    case msg::kSerialLineLost:
        if (lineLostHandler_)
            lineLostHandler_(static_cast<int>(lParam), static_cast<int>(wParam));
        else
            Log("Serial port lost, nobody to close it\r\n");
        break;
    case msg::kDriverRx:
        // The length is pointer-wide: one beyond 256 must not wrap into range when narrowed.
        OnDriverFrame(wParam <= static_cast<std::uintptr_t>(cat::kMaxFrameSize)
                          ? static_cast<int>(wParam)
                          : 0,
                      lParam);
        break;
    case msg::kDriverAudio:
        if (driverAudioHandler_)
            driverAudioHandler_(wParam, lParam);
        break;
    case msg::kDriverHelp:
        if (driverHelpHandler_ && wParam <= static_cast<std::uintptr_t>(INT32_MAX))
            driverHelpHandler_(static_cast<int>(wParam));
        break;
    default: break;
    }
}

void CRadioController::Notify(int code, int64_t value)
{
    if (clients_ != nullptr)
        clients_->NotifyClients(code, value);
}

void CRadioController::Log(const std::string& text)
{
    if (log_ != nullptr)
        log_->WriteText(text);
}

// ---- SendCommand ----

SendResult CRadioController::SendCommand(uint8_t command, uint8_t sub,
                                         std::initializer_list<uint8_t> data, bool wait)
{
    std::array<uint8_t, 4> bytes{};
    size_t i = 0;
    for (uint8_t b : data) {
        if (i < bytes.size())
            bytes[i++] = b;
    }
    return SendCommandData(command, sub, bytes, wait);
}

SendResult CRadioController::SendCommandData(uint8_t command, uint8_t sub,
                                             const std::array<uint8_t, 4>& data, bool wait)
{
    if (!HasTransport())
        return SendResult::Dropped;
    const CommandFrame out = BuildCommand(state_.address, command, sub, data);
    if (out.frame.length == 0) {
        if (log_ != nullptr)
            log_->WriteBytes("Command refused:", &command, 1, "\r\n");
        ++notQueued_;
        return SendResult::NotQueued;
    }
    // 05 tells the frequency its five BCD bytes carry.
    int64_t frequency = 0;
    if (command == civ::kCmdSetFrequency) {
        const uint8_t bcd[5] = {sub, data[0], data[1], data[2], data[3]};
        if (!ReadBcd(bcd, 0, 5, frequency))
            frequency = 0;
    }
    const Notifications notes =
        CommandNotifications(command, sub, data, frequency, WholeHz(view_.GetOffsetField()));
    for (int n = 0; n < notes.count; ++n)
        Notify(notes.items[static_cast<size_t>(n)].code, notes.items[static_cast<size_t>(n)].value);
    if (command == civ::kCmdSetFrequency && clients_ != nullptr && !RadioUnanswering())
        clients_->DdeFrequency(frequency);

    if (state_.offLine && !state_.linkTest)
        return SendResult::Dropped;
    uint64_t ticket = 0;
    if (!worker_.EnqueueCommand(out.frame.length, out.flagFB, out.frame.data(), &ticket)) {
        ++notQueued_;
        return SendResult::NotQueued;
    }
    if (command == civ::kCmdReadFrequency)
        lastFrequencyRead_ = ticket;
    return wait ? WaitForCommand(ticket) : SendResult::Queued;
}

SendResult CRadioController::WaitForCommand(uint64_t ticket)
{
    // DelayCommand comes from the settings or the speed test: wide, so no value overflows.
    const int64_t steps = static_cast<int64_t>(std::max(0, state_.delayCommand)) * 10;
    for (int64_t i = 0; i < steps; ++i) {
        if (state_.closing)
            return SendResult::TimedOut;
        platform::PumpMessages();
        // A step lasts a millisecond at most but ends with the command: a fixed sleep would
        // add its rest to every waited command.
        if (worker_.WaitCommandDone(ticket, std::chrono::milliseconds(1))) {
            // The answer is in the GUI queue by now: parse it before the caller looks.
            OnFramesAvailable();
            switch (worker_.GetCommandOutcome(ticket)) {
            case cat::CommandOutcome::Answered: return SendResult::Answered;
            case cat::CommandOutcome::Refused: return SendResult::Refused;
            case cat::CommandOutcome::NoAnswer: return SendResult::NoAnswer;
            default: return SendResult::TimedOut;
            }
        }
    }
    Log(language_.Translate("Timeout invio comando") + "\r\n");
    return SendResult::TimedOut;
}

// ---- Conversions and small operations ----

int64_t CRadioController::FrequencyToBcd(double typedHz, uint8_t out[5]) const
{
    return cat::FrequencyToBcd(WholeHz(typedHz), state_.lowerLimit, state_.upperLimit, out);
}

bool CRadioController::SetFrequency(int64_t hz)
{
    if (hz < state_.lowerLimit || hz > state_.upperLimit || state_.sending)
        return false;
    // What the user is typing is not replaced behind their back: it goes out when they leave.
    if (!view_.ShowFrequency(hz))
        return false;
    return SendFrequency(hz) != SendResult::NotQueued;
}

SendResult CRadioController::TuneWaiting(int64_t hz)
{
    view_.ShowFrequency(hz);
    return SendFrequency(hz, true);
}

bool CRadioController::SetFrequencyForClient(int64_t hz)
{
    if (hz < state_.lowerLimit || hz > state_.upperLimit || state_.sending)
        return false;
    state_.frequencyTyped = false;
    return SetFrequency(hz);
}

bool CRadioController::SendDuplexOffset(int offsetKHz)
{
    uint8_t sub = 0, d0 = 0, d1 = 0;
    if (!DuplexOffsetToBcd(offsetKHz, sub, d0, d1)) {
        Log("Duplex offset refused: " + std::to_string(offsetKHz) + "\r\n");
        return false;
    }
    view_.SetOffsetField(offsetKHz);
    state_.duplexOffsetKHz = offsetKHz;
    SendCommand(civ::kCmdSetOffset, sub, {d0, d1});
    return true;
}

void CRadioController::OnKillFocusFrequency(double typedHz)
{
    SendFrequency(WholeHz(typedHz));
    // A value the radio cannot take does not stay in the field as if it were in force.
    ShowFrequencyInForce();
}

SendResult CRadioController::SendFrequency(int64_t hz, bool wait)
{
    if (state_.sending)
        return SendResult::NotQueued;
    state_.sending = true;
    uint8_t bcd[5];
    SendResult sent = SendResult::NotQueued;
    if (cat::FrequencyToBcd(hz, state_.lowerLimit, state_.upperLimit, bcd) != 0) {
        // A read answered but not yet taken in tells the old frequency as well.
        if (lastFrequencyRead_ != 0 && !worker_.IsAnswerTaken(lastFrequencyRead_))
            staleFrequencyRead_ = lastFrequencyRead_;
        state_.frequencyHz = hz;
        state_.frequencyBlank = false;
        sent = SendCommand(civ::kCmdSetFrequency, bcd[0], {bcd[1], bcd[2], bcd[3], bcd[4]}, wait);
    }
    view_.UpdateBandDisplay();
    state_.sending = false;
    return sent;
}

void CRadioController::ShowFrequencyInForce()
{
    if (state_.frequencyBlank)
        view_.BlankFrequency();
    else
        view_.ShowFrequency(state_.frequencyHz);
}

void CRadioController::OnFilter()
{
    if (state_.mode == kWfm)
        state_.filterNarrow = false;
    else
        state_.filterNarrow = !state_.filterNarrow;
    view_.SetButton(ctl::kFilter, state_.filterNarrow);
    if (const ModeInfo* mode = ModeInfoFor(state_.mode))
        SendCommand(civ::kCmdSetMode, mode->civ, {civ::FilterByte(mode->civ, state_.filterNarrow)});
    UpdateStatusLine();
    view_.UpdateBandDisplay();
}

void CRadioController::ApplyLinkFacts(const LinkFacts& facts)
{
    state_.address = facts.address;
    state_.model = facts.model;
    state_.delayCommand = std::max(0, facts.delayCommand);
    state_.sMeterLower = facts.sMeterLower;
    state_.sMeterDivisor = std::max(1, facts.sMeterDivisor);
    state_.extendedFunctions = facts.extendedFunctions;
    state_.offLine = facts.offLine;
}

void CRadioController::ShowOffLine()
{
    state_.offLine = true;
    state_.frequencyHz = 0;
    state_.frequencyBlank = true;
}

void CRadioController::ShowLineLost(const std::string& text)
{
    if (state_.lineLost == text)
        return;
    state_.lineLost = text;
    UpdateStatusLine();
}

void CRadioController::ShowMode(int mode)
{
    if (mode < 0 || mode >= static_cast<int>(state_.modeNames.size()))
        return;
    state_.mode = mode;
    view_.SetModeText(state_.modeNames[static_cast<size_t>(mode)]);
}

void CRadioController::ShowFilter(bool narrow)
{
    state_.filterNarrow = narrow;
    view_.SetButton(ctl::kFilter, narrow);
}

void CRadioController::ShowTakenMode(int mode, bool narrow)
{
    ShowMode(mode);
    ShowFilter(narrow && mode != kWfm);
    UpdateStatusLine();
}

bool CRadioController::SetMode(int mode)
{
    const ModeInfo* info = ModeInfoFor(mode);
    if (info == nullptr || mode >= static_cast<int>(state_.modeNames.size()))
        return false;
    ShowMode(mode);
    if (mode == kFm)
        RestoreDuplexButtons();
    else
        SetDuplexButtons(false, false);
    if (mode == kWfm)
        ShowFilter(false);
    SendCommand(civ::kCmdSetMode, info->civ, {civ::FilterByte(info->civ, state_.filterNarrow)});
    UpdateStatusLine();
    if (clients_ != nullptr)
        clients_->DdeMode(ModeText(mode));
    return true;
}

void CRadioController::SetFilter(bool narrow)
{
    // The click handler toggles: start from the opposite so that it ends where asked.
    state_.filterNarrow = !narrow;
    OnFilter();
}

void CRadioController::ReadFrequencyMode(bool wait, bool switches)
{
    state_.displayNotReady = true;
    SendCommand(civ::kCmdReadFrequency, 0, {}, wait);
    SendCommand(civ::kCmdReadMode, 0, {}, wait);
    if (switches)
        ReadFunctionStates(wait);
    UpdateStatusLine();
    state_.displayNotReady = false;
    UpdateStoreReverse();
}

void CRadioController::ReadFunctionStates(bool wait)
{
    if (!state_.extendedFunctions)
        return;
    const bool polling = state_.pollingAllowed;
    state_.pollingAllowed = false;
    state_.sending = true;
    for (size_t i = 0; i < kFunctionCount; ++i) {
        const FunctionCommand& entry = FunctionTable()[i];
        if (entry.command == civ::kCmdAttenuator)
            SendCommand(civ::kCmdAttenuator, kRead, {}, wait);
        else
            SendCommand(entry.command, FunctionSub(entry.function, state_.model), {kRead}, wait);
    }
    SendCommand(civ::kCmdReadOffset, 0, {}, wait);
    state_.pollingAllowed = polling;
    state_.sending = false;
}

void CRadioController::ActivateVfo(int vfo, bool wait)
{
    const bool a = vfo == kVfoA;
    if (state_.currentVfo == (a ? kVfoB : kVfoA))
        state_.otherVfo = {state_.frequencyHz, ModeText(state_.mode), state_.filterNarrow};
    SendCommand(civ::kCmdVfo, a ? civ::kVfoA : civ::kVfoB, {}, wait);
    view_.SetButton(ctl::kVfoA, a);
    view_.SetButton(ctl::kVfoB, !a);
    state_.currentVfo = a ? kVfoA : kVfoB;
    if (clients_ != nullptr)
        clients_->DdeVfo(a ? 1 : 0);
}

void CRadioController::EqualizeVfos()
{
    if (SendCommand(civ::kCmdVfo, civ::kVfoEqualize, {}, true) != SendResult::Answered)
        return;
    state_.otherVfo = {state_.frequencyHz, ModeText(state_.mode), state_.filterNarrow};
    UpdateStatusLine();
}

void CRadioController::SelectVfoA()
{
    ActivateVfo(kVfoA, true);
    ReadFrequencyMode(true);
}

void CRadioController::SelectVfoB()
{
    ActivateVfo(kVfoB, true);
    ReadFrequencyMode(true);
}

void CRadioController::TuneVfo(int vfo, int64_t hz, int mode, bool narrow, bool waitForSelect)
{
    ActivateVfo(vfo, waitForSelect);
    view_.ShowFrequency(hz);
    SendFrequency(hz);
    const ModeInfo* info = ModeInfoFor(mode);
    if (info == nullptr || mode >= static_cast<int>(state_.modeNames.size()))
        return;
    ShowMode(mode);
    ShowFilter(narrow && mode != kWfm);
    SendCommand(civ::kCmdSetMode, info->civ, {civ::FilterByte(info->civ, narrow)});
}

bool CRadioController::WaitForIdle(int maxMs)
{
    for (int i = 0; i < maxMs; ++i) {
        if (state_.closing)
            return false;
        platform::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (worker_.IsIdle())
            return true;
    }
    return false;
}

void CRadioController::SendSplit(bool on)
{
    state_.split = on;
    view_.SetButton(ctl::kSplit, on);
    SendCommand(civ::kCmdSplitDuplex, on ? civ::kSplitOn : civ::kSplitOff);
    if (on)
        SetDuplexButtons(false, false);
    else
        RestoreDuplexButtons();
    UpdateStatusLine();
    UpdateStoreReverse();
    if (clients_ != nullptr)
        clients_->DdeSplit(on);
}

void CRadioController::OnSplit()
{
    SendSplit(!state_.split);
    if (state_.split) {
        // Read both VFOs so that the second display shows the other one.
        if (state_.currentVfo == kVfoA) {
            SelectVfoB();
            platform::WaitPumpingMessages(state_.delayCommand);
            SelectVfoA();
        } else if (state_.currentVfo == kVfoB) {
            SelectVfoA();
            platform::WaitPumpingMessages(state_.delayCommand);
            SelectVfoB();
        }
        UpdateStatusLine();
    }
}

void CRadioController::SetSplit(bool on)
{
    state_.split = !on;
    OnSplit();
}

bool CRadioController::EnsureVfoKnown()
{
    if (state_.currentVfo != kVfoNone)
        return true;
    view_.Beep(mb::kIconQuestion);
    const int choice = view_.ChooseVfo();
    if (choice == kVfoA)
        SelectVfoA();
    else if (choice == kVfoB)
        SelectVfoB();
    else
        return false;
    platform::WaitPumpingMessages(state_.delayCommand);
    return true;
}

int CRadioController::OnReadFrequencyRequest()
{
    if (!state_.closing)
        SendCommand(civ::kCmdReadFrequency);
    return 0;
}

void CRadioController::OnAnswerState()
{
    const bool silent = worker_.IsRadioSilent();
    const bool unanswered = worker_.IsFrequencyUnanswered();
    if (unanswered && !state_.frequencyUnanswered && clients_ != nullptr && state_.confirmedHz > 0)
        clients_->DdeFrequency(state_.confirmedHz);  // take back what the radio never took
    state_.frequencyUnanswered = unanswered;
    if (silent == state_.radioSilent)
        return;
    state_.radioSilent = silent;
    UpdateStatusLine();
}

bool CRadioController::RadioUnanswering() const
{
    return worker_.IsFrequencyUnanswered();
}

void CRadioController::UpdateStatusLine()
{
    std::string status;
    std::string label;
    // First, so that a narrow field still shows it.
    if (!state_.lineLost.empty())
        status = state_.lineLost + " ";
    else if (state_.radioSilent)
        status = language_.LoadString(kRadioNotAnsweringText) + " ";
    if (state_.filterNarrow)
        status += " N";
    if (state_.currentVfo == kVfoA) {
        status += " VFO-A";
        label = "VFO-B : ";
    } else if (state_.currentVfo == kVfoB) {
        status += " VFO-B";
        label = "VFO-A : ";
    }
    if (state_.split)
        status += " SPL";
    if (state_.extendedFunctions) {
        if (state_.duplexMinus)
            status += " DUP-";
        else if (state_.duplexPlus)
            status += " DUP+";
    }
    view_.SetStatusLine(status);
    std::string other;
    if (state_.otherVfo.frequencyHz != 0) {
        other = FormatFrequency(state_.otherVfo.frequencyHz) + " " + state_.otherVfo.modeText;
        if (state_.otherVfo.filterNarrow)
            other += " N";
    }
    view_.SetSecondDisplay(label, other);
    if (clients_ != nullptr)
        clients_->DdeAltFrequency(state_.otherVfo.frequencyHz);
}

void CRadioController::FillModeList()
{
    const civ::ModelCaps* caps = civ::FindCaps(state_.model);
    state_.modeNames = ModeNames(caps != nullptr ? caps->modeCount : kModeCount);
    view_.SetModeList(state_.modeNames);
}

std::string CRadioController::ModeText(int mode) const
{
    if (mode < 0 || mode >= static_cast<int>(state_.modeNames.size()))
        return std::string();
    return state_.modeNames[static_cast<size_t>(mode)];
}

void CRadioController::UpdateStoreReverse()
{
    view_.EnableControl(ctl::kStoreR, state_.currentVfo != kVfoNone);
    view_.EnableControl(ctl::kReverse, state_.duplexPlus || state_.duplexMinus);
}

}  // namespace radio
