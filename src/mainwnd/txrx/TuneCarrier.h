// The tune button's run: remembers the mode, keys a carrier in AM for the tune time, unkeys and
// puts the mode back. The mode goes through the remote-control codes, as the extension clients
// set it, and the keying through the window, as every other caller keys; the waits keep
// messages flowing.
#pragma once

namespace txrx {

class ITuneRadio {
public:
    virtual ~ITuneRadio() = default;
    // The remote-control handler's answer to a code (kGetMode, kSetMode).
    virtual int RemoteCommand(int code, int argument) = 0;
    // Waits ms pumping messages; false when the wait ended early (the program is closing).
    virtual bool Wait(int ms) = 0;
    // Waits until what was sent went out and had its answer or its time-out; false when that
    // took too long or the program is closing: no carrier before the radio is in AM.
    virtual bool WaitForRadio() = 0;
    // Keys through the window, which refuses while closing or off line; the state afterwards.
    virtual bool Key(bool on) = 0;
};

class CTuneCarrier {
public:
    // The radio must outlive the carrier.
    explicit CTuneCarrier(ITuneRadio& radio);

    // The button's new state. With the button on and a tune time, the whole run happens here;
    // with no tune time the mode is only remembered and the button stays on until its next
    // click unkeys and restores. Returns the button's state afterwards.
    bool OnTune(bool buttonOn, int tuneSeconds, int delayCommandMs);

private:
    void RestoreMode();

    ITuneRadio& radio_;
    int savedMode_ = 0;  // a remote mode number (1 LSB .. 7 WFM), 0 none
};

}  // namespace txrx
