#include "ChannelFunctions.h"

#include "ModelCaps.h"
#include "RadioController.h"

namespace lists {

void SendChannelFunctions(radio::CRadioController& controller, const ChannelFunctions& functions)
{
    const radio::RadioState& state = controller.State();
    if (!state.extendedFunctions)
        return;
    const civ::ModelCaps* caps = civ::FindCaps(state.model);
    if (caps == nullptr || caps->duplexOffset) {
        if (functions.duplexKHz >= 1 && functions.duplexKHz <= kMaxDuplexKHz)
            controller.SendDuplexOffset(functions.duplexKHz);
    }
    if (caps == nullptr || caps->duplexShift)
        controller.SendDuplexDirection(functions.duplexPlus, functions.duplexMinus);
    using radio::RadioFunction;
    const struct {
        RadioFunction function;
        bool on;
    } order[] = {
        {RadioFunction::Attenuator, functions.attenuator},
        {RadioFunction::Preamp, functions.preamp},
        {RadioFunction::NoiseBlanker, functions.noiseBlanker},
        {RadioFunction::Tone, functions.tone},
        {RadioFunction::ToneSquelch, functions.toneSquelch},
        {RadioFunction::Vox, functions.vox},
        {RadioFunction::BreakIn, functions.breakIn},
        {RadioFunction::Compressor, functions.compressor},
        {RadioFunction::Agc, functions.agcFast},
    };
    for (const auto& f : order)
        controller.SendStoredFunction(f.function, f.on);
}

}  // namespace lists
