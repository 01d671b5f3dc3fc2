// What a part of the main window may use of it, handed to each part at its creation. It lives as
// long as the part.
#pragma once

#include <string>
#include <vector>

class CIni;
class CLanguage;
class Profile;
class CMyFontDialog;
class CRadioLink;
namespace cat {
class CVekDriver;
}
namespace bands {
class CBandTable;
}
namespace remote {
class CAuxiliaryPort;
}
namespace radio {
class CRadioController;
class CRadioSnapshot;
class IRadioView;
class IWorkProgress;
}  // namespace radio

class IMainWindowServices {
public:
    virtual ~IMainWindowServices() = default;

    virtual radio::CRadioController& Controller() = 0;
    // The controller's view: the window's controls, message boxes, the choose-VFO dialog.
    virtual radio::IRadioView& View() = 0;
    virtual CRadioLink& Link() = 0;
    virtual cat::CVekDriver& Driver() = 0;
    virtual CIni& Ini() = 0;
    // The per-user registry profile (window places).
    virtual Profile& Registry() = 0;
    virtual const CLanguage& Language() const = 0;
    // The window itself: the parent of a part's dialogs, its controls by dialog id, its title.
    virtual CMyFontDialog& Window() = 0;
    virtual const std::string& VersionText() const = 0;
    // The program's display name, untranslated.
    virtual std::string ProgramName() const = 0;
    // The band table a part serves; null without one.
    virtual const bands::CBandTable* BandTable() const = 0;
    // The progress window of long radio sequences, and the radio state they put back afterwards.
    virtual radio::IWorkProgress& WorkProgress() = 0;
    virtual radio::CRadioSnapshot& Snapshot() = 0;

    // The first initialisation of the link is still running.
    virtual bool IsFirstInit() const = 0;
    virtual bool IsOffLine() const = 0;
    // Shows "OFF LINE" in the frequency field, sets the link off line and stops the worker.
    virtual void GoOffLine() = 0;

    // "VFO A=B".
    virtual void OnVfoEqual() = 0;
    virtual void SetPtt(bool on) = 0;
    virtual bool IsTransmitting() const = 0;
    // Shows, hides and places the tool windows as the settings now say.
    virtual void PlaceToolWindows() = 0;
    // The part that keys tells every part the transmitter's state after each switch.
    virtual void TellTransmitState(bool on) = 0;
    // What the parts offer one another: the remote clients' auxiliary port (null while no part
    // holds one) and the remote-control codes (-1 while no part serves them).
    virtual remote::CAuxiliaryPort* AuxiliaryPort() = 0;
    virtual int RemoteCommand(int code, int argument) = 0;
    // The timer's sked check handed on to every part (the skeds part serves it).
    virtual void CheckDueSked(int utcMinute, const std::string& key) = 0;
    // Waits ms pumping messages; false when the wait ended early (the program is closing).
    virtual bool WaitPumpingMessages(int ms) = 0;
    // Closes the program as "Exit" does, once the running handler has returned.
    virtual void PostClose() = 0;
    // Writes the settings and every list file.
    virtual void SaveState() = 0;
    // The configuration dialog, as the window's "Setup" button opens it.
    virtual void OnSetup() = 0;
    // The update check, asked for by the user.
    virtual void RunUpdateCheck() = 0;
    // The timer's count of minutes of use handed on to every part.
    virtual void TellUsageTime(int minutes) = 0;
    // The lines of a list page some part keeps (the split presets, the skeds); empty without it.
    virtual std::vector<std::string> ListLines(unsigned dialogId) const = 0;
    // Prints the list of a part's window (the memory lists); false when no part has it.
    virtual bool PrintList(unsigned dialogId) = 0;
    // The band and mode limits dialog; false when no part serves the band table.
    virtual bool RunLimitsDialog() = 0;
    // Shows a tool window where the window places it (the stored place at its first showing).
    virtual void ShowToolWindow(unsigned dialogId) = 0;
};
