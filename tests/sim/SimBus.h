// A controller's end of the bus for tests of the simulated radio: sends frames, collects the raw
// bytes the radio puts out, and cuts them into frames.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "FrameParser.h"
#include "SimulatedRadio.h"

namespace simtest {

using Bytes = std::vector<uint8_t>;

// A quiet, quick radio: no echo, no latency, no pacing.
inline sim::SimConfig QuickConfig(sim::RadioModel model = sim::RadioModel::IC706MKIIG)
{
    sim::SimConfig config;
    config.model = model;
    config.echo = false;
    config.latencyMs = 0;
    config.pacing = false;
    return config;
}

class SimBus {
public:
    explicit SimBus(const sim::SimConfig& config = QuickConfig()) : radio(config)
    {
        radio.SetOutput([this](const uint8_t* bytes, size_t length) {
            std::lock_guard<std::mutex> lock(mutex_);
            raw_.insert(raw_.end(), bytes, bytes + length);
            ++deliveries_;
            changed_.notify_all();
        });
    }
    ~SimBus() { radio.SetOutput(nullptr); }

    // FE FE <radio> E0 <body> FD
    Bytes Frame(const Bytes& body, int to = -1) const
    {
        Bytes frame{0xFE, 0xFE, static_cast<uint8_t>(to < 0 ? radio.Address() : to), 0xE0};
        frame.insert(frame.end(), body.begin(), body.end());
        frame.push_back(0xFD);
        return frame;
    }

    void Send(const Bytes& bytes) { radio.Write(bytes.data(), bytes.size()); }

    // Sends the command and returns what the radio answered, without FE FE E0 <radio> and FD
    // (an empty vector when nothing came). Expects the radio to answer with one frame.
    Bytes Ask(const Bytes& body)
    {
        radio.WaitQuiet(5000);  // unasked frames of earlier front-panel actions are not answers
        Clear();
        Send(Frame(body));
        radio.WaitQuiet(5000);
        const std::vector<Bytes> frames = Frames();
        if (frames.size() != 1 || frames[0].size() < 6)
            return {};
        return Bytes(frames[0].begin() + 4, frames[0].end() - 1);
    }

    Bytes Raw() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return raw_;
    }
    int Deliveries() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return deliveries_;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        raw_.clear();
        deliveries_ = 0;
    }
    // The whole frames in what came out.
    std::vector<Bytes> Frames() const
    {
        std::vector<Bytes> frames;
        sim::FrameParser parser;
        const Bytes raw = Raw();
        parser.Feed(raw.data(), raw.size(), [&](const Bytes& f) { frames.push_back(f); });
        return frames;
    }
    bool WaitForBytes(size_t count, int timeoutMs = 5000) const
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return raw_.size() >= count; });
    }

    sim::SimulatedRadio radio;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Bytes raw_;
    int deliveries_ = 0;
};

inline const Bytes kOk{0xFB};
inline const Bytes kNg{0xFA};

}  // namespace simtest
