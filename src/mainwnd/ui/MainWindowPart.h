// IMainWindowPart: how a part of the main window that lives in a library of its own hooks into
// the window's commands, timer, wheel, saving and shut-down.
#pragma once

#include <QPoint>

#include <string>

// What a later part of the main window adds: the band table, the tuning controls, the timer and
// the remote handler register here and get the commands and events the window does not serve
// itself. Each answers true when it handled the command.
class IMainWindowPart {
public:
    virtual ~IMainWindowPart() = default;
    virtual bool OnCommand(int id, int code) = 0;
    // The one-second timer.
    virtual void OnTimer() {}
    // A wheel turn at a point of the window (positive delta = up); true when handled.
    virtual bool OnWheel(QPoint /*pos*/, int /*delta*/) { return false; }
    // Writes its settings (SaveState) and is told the window is closing (CloseProgram).
    virtual void SaveState() {}
    virtual void OnClosing() {}
    // The band table: the band menu and stacking buttons work only with it.
    virtual bool ServesBands() const { return false; }
    // The end of the start-up: services (remote, DDE) and start-up programs begin.
    virtual void OnStarted() {}
    // The band display follows the frequency and mode.
    virtual void OnBandDisplay() {}
    // The remote handler's auxiliary ports close before the CAT port.
    virtual void CloseAuxiliaryPorts() {}
    // The window's title changed.
    virtual void OnTitleChanged(const std::string& /*title*/) {}
    // The choose-VFO dialog: radio::kVfoA, kVfoB, 0 for Cancel, -1 when not served.
    virtual int ChooseVfo() { return -1; }
};
