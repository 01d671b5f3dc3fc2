// An IC-706-family CI-V radio in software: the stand-in for a transceiver on the CI-V bus.
// Bytes the controller writes go in through Write(); everything the radio puts on the bus
// (the echo of what it heard, when switched on, then its answers) comes out through the output
// callback, from the radio's own thread, paced like the configured baud rate when pacing is on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sim {

enum class RadioModel { IC706, IC706MKII, IC706MKIIG, IC718 };

// Parses "IC706", "IC706MKII", "IC706MKIIG" (also "IC706MKII/G"), "IC718", case-insensitively.
bool ParseRadioModel(const std::string& text, RadioModel& model);
const char* RadioModelName(RadioModel model);
uint8_t DefaultAddress(RadioModel model);

struct SimConfig {
    RadioModel model = RadioModel::IC706MKIIG;
    int address = -1;            // -1: the model's default address
    int latencyMs = 20;          // delay before an answer
    int baud = 19200;            // bus speed for pacing (10 bits a byte)
    bool pacing = true;          // bytes leave at the pace of the baud rate
    bool echo = true;            // echo every received byte first, as on the one-wire bus
    uint64_t frequencyHz = 14074000;
    int mode = 1;                // USB
};

struct RecordedFrame {
    bool fromRadio;              // false: received from the controller, true: sent by the radio
    std::vector<uint8_t> bytes;  // a whole frame FE FE .. FD (echoes are not recorded)
};

class SimulatedRadio {
public:
    using Output = std::function<void(const uint8_t* bytes, size_t length)>;

    explicit SimulatedRadio(const SimConfig& config = SimConfig{});
    ~SimulatedRadio();
    SimulatedRadio(const SimulatedRadio&) = delete;
    SimulatedRadio& operator=(const SimulatedRadio&) = delete;

    // Set before the first Write; called from the radio's thread.
    void SetOutput(Output output);
    // Bytes from the controller, in any split; the radio assembles frames itself.
    void Write(const uint8_t* bytes, size_t length);

    // Everything the radio received and sent, in order, as whole frames.
    std::vector<RecordedFrame> Frames() const;
    void ClearFrames();
    // Blocks until nothing is waiting to be answered or sent (or the time-out passes).
    bool WaitQuiet(int timeoutMs = 2000) const;

    // ... state access, the front panel (knob, keying, signal table), transceive, link drop
    // and fault injection: see the rest of this header.

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sim
