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

#include "ModelCaps.h"
#include "SimTypes.h"

namespace sim {

using RadioModel = civ::Model;

// Parses "IC706", "IC706MKII", "IC706MKIIG" (also "IC706MKII/G"), "IC718", case-insensitively.
bool ParseRadioModel(const std::string& text, RadioModel& model);
const char* RadioModelName(RadioModel model);
uint8_t DefaultAddress(RadioModel model);

struct SimConfig {
    RadioModel model = RadioModel::IC706MKIIG;
    int address = -1;    // -1: the model's default address
    int latencyMs = 20;  // delay before an answer
    int baud = 19200;    // bus speed for pacing (10 bits a byte)
    bool pacing = true;  // bytes leave at the pace of the baud rate
    bool echo = true;    // echo every received byte first, as on the one-wire bus
    uint64_t frequencyHz = 14074000;
    int mode = 1;         // USB
    int scanStepMs = 50;  // time between two scan steps
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

    // Set before the first Write; called from the radio's thread. Replacing it waits for a call
    // in progress, so after SetOutput(nullptr) returns the old callback is never called again.
    void SetOutput(Output output);
    // Bytes from the controller, in any split; the radio assembles frames itself.
    void Write(const uint8_t* bytes, size_t length);

    // Everything the radio received and sent, in order, as whole frames. Frames received are
    // recorded whatever their address; answers as they leave (after NG, non-BCD and
    // wrong-address faults, before the byte-level ones).
    std::vector<RecordedFrame> Frames() const;
    void ClearFrames();
    // Blocks until nothing is waiting to be answered or sent (or the time-out passes).
    bool WaitQuiet(int timeoutMs = 2000) const;
    // Blocks until the predicate holds for the state (or the time-out passes).
    bool WaitForState(const std::function<bool(const RadioState&)>& predicate,
                      int timeoutMs = 5000) const;

    // State.
    RadioModel Model() const;
    uint8_t Address() const;
    RadioState State() const;
    MemoryChannel Channel(int number) const;  // blank for a number outside 1..101
    bool SetChannel(int number, const MemoryChannel& channel);

    // Bus behaviour.
    void SetEcho(bool on);
    void SetPacing(bool on, int baud);
    void SetLatency(int ms);
    void SetTransceive(bool on);  // unasked 00/01 frames on front-panel changes

    // The front panel, as a person would use it.
    void TurnKnob(int steps);              // by the tuning step, up or down
    void SetFrequencyByHand(uint64_t hz);  // clamped to the band edges
    void SetModeByHand(int mode, int filter);
    void SelectVfoByHand(int vfo);  // 0 A, 1 B; leaves memory mode
    void Key(bool on);              // transmit / receive
    void SetSignals(const std::vector<SignalRange>& signals);
    void SetSquelchLevel(int reading);
    void StepScan();  // one scan step now, when scanning

    // The link: down, the radio hears nothing and says nothing.
    void SetLinkUp(bool up);
    bool LinkUp() const;

    // Faults on the radio's answers (several may be active together).
    void InjectFault(const Fault& fault);
    void ClearFaults();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sim
