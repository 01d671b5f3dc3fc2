#include "SettingFrames.h"

#include "CivFrame.h"

namespace cat {

namespace {

constexpr uint8_t kSetFrequency = 0x05;
constexpr uint8_t kSetMode = 0x06;
constexpr uint8_t kSetDuplexOffset = 0x0D;
constexpr uint8_t kSplit = 0x0F;
constexpr uint8_t kAttenuator = 0x11;
constexpr uint8_t kFunction = 0x16;

// The switch a frame sets, as command and sub-command; false for anything that is no plain set.
bool SettingOf(const uint8_t* f, int length, uint8_t& command, int& sub)
{
    if (f == nullptr || length < 6 || !IsCivFrame(f, static_cast<size_t>(length)))
        return false;
    command = f[kPosCommand];
    sub = -1;
    switch (command) {
    case kSetFrequency:
        return length == 11;
    case kSetMode:
        return length == 7 || length == 8;  // mode, with or without the filter
    case kSetDuplexOffset:
        return length == 9;
    case kSplit:
        // Split off and on only: the duplex subs go with a frequency change (reverse).
        return length == 7 && (f[kPosSubCommand] == 0x00 || f[kPosSubCommand] == 0x01);
    case kAttenuator:
        return length == 7;  // a read has no sub-command
    case kFunction:
        sub = f[kPosSubCommand];
        return length == 8;  // a read has no value
    default:
        return false;
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
    return a == b && subA == subB && waiting[kPosDestination] == newer[kPosDestination] &&
           waiting[kPosSource] == newer[kPosSource];
}

}  // namespace cat
