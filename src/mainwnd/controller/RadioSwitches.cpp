// The function panel: on/off switches, duplex, reverse and the S-meter display.
#include <cmath>

#include "Bcd.h"
#include "CivNumbers.h"
#include "Ini.h"
#include "Language.h"
#include "MessagePump.h"
#include "RadioController.h"

namespace radio {

namespace {

constexpr settings::IniInt kSMeterOn{"CurrentSet", "SMeterON", 0};
constexpr settings::IniInt kAutoAggiorna{"CurrentSet", "AutoAggiorna", 0};

constexpr int kMessageBadOffset = 1203;
constexpr int kMessageSetOffset = 1204;
constexpr int kAttenuatorPause = 100;  // ms between preamp off and attenuator on

// The controls that the S-meter switch disables along with the function panel.
constexpr int kFunctionPanel[] = {ctl::kSMeterButton, ctl::kAtt,   ctl::kPre,     ctl::kAgc,
                                  ctl::kNb,           ctl::kTone,  ctl::kTsql,    ctl::kVox,
                                  ctl::kBkin,         ctl::kComp,  ctl::kDupPlus, ctl::kDupMinus,
                                  ctl::kDupSet,       ctl::kOffset};

}  // namespace

void CRadioController::SetFunctionButton(RadioFunction f, bool down)
{
    state_.functions[static_cast<size_t>(f)] = down;
    view_.SetButton(FunctionInfo(f).controlId, down);
}

void CRadioController::SendFunction(RadioFunction f, bool on)
{
    const FunctionCommand& info = FunctionInfo(f);
    const uint8_t value = on ? info.onValue : info.offValue;
    if (info.command == civ::kCmdAttenuator)
        SendCommand(civ::kCmdAttenuator, value);
    else
        SendCommand(info.command, FunctionSub(f, state_.model), {value});
}

void CRadioController::OnFunctionButton(RadioFunction f)
{
    // Without the extended functions the radio refuses these commands (the panel is disabled).
    if (!state_.extendedFunctions) {
        SetFunctionButton(f, state_.Function(f));
        return;
    }
    const bool on = !state_.Function(f);
    SetFunctionButton(f, on);
    if (f == RadioFunction::Attenuator && on) {
        // Attenuator and preamp exclude each other: the preamp goes off first.
        SetFunctionButton(RadioFunction::Preamp, false);
        SendFunction(RadioFunction::Preamp, false);
        platform::WaitPumpingMessages(kAttenuatorPause);
    } else if (f == RadioFunction::Preamp && on) {
        SetFunctionButton(RadioFunction::Attenuator, false);
        SendFunction(RadioFunction::Attenuator, false);
    }
    SendFunction(f, on);
}

void CRadioController::SetFunction(RadioFunction f, bool on)
{
    if (state_.Function(f) != on)
        OnFunctionButton(f);
}

void CRadioController::SetSwitch(RadioFunction f, bool on)
{
    state_.functions[static_cast<size_t>(f)] = !on;
    OnFunctionButton(f);
}

void CRadioController::SendStoredFunction(RadioFunction f, bool on)
{
    SetFunctionButton(f, on);
    SendFunction(f, on);
}

void CRadioController::SendDuplexDirection(bool plus, bool minus)
{
    const bool up = plus;
    const bool down = minus && !plus;
    SendCommand(civ::kCmdSplitDuplex, up     ? civ::kDuplexPlus
                                      : down ? civ::kDuplexMinus
                                             : civ::kSimplex);
    ShowDuplexDirection(up, down);
}

void CRadioController::ShowDuplexDirection(bool plus, bool minus)
{
    SetDuplexButtons(plus, minus);
    state_.duplexPlusRemembered = plus;
    state_.duplexMinusRemembered = minus;
}

void CRadioController::ShowChannelSwitches(bool plus, bool minus, bool split)
{
    ShowDuplexDirection(plus, minus && !plus);
    state_.split = split;
    view_.SetButton(ctl::kSplit, split);
    UpdateStatusLine();
}

void CRadioController::SetDuplexButtons(bool plus, bool minus)
{
    state_.duplexPlus = plus;
    state_.duplexMinus = minus;
    view_.SetButton(ctl::kDupPlus, plus);
    view_.SetButton(ctl::kDupMinus, minus);
}

void CRadioController::RestoreDuplexButtons()
{
    SetDuplexButtons(false, false);
    // In split the radio works simplex: the buttons come back only when split goes off.
    if (state_.split)
        return;
    if (state_.duplexPlusRemembered) {
        state_.duplexMinusRemembered = false;
        SetDuplexButtons(true, false);
    }
    if (state_.duplexMinusRemembered) {
        state_.duplexPlusRemembered = false;
        SetDuplexButtons(false, true);
    }
}

bool CRadioController::OnDuplexPlus()
{
    return OnDuplexButton(true);
}

bool CRadioController::OnDuplexMinus()
{
    return OnDuplexButton(false);
}

bool CRadioController::OnDuplexButton(bool plus)
{
    const bool down = !(plus ? state_.duplexPlus : state_.duplexMinus);
    const bool refused = down && state_.mode != kFm;
    if (down) {
        if (state_.mode == kFm) {
            SendCommand(civ::kCmdSplitDuplex, plus ? civ::kDuplexPlus : civ::kDuplexMinus);
            state_.split = false;
            view_.SetButton(ctl::kSplit, false);
            ShowDuplexDirection(plus, !plus);
        } else {
            // Duplex exists only in FM: the button goes back up.
            view_.SetButton(plus ? ctl::kDupPlus : ctl::kDupMinus, false);
        }
    } else {
        SendCommand(civ::kCmdSplitDuplex, civ::kSimplex);
        if (plus) {
            SetDuplexButtons(false, state_.duplexMinus);
            state_.duplexPlusRemembered = false;
        } else {
            SetDuplexButtons(state_.duplexPlus, false);
            state_.duplexMinusRemembered = false;
        }
    }
    UpdateStatusLine();
    view_.EnableControl(ctl::kOffset, state_.duplexPlus || state_.duplexMinus);
    UpdateStoreReverse();
    return !refused;
}

void CRadioController::OnDuplexSet()
{
    const std::string text = view_.GetOffsetFieldText();
    const double value = view_.GetOffsetField();
    if (!std::isfinite(value) || value < 1 || value > 9999) {
        view_.ShowMessageBox(
            {language_.FormatString1(kMessageBadOffset, text), "", mb::kIconError, 0});
        return;
    }
    const int kHz = static_cast<int>(value);
    const int answer =
        view_.ShowMessageBox({language_.FormatString1(kMessageSetOffset, std::to_string(kHz)), "",
                              mb::kYesNo | mb::kIconQuestion, 0});
    if (answer == mb::kIdYes)
        SendDuplexOffset(kHz);
}

void CRadioController::OnReverse()
{
    if (!state_.duplexPlus && !state_.duplexMinus) {
        UpdateStoreReverse();
        return;
    }
    view_.SetWaitCursor(true);
    const double offset = view_.GetOffsetField();
    const int64_t offsetHz = std::isfinite(offset) && offset > 0 && offset <= 9999
                                 ? static_cast<int64_t>(offset) * 1000
                                 : 0;
    const int64_t target =
        state_.duplexPlus ? state_.frequencyHz + offsetHz : state_.frequencyHz - offsetHz;
    view_.SetSecondDisplay(state_.currentVfo == kVfoB ? "VFO-A : " : "VFO-B : ",
                           FormatFrequency(target));
    uint8_t bcd[5];
    if (cat::FrequencyToBcd(target, state_.lowerLimit, state_.upperLimit, bcd) != 0) {
        const bool wasPlus = state_.duplexPlus;
        state_.frequencyHz = target;
        state_.frequencyBlank = false;
        view_.ShowFrequency(target);
        SendCommand(civ::kCmdSetFrequency, bcd[0], {bcd[1], bcd[2], bcd[3], bcd[4]});
        SendCommand(civ::kCmdSplitDuplex, civ::kSimplex);
        ShowDuplexDirection(!wasPlus, wasPlus);
        SendCommand(civ::kCmdSplitDuplex, wasPlus ? civ::kDuplexMinus : civ::kDuplexPlus);
    }
    UpdateStatusLine();
    view_.SetWaitCursor(false);
}

// ---- S-meter ----

void CRadioController::OnSMeterButton()
{
    if (state_.sMeterOn)
        ShowSMeter(1);
    else
        ShowSMeterOn();
}

void CRadioController::ShowSMeterOn()
{
    state_.sMeterOn = true;
    view_.SetButton(ctl::kSMeterButton, true);
    view_.EnableControl(ctl::kSText, true);
    view_.EnableControl(ctl::kSMeterExtra, true);
    view_.ShowSMeterPanel(true);
    ini_.WriteInt(kSMeterOn, 1);
}

void CRadioController::ShowSMeter(int kind)
{
    if (kind == 0 || kind == 1) {
        view_.SetButton(ctl::kSMeterButton, false);
        view_.EnableControl(ctl::kSText, false);
        view_.EnableControl(ctl::kSMeterExtra, false);
        view_.ShowSMeterPanel(false);
        view_.SetPeakMeter(0);
        view_.ShowControl(ctl::kSquelch, false);
    }
    if (kind == 1) {
        ini_.WriteInt(kSMeterOn, 0);
        state_.sMeterOn = false;
    }
    if (kind == 0 || kind == 2) {
        for (int id : kFunctionPanel)
            view_.EnableControl(id, false);
    }
}

void CRadioController::EnableFunctionPanel()
{
    for (int id : kFunctionPanel)
        view_.EnableControl(id, true);
}

void CRadioController::OnAutoUpdate(bool down)
{
    view_.SetButton(ctl::kAutoUpdate, down);
    ini_.WriteInt(kAutoAggiorna, down ? 1 : 0);
}

}  // namespace radio
