// The PTT route's ports in the running program: the radio link's driver and CAT port, and the
// remote handler's auxiliary port.
#pragma once

#include "PttPorts.h"

#include <functional>

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
    // The auxiliary port is asked for at each use (null while nobody holds one); link and driver
    // must outlive this object.
    using AuxiliaryPortFn = std::function<remote::CAuxiliaryPort*()>;
    CLinkPttPorts(CRadioLink& link, cat::CVekDriver& driver, AuxiliaryPortFn auxiliary);

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
    AuxiliaryPortFn auxiliary_;
};

}  // namespace txrx
