// The radio's memory channels one at a time, over the controller: recall a channel into the VFO,
// read both VFOs, measure a repeater's duplex by keying for a moment, write the VFO into a
// channel, clear one. Every wait goes by the command's own outcome; a channel the radio leaves
// unanswered is never taken for blank. GUI thread only (the waits pump messages).
#pragma once

#include "ChannelFunctions.h"
#include "ChannelTuning.h"

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace radio {
class CRadioController;
enum class SendResult;
}  // namespace radio

namespace lists {

class ITransferHost;

enum class ChannelState {
    Present,
    Blank,       // the radio said 03 FF: nothing stored
    Unanswered,  // the radio left a command unanswered
};

// A recalled channel as the VFOs show it.
struct ChannelReading {
    ChannelTuning tuning;  // split on when VFO B holds another frequency
    // The function buttons and the duplex the radio reported; read only when asked for and with
    // the extended functions on (functionsRead).
    bool functionsRead = false;
    ChannelFunctions functions;
};

class CMemoryChannelEngine {
public:
    // The largest duplex the measurement believes, in Hz either way.
    static constexpr int64_t kMaxDuplexHz = 9999000;

    // Both must outlive the engine.
    CMemoryChannelEngine(radio::CRadioController& controller, ITransferHost& host);

    // Channels first..last: step(n), then channel(n). A channel the radio left unanswered
    // (channel(n) false) is done again from step(n): a silent radio holds the run on that channel
    // until it answers or step stops the run (the user's Abort). False when the run stopped,
    // also when the program is closing or the link can send nothing at all.
    bool ForEachChannel(int first, int last, const std::function<bool(int)>& step,
                        const std::function<bool(int)>& channel);

    // Memory mode, channel n, memory to VFO, then its frequency: one try.
    ChannelState Recall(int n);
    // After a Present recall: VFO A's mode, the function states when asked for, then VFO B by
    // exchanging the VFOs twice. False when the radio left a command unanswered.
    bool ReadVfos(ChannelReading& out, bool readFunctions);
    // Keys the transmitter and reads what it transmits on; always unkeyed on return. The offset
    // transmit minus receive in Hz; 0 for none, outside the limits or beyond kMaxDuplexHz.
    int64_t MeasureDuplex(int64_t receiveHz);

    // 08, then channel n; with wait, false when the selection went unanswered.
    bool SelectChannel(int n, bool wait);
    // 09: the VFO into the selected channel; false unless the radio took it.
    bool StoreVfo();
    // 08 (waited), channel n, 0B.
    void ClearChannel(int n);

private:
    radio::SendResult Send(uint8_t command, uint8_t sub = 0,
                           std::initializer_list<uint8_t> data = {}, bool wait = true);
    // A waited command that the radio answered (OK, data or NG).
    bool Answered(uint8_t command, uint8_t sub = 0, std::initializer_list<uint8_t> data = {});
    // 03 asked `times` times: the last frequency answered, 0 for blank; false when none was.
    bool ReadFrequency(int64_t& hz, bool& blank, int times);
    // 04 twice: the mode and filter shown into vfo; false when neither was answered.
    bool ReadMode(ChannelVfo& vfo);
    // The frequency (03 twice) and, unless blank, the mode of the VFO shown.
    bool ReadVfo(ChannelVfo& vfo);
    void ReadFunctions(ChannelReading& out);

    radio::CRadioController& controller_;
    ITransferHost& host_;
    bool dropped_ = false;  // a command was dropped: no transport, or off line
};

}  // namespace lists
