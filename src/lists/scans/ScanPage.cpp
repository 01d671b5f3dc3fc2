#include "ScanPage.h"

#include "CivCodes.h"
#include "FlatButton.h"
#include "GestCommand.h"
#include "Ini.h"
#include "Language.h"
#include "ListPageTools.h"
#include "MainWindowServices.h"
#include "MessagePump.h"
#include "NumEdit.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "ScanPresetEntry.h"
#include "ScanRangeMessage.h"
#include "ScanSteps.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QCheckBox>
#include <QComboBox>

#include <chrono>
#include <thread>

namespace {
using namespace tpl;

constexpr settings::IniInt kFrStart{"Scanner", "FrStart", 0};
constexpr settings::IniInt kFrStop{"Scanner", "FrStop", 0};
constexpr settings::IniInt kFiltro{"Scanner", "Filtro", 0};
constexpr settings::IniInt kMemorie{"Scanner", "Memorie", 0};
constexpr settings::IniString kStepKey{"Scanner", "Step", "5 KHz"};
constexpr settings::IniString kModo{"Scanner", "Modo", "FM"};
// Far beyond a reply timeout on a loaded machine.
constexpr std::chrono::seconds kStopSendLimit{5};
constexpr uint8_t kFallbackMode = 5;  // FM, for a name the radio's list holds but no code has
constexpr COLORREF kOnColour = 0x0000C000;
constexpr COLORREF kOffColour = 0x00000000;

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CScan::kTemplateId, "Scan",
    Column({Group("Range",
                  {Row({Label("Start frequency :"), Control(CScan::kStart, "CNumEdit", "", 0, 12),
                        Label("Hz"), Spacing(1), Label("End frequency :"),
                        Control(CScan::kEnd, "CNumEdit", "", 0, 12), Label("Hz"), Stretch()}),
                   Row({Label("Mode"), Control(CScan::kMode, "COMBOBOX", "", 0, 7),
                        Control(CScan::kFilter, "COnOffButton", "Filter"), Label("Step"),
                        Control(CScan::kStep, "COMBOBOX", "", 0, 9), Stretch()}),
                   Row({Control(CScan::kMemories, "CHECKBOX", "Scanning memories"), Stretch()})}),
            Row({Control(CScan::kScanning, "BUTTON", "Scanning"),
                 Control(CScan::kStop, "BUTTON", "Stop", kDisabled),
                 Control(CScan::kResume, "BUTTON", "Resume Scan."),
                 Control(CScan::kPreset, "BUTTON", "Preset"), Stretch()}),
            Stretch()})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CScan::kStart, 1021},    {CScan::kEnd, 1022},  {CScan::kMemories, 1025},
             {CScan::kScanning, 1023}, {CScan::kStop, 1024}, {CScan::kMode, 1008},
             {CScan::kFilter, 1009},   {CScan::kStep, 1027}, {CScan::kResume, 1028},
             {CScan::kPreset, 1383}};

// The controls a memory scan has no use for.
constexpr int kBandControls[] = {CScan::kStart,  CScan::kEnd,  CScan::kMode,
                                 CScan::kFilter, CScan::kStep, CScan::kPreset};

}  // namespace

CScan::CScan(IMainWindowServices& services) : CTabPage(kTemplateId), services_(services) {}

bool CScan::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    for (int id : {kStart, kEnd})
        if (auto* field = GetDlgItemAs<CNumEdit>(id))
            field->SetFormat(0, ',');
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter)) {
        filter->SetOnOffColors(kOnColour, kOffColour);
        filter->SetOn(false);
    }
    scans::FillScanStepBox(GetDlgItemAs<QComboBox>(kStep));
    FillModes();
    LoadSettings();
    ApplyMemories();
    CTabPage::OnInitDialog();
    return true;
}

void CScan::showEvent(QShowEvent* event)
{
    FillModes();
    CTabPage::showEvent(event);
}

void CScan::FillModes()
{
    lists::FillModeBoxes(services_.Controller().State().modeNames, modesCopied_,
                         {GetDlgItemAs<QComboBox>(kMode)});
}

void CScan::LoadSettings()
{
    const CIni& ini = services_.Ini();
    if (auto* field = GetDlgItemAs<CNumEdit>(kStart))
        field->SetValue(ini.GetInt(kFrStart));
    if (auto* field = GetDlgItemAs<CNumEdit>(kEnd))
        field->SetValue(ini.GetInt(kFrStop));
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(ini.GetInt(kFiltro) != 0);
    if (auto* check = GetDlgItemAs<QCheckBox>(kMemories))
        check->setChecked(ini.GetInt(kMemorie) != 0);
    for (auto [id, key] : {std::pair{kStep, kStepKey}, std::pair{kMode, kModo}})
        if (auto* combo = GetDlgItemAs<QComboBox>(id); combo != nullptr && combo->count() > 0) {
            combo->setCurrentIndex(0);
            scans::SelectComboPrefix(combo, ini.GetString(key));
        }
}

void CScan::SaveSettings()
{
    CIni& ini = services_.Ini();
    const auto* start = GetDlgItemAs<CNumEdit>(kStart);
    const auto* end = GetDlgItemAs<CNumEdit>(kEnd);
    ini.WriteInt(kFrStart, start != nullptr ? static_cast<int>(start->GetValue()) : 0);
    ini.WriteInt(kFrStop, end != nullptr ? static_cast<int>(end->GetValue()) : 0);
    const auto* filter = GetDlgItemAs<COnOffButton>(kFilter);
    ini.WriteInt(kFiltro, filter != nullptr && filter->IsOn() ? 1 : 0);
    ini.WriteInt(kMemorie, Check(kMemories) ? 1 : 0);
    if (GetDlgItem(kMode) != nullptr)
        ini.WriteString(kModo, GetDlgItemText(kMode));
    if (GetDlgItem(kStep) != nullptr)
        ini.WriteString(kStepKey, GetDlgItemText(kStep));
}

bool CScan::Check(int id) const
{
    const auto* check = GetDlgItemAs<QCheckBox>(id);
    return check != nullptr && check->isChecked();
}

bool CScan::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    switch (id) {
    case kScanning: OnScanning(); return true;
    case kResume: OnResume(); return true;
    case kStop: OnStop(); return true;
    case kPreset: OnPreset(); return true;
    case kMemories: ApplyMemories(); return true;
    case kFilter:
        if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
            filter->SetOn(!filter->IsOn());
        return true;
    default: return CTabPage::OnCommand(id, code);
    }
}

void CScan::ApplyMemories()
{
    const bool memories = Check(kMemories);
    if (memories)
        if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
            filter->SetOn(false);
    for (int id : kBandControls)
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(!memories);
}

bool CScan::Send(const lists::ScanCommand& command)
{
    std::array<uint8_t, 4> data{};
    for (std::size_t i = 0; i < command.data.size() && i < data.size(); ++i)
        data[i] = command.data[i];
    return services_.Controller().SendCommandData(command.command, command.sub, data, false)
           != radio::SendResult::NotQueued;
}

void CScan::SendStep()
{
    const int step = lists::ScanStepIndex(GetDlgItemText(kStep));
    Send(lists::ScanStepCommand(step < 0 ? 0 : step));
}

void CScan::OnScanning()
{
    if (Check(kMemories)) {
        Send({civ::kCmdMemory, 0, {}});
    } else {
        const auto* start = GetDlgItemAs<CNumEdit>(kStart);
        const auto* end = GetDlgItemAs<CNumEdit>(kEnd);
        const int64_t from = start != nullptr ? static_cast<int64_t>(start->GetValue()) : 0;
        const int64_t to = end != nullptr ? static_cast<int64_t>(end->GetValue()) : 0;
        const radio::RadioState& st = services_.Controller().State();
        if (scans::RefuseScanRange(services_.Language(), from, to, st.lowerLimit, st.upperLimit,
                                   GetDlgItem(kStart), GetDlgItem(kEnd)))
            return;
        const uint8_t mode = lists::ScanModeCode(GetDlgItemText(kMode)).value_or(kFallbackMode);
        auto* filter = GetDlgItemAs<COnOffButton>(kFilter);
        if (mode == lists::kWfmCode && filter != nullptr)
            filter->SetOn(false);
        const uint8_t filterByte = lists::ScanFilterByte(mode, filter != nullptr && filter->IsOn());
        for (const lists::ScanCommand& command : lists::BandScanEdges(from, to, mode, filterByte))
            Send(command);
    }
    SendStep();
    OnResume();
}

void CScan::ShowRunning(bool running)
{
    running_ = running;
    if (QWidget* w = GetDlgItem(kScanning))
        w->setEnabled(!running);
    if (QWidget* w = GetDlgItem(kResume))
        w->setEnabled(!running);
    if (QWidget* w = GetDlgItem(kStop))
        w->setEnabled(running);
}

void CScan::OnResume()
{
    radio::CRadioController& controller = services_.Controller();
    controller.ReadFrequencyMode(false);
    SaveSettings();
    // Waited for, so a radio that refuses the scan or does not answer leaves the page stopped.
    const radio::SendResult result =
        controller.SendCommand(civ::kCmdScan, civ::kScanStart, {}, true);
    ShowRunning(result == radio::SendResult::Answered);
}

void CScan::OnStop()
{
    services_.Controller().SendCommand(civ::kCmdScan, civ::kScanStop, {}, true);
    ShowRunning(false);
    if (!services_.WaitPumpingMessages(services_.Ini().GetInt(settings::setup::DelayMemory)))
        return;
    services_.Link().OnSync();
}

void CScan::StopBeforeClosing()
{
    if (!running_)
        return;
    radio::CRadioController& controller = services_.Controller();
    controller.SendCommand(civ::kCmdScan, civ::kScanStop, {}, false);
    ShowRunning(false);
    // Nothing is waited for once the program closes, and the queue is cleared right after:
    // the stop goes out before that. The limit only ends a link that no longer takes frames.
    const cat::CGestCommand& worker = controller.Worker();
    const auto end = std::chrono::steady_clock::now() + kStopSendLimit;
    while (!worker.IsIdle() && std::chrono::steady_clock::now() < end) {
        platform::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CScan::OnPreset()
{
    const std::optional<scans::ScanPresetChoice> choice =
        scans::RunScanPresetDialog(services_, this);
    if (!choice)
        return;
    if (auto* field = GetDlgItemAs<CNumEdit>(kStart))
        field->SetValue(static_cast<double>(choice->start));
    if (auto* field = GetDlgItemAs<CNumEdit>(kEnd))
        field->SetValue(static_cast<double>(choice->end));
    scans::SelectComboPrefix(GetDlgItemAs<QComboBox>(kStep), choice->step);
    scans::SelectComboPrefix(GetDlgItemAs<QComboBox>(kMode), choice->mode);
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(choice->filter);
}
