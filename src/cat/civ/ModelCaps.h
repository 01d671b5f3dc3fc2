// What each radio model can do, one table shared by the controller and the simulated radio:
// modes, receive ranges, which commands and function sub-commands it answers, its memory channels.
#pragma once

#include <cstdint>
#include <string>

namespace civ {

// The models by their Setup/"RTX" index.
enum class Model : int { IC706 = 0, IC706MKII = 1, IC706MKIIG = 2, IC718 = 3 };

// Modes on the bus by their code; filter bytes run from 1 (wide) to `filters` (2: narrow).
struct ModeInfo {
    const char* name;
    uint8_t code;
    uint8_t filters;
};
constexpr int kModeCount = 7;  // LSB USB AM CW RTTY FM WFM
constexpr uint8_t kModeFm = 5;
constexpr uint8_t kModeWfm = 6;
constexpr uint8_t kFilterWide = 1;
constexpr uint8_t kFilterNarrow = 2;
const ModeInfo& Mode(int code);  // USB for a code outside 0..6
// The filter byte of an 06 for the mode: narrow only where the mode has a second filter (WFM
// always sends 1).
uint8_t FilterByte(int code, bool narrow);

struct FrequencyRange {
    uint64_t lowHz;
    uint64_t highHz;
};

// A model's memory channels: first..lastOrdinary hold channels, up to last the band-scan edges.
struct MemoryChannels {
    int first;
    int lastOrdinary;
    int last;
};

struct ModelCaps {
    Model model;
    const char* name;           // as radiosim and the settings spell it
    uint8_t address;            // default bus address, also the ID it reports
    FrequencyRange bandEdges;   // what 02 reports, and the default tuning range
    FrequencyRange receive[2];  // what the receiver covers, inside the band edges
    int receiveCount;
    int modeCount;      // modes 0..modeCount-1 (5: no FM, no WFM)
    bool attenuator;    // 11
    bool functions;     // 16; the extended functions are on by default
    bool duplexOffset;  // 0C, 0D
    bool duplexShift;   // 0F 11 and 0F 12, the DUP buttons
    bool toneSubs;      // 16 42, 16 43
    bool nrAnfSubs;     // 16 40, 16 41, on the Tone and TSQL buttons
    bool extendedId;    // its ID reply turns the extended functions on
    MemoryChannels channels;
};

// The widest channel range of any model (each model's own is in its table row).
constexpr int kFirstChannel = 1;
constexpr int kLastOrdinaryChannel = 99;
constexpr int kLastChannel = 101;

constexpr int kModelCount = 4;
const ModelCaps& Caps(Model model);
// The model of a Setup/"RTX" index; nullptr for an unknown model or "other".
const ModelCaps* FindCaps(int setupIndex);
// "IC706", "IC706MKII", "IC706MKIIG" (also "IC706MKII/G"), "IC718", case-insensitively.
const ModelCaps* FindCapsByName(const std::string& text);
// The model whose default address (its ID) this is; nullptr for none.
const ModelCaps* FindCapsByAddress(uint8_t address);

bool HasMode(const ModelCaps& caps, int mode);
// Whether the model's receiver covers the frequency.
bool Receives(const ModelCaps& caps, uint64_t hz);
// The covered frequency nearest to hz (the lower one of two at equal distance).
uint64_t NearestReceived(const ModelCaps& caps, uint64_t hz);
// The sub-commands the Tone and TSQL buttons send (NR and ANF where the model has them).
uint8_t ToneButtonSub(const ModelCaps* caps);
uint8_t TsqlButtonSub(const ModelCaps* caps);

}  // namespace civ
