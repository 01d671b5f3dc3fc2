// Keys and unkeys the transmitter by the configured route: the driver library, the RTS or DTR
// line of the CAT port, of the remote clients' auxiliary port, or of a port of PTT's own opened
// with the CAT port's framing. Every request ends in the real state: a refused or failed "on"
// leaves it off, a failed "off" leaves it on so that the next "off" tries again. An "off" always
// unkeys the way the transmitter was keyed, even when the settings changed since.
// GUI thread only.
#pragma once

#include <memory>

#include "PttPorts.h"
#include "PttSettings.h"

namespace txrx {

class COwnPttPort;

// "The serial port COM:%1 does not work."
inline constexpr int kMsgPttPortFails = 1248;

class IPttView {
public:
    virtual ~IPttView() = default;
    // The PTT button and the published transmit state; after every request.
    virtual void ShowPtt(bool on) = 0;
    // Message kMsgPttPortFails with the port that failed.
    virtual void ShowPortFails(int port) = 0;
};

class CPttRoute {
public:
    // Both must outlive the route, whose end still unkeys through them.
    CPttRoute(IPttPorts& ports, IPttView& view);
    // Unkeys (Shutdown).
    ~CPttRoute();
    CPttRoute(const CPttRoute&) = delete;
    CPttRoute& operator=(const CPttRoute&) = delete;

    // Taken again after the settings dialog; a keyed transmitter stays keyed until "off".
    void SetSettings(const PttSettings& settings) { settings_ = settings; }
    const PttSettings& Settings() const { return settings_; }

    // Returns the state afterwards (true: transmitting).
    bool SetPtt(bool on);
    bool IsOn() const { return on_; }
    // Unkeys; a port of its own is closed even when its line refused to drop (closing drops it).
    void Shutdown();

    // The own port's recorded RTS and DTR states (-1 while it is not open).
    int OwnPortRts() const;
    int OwnPortDtr() const;

private:
    enum class Way { None, Driver, CatLine, AuxiliaryLine, OwnPort };
    struct Keying {
        Way way = Way::None;
        int port = 0;
        bool dtr = false;
    };

    Keying Configured() const;
    // Switches the line of one way; false when it failed (already told to the view).
    bool Switch(const Keying& k, bool on);
    bool SwitchLine(cat::CSerialLine* line, const Keying& k, bool on);
    bool KeyOwnPort(const Keying& k);
    bool UnkeyOwnPort(const Keying& k);
    void CloseOwnPort();

    IPttPorts& ports_;
    IPttView& view_;
    PttSettings settings_;
    bool on_ = false;
    Keying keyed_;  // how the transmitter was keyed, while it is
    std::unique_ptr<COwnPttPort> own_;
};

}  // namespace txrx
