#include "LinkPttPorts.h"

#include "AuxiliaryPort.h"
#include "MonitoredPort.h"
#include "RadioLink.h"
#include "SerialLineListener.h"
#include "VekDriver.h"

namespace txrx {

CLinkPttPorts::CLinkPttPorts(CRadioLink& link, cat::CVekDriver& driver, AuxiliaryPortFn auxiliary)
    : link_(link), driver_(driver), auxiliary_(std::move(auxiliary))
{
}

bool CLinkPttPorts::DriverKeys() const
{
    return link_.UsesDriver() && link_.DriverSupportsPtt() && driver_.IsLoaded();
}

bool CLinkPttPorts::DriverPtt(bool on)
{
    return driver_.PTT(on ? 1 : 0) != 0;
}

int CLinkPttPorts::CatPort() const
{
    return link_.UsesDriver() ? 0 : link_.Settings().id.port;
}

cat::CSerialLine* CLinkPttPorts::CatLine()
{
    if (cat::CMonitoredPort* monitored = link_.MonitoredPort())
        return &monitored->Line();
    return link_.ListenerPort();
}

int CLinkPttPorts::AuxiliaryPort() const
{
    const remote::CAuxiliaryPort* port = auxiliary_ ? auxiliary_() : nullptr;
    return port != nullptr ? port->Port() : 0;
}

cat::CSerialLine* CLinkPttPorts::AuxiliaryLine()
{
    remote::CAuxiliaryPort* port = auxiliary_ ? auxiliary_() : nullptr;
    return port != nullptr ? port->Line() : nullptr;
}

cat::SerialParams CLinkPttPorts::CatFraming() const
{
    return CatPortFraming(link_.Settings());
}

int CLinkPttPorts::PortMode() const
{
    return link_.Settings().portMode;
}

}  // namespace txrx
