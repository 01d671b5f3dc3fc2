// Connects a command worker to the in-process simulated radio as a serial back-end would: the
// worker's frames are written into the radio, and what the radio puts on the bus (its echo first)
// goes through the frame assembler into the worker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "CivTransport.h"
#include "FrameAssembler.h"
#include "GestCommand.h"
#include "SimulatedRadio.h"

namespace testing_support {

class SimBus : public cat::ICivWriter {
public:
    SimBus(sim::SimulatedRadio& radio, cat::CGestCommand& worker)
        : radio_(radio),
          assembler_([&worker](const uint8_t* f, int n) { worker.PushReceivedFrame(n, f); })
    {
        radio_.SetOutput([this](const uint8_t* bytes, size_t length) {
            std::lock_guard<std::mutex> lock(mutex_);
            assembler_.Feed(bytes, length);
        });
    }
    bool WriteFrame(const uint8_t* bytes, int length) override
    {
        radio_.Write(bytes, static_cast<size_t>(length));
        return true;
    }

private:
    sim::SimulatedRadio& radio_;
    std::mutex mutex_;
    cat::CFrameAssembler assembler_;
};

}  // namespace testing_support
