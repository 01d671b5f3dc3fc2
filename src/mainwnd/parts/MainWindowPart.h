// IMainWindowPart: a feature of the main window that lives in a library of its own (the tuning
// controls, the timer, the remote control, and each list or tool window to come). The program
// hands the window a list of part factories; the window creates each part with its services
// (MainWindowServices.h) and calls the hooks below. Every hook does nothing by default, so a part
// overrides only what it serves.
#pragma once

#include <QPoint>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMyFontDialog;
class CTabPage;
namespace bands {
class CBandTable;
}
class IMainWindowServices;
class QMenu;
namespace remote {
class CAuxiliaryPort;
}

// A change the controller reported (radio::IRadioClients), as the window passes it on.
struct RadioStateChange {
    enum class Kind {
        Notification,
        Frequency,
        Mode,
        Vfo,
        Split,
        SMeter,        // the S-meter text the window shows, at each S-meter reply
        AltFrequency,  // the other VFO's frequency (0: none kept), at each status-line rebuild
        Transmit,      // the transmitter's state after each keying or unkeying (1 keyed)
    };
    Kind kind = Kind::Notification;
    int code = 0;       // Notification: the remote notification code
    int64_t value = 0;  // its value; the frequency in Hz; the VFO (1 A, 0 B); split (1 on)
    std::string text;   // Mode: the mode text; SMeter: the S-meter text
};

namespace mainwnd {
// The About entry of the window's context menu, as a command to the parts.
inline constexpr int kSysAbout = 16;
}  // namespace mainwnd

class IMainWindowPart {
public:
    virtual ~IMainWindowPart() = default;

    // ---- Windows, asked for while the main window is built ----
    // The page or tool window of a dialog id, or null when this part does not provide it (the
    // window shows a placeholder for an id no part provides). The window takes ownership.
    virtual CTabPage* CreatePage(unsigned /*dialogId*/) { return nullptr; }
    virtual CMyFontDialog* CreateToolWindow(unsigned /*dialogId*/) { return nullptr; }
    // The band table: the band menu and the stacking buttons work only with a part serving it.
    virtual bool ServesBands() const { return false; }
    virtual QMenu* CreateBandMenu() { return nullptr; }
    // The live band table, for the parts that choose a mode by frequency.
    virtual const bands::CBandTable* BandTable() const { return nullptr; }

    // ---- The window's life ----
    // After the window's controls exist.
    virtual void OnControlsCreated() {}
    // The end of the start-up: services (remote, DDE) and start-up programs begin.
    virtual void OnStarted() {}
    // The last step of the start-up, after the services: the start-up programs.
    virtual void LaunchStartupPrograms() {}
    // Writes its settings (SaveState) and is told the window is closing (CloseProgram).
    virtual void SaveState() {}
    virtual void OnClosing() {}
    // Auxiliary ports close before the CAT port.
    virtual void CloseAuxiliaryPorts() {}

    // ---- Events ----
    // The one-second timer.
    virtual void OnTimer() {}
    // The minutes of use counted so far, at each minute the timer counts.
    virtual void OnUsageTime(int /*minutes*/) {}
    // A command the window does not serve itself; true when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    // Whether a button of the window that waits for a part (the "Store" button) has one.
    virtual bool ServesCommand(int /*id*/) const { return false; }
    // A wheel turn at a point of the window (positive delta = up); true when handled.
    virtual bool OnWheel(QPoint /*pos*/, int /*delta*/) { return false; }
    virtual void OnTitleChanged(const std::string& /*title*/) {}
    // The band display follows the frequency and mode.
    virtual void OnBandDisplay() {}
    virtual void OnRadioStateChanged(const RadioStateChange& /*change*/) {}
    // The choose-VFO dialog: radio::kVfoA, kVfoB, 0 for Cancel, -1 when not served.
    virtual int ChooseVfo() { return -1; }
    // The timer's sked check (mainwnd::ISkedCheck), for the part that keeps the skeds.
    virtual void CheckDueSked(int /*utcMinute*/, const std::string& /*key*/) {}

    // ---- Keying the transmitter ----
    // The part that keys the transmitter: the window's SetPtt and IsTransmitting go to it.
    virtual bool KeysTransmitter() const { return false; }
    virtual void SetPtt(bool /*on*/) {}
    virtual bool IsTransmitting() const { return false; }
    // The auxiliary port remote clients opened, for a part that holds it.
    virtual remote::CAuxiliaryPort* AuxiliaryPort() { return nullptr; }
    // ---- Audio, for the part that keeps the recorder ----
    virtual bool ServesAudio() const { return false; }
    // The audio settings dialog of the link's set-up; true when confirmed.
    virtual bool RunAudioSettings() { return false; }
    // 0 when the audio input works, else the audio error number.
    virtual int TestAudioInput() { return 0; }
    // What made the last test fail, when it can be told.
    virtual std::string AudioInputProblem() { return {}; }
    // The stored recording format goes to the engine.
    virtual void ApplyRecordingFormat() {}
    // A block the driver posted (WM_USER+21): its byte count and buffer handle.
    virtual void OnDriverAudio(std::uintptr_t /*count*/, std::intptr_t /*handle*/) {}

    // ---- What the utility page prints and opens ----
    // The lines of the list a page of this part keeps (by the page's dialog id), in list order.
    virtual std::optional<std::vector<std::string>> ListLines(unsigned /*dialogId*/) const
    {
        return std::nullopt;
    }
    // Prints the list of a window of this part; false when it is not this part's.
    virtual bool PrintList(unsigned /*dialogId*/) { return false; }
    // The band and mode limits dialog, run modally by the part serving the band table.
    virtual bool RunLimitsDialog() { return false; }

    // The answer to a remote-control function code, for a part that serves them.
    virtual std::optional<int> OnRemoteCommand(int /*code*/, int /*argument*/)
    {
        return std::nullopt;
    }
};

// Creates a part for a window; the window keeps the part until it is destroyed.
using MainWindowPartFactory = std::function<std::unique_ptr<IMainWindowPart>(IMainWindowServices&)>;
using MainWindowPartList = std::vector<MainWindowPartFactory>;
