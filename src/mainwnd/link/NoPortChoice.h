// The decisions of the no-port dialog (dialog 304, "Corvane - Warning"): its text and what each
// button gives. The window itself belongs to the dialog layer, which asks this class.
#pragma once

#include <string>

#include "MessageBoxRequest.h"

class CLanguage;

class CNoPortChoice {
public:
    static constexpr int kDialogId = 304;
    static constexpr int kHelpTopic = 304;
    static constexpr int kTextId = 1297;
    static constexpr int kSetupButton = 1;  // hidden by the callers
    static constexpr int kExitButton = 2;
    static constexpr int kOffLineButton = 1298;
    static constexpr const char* kCaption = "Corvane - Warning";
    // Returned by OnButton when the dialog stays open.
    static constexpr int kStayOpen = 0;

    CNoPortChoice(const CLanguage& language, MessageBoxSink ask);

    // Message 103 with the port number.
    std::string Text(int port) const;
    // The dialog's result for a button: 2 setup, 1 exit, 3 off line once the user confirmed the
    // off-line warning; kStayOpen otherwise.
    int OnButton(int id) const;

private:
    const CLanguage& language_;
    MessageBoxSink ask_;
};
