// What the command worker writes frames through: the driver library or a serial back-end.
#pragma once

#include <cstdint>

namespace cat {

class ICivWriter {
public:
    virtual ~ICivWriter() = default;
    // Writes one whole frame; called from the worker thread only. Bounded in time unless MayHang:
    // the worker waits for the answer afterwards whatever the result.
    virtual bool WriteFrame(const uint8_t* bytes, int length) = 0;
    // Whether a write may hang in code outside the program, and then be left running when the
    // worker stops: true only for a writer that touches nothing of itself once that code returns.
    virtual bool MayHang() const { return false; }
};

}  // namespace cat
