#include "ChannelTuning.h"

#include "AsciiCase.h"
#include "CivCodes.h"
#include "RadioController.h"
#include "RadioModes.h"

namespace lists {

namespace {

bool Inside(int64_t hz, int64_t low, int64_t high, bool open)
{
    return open ? (low < hz && hz < high) : (low <= hz && hz <= high);
}

}  // namespace

int CheckChannelLimits(const ChannelTuning& channel, int64_t low, int64_t high)
{
    const bool a = Inside(channel.a.hz, low, high, false);
    const bool b = Inside(channel.b.hz, low, high, false);
    if (!a && !b)
        return kStrBothOutOfLimits;
    if (channel.split && !a)
        return kStrVfoAOutOfLimits;
    if (channel.split && !b)
        return kStrVfoBOutOfLimits;
    return 0;
}

int ModeNumber(const std::string& name)
{
    const radio::ModeInfo* table = radio::ModeTable();
    for (int m = 0; m < radio::kModeCount; ++m)
        if (platform::AsciiIEquals(name, table[m].name))
            return m;
    return radio::kLsb;
}

void SendChannel(radio::CRadioController& controller, const ChannelTuning& channel,
                 const ChannelSendStyle& style)
{
    const radio::RadioState& state = controller.State();
    const int64_t low = state.lowerLimit;
    const int64_t high = state.upperLimit;
    if (style.selectAFirst)
        controller.SendCommand(civ::kCmdVfo, civ::kVfoA);
    for (const bool a : {false, true}) {
        const ChannelVfo& vfo = a ? channel.a : channel.b;
        if (Inside(vfo.hz, low, high, style.openRange))
            controller.TuneVfo(a ? radio::kVfoA : radio::kVfoB, vfo.hz, ModeNumber(vfo.mode),
                               vfo.narrow, style.waitForSelect);
    }
    controller.SendSplit(channel.split);
    if (style.selectActive)
        controller.ActivateVfo(channel.activeB ? radio::kVfoB : radio::kVfoA, style.waitForSelect);
    controller.ReadFrequencyMode(false);
}

}  // namespace lists
