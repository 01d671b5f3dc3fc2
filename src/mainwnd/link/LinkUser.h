// What the radio link asks and tells the user: message boxes, the configuration and no-port
// dialogs, the wait cursor, and ending the program.
#pragma once

#include "MessageBoxRequest.h"

class ILinkUser {
public:
    virtual ~ILinkUser() = default;

    // Shows a box built from the language table; returns mb::kIdYes, mb::kIdNo, ...
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // The configuration dialog, modally.
    virtual void RunSetupDialog() = 0;
    virtual void SetWaitCursor(bool on) = 0;
    // The no-port dialog modally: 1 exit, 2 setup, 3 work off line.
    virtual int RunNoPortDialog(int port) = 0;
    // Ends the program: from start-up the main window ends, otherwise the shutdown routine runs.
    virtual void CloseProgram(bool atStartup) = 0;
};
