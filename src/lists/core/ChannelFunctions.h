// The functions a stored channel sets besides its tuning, and the one way they are sent.
#pragma once

namespace radio {
class CRadioController;
}

namespace lists {

struct ChannelFunctions {
    bool duplexPlus = false;
    bool duplexMinus = false;
    int duplexKHz = 0;  // 0: the radio keeps its own offset
    bool attenuator = false;
    bool preamp = false;
    bool agcFast = false;
    bool noiseBlanker = false;
    bool tone = false;         // noise reduction where the model has it in its place
    bool toneSquelch = false;  // auto notch where the model has it in its place
    bool vox = false;
    bool breakIn = false;
    bool compressor = false;
};

// The highest duplex offset the editor accepts, in kHz.
inline constexpr int kMaxDuplexKHz = 9999;

// Only with the extended functions on: the duplex offset and direction where the model has them,
// then attenuator, preamplifier, noise blanker, tone, tone squelch, VOX, break-in, compressor and
// AGC. Nothing waits; the buttons of the main window follow.
void SendChannelFunctions(radio::CRadioController& controller, const ChannelFunctions& functions);

}  // namespace lists
