// CCorvaneSetup (dialog 130): the configuration dialog. It reads every setting when it opens,
// keeps them as pending values while the port, PTT and audio dialogs edit them, and on OK checks
// them all before it writes any. It also installs the chosen radio driver (InstallDriver).
#pragma once

#include "MyFontDialog.h"
#include "SetupContext.h"
#include "SetupSummary.h"
#include "SetupValues.h"

class CCorvaneSetup : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 130;
    enum Control : int {
        kBackground = 1113,
        kTextColour = 1114,
        kCheckOnColour = 1115,
        kClipboardFactor = 1120,
        kClipboardAuto = 1121,
        kDecimal = 1122,
        kExtended = 1123,
        kUtcOffset = 1162,
        kSMeterLower = 1165,
        kSMeterDivisor = 1166,
        kSMeterRefresh = 1167,
        kSample = 1182,
        kPortSummary = 1184,
        kPttSummary = 1185,
        kAudioSummary = 1186,
        kModel = 1209,
        kChangeLanguage = 1215,
        kFontMain = 1259,
        kFontOther = 1260,
        kFontSizeMain = 1261,
        kFontSizeOther = 1104,
        kRestoreDefault = 1262,
        kExample = 1299,
        kToolTips = 1320,
        kUpdateDays = 1321,
        kLatency = 1322,
        kAddress = 1025,
        kDelay = 1034,
        kTimeout = 1035,
        kLog = 1041,
    };

    explicit CCorvaneSetup(setup::SetupContext& context);

    // Something was stored that the main window must act on (OK, a language or driver change).
    bool SettingsChanged() const { return settingsChanged_; }
    const setup::SetupValues& Pending() const { return values_; }

    // Installs the driver of `entry` into the program folder; true when it is in place.
    bool InstallDriver(const std::string& entry);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;

private:
    void PushValues();
    void TakeValues();
    void UpdateSettingsSummary();
    void UpdateColorSample();
    void ChooseColour(COLORREF& colour);
    void OnModelChange();
    void OnPortDialog();
    void OnPttDialog();
    void OnChangeLanguage();
    void OnRestoreDefault();
    bool Refuse(int messageId, int focusId);

    setup::SetupContext& context_;
    setup::SetupValues values_;
    setup::DriverSupport driverSupport_;
    bool settingsChanged_ = false;
};
