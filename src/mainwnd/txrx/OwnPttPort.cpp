#include "OwnPttPort.h"

#include "MonitoredPort.h"
#include "SerialLineListener.h"
#include "SerialOwner.h"

namespace txrx {

namespace {

// The port only keys: its bytes and errors belong to nobody (a failure to switch the line is
// reported by the route).
class DiscardingOwner : public cat::ISerialOwner {
public:
    void PostSerialFrame(int, const uint8_t*, int) override {}
    void PostSerialError(int, int) override {}
};

}  // namespace

COwnPttPort::COwnPttPort() : owner_(std::make_unique<DiscardingOwner>()) {}

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
