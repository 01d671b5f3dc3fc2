// CComSet (dialog 242): how the program reaches the radio, a serial port of the machine (or a
// device given by its path) with its parameters, or a driver library of the "Drivers" folder.
// It edits the configuration dialog's pending values; only that dialog's OK stores them. It may
// install a driver and open the driver's own setup.
#pragma once

#include <string>
#include <vector>

#include "MyFontDialog.h"
#include "SetupContext.h"
#include "SetupValues.h"

class CComSet : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 242;
    enum Control : int {
        kPortList = 1020,
        kSpeed = 1021,
        kDataBits = 1022,
        kParity = 1023,
        kStopBits = 1024,
        kMode = 1026,
        kDevicePath = 1027,
        kUseDevice = 1028,
        kDriverSetup = 1113,
        kRts = 1183,
        kDtr = 1184,
    };

    // `installDriver` is the configuration dialog's InstallDriver; `settingsChanged` is set when
    // the driver's own setup ran.
    CComSet(setup::SetupContext& context, setup::SetupValues& pending,
            std::function<bool(const std::string&)> installDriver, bool& settingsChanged);

    // The list's keys (port names or driver entries), in the visible list's order.
    const std::vector<std::string>& Keys() const { return keys_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;

private:
    void FillPorts();
    void FillDrivers();
    void SelectKey(const std::string& key);
    void ApplyEnableRules();
    void TakeSerialValues();
    void UseDevice();
    void OnDriverSetup();

    setup::SetupContext& context_;
    setup::SetupValues& pending_;
    std::function<bool(const std::string&)> installDriver_;
    bool& settingsChanged_;
    std::vector<std::string> keys_;
};
