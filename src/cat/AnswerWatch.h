// Whether the radio is answering: the commands the worker gave up unanswered, each until the
// radio answers that command again, or until it has answered others for a while (a dropped
// command that is never sent again must not keep the state for ever). Worker thread only.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

namespace cat {

class CAnswerWatch {
public:
    using Clock = std::chrono::steady_clock;

    // The command and sub-command of a frame to the radio, as one number.
    static int KeyOf(const uint8_t* frame, int length);

    // Each returns true when the state (IsSilent) changed.
    bool OnDropped(int key, Clock::time_point now);
    // `forgetAfter`: how long after its last drop a command stops counting once others answer.
    bool OnAnswered(int key, Clock::time_point now, Clock::duration forgetAfter);
    void Reset() { used_ = {}; }

    bool IsSilent() const;

private:
    static constexpr size_t kKeys = 16;
    std::array<int, kKeys> keys_{};
    std::array<Clock::time_point, kKeys> dropped_{};
    std::array<bool, kKeys> used_{};
};

}  // namespace cat
