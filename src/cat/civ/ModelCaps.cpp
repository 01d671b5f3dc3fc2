#include "ModelCaps.h"

#include <algorithm>
#include <cctype>

#include "CivCodes.h"

namespace civ {

namespace {

constexpr ModeInfo kModes[kModeCount] = {
    {"LSB", 0, 2},  {"USB", 1, 2}, {"AM", 2, 2},  {"CW", 3, 2},
    {"RTTY", 4, 2}, {"FM", 5, 2},  {"WFM", 6, 1},  // one filter
};

constexpr uint64_t kLowest = 30000;
constexpr uint64_t kVhfTop = 199999999;
constexpr uint64_t kUhfBottom = 400000000;
constexpr uint64_t kUhfTop = 469999999;
constexpr uint64_t kHfTop = 29999999;
// 1..99, then the band-scan edges 100 and 101.
constexpr MemoryChannels kChannels{kFirstChannel, kLastOrdinaryChannel, kLastChannel};

// clang-format off: one row per model
const ModelCaps kModels[kModelCount] = {
    {Model::IC706,
     "IC706",
     0x48,
     {kLowest, kVhfTop},
     {{kLowest, kVhfTop}},
     1,
     kModeCount,
     false,
     false,
     false,
     true,
     false,
     false,
     false,
     kChannels},
    {Model::IC706MKII,
     "IC706MKII",
     0x4E,
     {kLowest, kVhfTop},
     {{kLowest, kVhfTop}},
     1,
     kModeCount,
     false,
     false,
     false,
     true,
     false,
     false,
     false,
     kChannels},
    // No receiver between 200 and 400 MHz.
    {Model::IC706MKIIG,
     "IC706MKIIG",
     0x58,
     {kLowest, kUhfTop},
     {{kLowest, kVhfTop}, {kUhfBottom, kUhfTop}},
     2,
     kModeCount,
     true,
     true,
     true,
     true,
     true,
     false,
     true,
     kChannels},
    {Model::IC718,
     "IC718",
     0x5E,
     {kLowest, kHfTop},
     {{kLowest, kHfTop}},
     1,
     kModeFm,
     true,
     true,
     false,
     false,
     false,
     true,
     false,
     kChannels},
};
// clang-format on

std::string Normalized(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '/' || c == '-' || c == ' ')
            continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

const ModeInfo& Mode(int code)
{
    if (code < 0 || code >= kModeCount)
        return kModes[1];
    return kModes[code];
}

uint8_t FilterByte(int code, bool narrow)
{
    return narrow && Mode(code).filters >= kFilterNarrow ? kFilterNarrow : kFilterWide;
}

const ModelCaps& Caps(Model model)
{
    const ModelCaps* caps = FindCaps(static_cast<int>(model));
    return caps != nullptr ? *caps : kModels[static_cast<int>(Model::IC706MKIIG)];
}

const ModelCaps* FindCaps(int setupIndex)
{
    if (setupIndex < 0 || setupIndex >= kModelCount)
        return nullptr;
    return &kModels[setupIndex];
}

const ModelCaps* FindCapsByName(const std::string& text)
{
    const std::string name = Normalized(text);
    for (const ModelCaps& caps : kModels)
        if (name == caps.name)
            return &caps;
    return nullptr;
}

const ModelCaps* FindCapsByAddress(uint8_t address)
{
    for (const ModelCaps& caps : kModels)
        if (caps.address == address)
            return &caps;
    return nullptr;
}

bool HasMode(const ModelCaps& caps, int mode)
{
    return mode >= 0 && mode < caps.modeCount;
}

bool Receives(const ModelCaps& caps, uint64_t hz)
{
    for (int i = 0; i < caps.receiveCount; ++i)
        if (hz >= caps.receive[i].lowHz && hz <= caps.receive[i].highHz)
            return true;
    return false;
}

uint64_t NearestReceived(const ModelCaps& caps, uint64_t hz)
{
    uint64_t best = caps.receive[0].lowHz;
    uint64_t bestDistance = UINT64_MAX;
    for (int i = 0; i < caps.receiveCount; ++i) {
        const uint64_t inside = std::clamp(hz, caps.receive[i].lowHz, caps.receive[i].highHz);
        const uint64_t distance = inside > hz ? inside - hz : hz - inside;
        if (distance < bestDistance) {
            best = inside;
            bestDistance = distance;
        }
    }
    return best;
}

uint8_t ToneButtonSub(const ModelCaps* caps)
{
    return caps != nullptr && caps->nrAnfSubs ? kFuncNoiseReduction : kFuncTone;
}

uint8_t TsqlButtonSub(const ModelCaps* caps)
{
    return caps != nullptr && caps->nrAnfSubs ? kFuncAutoNotch : kFuncToneSquelch;
}

}  // namespace civ
