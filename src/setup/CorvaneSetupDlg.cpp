#include "CorvaneSetupDlg.h"

#include "AudioErrorText.h"
#include "ColorEdit.h"
#include "ComSetDlg.h"
#include "DlgLng.h"
#include "DriverChoice.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "LinkSettings.h"
#include "Profile.h"
#include "PttSetDlg.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"
#include "WaveDevices.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>

#include <cstdlib>

namespace {
using namespace tpl;
using Dlg = CCorvaneSetup;

constexpr int kFirstModelString = 200;
constexpr int kModelCount = 5;
constexpr int kMsgBadAddress = 143;
constexpr int kMsgNoModel = 1303;
constexpr int kMsgRestore = 1091;
constexpr int kMsgNotSaved = 193;
constexpr int kMsgAudioError = 1259;
constexpr int kSampleFontPoints = 26;

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}
TemplateItem Number(int id, int chars = 6)
{
    return Control(id, "EDIT", "", kNumber, chars);
}
// Only the sizes the configuration offers can be chosen.
TemplateItem FontSize(int id)
{
    return Control(id, "COMBOBOX", "", kNoTranslate, 3);
}
TemplateItem Summary(int id)
{
    return Control(id, "BUTTON", "", kNoTranslate, 36);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    Dlg::kTemplateId, "Corvane - Configuration",
    Column(
        {Row({Column(
                  {Group("Radio", {Grid(2, {Label("Model"), Control(Dlg::kModel, "COMBOBOX"),
                                            Label("CI-V address"),
                                            Control(Dlg::kAddress, "EDIT", "", 0, 4)}),
                                   Control(Dlg::kExtended, "CHECKBOX", "Enable G extensions")}),
                   Group("Link", {Summary(Dlg::kPortSummary), Summary(Dlg::kPttSummary),
                                  Summary(Dlg::kAudioSummary)}),
                   Group("S-Meter", {Grid(2, {Label("Limit down ( S0 )"), Number(Dlg::kSMeterLower),
                                              Label("Divisor"), Number(Dlg::kSMeterDivisor),
                                              Label("Updating in milliseconds"),
                                              Number(Dlg::kSMeterRefresh)})}),
                   Group("Clipboard",
                         {Grid(2, {Label("Multiplication factor"), Number(Dlg::kClipboardFactor),
                                   Label("Decimal character"),
                                   Control(Dlg::kDecimal, "EDIT", "", 0, 2)}),
                          Control(Dlg::kClipboardAuto, "CHECKBOX", "Automatic mode")}),
                   Stretch()}),
              Column({Group("Time and log",
                            {Grid(2, {Label("UTC offset"),
                                      Control(Dlg::kUtcOffset, "COMBOBOX", "", kEditable, 8),
                                      Label("Log file"), Control(Dlg::kLog, "EDIT", "", 0, 16)}),
                             Control(Dlg::kDelay, "EDIT", "", kHidden | kNumber),
                             Control(Dlg::kTimeout, "EDIT", "", kHidden | kNumber)}),
                      Group("Display",
                            {Row({Column({Control(Dlg::kBackground, "BUTTON", "Background"),
                                          Control(Dlg::kTextColour, "BUTTON", "Text"),
                                          Control(Dlg::kCheckOnColour, "BUTTON", "Check On")}),
                                  Column({Control(Dlg::kSample, "CColorEdit", "", kReadOnly, 4),
                                          Control(Dlg::kExample, "COnOffButton", "Key")})}),
                             Grid(3, {Label("Main window"), Control(Dlg::kFontMain, "CFontCombo"),
                                      FontSize(Dlg::kFontSizeMain), Label("Other windows"),
                                      Control(Dlg::kFontOther, "CFontCombo"),
                                      FontSize(Dlg::kFontSizeOther)})}),
                      Group("General",
                            {Control(Dlg::kToolTips, "CHECKBOX", "Enable ToolTips"),
                             Grid(2, {Label("Days between update checks"), Number(Dlg::kUpdateDays),
                                      Label("Latency (ms)"), Number(Dlg::kLatency)}),
                             Row({Control(Dlg::kChangeLanguage, "BUTTON", "Change Language",
                                          kNoTranslate),
                                  Control(Dlg::kRestoreDefault, "BUTTON", "Restore Default")})}),
                      Stretch()})}),
         Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
              Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{Dlg::kClipboardAuto, 1097},
             {Dlg::kDecimal, 1098},
             {Dlg::kClipboardFactor, 1096},
             {Dlg::kAddress, 1101},
             {Dlg::kLog, 1102},
             {ctl::kIdCancel, 1107},
             {ctl::kIdOk, 1106},
             {Dlg::kUtcOffset, 1184},
             {Dlg::kSMeterLower, 1026},
             {Dlg::kSMeterDivisor, 1185},
             {Dlg::kSMeterRefresh, 1186},
             {Dlg::kExtended, 1210},
             {Dlg::kModel, 1300},
             {Dlg::kDelay, 1219},
             {Dlg::kBackground, 1235},
             {Dlg::kTextColour, 1236},
             {Dlg::kPortSummary, 1237},
             {Dlg::kPttSummary, 1241},
             {Dlg::kAudioSummary, 1258},
             {Dlg::kChangeLanguage, 1162},
             {Dlg::kCheckOnColour, 1422},
             {Dlg::kExample, 1424},
             {Dlg::kSample, 1423},
             {Dlg::kToolTips, 1367},
             {Dlg::kUpdateDays, 190},
             {Dlg::kLatency, 192},
             {Dlg::kFontMain, 1394},
             {Dlg::kFontSizeMain, 1341},
             {Dlg::kFontOther, 1395},
             {Dlg::kFontSizeOther, 1393},
             {Dlg::kRestoreDefault, 1090}};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

int IntOf(const std::string& text, int fallback)
{
    if (text.empty() || text.size() > 9)
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() ? fallback : static_cast<int>(value);
}

QColor ToQColor(COLORREF c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

CCorvaneSetup::CCorvaneSetup(setup::SetupContext& context)
    : CMyFontDialog(kTemplateId), context_(context)
{
}

bool CCorvaneSetup::InstallDriver(const std::string& entry)
{
    const bool installed = setup::InstallChosenDriver(context_, entry);
    if (installed)
        settingsChanged_ = true;
    return installed;
}

bool CCorvaneSetup::OnInitDialog()
{
    if (auto* model = GetDlgItemAs<QComboBox>(kModel)) {
        model->clear();
        for (int i = 0; i < kModelCount; ++i)
            model->addItem(Q(context_.language.LoadString(kFirstModelString + i)));
    }
    values_ =
        setup::ReadSetupValues(context_.ini, context_.registry, font().family().toStdString());
    if (auto* decimal = GetDlgItemAs<QLineEdit>(kDecimal))
        decimal->setMaxLength(1);
    for (int id : {kFontSizeMain, kFontSizeOther})
        if (auto* sizes = GetDlgItemAs<QComboBox>(id))
            for (int points = settings::reg::kSmallestFontSize;
                 points <= settings::reg::kLargestFontSize; ++points)
                sizes->addItem(QString::number(points));
    if (auto* sample = GetDlgItemAs<CColorEdit>(kSample)) {
        sample->SetPointFont(kSampleFontPoints, font().family().toStdString());
        sample->SetBold();
        sample->setText(QStringLiteral("14"));
    }
    // Bold like the sample, so its caption reads in colours a thin one would drown in.
    if (QWidget* example = GetDlgItem(kExample)) {
        QFont bold = example->font();
        bold.setWeight(QFont::Black);
        example->setFont(bold);
    }
    if (QWidget* audio = GetDlgItem(kAudioSummary))
        audio->setEnabled(static_cast<bool>(context_.audioDialog));
    UpdateSettingsSummary();
    PushValues();
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    // The tips follow the dialog's own check box, not the stored setting.
    ToolTips().SetEnabledSource([this] {
        const auto* box = GetDlgItemAs<QCheckBox>(kToolTips);
        return box == nullptr || box->isChecked();
    });
    SetDlgItemText(kChangeLanguage, "Change Language");
    return CMyFontDialog::OnInitDialog();
}

void CCorvaneSetup::PushValues()
{
    const setup::SetupValues& v = values_;
    if (auto* model = GetDlgItemAs<QComboBox>(kModel))
        model->setCurrentIndex(v.model);
    const auto check = [this](int id, bool on) {
        if (auto* box = GetDlgItemAs<QCheckBox>(id))
            box->setChecked(on);
    };
    check(kExtended, v.extendedFunctions);
    check(kClipboardAuto, v.clipboardAuto);
    check(kToolTips, v.toolTips);
    if (QWidget* g = GetDlgItem(kExtended))
        g->setEnabled(v.model != 0 && v.model != 1);
    SetDlgItemText(kAddress, v.addressText);
    SetDlgItemText(kSMeterLower, std::to_string(v.sMeterLower));
    SetDlgItemText(kSMeterDivisor, std::to_string(v.sMeterDivisor));
    SetDlgItemText(kSMeterRefresh, std::to_string(v.sMeterRefresh));
    SetDlgItemText(kClipboardFactor, std::to_string(v.clipboardFactor));
    SetDlgItemText(kDecimal, v.decimalChar);
    SetDlgItemText(kUtcOffset, v.utcOffset);
    SetDlgItemText(kLog, v.logFile);
    SetDlgItemText(kDelay, std::to_string(v.delayCommand));
    SetDlgItemText(kTimeout, std::to_string(v.timeout));
    SetDlgItemText(kUpdateDays, std::to_string(v.updateDays));
    SetDlgItemText(kLatency, std::to_string(v.latency));
    for (const auto& [id, points] :
         {std::pair{kFontSizeMain, v.fontSizeMain}, std::pair{kFontSizeOther, v.fontSizeOther}})
        if (auto* sizes = GetDlgItemAs<QComboBox>(id))
            // None chosen (0, the windows' own font) stays none.
            sizes->setCurrentIndex(sizes->findText(QString::number(points)));
    for (const auto& [id, face] :
         {std::pair{kFontMain, v.fontMain}, std::pair{kFontOther, v.fontOther}})
        if (auto* combo = GetDlgItemAs<QComboBox>(id)) {
            // A stored face that is not installed stays what is stored.
            if (!face.empty() && combo->findText(Q(face)) < 0)
                combo->insertItem(0, Q(face));
            combo->setCurrentText(Q(face));
        }
    UpdateColorSample();
}

void CCorvaneSetup::TakeValues()
{
    setup::SetupValues& v = values_;
    if (const auto* model = GetDlgItemAs<QComboBox>(kModel))
        v.model = model->currentIndex();
    const auto checked = [this](int id, bool fallback) {
        const auto* box = GetDlgItemAs<QCheckBox>(id);
        return box != nullptr ? box->isChecked() : fallback;
    };
    v.extendedFunctions = checked(kExtended, v.extendedFunctions);
    v.clipboardAuto = checked(kClipboardAuto, v.clipboardAuto);
    v.toolTips = checked(kToolTips, v.toolTips);
    v.addressText = GetDlgItemText(kAddress);
    v.sMeterLower = IntOf(GetDlgItemText(kSMeterLower), v.sMeterLower);
    v.sMeterDivisor = IntOf(GetDlgItemText(kSMeterDivisor), v.sMeterDivisor);
    v.sMeterRefresh = IntOf(GetDlgItemText(kSMeterRefresh), v.sMeterRefresh);
    v.clipboardFactor = IntOf(GetDlgItemText(kClipboardFactor), v.clipboardFactor);
    v.decimalChar = GetDlgItemText(kDecimal).substr(0, 1);
    v.utcOffset = GetDlgItemText(kUtcOffset);
    v.logFile = GetDlgItemText(kLog);
    v.delayCommand = IntOf(GetDlgItemText(kDelay), v.delayCommand);
    v.timeout = IntOf(GetDlgItemText(kTimeout), v.timeout);
    v.updateDays = IntOf(GetDlgItemText(kUpdateDays), v.updateDays);
    v.latency = IntOf(GetDlgItemText(kLatency), v.latency);
    v.fontSizeMain = IntOf(GetDlgItemText(kFontSizeMain), v.fontSizeMain);
    v.fontSizeOther = IntOf(GetDlgItemText(kFontSizeOther), v.fontSizeOther);
    v.fontMain = GetDlgItemText(kFontMain);
    v.fontOther = GetDlgItemText(kFontOther);
}

void CCorvaneSetup::UpdateSettingsSummary()
{
    driverSupport_ = values_.driverMode ? setup::QueryDriverSupport(context_, values_.driverEntry)
                                        : setup::DriverSupport{};
    if (!(values_.driverMode && driverSupport_.ptt))
        setup::ReleasePttLineOnCatPort(values_);
    SetDlgItemText(kPortSummary, setup::PortSummary(values_));
    SetDlgItemText(kPttSummary, setup::PttSummary(context_.language, values_, driverSupport_));
    const setup::AudioSummaryResult audio =
        setup::AudioSummary(context_.language, context_.ini, context_.registry, values_,
                            driverSupport_, context_.audioSystem);
    // Before the first configuration the user has had no chance to choose where the audio
    // comes from: the start that follows reports it, once the configuration is known.
    if (audio.engineError != 0 && IsConfigValid(ReadLinkIdentity(context_.ini)))
        context_.language.ShowMessage({audio::AudioErrorText(context_.language, kMsgAudioError,
                                                             audio.engineError, audio.problem),
                                       "", mb::kOk | mb::kIconError, 0});
    SetDlgItemText(kAudioSummary, audio.text);
}

void CCorvaneSetup::UpdateColorSample()
{
    if (auto* sample = GetDlgItemAs<CColorEdit>(kSample)) {
        sample->SetBkColor(values_.background);
        sample->SetTextColor(values_.text);
    }
    // The example is a key of the main window that is switched on, in these colours.
    if (auto* example = GetDlgItemAs<COnOffButton>(kExample)) {
        ApplyColourScheme(*example,
                          DeriveColourScheme(values_.background, values_.text, values_.checkOn));
        example->SetOn(true);
    }
}

void CCorvaneSetup::ChooseColour(COLORREF& colour)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(colour), this);
    if (!chosen.isValid())
        return;
    colour = RgbColor(chosen.red(), chosen.green(), chosen.blue());
    UpdateColorSample();
}

void CCorvaneSetup::OnModelChange()
{
    TakeValues();
    static constexpr struct {
        bool extended;
        const char* address;
    } kModelRules[] = {{false, "48"}, {false, "4e"}, {true, "58"}, {true, "5e"}};
    const int model = values_.model;
    const bool known = model >= 0 && model < 4;
    values_.extendedFunctions = known ? kModelRules[model].extended : true;
    values_.addressText = known ? kModelRules[model].address : "00";
    PushValues();
}

void CCorvaneSetup::OnPortDialog()
{
    TakeValues();
    CComSet dialog(
        context_, values_, [this](const std::string& e) { return InstallDriver(e); },
        settingsChanged_);
    dialog.SetOwner(this);
    if (dialog.DoModal() != ctl::kIdOk)
        return;
    UpdateSettingsSummary();
    PushValues();
}

void CCorvaneSetup::OnPttDialog()
{
    TakeValues();
    CPTTSet dialog(context_.ini, values_.driverMode && driverSupport_.ptt, false);
    dialog.SetOwner(this);
    if (dialog.DoModal() != ctl::kIdOk)
        return;
    values_.ptt = txrx::ReadPttSettings(context_.ini);
    UpdateSettingsSummary();
    PushValues();
}

void CCorvaneSetup::OnChangeLanguage()
{
    CDlgLng dialog(context_.language, context_.ini, context_.programFolder);
    dialog.SetOwner(this);
    // The language in use chosen again changes nothing: no restart is asked for.
    if (dialog.DoModal() != ctl::kIdCancel && dialog.LanguageChanged())
        settingsChanged_ = true;
}

void CCorvaneSetup::OnRestoreDefault()
{
    if (context_.language.MessageBox(kMsgRestore, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return;
    std::string error;
    if (!setup::RestoreDefaultSettings(context_.ini, context_.registry, &error)) {
        context_.language.ShowMessage({context_.language.FormatString1(kMsgNotSaved, error), "",
                                       mb::kOk | mb::kIconError, 0});
        return;
    }
    settingsChanged_ = true;
    EndDialog(ctl::kIdOk);
}

bool CCorvaneSetup::OnCommand(int id, int code)
{
    if (id == kModel && code == ctl::kCbnSelChange) {
        OnModelChange();
        return true;
    }
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kBackground: ChooseColour(values_.background); return true;
    case kTextColour: ChooseColour(values_.text); return true;
    case kCheckOnColour: ChooseColour(values_.checkOn); return true;
    case kPortSummary: OnPortDialog(); return true;
    case kPttSummary: OnPttDialog(); return true;
    case kAudioSummary:
        if (context_.audioDialog)
            context_.audioDialog(values_.driverMode);
        return true;
    case kChangeLanguage: OnChangeLanguage(); return true;
    case kRestoreDefault: OnRestoreDefault(); return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

bool CCorvaneSetup::Refuse(int messageId, int focusId)
{
    context_.language.MessageBox(messageId, mb::kOk | mb::kIconError);
    if (QWidget* w = GetDlgItem(focusId))
        w->setFocus();
    return false;
}

void CCorvaneSetup::OnOK()
{
    TakeValues();
    switch (setup::CheckSetupValues(values_)) {
    case setup::SetupRefusal::kAddress: Refuse(kMsgBadAddress, kAddress); return;
    case setup::SetupRefusal::kModel: Refuse(kMsgNoModel, kModel); return;
    case setup::SetupRefusal::kPort:
        context_.language.MessageBoxText("Choose the serial port or driver.",
                                         mb::kOk | mb::kIconError);
        return;
    case setup::SetupRefusal::kNone: break;
    }
    if (values_.driverMode && !InstallDriver(values_.driverEntry))
        return;  // the reason was shown; nothing is stored
    std::string error;
    if (!setup::WriteSetupValues(context_.ini, context_.registry, values_, &error)) {
        context_.language.ShowMessage({context_.language.FormatString1(kMsgNotSaved, error), "",
                                       mb::kOk | mb::kIconError, 0});
        return;
    }
    settingsChanged_ = true;
    EndDialog(ctl::kIdOk);
}
