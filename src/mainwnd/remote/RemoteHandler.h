// The remote-control handler: answers the extension protocol's codes (RemoteCodes.h) from other
// programs (and from the TX/RX window) over the radio controller, and announces changes to the
// registered clients. Requests arrive through the cross-process server it owns, on the GUI
// thread; everything here is for the GUI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "AuxiliaryPort.h"
#include "RemoteCodes.h"
#include "RemoteWindow.h"

class CIni;
class CRadioLink;

namespace cat {
class CVekDriver;
}

namespace platform {
class IpcServer;
}

namespace radio {
class CRadioController;
class IRadioView;
}  // namespace radio

namespace remote {

// The version text without its dots as a number, multiplied by 10 while below 1000, at most three
// times ("1.2.3" 1230, "2.05" 2050); text that does not start with a digit gives 0.
int VersionNumber(const std::string& versionText);

class CRemoteHandler {
public:
    // Everything passed in must outlive the handler.
    CRemoteHandler(radio::CRadioController& controller, radio::IRadioView& view, CIni& ini,
                   CRadioLink& link, cat::CVekDriver& driver, IRemoteWindow& window);
    ~CRemoteHandler();
    CRemoteHandler(const CRemoteHandler&) = delete;
    CRemoteHandler& operator=(const CRemoteHandler&) = delete;

    void SetVersionText(const std::string& text) { versionText_ = text; }

    // Starts serving requests under the window's title (in `folder`, or the runtime folder when
    // empty). False when the socket cannot be made (the reason goes to stderr and the trace
    // log); the program works on without clients.
    bool StartServer(const std::string& title, const std::string& folder = {},
                     std::string* error = nullptr);
    void SetTitle(const std::string& title);
    // The server, once started; null before.
    platform::IpcServer* Server() { return server_.get(); }

    // The answer to one function code; -1 for what is not available.
    int OnRemoteCommand(int code, int argument);

    // The transmitter's state after each keying or unkeying, whatever keyed it.
    void OnTransmitState(bool on);

    // Queues the notification for every registered client in registration order without
    // waiting for any; -1 when there is none (or after shutdown), else 0.
    int NotifyClients(int code, int64_t value);

    // Program shutdown: the clients hear kNoteShutdown, then nothing more.
    void Shutdown();

    // Closes the auxiliary port before the link closes the CAT port.
    void CloseAuxiliaryPort() { aux_.Close(); }
    const CAuxiliaryPort& AuxiliaryPort() const { return aux_; }
    CAuxiliaryPort& AuxiliaryPort() { return aux_; }

private:
    using ClientId = std::uint64_t;
    // A request from a client of the server: as OnRemoteCommand, remembering who keyed.
    int OnClientCommand(ClientId client, int code, int argument);
    // The transmitter a client keyed goes off when that client's connection ends.
    void OnClientGone(ClientId client);
    int Answer(int code, int argument);
    int GetMode() const;
    int SetMode(int argument);
    int SetFilter(bool narrow);
    int SetSplit(bool on);
    int Switch(int code, int argument);
    int SetDuplex(bool plus, bool on);
    int SetDuplexOffset(int kHz);
    int Recorder(RecorderButton button, int argument);
    bool ExtendedFunctions() const;

    radio::CRadioController& controller_;
    radio::IRadioView& view_;
    CIni& ini_;
    CRadioLink& link_;
    IRemoteWindow& window_;
    CAuxiliaryPort aux_;
    std::string versionText_;
    std::unique_ptr<platform::IpcServer> server_;
    bool transmitting_ = false;
    ClientId keyer_ = 0;  // the client whose ExtPTT keyed the transmitter; 0 none
    bool closed_ = false;
};

}  // namespace remote
