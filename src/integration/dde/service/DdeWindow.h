// What the DDE service needs of the main window: the radio facts it publishes with, and the
// operations an Execute command runs, as the window's buttons would.
#pragma once

#include <cstdint>

namespace dde {

class IDdeWindow {
public:
    virtual ~IDdeWindow() = default;

    virtual bool IsTransmitting() const = 0;
    virtual bool IsSplitOn() const = 0;
    virtual int64_t LowerLimit() const = 0;
    virtual int64_t UpperLimit() const = 0;
    // The length of the current mode list (the model's modes, in the program's numbering).
    virtual int ModeCount() const = 0;
    // False while a change could not reach the radio (off line, or the radio does not answer).
    virtual bool TakesRadioChanges() const = 0;

    virtual void SetPtt(bool on) = 0;
    virtual void OnVfoEqual() = 0;
    virtual void OnSplit() = 0;
    virtual void SelectVfoA() = 0;
    virtual void SelectVfoB() = 0;
    virtual void SetFilter(bool narrow) = 0;
    // Shows and sends a frequency within the limits, over what the user may be typing; false
    // when it could not be sent.
    virtual bool SetFrequency(int64_t hz) = 0;
    // False when the mode could not be sent.
    virtual bool SetModeIndex(int mode) = 0;
};

}  // namespace dde
