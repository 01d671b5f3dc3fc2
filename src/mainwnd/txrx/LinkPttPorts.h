// The PTT route's ports in the running program: the radio link's driver and CAT port, and the
// remote handler's auxiliary port.
#pragma once

#include "PttPorts.h"

class CRadioLink;

namespace cat {
class CVekDriver;
}
namespace remote {
class CAuxiliaryPort;
}

namespace txrx {

class CLinkPttPorts : public IPttPorts {
public:
    // All three must outlive this object.
    CLinkPttPorts(CRadioLink& link, cat::CVekDriver& driver, remote::CAuxiliaryPort& auxiliary);

    bool DriverKeys() const override;
    bool DriverPtt(bool on) override;
    int CatPort() const override;
    cat::CSerialLine* CatLine() override;
    int AuxiliaryPort() const override;
    cat::CSerialLine* AuxiliaryLine() override;
    cat::SerialParams CatFraming() const override;
    int PortMode() const override;

private:
    CRadioLink& link_;
    cat::CVekDriver& driver_;
    remote::CAuxiliaryPort& auxiliary_;
};

}  // namespace txrx
