// What a memory transfer needs of the main window besides the controller: waits that keep
// messages flowing, and the transmitter's key for the duplex measurement.
#pragma once

namespace lists {

class ITransferHost {
public:
    virtual ~ITransferHost() = default;
    // False when the wait ended early (the program is closing).
    virtual bool WaitPumpingMessages(int ms) = 0;
    virtual void SetPtt(bool on) = 0;
};

}  // namespace lists
