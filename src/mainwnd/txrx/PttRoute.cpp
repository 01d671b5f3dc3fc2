#include "PttRoute.h"

#include "OwnPttPort.h"
#include "SerialLine.h"

namespace txrx {

CPttRoute::CPttRoute(IPttPorts& ports, IPttView& view) : ports_(ports), view_(view) {}

CPttRoute::~CPttRoute()
{
    Shutdown();
}

CPttRoute::Keying CPttRoute::Configured() const
{
    if (ports_.DriverKeys())
        return {Way::Driver, 0, false};
    const int port = settings_.port;
    if (port == 0)
        return {};
    const bool dtr = UsesDtr(settings_);
    if (port == ports_.CatPort())
        return {Way::CatLine, port, dtr};
    if (port == ports_.AuxiliaryPort() && ports_.AuxiliaryLine() != nullptr)
        return {Way::AuxiliaryLine, port, dtr};
    return {Way::OwnPort, port, dtr};
}

bool CPttRoute::SetPtt(bool on)
{
    const Keying now = Configured();
    if (on) {
        const bool sameWay =
            keyed_.way == now.way && keyed_.port == now.port && keyed_.dtr == now.dtr;
        // Keyed another way before the settings changed: that way is unkeyed first.
        if (on_ && !sameWay && Switch(keyed_, false)) {
            on_ = false;
            keyed_ = {};
        }
        if (now.way != Way::None && (!on_ || sameWay) && Switch(now, true)) {
            on_ = true;
            keyed_ = now;
        }
    } else {
        const Keying way = on_ ? keyed_ : now;
        if (way.way == Way::None || Switch(way, false)) {
            on_ = false;
            keyed_ = {};
        }
    }
    view_.ShowPtt(on_);
    return on_;
}

void CPttRoute::Shutdown()
{
    if (on_)
        SetPtt(false);
    if (own_) {
        // Closing the port drops its lines, whatever the last request did.
        CloseOwnPort();
        if (keyed_.way == Way::OwnPort) {
            on_ = false;
            keyed_ = {};
            view_.ShowPtt(false);
        }
    }
}

bool CPttRoute::Switch(const Keying& k, bool on)
{
    switch (k.way) {
    case Way::None: return false;
    case Way::Driver: return ports_.DriverPtt(on);
    case Way::CatLine:
    case Way::AuxiliaryLine: {
        cat::CSerialLine* line = k.way == Way::CatLine ? ports_.CatLine() : ports_.AuxiliaryLine();
        if (line == nullptr || !line->IsOpen()) {
            // A port that is not open cannot key; closing it dropped the line.
            if (on)
                view_.ShowPortFails(k.port);
            return !on;
        }
        return SwitchLine(line, k, on);
    }
    case Way::OwnPort: return on ? KeyOwnPort(k) : UnkeyOwnPort(k);
    }
    return false;
}

bool CPttRoute::SwitchLine(cat::CSerialLine* line, const Keying& k, bool on)
{
    const int value = on ? 1 : 0;
    const int error = k.dtr ? line->SetDtrControl(value) : line->SetRtsControl(value);
    if (error != 0) {
        view_.ShowPortFails(k.port);
        return false;
    }
    return true;
}

bool CPttRoute::KeyOwnPort(const Keying& k)
{
    // A second "on" asserts the line of the port already open: no second port.
    const bool opened = !own_;
    if (opened) {
        own_ = std::make_unique<COwnPttPort>();
        if (!own_->Open(k.port, ports_.CatFraming(), ports_.PortMode())) {
            own_.reset();
            view_.ShowPortFails(k.port);
            return false;
        }
    }
    if (SwitchLine(own_->Line(), k, true))
        return true;
    // A port opened for nothing goes again; one that keyed before stays for the "off".
    if (opened)
        CloseOwnPort();
    return false;
}

bool CPttRoute::UnkeyOwnPort(const Keying& k)
{
    if (!own_)
        return true;
    if (!SwitchLine(own_->Line(), k, false))
        return false;
    CloseOwnPort();
    return true;
}

void CPttRoute::CloseOwnPort()
{
    own_.reset();
}

int CPttRoute::OwnPortRts() const
{
    const cat::CSerialLine* line = own_ ? own_->Line() : nullptr;
    return line != nullptr ? line->GetRtsState() : -1;
}

int CPttRoute::OwnPortDtr() const
{
    const cat::CSerialLine* line = own_ ? own_->Line() : nullptr;
    return line != nullptr ? line->GetDtrState() : -1;
}

}  // namespace txrx
