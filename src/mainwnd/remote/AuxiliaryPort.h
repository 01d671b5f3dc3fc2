// The auxiliary serial port that other programs open through the extension protocol (codes 45 to
// 48), beside the CAT port: opened with the CAT port's framing and both control lines off, used
// only for its RTS and DTR lines. With the driver library in use, the driver does all of it.
// GUI thread only.
#pragma once

#include <memory>

#include "SerialOwner.h"

class CIni;
class CRadioLink;

namespace cat {
class CMonitoredPort;
class CSerialLine;
class CSerialLineListener;
class CVekDriver;
}  // namespace cat

namespace remote {

class CAuxiliaryPort {
public:
    // Answers of Open.
    enum OpenResult : int {
        kOpened = 0,
        kBadPort = 1,
        kIsCatPort = 2,
        kAlreadyOpen = 3,
        kOpenFailed = 4,
    };
    // The line argument's low word.
    enum Line : int { kAuxiliaryLine = 0, kCatLine = 1 };

    CAuxiliaryPort(const CIni& ini, CRadioLink& link, cat::CVekDriver& driver);
    ~CAuxiliaryPort();
    CAuxiliaryPort(const CAuxiliaryPort&) = delete;
    CAuxiliaryPort& operator=(const CAuxiliaryPort&) = delete;

    int Open(int port);
    // Forgets the port and stops and deletes its serial object; 0.
    int Close();
    // argument: low word the line (0 auxiliary, 1 CAT), high word the state (0 off, 1 on).
    // 0 when set, -1 when it failed or the line or port is not there.
    int SetDtr(int argument) { return SetControlLine(argument, true); }
    int SetRts(int argument) { return SetControlLine(argument, false); }

    // The open port's number, 0 when none.
    int Port() const { return port_; }
    // The auxiliary serial object's line; null when there is none (closed, or the driver's).
    cat::CSerialLine* Line();
    // The DTR and RTS states of the auxiliary serial object; -1 when there is none.
    int DtrState() const;
    int RtsState() const;

private:
    int SetControlLine(int argument, bool dtr);
    bool UsesDriver() const;

    const CIni& ini_;
    CRadioLink& link_;
    cat::CVekDriver& driver_;
    std::unique_ptr<cat::ISerialOwner> owner_;
    int port_ = 0;
    std::unique_ptr<cat::CMonitoredPort> monitored_;
    std::unique_ptr<cat::CSerialLineListener> listener_;
};

}  // namespace remote
