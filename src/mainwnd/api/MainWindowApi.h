// What the start-up and the main window know of each other. The start-up sits above the window:
// it fills IMainWindowContext, creates the window through IMainWindowFactory and drives it
// through IMainWindow; the window knows nothing of the start-up.
#pragma once

#include <memory>
#include <string>

class CIni;
class CLanguage;
class Profile;

// The program-wide services the start-up prepared, for the window's whole life.
class IMainWindowContext {
public:
    virtual ~IMainWindowContext() = default;
    virtual CIni& Ini() = 0;
    virtual CLanguage& Language() = 0;
    virtual Profile& RegistryProfile() = 0;
    // The executable's folder, ending in '/'.
    virtual const std::string& ProgramFolder() const = 0;
    // "4.7.1", "Beta.3" or the "Comments" text of the running executable.
    virtual std::string GetVersionString() = 0;
    // Starts the update launcher (run: the user asked); false when it could not be started.
    virtual bool RunUpdateCheck(bool run) const = 0;
};

// The main window as the start-up drives it.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // Face and point size for the dialogs the main window opens; an empty face or a size below 1
    // keeps each dialog's template font.
    virtual void SetOtherDialogFont(const std::string& face, int pointSize) = 0;
    // Shows the window with its own face and size (same rules) and returns when it closes.
    virtual int DoModalWithFont(const std::string& face, int pointSize) = 0;

    // Keyboard push-to-talk: the configured key as a virtual-key code (0 = none), whether the
    // TX/RX window is transmitting, and the switch.
    virtual int PttKey() const = 0;
    virtual bool IsTransmitting() const = 0;
    virtual void SetPtt(bool on) = 0;
};

class IMainWindowFactory {
public:
    virtual ~IMainWindowFactory() = default;
    virtual std::unique_ptr<IMainWindow> Create(IMainWindowContext& context) = 0;
};
