// What a stored channel (a PC memory, a sked) tunes, and the one way it is sent to the radio:
// VFO B first, then VFO A, then split, then the VFO that is to be active.
#pragma once

#include <cstdint>
#include <string>

namespace radio {
class CRadioController;
}

namespace lists {

struct ChannelVfo {
    int64_t hz = 0;
    std::string mode;  // the mode's name ("USB"); a name the program does not know sends code 0
    bool narrow = false;
};

struct ChannelTuning {
    ChannelVfo a;
    ChannelVfo b;
    bool split = false;
    bool activeB = false;
};

// Whether a channel may go to a radio with these limits (inclusive): at least one VFO inside,
// and with split on both. The language string of the refusal, 0 when it may go.
inline constexpr int kStrVfoAOutOfLimits = 116;  // "Frequency of VFO-A out of limits : ..."
inline constexpr int kStrVfoBOutOfLimits = 117;  // "Frequency of VFO-B out of limits : ..."
inline constexpr int kStrBothOutOfLimits = 118;  // "The values of VFO-A and VFO-B are out ..."
int CheckChannelLimits(const ChannelTuning& channel, int64_t low, int64_t high);

struct ChannelSendStyle {
    bool waitForSelect = false;  // wait for the answer to each VFO selection
    bool openRange = false;      // tune a VFO only strictly inside the limits
    bool selectAFirst = false;   // select VFO A (no wait) before anything else
    bool selectActive = true;    // end on the channel's active VFO (a radio channel has none)
};

// The program's number of a mode name (RadioMode); 0 (LSB) for a name it does not know, so that
// a hand-written line still sets a mode rather than leaving the radio in its old one.
int ModeNumber(const std::string& name);

// Sends the channel: a VFO outside the tuning range is left alone, the
// other one is selected, tuned and given its mode. Then split, the active VFO, and a read of
// frequency and mode (no wait). Check the limits first: nothing here refuses a channel.
void SendChannel(radio::CRadioController& controller, const ChannelTuning& channel,
                 const ChannelSendStyle& style);

}  // namespace lists
