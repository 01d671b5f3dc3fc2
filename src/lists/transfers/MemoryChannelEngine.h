// The radio's memory channels one at a time, over the controller: recall a channel into the VFO,
// read both VFOs, measure a repeater's duplex by keying for a moment, write the VFO into a
// channel, clear one. Every wait goes by the command's own outcome; a channel the radio leaves
// unanswered is never taken for blank. GUI thread only (the waits pump messages).
#pragma once

#include "ChannelFunctions.h"
#include "ChannelTuning.h"

#include <cstdint>
#include <initializer_list>

namespace radio {
class CRadioController;
}

namespace lists {

class ITransferHost;

enum class ChannelState {
    Present,
    Blank,       // the radio said 03 FF: nothing stored
    Unanswered,  // the radio stayed silent through every try
};

// A recalled channel as the VFOs show it.
struct ChannelReading {
    ChannelTuning tuning;  // split on when VFO B holds another frequency
    // The function buttons and the duplex the radio reported; read only with the extended
    // functions on (functionsRead).
    bool functionsRead = false;
    ChannelFunctions functions;
};

class CMemoryChannelEngine {
public:
    static constexpr int kTries = 3;
    // The largest duplex the measurement believes, in Hz either way.
    static constexpr int64_t kMaxDuplexHz = 9999000;

    // Both must outlive the engine.
    CMemoryChannelEngine(radio::CRadioController& controller, ITransferHost& host);

    // Memory mode, channel n, memory to VFO, its frequency: up to kTries times while the radio
    // leaves one of them unanswered.
    ChannelState Recall(int n);
    // After a Present recall: mode, the functions, then VFO B by exchanging the VFOs twice.
    // False when the radio left a command unanswered.
    bool ReadVfos(ChannelReading& out);
    // Keys the transmitter and reads what it transmits on; always unkeyed on return. The offset
    // transmit minus receive in Hz; 0 for none, outside the limits or beyond kMaxDuplexHz.
    int64_t MeasureDuplex(int64_t receiveHz);

    // 08, then channel n; with wait, false when the selection went unanswered.
    bool SelectChannel(int n, bool wait);
    // 09: the VFO into the selected channel; false unless the radio took it.
    bool StoreVfo();
    // 08, channel n, 0B (no waits).
    void ClearChannel(int n);

private:
    // A waited command that the radio answered (OK, data or NG).
    bool Answered(uint8_t command, uint8_t sub = 0, std::initializer_list<uint8_t> data = {});
    // 03: the frequency shown, 0 for blank; false when unanswered.
    bool ReadFrequency(int64_t& hz, bool& blank);
    bool ReadVfo(ChannelVfo& vfo);

    radio::CRadioController& controller_;
    ITransferHost& host_;
};

}  // namespace lists
