// The recorder part: the recorder bar (tool window 252) with the program's wave engine, the
// audio settings of the link's set-up, the driver's receiver audio, the squelch that pauses a
// recording, the remote control's record, pause and play, the bar's clock, and the voice keyer's
// page (253) that sends its phrases through the bar.
#pragma once

#include "MainWindowPart.h"

namespace audio {
class WaveSystem;
}

// Over PortAudio.
std::unique_ptr<IMainWindowPart> MakeAudioRecorderPart(IMainWindowServices& services);
// Over the given devices.
std::unique_ptr<IMainWindowPart> MakeAudioRecorderPartOver(
    IMainWindowServices& services, std::unique_ptr<audio::WaveSystem> devices);
