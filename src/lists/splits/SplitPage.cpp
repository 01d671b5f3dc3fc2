#include "SplitPage.h"

#include "AsciiCase.h"
#include "ChannelTuning.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "NumEdit.h"
#include "RadioController.h"
#include "RadioModes.h"
#include "TildeTextRecord.h"
#include "ToolTipLoc.h"

#include <QApplication>
#include <QComboBox>

namespace {
using namespace tpl;

constexpr settings::IniInt kCorrente{"Split", "Corrente", 0};

constexpr int kMsgSaveFailed = 109;
constexpr int kMsgNoOffset = 110;
constexpr int kMsgNoDescription = 111;
constexpr int kMsgAskDelete = 112;
constexpr int kMsgAskReplace = 126;

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CSplit::kTemplateId, "Split",
    Column(
        {Row({Label("List Split"), Control(CSplit::kList, "COMBOBOX", "", 0, 30), Stretch()}),
         Row({Label("Description"), Control(CSplit::kDescription, "EDIT", "", 0, 30), Stretch()}),
         Row({Label("Offset (Hz)"), Control(CSplit::kOffset, "CNumEdit", "", 0, 12),
              Control(CSplit::kMode, "COMBOBOX", "", 0, 7),
              Control(CSplit::kFilter, "COnOffButton", "Narrow"), Stretch()}),
         Row({Control(CSplit::kNew, "BUTTON", "New Split"),
              Control(CSplit::kSave, "BUTTON", "Save Split"),
              Control(CSplit::kDelete, "BUTTON", "Delete Split"),
              Control(CSplit::kActivate, "BUTTON", "Active Split"), Stretch()}),
         Stretch()})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CSplit::kMode, 1008}, {CSplit::kFilter, 1009},     {CSplit::kActivate, 1016},
             {CSplit::kNew, 1029},  {CSplit::kDelete, 1030},     {CSplit::kList, 1031},
             {CSplit::kSave, 1033}, {CSplit::kDescription, 1032}};

// On/off button colours: the state shows in the caption's colour.
constexpr COLORREF kOnColour = 0x0000C000;
constexpr COLORREF kOffColour = 0x00000000;

}  // namespace

CSplit::CSplit(IMainWindowServices& services, std::string path)
    : CTabPage(kTemplateId),
      services_(services),
      path_(std::move(path)),
      file_("split presets", kMsgSaveFailed)
{
}

bool CSplit::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    if (auto* offset = GetDlgItemAs<CNumEdit>(kOffset)) {
        // The sign stands in front, so "-1.500.000" reads back as it shows.
        offset->SetFormat(0, ',', true, true);
        offset->SetValue(0);
    }
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter)) {
        filter->SetOnOffColors(kOnColour, kOffColour);
        filter->SetOn(false);
    }
    FillModeCombo();
    LoadSplits();
    CTabPage::OnInitDialog();
    return true;
}

bool CSplit::OnCommand(int id, int code)
{
    if (id == kList && code == ctl::kCbnSelChange) {
        if (const auto* combo = GetDlgItemAs<QComboBox>(kList))
            selected_ = combo->currentIndex();
        ShowSelectedSplit();
        return true;
    }
    if (id == kDescription && code == ctl::kEnChange) {
        OnDescriptionTyped();
        return true;
    }
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    switch (id) {
    case kSave: OnSave(); return true;
    case kDelete: OnDelete(); return true;
    case kNew: OnNew(); return true;
    case kActivate: OnActivate(); return true;
    case kFilter:
        if (auto* button = GetDlgItemAs<COnOffButton>(id))
            button->SetOn(!button->IsOn());
        return true;
    default: return CTabPage::OnCommand(id, code);
    }
}

// ---- The list and its file ----

void CSplit::LoadSplits()
{
    lists::ListFileResult read;
    list_ = lists::LoadSplitFile(path_, &read);
    file_.Loaded(services_.Language(), path_, read);
    FillList();
    if (list_.Empty()) {
        if (auto* mode = GetDlgItemAs<QComboBox>(kMode); mode != nullptr && mode->count() > 0)
            mode->setCurrentIndex(0);
        Select(-1);
        return;
    }
    const int stored = services_.Ini().GetInt(kCorrente);
    Select(stored >= 0 && stored < static_cast<int>(list_.Size()) ? stored : 0);
    ShowSelectedSplit();
}

bool CSplit::SaveSplits()
{
    if (!file_.Save(services_.Language(), path_, list_.Text()))
        return false;
    if (!list_.Empty())
        services_.Ini().WriteInt(kCorrente, selected_);
    return true;
}

void CSplit::FillList()
{
    QStringList shown;
    shown.reserve(static_cast<int>(list_.Size()));
    for (std::size_t i = 0; i < list_.Size(); ++i)
        shown.push_back(QString::fromStdString(list_.At(i).description));
    lists::ShowListTexts(GetDlgItemAs<QComboBox>(kList), shown);
}

void CSplit::Select(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(list_.Size()) ? index : -1;
    lists::ShowListIndex(GetDlgItemAs<QComboBox>(kList), selected_);
}

// ---- Editing ----

void CSplit::ShowSelectedSplit()
{
    if (selected_ < 0 || selected_ >= static_cast<int>(list_.Size()))
        return;
    const std::optional<lists::SplitPreset> preset =
        lists::ParseSplitLine(list_.At(static_cast<std::size_t>(selected_)).line);
    if (!preset)
        return;
    FillModeCombo();
    showing_ = true;
    SetDlgItemText(kDescription, preset->description);
    showing_ = false;
    if (auto* offset = GetDlgItemAs<CNumEdit>(kOffset))
        offset->SetValue(static_cast<double>(lists::SplitOffset(preset->offset)));
    if (auto* mode = GetDlgItemAs<QComboBox>(kMode))
        for (int i = 0; i < mode->count(); ++i)
            if (platform::AsciiIStartsWith(mode->itemText(i).toStdString(), preset->mode)) {
                mode->setCurrentIndex(i);
                break;
            }
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(preset->narrow);
}

void CSplit::OnDescriptionTyped()
{
    if (showing_)
        return;
    const std::string typed = GetDlgItemText(kDescription);
    if (typed.empty())
        return;
    if (const int found = list_.FindPrefix(typed); found >= 0)
        Select(found);
}

lists::SplitPreset CSplit::PresetFromControls() const
{
    lists::SplitPreset preset;
    preset.description = GetDlgItemText(kDescription);
    preset.offset = GetDlgItemText(kOffset);
    preset.mode = GetDlgItemText(kMode);
    preset.narrow = FilterOn();
    return preset;
}

bool CSplit::FilterOn() const
{
    const auto* filter = GetDlgItemAs<COnOffButton>(kFilter);
    return filter != nullptr && filter->IsOn();
}

void CSplit::OnSave()
{
    const CLanguage& language = services_.Language();
    if (lists::TrimBlanks(GetDlgItemText(kDescription)).empty()) {
        language.MessageBox(kMsgNoDescription, mb::kOk | mb::kIconError);
        Focus(kDescription);
        return;
    }
    if (lists::SplitOffset(GetDlgItemText(kOffset)) == 0) {
        language.MessageBox(kMsgNoOffset, mb::kOk | mb::kIconError);
        Focus(kOffset);
        return;
    }
    // As it reads back: a "~" of the description is a blank in the list too.
    std::string line = lists::JoinSplitLine(PresetFromControls());
    const std::optional<lists::SplitPreset> stored = lists::ParseSplitLine(line);
    if (const int same = list_.FindSame(*stored); same >= 0) {
        Select(same);
        return;
    }
    // A stored preset whose description begins so is replaced when the user says so.
    if (const int named = list_.FindPrefix(stored->description); named >= 0) {
        if (language.MessageBox(kMsgAskReplace, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes) {
            Focus(kDescription);
            return;
        }
        list_.Erase(static_cast<std::size_t>(named));
    }
    const int added = list_.Insert(std::move(line));
    file_.Changed();
    FillList();
    Select(added);
}

void CSplit::OnDelete()
{
    if (list_.Empty() || selected_ < 0
        || services_.Language().MessageBox(kMsgAskDelete, mb::kYesNo | mb::kIconExclamation)
               != mb::kIdYes)
        return;
    list_.Erase(static_cast<std::size_t>(selected_));
    file_.Changed();
    FillList();
    Select(std::min(selected_, static_cast<int>(list_.Size()) - 1));
    ShowSelectedSplit();
}

void CSplit::OnNew()
{
    SetDlgItemText(kDescription, "");
    if (auto* offset = GetDlgItemAs<CNumEdit>(kOffset))
        offset->SetValue(0);
    Focus(kDescription);
}

void CSplit::OnActivate()
{
    const CLanguage& language = services_.Language();
    const int64_t offset = lists::SplitOffset(GetDlgItemText(kOffset));
    if (offset == 0) {
        language.MessageBox(kMsgNoOffset, mb::kOk | mb::kIconError);
        Focus(kOffset);
        return;
    }
    radio::CRadioController& controller = services_.Controller();
    if (!controller.EnsureVfoKnown())
        return;
    const radio::RadioState& state = controller.State();
    const int current = state.currentVfo;
    const int other = current == radio::kVfoA ? radio::kVfoB : radio::kVfoA;
    const std::string mode = GetDlgItemText(kMode);
    const int modeNumber = lists::ModeNumber(mode);
    // The wide filter goes with WFM whatever the button shows.
    const bool narrow = FilterOn() && modeNumber != radio::kWfm;

    // Nothing goes out unless the other VFO can take its frequency: split on at its old one
    // would be worse than no change.
    lists::ChannelVfo shown{state.frequencyHz, mode, narrow};
    lists::ChannelVfo tuned{state.frequencyHz + offset, mode, narrow};
    const lists::ChannelTuning channel{current == radio::kVfoA ? shown : tuned,
                                       current == radio::kVfoA ? tuned : shown, true,
                                       current == radio::kVfoB};
    if (const int refusal =
            lists::CheckChannelLimits(channel, state.lowerLimit, state.upperLimit)) {
        language.ShowMessage({language.Format(refusal, {static_cast<long long>(state.lowerLimit),
                                                        static_cast<long long>(state.upperLimit)}),
                              "", mb::kOk | mb::kIconError, 0});
        Focus(kOffset);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    controller.ActivateVfo(current, false);
    controller.TuneVfo(other, tuned.hz, modeNumber, narrow, false);
    controller.ActivateVfo(current, false);
    controller.SendSplit(true);
    controller.ReadFrequencyMode(false);
    QApplication::restoreOverrideCursor();
}

void CSplit::FillModeCombo()
{
    lists::FillModeBoxes(services_.Controller().State().modeNames, modesCopied_,
                         {GetDlgItemAs<QComboBox>(kMode)});
}

void CSplit::Focus(int id)
{
    lists::FocusControl(GetDlgItem(id));
}
