// Plain data of the simulated radio: its state as a test sees it, memory channels, the signal
// table and the faults a test can inject.
#pragma once

#include <cstdint>
#include <vector>

#include "ModelCaps.h"

namespace sim {

enum class Duplex { Simplex = 0, Minus = 1, Plus = 2 };

// Modes on the bus: LSB 0, USB 1, AM 2, CW 3, RTTY 4, FM 5, WFM 6. Filter 1 wide, 2 narrow.
struct VfoSetting {
    uint64_t frequencyHz = 14074000;
    int mode = 1;
    int filter = 1;
};

struct MemoryChannel {
    bool used = false;
    uint64_t frequencyHz = 0;
    int mode = 1;
    int filter = 1;
    Duplex duplex = Duplex::Simplex;
    uint32_t offsetHz = 0;
    bool tone = false;
    bool toneSquelch = false;
    // Stored with split on: the other VFO's setting, which 0A puts into the other VFO.
    bool split = false;
    VfoSetting other{};
};

// A frequency range (inclusive) where the receiver hears a signal of the given S reading 0..255.
struct SignalRange {
    uint64_t lowHz = 0;
    uint64_t highHz = 0;
    int reading = 0;
};

using civ::kFirstChannel;
using civ::kLastChannel;
using civ::kLastOrdinaryChannel;

struct RadioState {
    VfoSetting vfo[2];
    int currentVfo = 0;  // 0 VFO A, 1 VFO B
    bool memoryMode = false;
    int channel = 1;  // selected memory channel 1..101
    bool split = false;
    Duplex duplex = Duplex::Simplex;
    uint32_t offsetHz = 0;  // duplex offset, a multiple of 100 Hz
    bool attenuator = false;
    bool preamp = false;
    int agc = 1;  // 1 fast, 2 slow
    bool noiseBlanker = false;
    bool tone = false;
    bool toneSquelch = false;
    bool noiseReduction = false;  // IC-718
    bool autoNotch = false;       // IC-718
    bool vox = false;
    int breakIn = 0;  // 0 off, 1 semi, 2 full
    bool compressor = false;
    int tuningStep = 2;  // index 0..9 of the step table
    bool scanning = false;
    bool transmitting = false;
    bool transceive = true;
    bool linkUp = true;
    int squelchLevel = 40;  // the receiver opens at this S reading or above
    // What the front panel shows: the VFO or the memory channel, the transmit frequency while
    // keyed. blank: memory mode on an empty channel.
    bool blank = false;
    uint64_t frequencyHz = 0;
    int mode = 1;
    int filter = 1;
    int sReading = 0;
    bool squelchOpen = false;
};

enum class FaultKind {
    NoAnswer,         // the radio hears nothing: no answer, the command is not carried out
    NgToEverything,   // every command answered FA and not carried out
    DelayedAnswer,    // answers leave delayMs later
    RepeatedAnswer,   // each answer goes out `repeat` times
    SplitReads,       // answers leave in chunks of chunkBytes, chunkGapMs apart
    LeadingGarbage,   // garbage bytes before the answer
    CollisionByte,    // FC inside the answer (a collision spoils it)
    FeInsideFrame,    // an FE inside the answer
    LongGarbage,      // 300 bytes without FD before the answer
    NonBcdDigits,     // the first data byte of the answer is not BCD
    TruncatedAnswer,  // the last truncateBytes bytes of the answer (FD included) never come
    WrongAddress,     // the answer comes from otherAddress
    SilentCommand,  // frames with `command` (and `sub` unless -1) go unheard, the rest is answered
};

struct Fault {
    FaultKind kind = FaultKind::NoAnswer;
    int count = -1;  // answers it affects; -1 until cleared
    int delayMs = 200;
    int repeat = 2;
    int chunkBytes = 2;
    int chunkGapMs = 5;
    int position = 5;  // where CollisionByte / FeInsideFrame insert their byte
    int truncateBytes = 3;
    std::vector<uint8_t> garbage;  // LeadingGarbage's bytes; empty: 00 11 7F
    int otherAddress = -1;         // -1: an address that is not the radio's
    int command = -1;              // SilentCommand's command byte
    int sub = -1;                  // SilentCommand's sub-command byte; -1: any
};

}  // namespace sim
