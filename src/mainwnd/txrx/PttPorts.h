// What the PTT route needs from the rest of the program: the driver's keying, the CAT port's
// open line and framing, and the auxiliary port that remote clients opened. The link's adapter
// (LinkPttPorts) answers for the running program; tests answer with lines of their own.
#pragma once

#include "SerialParams.h"

namespace cat {
class CSerialLine;
}

namespace txrx {

class IPttPorts {
public:
    virtual ~IPttPorts() = default;
    // The link goes through the driver library and the driver keys the radio.
    virtual bool DriverKeys() const = 0;
    // DrvPTT; false when the driver did not do it.
    virtual bool DriverPtt(bool on) = 0;
    // Setup/"Porta" (0 with the driver) and its line while it is open (null when closed).
    virtual int CatPort() const = 0;
    virtual cat::CSerialLine* CatLine() = 0;
    // The remote clients' auxiliary port (0 none) and its serial line (null when it has none).
    virtual int AuxiliaryPort() const = 0;
    virtual cat::CSerialLine* AuxiliaryLine() = 0;
    // The CAT port's framing and the back-end it runs on (Setup/"PortaModo": 0 listener).
    virtual cat::SerialParams CatFraming() const = 0;
    virtual int PortMode() const = 0;
};

}  // namespace txrx
