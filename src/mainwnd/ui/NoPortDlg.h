// CNoPort (dialog 304): the window of the no-port choice, shown when the radio does not answer.
// Its result: 1 exit, 2 setup, 3 work off line (after the user confirmed the warning).
#pragma once

#include "MyFontDialog.h"
#include "NoPortChoice.h"

class CNoPort : public CMyFontDialog {
    Q_OBJECT
public:
    CNoPort(const CLanguage& language, int port);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    // The "Setup" button (id 1) and Enter: only while the button is shown.
    void OnOK() override;
    // The "Exit" button (id 2), Esc and closing the window.
    void OnCancel() override;

private:
    CNoPortChoice choice_;
    int port_;
};
