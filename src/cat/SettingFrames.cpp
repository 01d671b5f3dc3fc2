#include "SettingFrames.h"

#include "CivFrame.h"

namespace cat {

namespace {

// The switch a frame sets, as command and sub-command; false for anything that is no plain set.
bool SettingOf(const uint8_t* f, int length, uint8_t& command, int& sub)
{
    if (f == nullptr || length < 6 || !IsCivFrame(f, static_cast<size_t>(length)))
        return false;
    command = f[kPosCommand];
    sub = -1;
    switch (command) {
    case civ::kCmdSetFrequency: return length == 11;
    case civ::kCmdSetMode: return length == 7 || length == 8;  // mode, with or without the filter
    case civ::kCmdSetOffset: return length == 9;
    case civ::kCmdSplitDuplex:
        // Split off and on only: the duplex subs go with a frequency change (reverse).
        return length == 7
               && (f[kPosSubCommand] == civ::kSplitOff || f[kPosSubCommand] == civ::kSplitOn);
    case civ::kCmdAttenuator: return length == 7;  // a read has no sub-command
    case civ::kCmdFunction: sub = f[kPosSubCommand]; return length == 8;  // a read has no value
    default: return false;
    }
}

}  // namespace

bool SetsSameSetting(const uint8_t* waiting, int waitingLength, const uint8_t* newer,
                     int newerLength)
{
    uint8_t a = 0, b = 0;
    int subA = -1, subB = -1;
    if (!SettingOf(waiting, waitingLength, a, subA) || !SettingOf(newer, newerLength, b, subB))
        return false;
    return a == b && subA == subB && waiting[kPosDestination] == newer[kPosDestination]
           && waiting[kPosSource] == newer[kPosSource];
}

}  // namespace cat
