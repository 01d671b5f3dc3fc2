// The radio's state and behaviour with no threads or timing: commands in, answers out, front-panel
// actions in, the unasked transceive frames they cause out. The owner serialises access.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "RadioModels.h"
#include "SimTypes.h"

namespace sim {

using Bytes = std::vector<uint8_t>;
using FrameList = std::vector<Bytes>;

class RadioCore {
public:
    RadioCore(const ModelInfo& model, uint8_t address, uint64_t frequencyHz, int mode);

    const ModelInfo& Model() const { return model_; }
    uint8_t Address() const { return address_; }

    // A frame addressed to the radio (FE FE addr from cmd .. FD): its answer to `from`.
    Bytes HandleCommand(const Bytes& frame);
    // FE FE to addr FA FD.
    Bytes NgAnswer(uint8_t to) const;

    // Front panel. Each returns the transceive frames the change causes (none when off).
    FrameList TurnKnob(int steps);
    FrameList SetFrequencyByHand(uint64_t hz);
    FrameList SetModeByHand(int mode, int filter);
    FrameList SelectVfoByHand(int vfo);
    FrameList Key(bool on);
    FrameList ScanStep();

    void SetTransceive(bool on) { state_.transceive = on; }
    void SetSignals(const std::vector<SignalRange>& signals) { signals_ = signals; }
    void SetSquelchLevel(int reading);

    bool Scanning() const { return state_.scanning; }
    RadioState State() const;
    MemoryChannel Channel(int number) const;
    bool SetChannel(int number, const MemoryChannel& channel);

private:
    struct Shown {
        bool blank;
        uint64_t frequencyHz;
        int mode;
        int filter;
    };

    // Commands (CommandHandler.cpp).
    Bytes Reply(uint8_t to, uint8_t command, const Bytes& data) const;
    Bytes Ok(uint8_t to) const;
    Bytes HandleFrequency(uint8_t to, uint8_t command, const Bytes& data);
    Bytes HandleMode(uint8_t to, uint8_t command, const Bytes& data);
    Bytes HandleVfo(uint8_t to, const Bytes& data);
    Bytes HandleMemory(uint8_t to, uint8_t command, const Bytes& data);
    Bytes HandleDuplex(uint8_t to, uint8_t command, const Bytes& data);
    Bytes HandleScan(uint8_t to, const Bytes& data);
    Bytes HandleAttenuator(uint8_t to, const Bytes& data);
    Bytes HandleMeter(uint8_t to, const Bytes& data);
    Bytes HandleFunction(uint8_t to, const Bytes& data);

    // State (RadioCore.cpp).
    bool InRange(uint64_t hz) const { return civ::Receives(model_, hz); }
    // The model's channels; the array below holds the widest range of any model.
    bool HasChannel(int number) const
    {
        return number >= model_.channels.first && number <= model_.channels.last
               && number <= kLastChannel;
    }
    uint64_t Clamp(uint64_t hz) const;
    // The receive setting shown: the current VFO, or the memory channel's working copy.
    VfoSetting* Receive();
    const VfoSetting* Receive() const;
    uint64_t TransmitFrequency() const;
    Shown CurrentShown() const;
    FrameList Changes(const Shown& before) const;
    int SignalAt(uint64_t hz) const;
    bool SquelchOpen() const;
    // The setting 05 and 06 change: in memory mode the working copy, made on a blank channel.
    VfoSetting* Settable();
    void LoadWorking();
    bool StartScan();
    int NextUsedChannel(int from) const;

    const ModelInfo& model_;
    uint8_t address_;
    RadioState state_;  // the derived fields are filled by State()
    std::array<MemoryChannel, kLastChannel + 1> memories_{};  // index 0 unused
    VfoSetting working_{};  // memory mode: the channel being shown
    bool workingUsed_ = false;
    std::vector<SignalRange> signals_;
    uint64_t scanLowHz_ = 0;
    uint64_t scanHighHz_ = 0;
};

}  // namespace sim
