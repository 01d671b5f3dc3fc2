// What the radio controller shows and asks through the main window. The main window implements
// IRadioView; tests implement it too. Controls are named by their dialog identifiers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MessageBoxRequest.h"

namespace radio {

// Identifiers of the main window's controls and menu commands the controller touches.
namespace ctl {
inline constexpr int kStoreR = 6;
inline constexpr int kReverse = 7;
inline constexpr int kFrequency = 1000;
inline constexpr int kSText = 1007;
inline constexpr int kSquelch = 1008;
inline constexpr int kOffset = 1009;  // the duplex offset entry field
inline constexpr int kSMeterButton = 1029;
inline constexpr int kAtt = 1030;
inline constexpr int kAutoUpdate = 1033;
inline constexpr int kPre = 1034;
inline constexpr int kAgc = 1035;
inline constexpr int kNb = 1036;
inline constexpr int kTone = 1037;
inline constexpr int kPolling = 1038;
inline constexpr int kStatus = 1042;
inline constexpr int kStatus2 = 1043;
inline constexpr int kComp = 1048;
inline constexpr int kDupPlus = 1049;
inline constexpr int kRange = 1050;
inline constexpr int kDupMinus = 1051;
inline constexpr int kDupSet = 1053;
inline constexpr int kSMeterExtra = 1164;
inline constexpr int kTsql = 1538;
inline constexpr int kVox = 1539;
inline constexpr int kBkin = 1544;
// "Exit": a running scan keeps it disabled.
inline constexpr int kExit = 1094;
inline constexpr int kFilter = 1028;
inline constexpr int kVfoA = 1031;
inline constexpr int kVfoB = 1032;
inline constexpr int kSplit = 1040;
// Band menu commands.
inline constexpr int kMenu6m = 32794;
inline constexpr int kMenu2m = 32795;
inline constexpr int kMenu70cm = 32796;
}  // namespace ctl

class IRadioView {
public:
    virtual ~IRadioView() = default;

    // The frequency field shows the controller's frequency, in Hz; false when it keeps what the
    // user is typing (that is handed to the controller when the field is left).
    virtual bool ShowFrequency(int64_t hz) = 0;
    // The field shows " ": the radio reported no frequency.
    virtual void BlankFrequency() = 0;
    // The duplex offset entry field, in kHz, and its text as typed.
    virtual double GetOffsetField() const = 0;
    virtual std::string GetOffsetFieldText() const = 0;
    virtual void SetOffsetField(int kHz) = 0;

    // Buttons, texts, visibility and tool tips (tool tips by language string id).
    virtual void SetButton(int id, bool down) = 0;
    virtual void EnableControl(int id, bool enabled) = 0;
    virtual void ShowControl(int id, bool shown) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual void SetToolTip(int id, int stringId) = 0;
    // The duplex buttons, the offset field and its label (hidden on the IC-718).
    virtual void ShowDuplexControls(bool shown) = 0;

    // The mode shown, the mode list, and the mode menu (commands 32775 onward, the entries
    // after the last name removed up to 32784).
    virtual void SetModeText(const std::string& text) = 0;
    virtual void SetModeList(const std::vector<std::string>& names) = 0;
    virtual void SetModeMenu(const std::vector<std::string>& names) = 0;
    virtual void SetBandMenuEntry(int command, bool present) = 0;

    virtual void SetStatusLine(const std::string& text) = 0;
    // The other VFO's display: its label ("VFO-B : ") and text (empty when nothing is kept).
    virtual void SetSecondDisplay(const std::string& label, const std::string& text) = 0;
    virtual void SwapRxIndicator() = 0;

    // The S-meter panel with its peak meter, and the peak meter's reading.
    virtual void ShowSMeterPanel(bool shown) = 0;
    virtual void SetPeakMeter(int sValue) = 0;

    // The band display follows the frequency and mode.
    virtual void UpdateBandDisplay() = 0;
    virtual void SetWaitCursor(bool on) = 0;
    virtual void Beep(unsigned style) = 0;
    // Returns the button pressed (mb::kIdOk, kIdYes ...).
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // The choose-VFO dialog: kVfoA, kVfoB, or 0 for Cancel.
    virtual int ChooseVfo() = 0;
};

// The remote clients and the DDE service, told what the controller sets or learns.
class IRadioClients {
public:
    virtual ~IRadioClients() = default;
    virtual void NotifyClients(int code, int64_t value) = 0;
    virtual void DdeFrequency(int64_t hz) = 0;
    virtual void DdeMode(const std::string& modeText) = 0;
    virtual void DdeVfo(int vfo) = 0;  // 1 A, 0 B
    virtual void DdeSplit(bool on) = 0;
    virtual void DdeSMeter(const std::string& /*text*/) {}  // the S-meter text as shown
    virtual void DdeAltFrequency(int64_t /*hz*/) {}         // the other VFO, 0 when none kept
};

}  // namespace radio
