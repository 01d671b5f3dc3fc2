#include "PttSetDlg.h"

#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cstdlib>

namespace {
using namespace tpl;

constexpr int kMsgNotSaved = 193;  // "Unable to save the file : %1"
constexpr const char* kKeyTexts[] = {"NONE", "CTRL", "ALT GR", "F11", "F12"};

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CPTTSet::kTemplateId, "Corvane - PTT Configuration",
    Column({Grid(2, {Label("Serial Port"), Control(CPTTSet::kPort, "COMBOBOX", "", 0, 10),
                     Label("PTT Pin"), Control(CPTTSet::kPin, "COMBOBOX", "", 0, 10),
                     Label("Key for PTT"), Control(CPTTSet::kKey, "COMBOBOX", "", 0, 10),
                     Label("Tune for"),
                     Row({Control(CPTTSet::kTuneSeconds, "EDIT", "", kNumber, 5), Label("second"),
                          Stretch()})}),
            Group("Clipboard",
                  {Grid(2, {Label("PTT ON"), Control(CPTTSet::kOnText, "EDIT", "", 0, 14),
                            Label("PTT OFF"), Control(CPTTSet::kOffText, "EDIT", "", 0, 14)})}),
            Control(CPTTSet::kFront, "CHECKBOX", "Key PTT keep in front"),
            Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
                 Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CPTTSet::kPort, 1243},       {CPTTSet::kPin, 1244},   {CPTTSet::kOnText, 1245},
             {CPTTSet::kOffText, 1246},    {CPTTSet::kFront, 1247}, {CPTTSet::kKey, 1249},
             {CPTTSet::kTuneSeconds, 1306}};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
}  // namespace

CPTTSet::CPTTSet(CIni& ini, bool driverMode, bool frontDisabled)
    : CMyFontDialog(kTemplateId), ini_(ini), driverMode_(driverMode), frontDisabled_(frontDisabled)
{
}

bool CPTTSet::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);

    const txrx::PttSettings s = txrx::ReadPttSettings(ini_);
    if (auto* port = GetDlgItemAs<QComboBox>(kPort)) {
        for (int n = 0; n <= txrx::kPttPortCount; ++n)
            port->addItem(Q(txrx::PortText(n)));
        port->setCurrentText(Q(txrx::PortText(s.port)));
    }
    if (auto* pin = GetDlgItemAs<QComboBox>(kPin)) {
        pin->addItems({QStringLiteral("RTS"), QStringLiteral("DTR")});
        pin->setCurrentIndex(txrx::UsesDtr(s) ? 1 : 0);
    }
    if (auto* key = GetDlgItemAs<QComboBox>(kKey)) {
        for (const char* text : kKeyTexts)
            key->addItem(QString::fromLatin1(text));
        key->setCurrentText(Q(txrx::KeyText(s.key)));
    }
    SetDlgItemText(kOnText, s.copyOn);
    SetDlgItemText(kOffText, s.copyOff);
    SetDlgItemText(kTuneSeconds, std::to_string(s.tuneSeconds));
    if (auto* front = GetDlgItemAs<QCheckBox>(kFront)) {
        front->setChecked(s.front);
        front->setEnabled(!frontDisabled_);
    }
    ApplyEnableRules();
    return CMyFontDialog::OnInitDialog();
}

bool CPTTSet::OnCommand(int id, int code)
{
    if (id == kPort && code == ctl::kCbnSelChange) {
        ApplyEnableRules();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

void CPTTSet::ApplyEnableRules()
{
    const bool portChosen = txrx::PortFromText(GetDlgItemText(kPort)) != 0;
    // With the driver keying, key, texts and tune time still serve it.
    const bool keyed = portChosen || driverMode_;
    const auto enable = [this](int id, bool on) {
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(on);
    };
    enable(kPort, !driverMode_);
    enable(kPin, portChosen && !driverMode_);
    for (int id : {kOnText, kOffText, kKey, kTuneSeconds})
        enable(id, keyed);
}

txrx::PttSettings CPTTSet::FromControls() const
{
    txrx::PttSettings s;
    s.port = txrx::PortFromText(GetDlgItemText(kPort));
    const auto* pin = GetDlgItemAs<QComboBox>(kPin);
    s.pin = pin != nullptr && pin->currentIndex() == 1 ? txrx::kPinDtr : txrx::kPinRts;
    s.key = txrx::KeyFromText(GetDlgItemText(kKey));
    s.copyOn = GetDlgItemText(kOnText);
    s.copyOff = GetDlgItemText(kOffText);
    const auto* front = GetDlgItemAs<QCheckBox>(kFront);
    s.front = front != nullptr && front->isChecked();
    const std::string seconds = GetDlgItemText(kTuneSeconds);
    // Digits only; a longer run than the clamp allows stays at the clamp.
    const long value = seconds.size() > 6 ? settings::txrx::kTuneSecondsMax
                                          : std::strtol(seconds.c_str(), nullptr, 10);
    s.tuneSeconds = settings::txrx::ClampTuneSeconds(static_cast<int>(value));
    return s;
}

void CPTTSet::OnOK()
{
    if (!txrx::WritePttSettings(ini_, FromControls())) {
        const char* path = ini_.GetPath();
        framework::Language().ShowMessage(
            {framework::Language().FormatString1(kMsgNotSaved, path != nullptr ? path : ""), "",
             mb::kOk | mb::kIconError, 0});
        return;
    }
    EndDialog(ctl::kIdOk);
}
