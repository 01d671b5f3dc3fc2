#include "AuxiliaryPort.h"

#include "Ini.h"
#include "MonitoredPort.h"
#include "RadioLink.h"
#include "SerialLineListener.h"
#include "VekDriver.h"

namespace remote {

CAuxiliaryPort::CAuxiliaryPort(const CIni& ini, CRadioLink& link, cat::CVekDriver& driver)
    : ini_(ini),
      link_(link),
      driver_(driver),
      owner_(std::make_unique<cat::CDiscardingSerialOwner>())
{
}

CAuxiliaryPort::~CAuxiliaryPort()
{
    if (monitored_ || listener_)
        Close();
}

bool CAuxiliaryPort::UsesDriver() const
{
    return link_.UsesDriver() && driver_.IsLoaded();
}

int CAuxiliaryPort::Open(int port)
{
    if (port_ != 0)
        return kAlreadyOpen;
    if (port < 1)
        return kBadPort;
    if (UsesDriver()) {
        driver_.OpenCom(port);
        port_ = port;
        return kOpened;
    }
    if (port == ini_.GetInt(settings::setup::Porta))
        return kIsCatPort;

    const cat::SerialParams params = CatPortFraming(link_.Settings());
    if (ini_.GetInt(settings::setup::PortaModo) != 0) {
        auto serial = std::make_unique<cat::CMonitoredPort>();
        if (!serial->InitPort(owner_.get(), port, params) || !serial->StartMonitoring())
            return kOpenFailed;
        monitored_ = std::move(serial);
    } else {
        auto serial = std::make_unique<cat::CSerialLineListener>();
        if (!serial->OpenPort(owner_.get(), port, params) || serial->StartListener() != 0)
            return kOpenFailed;
        listener_ = std::move(serial);
    }
    port_ = port;
    return kOpened;
}

int CAuxiliaryPort::Close()
{
    port_ = 0;
    if (monitored_) {
        monitored_->StopMonitoring();
        monitored_->Close();
        monitored_.reset();
    }
    if (listener_) {
        listener_->StopListener(-1);
        listener_->Close();
        listener_.reset();
    }
    if (UsesDriver())
        driver_.CloseCom();
    return 0;
}

int CAuxiliaryPort::SetControlLine(int argument, bool dtr)
{
    const int line = argument & 0xFFFF;
    const int state = (argument >> 16) & 0xFFFF;
    if (UsesDriver()) {
        if (dtr)
            driver_.SetDTR(argument, state);
        else
            driver_.SetRTS(argument, state);
        return 0;
    }
    if ((line != kAuxiliaryLine && line != kCatLine) || (state != 0 && state != 1))
        return -1;
    cat::CMonitoredPort* monitored =
        line == kAuxiliaryLine ? monitored_.get() : link_.MonitoredPort();
    cat::CSerialLineListener* listener =
        line == kAuxiliaryLine ? listener_.get() : link_.ListenerPort();
    if (monitored != nullptr)
        return (dtr ? monitored->SetDtrControl(state) : monitored->SetRtsControl(state)) ? 0 : -1;
    if (listener != nullptr && listener->IsOpen())
        return (dtr ? listener->SetDtrControl(state) : listener->SetRtsControl(state)) == 0 ? 0
                                                                                            : -1;
    return -1;
}

cat::CSerialLine* CAuxiliaryPort::Line()
{
    if (monitored_)
        return &monitored_->Line();
    return listener_.get();
}

int CAuxiliaryPort::DtrState() const
{
    if (monitored_)
        return monitored_->Line().GetDtrState();
    if (listener_)
        return listener_->GetDtrState();
    return -1;
}

int CAuxiliaryPort::RtsState() const
{
    if (monitored_)
        return monitored_->Line().GetRtsState();
    if (listener_)
        return listener_->GetRtsState();
    return -1;
}

}  // namespace remote
