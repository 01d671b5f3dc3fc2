#include "OwnPttPort.h"

#include "MonitoredPort.h"
#include "SerialLineListener.h"
#include "SerialOwner.h"

namespace txrx {

COwnPttPort::COwnPttPort() : owner_(std::make_unique<cat::CDiscardingSerialOwner>()) {}

COwnPttPort::~COwnPttPort()
{
    Close();
}

bool COwnPttPort::Open(int port, const cat::SerialParams& params, int portMode)
{
    Close();
    cat::SerialParams p = params;
    p.rts = 0;
    p.dtr = 0;
    p.handshake = cat::kHandshakeOff;
    if (portMode != 0) {
        auto serial = std::make_unique<cat::CMonitoredPort>();
        if (!serial->InitPort(owner_.get(), port, p))
            return false;
        monitored_ = std::move(serial);
    } else {
        auto serial = std::make_unique<cat::CSerialLineListener>();
        if (!serial->OpenPort(owner_.get(), port, p))
            return false;
        listener_ = std::move(serial);
    }
    return true;
}

void COwnPttPort::Close()
{
    if (monitored_) {
        monitored_->Close();
        monitored_.reset();
    }
    if (listener_) {
        listener_->Close();
        listener_.reset();
    }
}

cat::CSerialLine* COwnPttPort::Line()
{
    if (monitored_)
        return &monitored_->Line();
    return listener_.get();
}

const cat::CSerialLine* COwnPttPort::Line() const
{
    if (monitored_)
        return &monitored_->Line();
    return listener_.get();
}

}  // namespace txrx
