// What a serial back-end tells the window that owns it. Called from the back-end's thread; the
// receiver posts to its own thread and returns at once.
#pragma once

#include <cerrno>
#include <cstdint>

#include "WindowMessages.h"

namespace cat {

// Message numbers of the serial back-ends, for the receiver's window procedure.
constexpr unsigned kSerialBreak = msg::kUser + 1;
constexpr unsigned kSerialCts = msg::kUser + 2;
constexpr unsigned kSerialError = msg::kUser + 4;
constexpr unsigned kSerialFrame = msg::kSerialBlock;  // WM_USER+10

// Errors that mean the device itself went away (an unplugged adapter, a closed pseudo-terminal).
inline bool IsLineGone(int error)
{
    return error == EIO || error == ENODEV || error == ENXIO;
}

class ISerialOwner {
public:
    virtual ~ISerialOwner() = default;
    // kSerialFrame: a frame completed while no worker was registered. The bytes live only during
    // the call, so the receiver copies them into what it posts. A length of 0 (no bytes): a frame
    // was given up as too long.
    virtual void PostSerialFrame(int port, const uint8_t* frame, int length) = 0;
    // kSerialError: a port function failed with errno `error`. An IsLineGone error means the
    // device is gone: it comes once per open, from the reading or the writing side, and the
    // port's reading thread stops.
    virtual void PostSerialError(int port, int error) = 0;
    // Other line events (kSerialCts when CTS changes).
    virtual void PostSerialEvent(int /*port*/, unsigned /*message*/) {}
};

// For a port that only switches its lines: what it receives and its errors belong to nobody (a
// failure to switch a line is reported by whoever switched it).
class CDiscardingSerialOwner : public ISerialOwner {
public:
    void PostSerialFrame(int, const uint8_t*, int) override {}
    void PostSerialError(int, int) override {}
};

}  // namespace cat
