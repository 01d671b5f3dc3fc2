// What the wave engine needs of sound devices. A device system lists input and output devices,
// tells whether one takes a format, and opens one; a device works in the format's own bytes
// (the system converts) and reports finished buffers, in the order they were handed over, by
// posting to the window the opener named:
//   msg::kWimData   an input buffer is full, or was returned by Reset (bytesRecorded tells)
//   msg::kWomDone   an output buffer has been played, or was returned by Reset
//   msg::kWomClose  the output device was closed
// wParam is the session number given at opening (so a late message of an earlier device can be
// told apart), lParam the WaveHeader's address.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MessageTarget.h"
#include "WaveFormat.h"

namespace audio {

struct WaveHeader {
    std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    std::uint32_t bytesRecorded = 0;  // input: bytes filled; output: unused
    bool prepared = false;
};

struct DeviceTarget {
    platform::MessagePoster window;
    std::uintptr_t session = 0;
};

class WaveInput {
public:
    virtual ~WaveInput() = default;  // closing: nothing is posted afterwards
    // Queues a buffer to fill; 0 on success.
    virtual int AddBuffer(WaveHeader& header) = 0;
    virtual int Start() = 0;
    // Stops and returns every queued buffer at once, the partly filled one first.
    virtual int Reset() = 0;
    // Frames captured since opening; -1 when the device cannot tell.
    virtual std::int64_t FramesDone() const = 0;
};

class WaveOutput {
public:
    virtual ~WaveOutput() = default;  // closing: posts msg::kWomClose
    // Queues a buffer of bufferLength bytes to play; 0 on success.
    virtual int Write(WaveHeader& header) = 0;
    virtual int Pause() = 0;
    virtual int Restart() = 0;
    // Stops and returns every queued buffer at once; the position starts again from 0.
    virtual int Reset() = 0;
    // Frames played since opening or the last reset; -1 when the device cannot tell.
    virtual std::int64_t FramesDone() const = 0;
};

// Device ids are indexes into InputNames() / OutputNames(); -1 is the system's default device.
class WaveSystem {
public:
    virtual ~WaveSystem() = default;
    // Why the system has no devices, when it can tell; empty otherwise.
    virtual std::string Problem() const { return {}; }
    virtual std::vector<std::string> InputNames() const = 0;
    virtual std::vector<std::string> OutputNames() const = 0;
    virtual bool CanOpenInput(int id, const WaveFormat& format) const = 0;
    virtual bool CanOpenOutput(int id, const WaveFormat& format) const = 0;
    // Nullptr when the device cannot be opened with the format.
    virtual std::unique_ptr<WaveInput> OpenInput(int id, const WaveFormat& format,
                                                 DeviceTarget target) = 0;
    virtual std::unique_ptr<WaveOutput> OpenOutput(int id, const WaveFormat& format,
                                                   DeviceTarget target) = 0;
};

}  // namespace audio
