// CPTTSet (dialog 243): how the transmitter is keyed when the radio link does not do it: the
// PTT port and its line, the keying key, the clipboard texts, keep-in-front and the tune time.
// It reads the INI when it opens and writes every key at once on OK.
#pragma once

#include "MyFontDialog.h"
#include "PttSettings.h"

class CIni;

class CPTTSet : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 243;
    enum Control : int {
        kPort = 1020,
        kKey = 1021,
        kOffText = 1104,
        kPin = 1185,
        kOnText = 1186,
        kFront = 1187,
        kTuneSeconds = 1217,
    };

    // driverMode: the driver keys, so there is no port or line to choose. frontDisabled: the
    // keep-in-front choice is not offered (opened from the TX/RX window).
    CPTTSet(CIni& ini, bool driverMode, bool frontDisabled);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    // Writes the settings; a failed write keeps the dialog open.
    void OnOK() override;

private:
    txrx::PttSettings FromControls() const;
    void ApplyEnableRules();

    CIni& ini_;
    bool driverMode_;
    bool frontDisabled_;
};
