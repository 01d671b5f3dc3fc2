// The faults a test switched on, and what they make of one answer.
#pragma once

#include <cstdint>
#include <vector>

#include "OutputQueue.h"
#include "SimTypes.h"

namespace sim {

struct PlannedOutput {
    int extraDelayMs = 0;
    OutputItem item;
};

class FaultPlan {
public:
    void Add(const Fault& fault);
    void Clear() { faults_.clear(); }

    // Whether the next command goes unheard / is refused; each use counts against the fault.
    bool TakeNoAnswer() { return Take(FaultKind::NoAnswer); }
    bool TakeNg() { return Take(FaultKind::NgToEverything); }
    // Whether this frame (FE FE to from command [sub] ...) is one a SilentCommand fault silences.
    bool TakeSilenced(const std::vector<uint8_t>& frame);

    // Turns an answer frame into what goes on the bus.
    std::vector<PlannedOutput> Plan(std::vector<uint8_t> answer, uint8_t radioAddress);

private:
    struct Active {
        Fault fault;
        int remaining;  // -1: until cleared
    };
    Active* Find(FaultKind kind);
    bool Take(FaultKind kind);

    std::vector<Active> faults_;
};

}  // namespace sim
