#include "ComSetDlg.h"

#include "AsciiCase.h"
#include "DriverChoice.h"
#include "DriverInstall.h"
#include "Ini.h"
#include "Language.h"
#include "PortChoices.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QComboBox>

#include <algorithm>
#include <cstdlib>

namespace {
using namespace tpl;

constexpr int kFixedPortCount = 40;
constexpr const char* kSpeeds[] = {"300", "1200", "2400", "4800", "9600", "19200"};
constexpr const char* kParities[] = {"N", "O", "E", "M", "S"};

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CComSet::kTemplateId, "Corvane - setting COM",
    Column({Label("Serial port or driver"),
            Control(CComSet::kPortList, "COMBOBOX", "", kNoTranslate, 48),
            Row({Label("Device"),
                 Stretched(Control(CComSet::kDevicePath, "EDIT", "", kNoTranslate, 20), 1),
                 Control(CComSet::kUseDevice, "BUTTON", "Use device")}),
            Group("Serial port",
                  {Grid(4, {Label("Speed"), Control(CComSet::kSpeed, "COMBOBOX", "", 0, 8),
                            Label("Parity"), Control(CComSet::kParity, "COMBOBOX", "", 0, 4),
                            Label("Data bits"), Control(CComSet::kDataBits, "EDIT", "", kNumber, 3),
                            Label("Stop bits"), Control(CComSet::kStopBits, "EDIT", "", kNumber, 3),
                            Label("RTS"), Control(CComSet::kRts, "COMBOBOX", "", 0, 4),
                            Label("DTR"), Control(CComSet::kDtr, "COMBOBOX", "", 0, 4),
                            Label("Mode"), Control(CComSet::kMode, "COMBOBOX", "", 0, 8)})}),
            Row({Control(CComSet::kDriverSetup, "BUTTON", "Driver Setup"), Stretch(),
                 Control(ctl::kIdOk, "BUTTON", "OK"),
                 Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CComSet::kPortList, 1103}, {CComSet::kSpeed, 1099},       {CComSet::kDataBits, 1100},
             {CComSet::kStopBits, 1105}, {CComSet::kParity, 1104},      {CComSet::kRts, 1238},
             {CComSet::kDtr, 1239},      {CComSet::kDriverSetup, 1304}, {CComSet::kMode, 1392}};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

int Number(const std::string& text, int fallback)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() || value < 0 || value > 99 ? fallback : static_cast<int>(value);
}

}  // namespace

CComSet::CComSet(setup::SetupContext& context, setup::SetupValues& pending,
                 std::function<bool(const std::string&)> installDriver, bool& settingsChanged)
    : CMyFontDialog(kTemplateId),
      context_(context),
      pending_(pending),
      installDriver_(std::move(installDriver)),
      settingsChanged_(settingsChanged)
{
}

bool CComSet::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    ToolTips().AddToolText(GetDlgItem(kDevicePath),
                           "Device path of a serial port, for example /dev/ttyUSB0");

    FillPorts();
    FillDrivers();
    std::string key = pending_.driverMode ? pending_.driverEntry : pending_.portText;
    if (key.empty())
        key = "COM1";
    if (std::find(keys_.begin(), keys_.end(), key) == keys_.end())
        key = context_.ini.GetString(settings::setup::DriverInPortDialog);
    SelectKey(key);

    if (auto* speed = GetDlgItemAs<QComboBox>(kSpeed)) {
        for (const char* s : kSpeeds)
            speed->addItem(QString::fromLatin1(s));
        speed->setCurrentText(Q(pending_.speedText));
    }
    if (auto* parity = GetDlgItemAs<QComboBox>(kParity)) {
        for (const char* p : kParities)
            parity->addItem(QString::fromLatin1(p));
        parity->setCurrentText(Q(pending_.parity));
    }
    for (const auto& [id, value] : {std::pair{kRts, pending_.rts}, std::pair{kDtr, pending_.dtr}})
        if (auto* line = GetDlgItemAs<QComboBox>(id)) {
            line->addItems({QStringLiteral("OFF"), QStringLiteral("ON")});
            line->setCurrentIndex(value == 1 ? 1 : 0);
        }
    if (auto* mode = GetDlgItemAs<QComboBox>(kMode)) {
        mode->addItems({QStringLiteral("MODE 1"), QStringLiteral("MODE 2")});
        mode->setCurrentIndex(pending_.portMode == 1 ? 1 : 0);
    }
    SetDlgItemText(kDataBits, std::to_string(pending_.dataBits));
    SetDlgItemText(kStopBits, std::to_string(pending_.stopBits));
    ApplyEnableRules();
    return CMyFontDialog::OnInitDialog();
}

void CComSet::FillPorts()
{
    auto* list = GetDlgItemAs<QComboBox>(kPortList);
    if (list == nullptr)
        return;
    std::vector<std::pair<std::string, std::string>> found;
    setup::EnumerateSerialPorts(context_.scan, pending_.portMappings,
                                [&](const std::string& name, const std::string& friendly) {
                                    found.emplace_back(setup::PortEntryText(name, friendly), name);
                                });
    list->clear();
    keys_.clear();
    if (found.empty())
        for (int n = 1; n <= kFixedPortCount; ++n)
            found.emplace_back(platform::PortName(n), platform::PortName(n));
    for (const auto& [text, key] : found) {
        list->addItem(Q(text));
        keys_.push_back(key);
    }
}

void CComSet::FillDrivers()
{
    auto* list = GetDlgItemAs<QComboBox>(kPortList);
    if (list == nullptr)
        return;
    const std::string current =
        DriverEntryFileName(context_.ini.GetString(settings::setup::Driver));
    for (const std::string& entry : setup::DriverEntries(context_.programFolder)) {
        list->addItem(Q(entry));
        keys_.push_back(entry);
        // The stored entry follows a changed version text at once.
        if (!current.empty() && platform::AsciiIEquals(DriverEntryFileName(entry), current)) {
            context_.ini.WriteString(settings::setup::Driver, entry);
            if (pending_.driverMode)
                pending_.driverEntry = entry;
        }
    }
}

void CComSet::SelectKey(const std::string& key)
{
    auto* list = GetDlgItemAs<QComboBox>(kPortList);
    const auto it = std::find(keys_.begin(), keys_.end(), key);
    if (list != nullptr)
        list->setCurrentIndex(it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin()));
}

void CComSet::ApplyEnableRules()
{
    const std::string shown = GetDlgItemText(kPortList);
    const bool known = shown.size() >= 4;
    const bool port = known && IsComPortEntry(shown);
    const auto enable = [this](int id, bool on) {
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(on);
    };
    for (int id : {kSpeed, kDataBits, kStopBits, kParity, kRts, kDtr, kMode})
        enable(id, port);
    enable(kDriverSetup, known && !port);
    if (port && pending_.ptt.port != 0
        && platform::AsciiIEquals(txrx::PortText(pending_.ptt.port), shown)) {
        const bool dtrKeys = txrx::UsesDtr(pending_.ptt);
        enable(kDtr, !dtrKeys);
        enable(kRts, dtrKeys);
    }
}

bool CComSet::OnCommand(int id, int code)
{
    if (id == kPortList && code == ctl::kCbnSelChange) {
        ApplyEnableRules();
        return true;
    }
    if (id == kUseDevice && code == ctl::kBnClicked) {
        UseDevice();
        return true;
    }
    if (id == kDriverSetup && code == ctl::kBnClicked) {
        OnDriverSetup();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

void CComSet::UseDevice()
{
    const std::string device = GetDlgItemText(kDevicePath);
    if (!setup::IsCharacterDevice(device)) {
        context_.language.ShowMessage(
            {context_.language.FormatText("\"%s\" is not a serial device.", {device}), "",
             mb::kOk | mb::kIconError, 0});
        return;
    }
    const int number = setup::PortNumberForDevice(context_.scan, pending_.portMappings, device);
    if (number == 0) {
        context_.language.MessageBoxText("Every port number is in use.", mb::kOk | mb::kIconError);
        return;
    }
    // A device that already has its number needs no mapping of its own.
    bool numbered = false;
    for (const auto& port : platform::ListSerialPorts(context_.scan))
        numbered = numbered || (port.number == number && port.device == device);
    if (!numbered)
        pending_.portMappings[number] = device;
    FillPorts();
    FillDrivers();
    SelectKey(platform::PortName(number));
    ApplyEnableRules();
}

void CComSet::TakeSerialValues()
{
    pending_.speedText = GetDlgItemText(kSpeed);
    pending_.dataBits = Number(GetDlgItemText(kDataBits), pending_.dataBits);
    pending_.stopBits = Number(GetDlgItemText(kStopBits), pending_.stopBits);
    pending_.parity = GetDlgItemText(kParity);
    const auto index = [this](int id, int fallback) {
        const auto* combo = GetDlgItemAs<QComboBox>(id);
        return combo != nullptr && combo->currentIndex() >= 0 ? combo->currentIndex() : fallback;
    };
    pending_.rts = index(kRts, pending_.rts);
    pending_.dtr = index(kDtr, pending_.dtr);
    pending_.portMode = index(kMode, pending_.portMode);
}

void CComSet::OnDriverSetup()
{
    TakeSerialValues();
    const auto* list = GetDlgItemAs<QComboBox>(kPortList);
    const int at = list != nullptr ? list->currentIndex() : -1;
    if (at < 0 || static_cast<size_t>(at) >= keys_.size() || !installDriver_(keys_[at]))
        return;
    if (setup::RunDriverSetup(context_))
        settingsChanged_ = true;
}

void CComSet::OnOK()
{
    TakeSerialValues();
    const auto* list = GetDlgItemAs<QComboBox>(kPortList);
    const int at = list != nullptr ? list->currentIndex() : -1;
    // Nothing chosen: the previous port or driver stays.
    if (at >= 0 && static_cast<size_t>(at) < keys_.size()) {
        const std::string& key = keys_[at];
        if (IsComPortEntry(GetDlgItemText(kPortList))) {
            pending_.portText = key;
            pending_.driverMode = false;
            pending_.driverEntry.clear();
        } else {
            pending_.driverEntry = key;
            pending_.driverMode = true;
            pending_.portText = "COM0";
            installDriver_(key);
        }
    }
    EndDialog(ctl::kIdOk);
}
