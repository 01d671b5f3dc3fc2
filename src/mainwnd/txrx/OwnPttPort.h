// A port opened only for its PTT line, on the CAT port's back-end kind, with both control lines
// dropped at once (a tty raises them as it opens). Nothing it receives goes anywhere.
#pragma once

#include <memory>
#include <string>

#include "SerialParams.h"

namespace cat {
class CMonitoredPort;
class CSerialLine;
class CSerialLineListener;
class ISerialOwner;
}  // namespace cat

namespace txrx {

class COwnPttPort {
public:
    COwnPttPort();
    // Closes the port.
    ~COwnPttPort();
    COwnPttPort(const COwnPttPort&) = delete;
    COwnPttPort& operator=(const COwnPttPort&) = delete;

    // COMn with the framing of `params` (their line states and handshake are not used);
    // portMode 0 the listener back-end, else the monitor back-end. False when it cannot be opened.
    bool Open(int port, const cat::SerialParams& params, int portMode);
    void Close();
    // The open line, or null.
    cat::CSerialLine* Line();
    const cat::CSerialLine* Line() const;

private:
    std::unique_ptr<cat::ISerialOwner> owner_;
    std::unique_ptr<cat::CMonitoredPort> monitored_;
    std::unique_ptr<cat::CSerialLineListener> listener_;
};

}  // namespace txrx
