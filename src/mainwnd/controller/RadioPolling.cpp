// The polling rotation: what one idle tick of the worker asks the radio.
#include "CommandLayout.h"
#include "RadioController.h"

namespace radio {

namespace {
constexpr int kLastPhase = 3;  // phases 0..3 send reads, phase 4 only the frequency
}

void CRadioController::SetFullPolling(bool on)
{
    state_.fullPolling = on;
    view_.SetButton(ctl::kPolling, on);
}

bool CRadioController::SquelchReadable() const
{
    return state_.sMeterOn && state_.extendedFunctions
           && (state_.mode == kAm || state_.mode == kFm || state_.mode == kWfm);
}

void CRadioController::PollRadio()
{
    if (!state_.pollingAllowed || state_.sending)
        return;
    const bool ext = state_.extendedFunctions;
    if (state_.sMeterOn && ext) {
        if (SquelchReadable())
            SendCommand(civ::kCmdMeter, civ::kMeterSquelch);
        SendCommand(civ::kCmdMeter, civ::kMeterS);
    }
    if (state_.skipTicks > 0) {
        --state_.skipTicks;
        return;
    }
    if (!state_.fullPolling) {
        // Reduced polling: the frequency on every second tick.
        if (state_.phase == 1) {
            if (!state_.frequencyStepRunning)
                SendCommand(civ::kCmdReadFrequency);
            state_.phase = 0;
        } else if (++state_.phase > 1) {
            state_.phase = 0;
        }
        return;
    }
    if (!state_.frequencyStepRunning)
        SendCommand(civ::kCmdReadFrequency);
    const auto read16 = [this](RadioFunction f) {
        SendCommand(civ::kCmdFunction, FunctionSub(f, state_.model), {kRead});
    };
    switch (state_.phase) {
    case 0:
        if (ext) {
            SendCommand(civ::kCmdAttenuator, kRead);
            read16(RadioFunction::Preamp);
            read16(RadioFunction::NoiseBlanker);
            read16(RadioFunction::Tone);
        }
        break;
    case 1:
        SendCommand(civ::kCmdReadMode);
        SendCommand(civ::kCmdReadMode);
        if (ext) {
            read16(RadioFunction::Agc);
            read16(RadioFunction::BreakIn);
        }
        break;
    case 2:
        if (ext) {
            SendCommand(civ::kCmdAttenuator, kRead);
            read16(RadioFunction::ToneSquelch);
            SendCommand(civ::kCmdReadOffset);
        }
        break;
    case 3:
        if (ext) {
            read16(RadioFunction::Vox);
            read16(RadioFunction::Compressor);
        }
        break;
    default: break;
    }
    state_.phase = state_.phase > kLastPhase ? 0 : state_.phase + 1;
}

}  // namespace radio
