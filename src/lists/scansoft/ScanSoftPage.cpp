#include "ScanSoftPage.h"

#include "AudioRecorder.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "RadioView.h"
#include "MainWindowServices.h"
#include "NumEdit.h"
#include "ScanLogEntry.h"
#include "ScanPresetEntry.h"
#include "ScanSteps.h"
#include "ToolTipLoc.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <string>

namespace {
using namespace tpl;

constexpr const char* kSection = "ScannerSoft";
constexpr int kTextScanning = 1327;
constexpr int kTextStop = 1328;

// The captions that change with the scan mode: frequency, memory.
constexpr struct {
    int control;
    int frequencyText;
    int memoryText;
} kModeTexts[] = {{CScanSoft::kStartCaption, 1320, 1322},
                  {CScanSoft::kEndCaption, 1321, 1323},
                  {CScanSoft::kMemoryMode, 1325, 1326}};
// Usable in frequency mode only.
constexpr int kFrequencyOnly[] = {CScanSoft::kMode, CScanSoft::kFilter, CScanSoft::kStep,
                                  CScanSoft::kPreset};
// What a running scan disables (the extended-function ones are given back by their rules).
constexpr int kScanLocked[] = {CScanSoft::kStart,      CScanSoft::kEnd,     CScanSoft::kPause,
                               CScanSoft::kMode,       CScanSoft::kFilter,  CScanSoft::kStep,
                               CScanSoft::kResume,     CScanSoft::kPause1,  CScanSoft::kPause2,
                               CScanSoft::kLog,        CScanSoft::kViewLog, CScanSoft::kRecord,
                               CScanSoft::kMemoryMode, CScanSoft::kPreset};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {
    {CScanSoft::kStart, 1021},    {CScanSoft::kEnd, 1022},        {CScanSoft::kPause, 1138},
    {CScanSoft::kScanning, 1023}, {CScanSoft::kMemoryMode, 1324}, {CScanSoft::kMode, 1008},
    {CScanSoft::kFilter, 1009},   {CScanSoft::kStep, 1027},       {CScanSoft::kResume, 1028},
    {CScanSoft::kPause1, 1216},   {CScanSoft::kPause2, 1289},     {CScanSoft::kLog, 1217},
    {CScanSoft::kRecord, 1272},   {CScanSoft::kViewLog, 1218},    {CScanSoft::kPreset, 1383}};

// The kept timings without a control: a stored value outside 0..1000 is its default.
struct KeptTiming {
    const char* key;
    int def;
};
constexpr KeptTiming kTimeSql1{"TimeSQL1", 50};
constexpr KeptTiming kTimeSql2{"TimeSQL2", 100};
constexpr KeptTiming kTimeSignal{"TimeSignal", 50};

TemplateItem Label(int id, const char* text)
{
    return Control(id, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CScanSoft::kTemplateId, "Scan Soft",
    Column({Row({Group("Range",
                       {Grid(3, {Label(CScanSoft::kStartCaption, "Start frequency :"),
                                 Control(CScanSoft::kStart, "CNumEdit", "", 0, 12),
                                 Label(CScanSoft::kStartHz, "Hz"),
                                 Label(CScanSoft::kEndCaption, "End frequency :"),
                                 Control(CScanSoft::kEnd, "CNumEdit", "", 0, 12),
                                 Label(CScanSoft::kEndHz, "Hz"), Label(ctl::kIdStatic, "Pause"),
                                 Control(CScanSoft::kPause, "EDIT", "", 0, 6),
                                 Label(ctl::kIdStatic, "ms")})}),
                 Group("Mode", {Grid(2, {Label(ctl::kIdStatic, "Mode"),
                                         Control(CScanSoft::kMode, "COMBOBOX", "", 0, 7),
                                         Label(ctl::kIdStatic, "Step"),
                                         Control(CScanSoft::kStep, "COMBOBOX", "", 0, 9),
                                         Label(ctl::kIdStatic, "Filter"),
                                         Control(CScanSoft::kFilter, "COnOffButton", "Narrow")})}),
                 Group("G Extensions if SQL off :",
                       {Grid(3, {Label(ctl::kIdStatic, "Pause 1"),
                                 Control(CScanSoft::kPause1, "EDIT", "", 0, 6),
                                 Control(CScanSoft::kLog, "CHECKBOX", "Log"),
                                 Label(ctl::kIdStatic, "Pause 2"),
                                 Control(CScanSoft::kPause2, "EDIT", "", 0, 6),
                                 Control(CScanSoft::kRecord, "CHECKBOX", "Record")})}),
                 Stretch()}),
            Row({Control(CScanSoft::kScanning, "BUTTON", "Scanning"),
                 Control(CScanSoft::kResume, "BUTTON", "Resume Scan."),
                 Control(CScanSoft::kPreset, "BUTTON", "Preset"),
                 Control(CScanSoft::kViewLog, "BUTTON", "View Log"),
                 Control(CScanSoft::kMemoryMode, "BUTTON", "Memory Mode"), Stretch()}),
            Stretch()})}};

constexpr COLORREF kOnColour = 0x0000C000;
constexpr COLORREF kOffColour = 0x00000000;

int ReadKept(const CIni& ini, const KeptTiming& t)
{
    const int v = ini.GetInt(kSection, t.key, t.def);
    return v < 0 || v > 1000 ? t.def : v;
}

// A pause field's number, '.' (a thousands mark) left out; what is no number reads as 0.
int PauseValue(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
    try {
        return std::stoi(text);
    } catch (...) {
        return 0;
    }
}

}  // namespace

CScanSoft::CScanSoft(IMainWindowServices& services, std::string logPath, std::string wavFolder,
                     Audio audio)
    : CTabPage(kTemplateId),
      services_(services),
      logPath_(std::move(logPath)),
      wavFolder_(std::move(wavFolder)),
      audio_(std::move(audio)),
      log_(services.Language())
{
}

CScanSoft::~CScanSoft() = default;

bool CScanSoft::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    for (int id : {kStart, kEnd})
        if (auto* field = GetDlgItemAs<CNumEdit>(id))
            field->SetFormat(0, ',');
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOnOffColors(kOnColour, kOffColour);
    scans::FillScanStepBox(GetDlgItemAs<QComboBox>(kStep));
    FillModeBox();
    LoadSettings();
    SetDlgItemText(kScanning, services_.Language().LoadString(kTextScanning));
    UpdateModeView();
    ApplyEnabling();
    CTabPage::OnInitDialog();
    return true;
}

void CScanSoft::showEvent(QShowEvent* event)
{
    CTabPage::showEvent(event);
    if (stopped_) {
        FillModeBox();
        ApplyEnabling();
    }
}

bool CScanSoft::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    switch (id) {
    case kScanning: RunScan(0); return true;
    case kResume: OnResume(); return true;
    case kMemoryMode: OnMemoryMode(); return true;
    case kLog: ApplyEnabling(); return true;
    case kPreset: OnPreset(); return true;
    case kViewLog: OnViewLog(); return true;
    case kFilter:
        if (auto* button = GetDlgItemAs<COnOffButton>(id))
            button->SetOn(!button->IsOn());
        return true;
    default: return CTabPage::OnCommand(id, code);
    }
}

// ---- Settings ----

void CScanSoft::LoadSettings()
{
    const CIni& ini = services_.Ini();
    scanMode_ = ini.GetInt(kSection, "ScanMode", 0) == 1 ? 1 : 0;
    const bool memory = scanMode_ == 1;
    SetField(kStart, ini.GetInt(kSection, memory ? "MemStart" : "FrStart", 0));
    SetField(kEnd, ini.GetInt(kSection, memory ? "MemStop" : "FrStop", 0));
    if (auto* mode = GetDlgItemAs<QComboBox>(kMode))
        mode->setCurrentIndex(std::max(
            0, mode->findText(QString::fromStdString(ini.GetString(kSection, "Modo", "FM")))));
    if (auto* step = GetDlgItemAs<QComboBox>(kStep)) {
        const int i =
            step->findText(QString::fromStdString(ini.GetString(kSection, "Step", "5 KHz")));
        step->setCurrentIndex(i >= 0 ? i : 3);
    }
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(ini.GetInt(kSection, "Filtro", 0) != 0);
    SetDlgItemText(kPause, std::to_string(ini.GetInt(kSection, "Pausa", 1000)));
    int pause1 = PauseValue(ini.GetString(kSection, "PausaSQL", "-1"));
    if (pause1 < -1)
        pause1 = -pause1;
    SetDlgItemText(kPause1, std::to_string(pause1));
    SetDlgItemText(kPause2, std::to_string(PauseValue(ini.GetString(kSection, "PausaSQL2", "0"))));
    SetChecked(kLog, ini.GetInt(kSection, "LogSQL", 0) != 0);
    SetChecked(kRecord, ini.GetInt(kSection, "Registra", 0) != 0);
    timeSql1_ = ReadKept(ini, kTimeSql1);
    timeSql2_ = ReadKept(ini, kTimeSql2);
    timeSignal_ = ReadKept(ini, kTimeSignal);
}

void CScanSoft::SaveSettings()
{
    CIni& ini = services_.Ini();
    const bool memory = scanMode_ == 1;
    ini.WriteInt(kSection, memory ? "MemStart" : "FrStart", static_cast<int>(Field(kStart)));
    ini.WriteInt(kSection, memory ? "MemStop" : "FrStop", static_cast<int>(Field(kEnd)));
    if (auto* mode = GetDlgItemAs<QComboBox>(kMode); mode != nullptr && mode->count() > 0)
        ini.WriteString(kSection, "Modo", mode->currentText().toStdString().c_str());
    if (auto* step = GetDlgItemAs<QComboBox>(kStep))
        ini.WriteString(kSection, "Step", step->currentText().toStdString().c_str());
    ini.WriteInt(kSection, "Filtro", Checked(kFilter) ? 1 : 0);
    ini.WriteString(kSection, "Pausa", GetDlgItemText(kPause).c_str());
    ini.WriteInt(kSection, "LogSQL", Checked(kLog) ? 1 : 0);
    ini.WriteInt(kSection, "Registra", Checked(kRecord) ? 1 : 0);
    ini.WriteString(kSection, "PausaSQL", GetDlgItemText(kPause1).c_str());
    ini.WriteString(kSection, "PausaSQL2", GetDlgItemText(kPause2).c_str());
    ini.WriteInt(kSection, kTimeSql1.key, timeSql1_);
    ini.WriteInt(kSection, kTimeSql2.key, timeSql2_);
    ini.WriteInt(kSection, kTimeSignal.key, timeSignal_);
    ini.WriteInt(kSection, "ScanMode", scanMode_);
}

// ---- The page's look ----

void CScanSoft::FillModeBox()
{
    const std::vector<std::string>& modes = services_.Controller().State().modeNames;
    auto* box = GetDlgItemAs<QComboBox>(kMode);
    if (box == nullptr || modes == modesCopied_)
        return;
    modesCopied_ = modes;
    const QString kept = box->currentText();
    const QSignalBlocker quiet(box);
    box->clear();
    // Only named modes: every choice carries its code.
    for (std::size_t i = 0; i < modes.size(); ++i)
        if (!modes[i].empty())
            box->addItem(QString::fromStdString(modes[i]), static_cast<int>(i));
    box->setCurrentIndex(std::max(0, box->findText(kept)));
}

bool CScanSoft::ExtendedFunctions() const
{
    return services_.Controller().State().extendedFunctions;
}

bool CScanSoft::RecordingAvailable() const
{
    return audio_.available && audio_.available() && Recorder() != nullptr;
}

CAudioRecorder* CScanSoft::Recorder() const
{
    return audio_.recorder ? audio_.recorder() : nullptr;
}

void CScanSoft::ApplyEnabling()
{
    const bool extended = ExtendedFunctions();
    for (int id : {kPause1, kPause2, kLog, kViewLog})
        Enable(id, extended);
    Enable(kRecord, extended && Checked(kLog) && RecordingAvailable());
}

void CScanSoft::UpdateModeView()
{
    const bool memory = scanMode_ == 1;
    const CLanguage& language = services_.Language();
    for (const auto& t : kModeTexts)
        SetDlgItemText(t.control, language.LoadString(memory ? t.memoryText : t.frequencyText));
    for (int id : {kStartHz, kEndHz})
        SetDlgItemText(id, memory ? "" : "Hz");
    for (int id : kFrequencyOnly)
        Enable(id, !memory);
}

void CScanSoft::SetControlsForScan(bool scanning)
{
    services_.View().EnableControl(radio::ctl::kExit, !scanning);
    for (int id : kScanLocked)
        Enable(id, !scanning);
    SetDlgItemText(kScanning,
                   services_.Language().LoadString(scanning ? kTextStop : kTextScanning));
    if (!scanning) {
        ApplyEnabling();
        UpdateModeView();
    }
}

void CScanSoft::OnMemoryMode()
{
    SaveSettings();
    scanMode_ = scanMode_ == 1 ? 0 : 1;
    const CIni& ini = services_.Ini();
    const bool memory = scanMode_ == 1;
    SetField(kStart, ini.GetInt(kSection, memory ? "MemStart" : "FrStart", 0));
    SetField(kEnd, ini.GetInt(kSection, memory ? "MemStop" : "FrStop", 0));
    services_.Ini().WriteInt(kSection, "ScanMode", scanMode_);
    UpdateModeView();
}

void CScanSoft::OnResume()
{
    if (!stopped_)
        return;
    services_.Controller().ReadFrequencyMode(true);
    const int64_t start = Field(kStart);
    const int64_t end = Field(kEnd);
    int64_t position = start;
    if (scanMode_ == 1) {
        if (lastChannel_ >= 1 && lastChannel_ <= 99)
            position = lastChannel_;
    } else {
        const int64_t now = services_.Controller().State().frequencyHz;
        if (now >= start && now <= end)
            position = now;
    }
    // A refused start leaves the page as it was: RunScan changes the controls only once it runs.
    RunScan(position);
}

void CScanSoft::OnPreset()
{
    const std::optional<scans::ScanPresetChoice> choice =
        scans::RunScanPresetDialog(services_, this);
    if (!choice)
        return;
    SetField(kStart, choice->start);
    SetField(kEnd, choice->end);
    scans::SelectComboPrefix(GetDlgItemAs<QComboBox>(kStep), choice->step);
    scans::SelectComboPrefix(GetDlgItemAs<QComboBox>(kMode), choice->mode);
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(choice->filter);
}

void CScanSoft::OnViewLog()
{
    const auto* mode = GetDlgItemAs<QComboBox>(kMode);
    // Without audio support the log plays nothing.
    scans::RunScanLogDialog(services_, this, logPath_,
                            {mode != nullptr ? mode->currentIndex() : 0, Checked(kFilter)},
                            RecordingAvailable() ? Recorder() : nullptr);
}

// ---- Control helpers ----

int64_t CScanSoft::Field(int id) const
{
    const auto* field = GetDlgItemAs<CNumEdit>(id);
    return field != nullptr ? static_cast<int64_t>(field->GetValue()) : 0;
}

void CScanSoft::SetField(int id, int64_t value)
{
    if (auto* field = GetDlgItemAs<CNumEdit>(id))
        field->SetValue(static_cast<double>(value));
}

bool CScanSoft::Checked(int id) const
{
    if (const auto* onOff = GetDlgItemAs<COnOffButton>(id))
        return onOff->IsOn();
    const auto* button = GetDlgItemAs<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

void CScanSoft::SetChecked(int id, bool on)
{
    if (auto* button = GetDlgItemAs<QAbstractButton>(id))
        button->setChecked(on);
}

void CScanSoft::Enable(int id, bool on)
{
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(on);
}
