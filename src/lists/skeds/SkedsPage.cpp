#include "SkedsPage.h"

#include "AsciiCase.h"
#include "Clock.h"
#include "DatePicker.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "LinkSettings.h"
#include "MainTimer.h"
#include "MainWindowServices.h"
#include "MaskEdit.h"
#include "NumEdit.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "RadioView.h"
#include "SkedDeleteDlg.h"
#include "SkedRecurDlg.h"
#include "SkedWarning.h"
#include "TildeTextRecord.h"
#include "ToolTipLoc.h"

#include <QCheckBox>
#include <QPointer>
#include <QTimer>
#include <QComboBox>
#include <QDateEdit>

#include <cstdio>

namespace {
using namespace tpl;

constexpr settings::IniInt kCorrente{"Skeds", "Corrente", 0};
constexpr settings::IniInt kAutoDeleteOldKey{"Skeds", "AutoDeleteOld", 0};

constexpr int kMsgSaveFailed = 136;
constexpr int kMsgAskDelete = 137;
constexpr int kMsgNoDescription = 138;
constexpr int kMsgSameDescription = 139;
constexpr int kMsgSameMinute = 140;
constexpr int kMsgCountdown = 1173;
constexpr int kMsgAskCancel = 1174;
constexpr int kCountdownSteps = 30;
constexpr const char* kVfoA = "VFO A";
constexpr const char* kVfoB = "VFO B";
TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

// One VFO's frequency, mode and filter; both VFOs stand side by side.
std::vector<TemplateItem> VfoFields(const char* name, int frequency, int mode, int filter)
{
    return {Label(name), Control(frequency, "CNumEdit", "", 0, 12),
            Control(mode, "COMBOBOX", "", 0, 7), Control(filter, "COnOffButton", "Narrow")};
}

TemplateItem VfoRow()
{
    std::vector<TemplateItem> row =
        VfoFields("VFO A", CSkeds::kFrequencyA, CSkeds::kModeA, CSkeds::kFilterA);
    row.push_back(Spacing(2));
    for (TemplateItem& item :
         VfoFields("VFO B", CSkeds::kFrequencyB, CSkeds::kModeB, CSkeds::kFilterB))
        row.push_back(std::move(item));
    row.push_back(Stretch());
    return Row(std::move(row));
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CSkeds::kTemplateId, "Skeds",
    Column(
        {Row({Label("List Skeds"), Control(CSkeds::kList, "COMBOBOX", "", 0, 32),
              Label("Description"), Control(CSkeds::kDescription, "EDIT", "", 0, 24), Stretch()}),
         VfoRow(),
         Row({Label("Time (UTC)"), Control(CSkeds::kTime, "CTimeEdit", "", 0, 6),
              Label("Date (UTC)"), Control(CSkeds::kDate, DatePickerClass(), "", 0, 10), Spacing(2),
              Control(CSkeds::kAutoDeleteOld, "CHECKBOX", "Delete old skeds on startup"),
              Stretch()}),
         Row({Control(CSkeds::kSplit, "COnOffButton", "Split"), Label("Active VFO"),
              Control(CSkeds::kActiveVfo, "COMBOBOX"), Stretch()}),
         Row({Control(CSkeds::kDelete, "BUTTON", "Delete"), Control(CSkeds::kNew, "BUTTON", "New"),
              Control(CSkeds::kSave, "BUTTON", "Save"),
              Control(CSkeds::kDeleteSkeds, "BUTTON", "Delete skeds"),
              Control(CSkeds::kCreateRecur, "BUTTON", "Create recur sked"), Stretch()}),
         Stretch()})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {
    {CSkeds::kList, 1060},        {CSkeds::kDelete, 1065},      {CSkeds::kDescription, 1066},
    {CSkeds::kFilterA, 1038},     {CSkeds::kFilterB, 1039},     {CSkeds::kModeA, 1040},
    {CSkeds::kModeB, 1041},       {CSkeds::kNew, 1172},         {CSkeds::kSave, 1064},
    {CSkeds::kSplit, 1010},       {CSkeds::kFrequencyA, 1043},  {CSkeds::kFrequencyB, 1044},
    {CSkeds::kActiveVfo, 1061},   {CSkeds::kTime, 1126},        {CSkeds::kDate, 1171},
    {CSkeds::kDeleteSkeds, 1176}, {CSkeds::kCreateRecur, 1334}, {CSkeds::kAutoDeleteOld, 1339}};

// On/off button colours: the state shows in the caption's colour.
constexpr COLORREF kOnColour = 0x0000C000;
constexpr COLORREF kOffColour = 0x00000000;

}  // namespace

CSkeds::CSkeds(IMainWindowServices& services, const mainwnd::IClock& clock, std::string path)
    : CTabPage(kTemplateId),
      services_(services),
      clock_(clock),
      path_(std::move(path)),
      file_("skeds", kMsgSaveFailed)
{
    // What waited for a long operation fires once the operation has unwound.
    QPointer<CSkeds> self(this);
    services_.Controller().SetLongOperationsEndedHandler([self] {
        if (self)
            QTimer::singleShot(0, self, [self] {
                if (self)
                    self->FirePending();
            });
    });
}

bool CSkeds::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    for (int id : {kFrequencyA, kFrequencyB})
        if (auto* field = GetDlgItemAs<CNumEdit>(id)) {
            field->SetFormat(0, ',');
            field->SetValue(0);
        }
    for (int id : {kFilterA, kFilterB, kSplit})
        if (auto* button = GetDlgItemAs<COnOffButton>(id)) {
            button->SetOnOffColors(kOnColour, kOffColour);
            button->SetOn(false);
        }
    if (auto* active = GetDlgItemAs<QComboBox>(kActiveVfo)) {
        active->addItem(kVfoA);
        active->addItem(kVfoB);
        active->setCurrentIndex(0);
    }
    FillModeCombos();
    SetNow();
    if (auto* check = GetDlgItemAs<QCheckBox>(kAutoDeleteOld))
        check->setChecked(services_.Ini().GetInt(kAutoDeleteOldKey) != 0);
    LoadSkeds();
    CTabPage::OnInitDialog();
    return true;
}

bool CSkeds::OnCommand(int id, int code)
{
    if (id == kList && code == ctl::kCbnSelChange) {
        OnSelectSked();
        return true;
    }
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    switch (id) {
    case kSave: OnSave(); return true;
    case kDelete: OnDelete(); return true;
    case kNew: OnNew(); return true;
    case kCreateRecur: OnCreateRecurring(); return true;
    case kDeleteSkeds: OnDeleteSkeds(); return true;
    case kFilterA:
    case kFilterB:
    case kSplit:
        if (auto* button = GetDlgItemAs<COnOffButton>(id))
            button->SetOn(!button->IsOn());
        return true;
    default: return CTabPage::OnCommand(id, code);
    }
}

// ---- The list and its file ----

void CSkeds::LoadSkeds()
{
    std::optional<std::string> dropBefore;
    const auto* check = GetDlgItemAs<QCheckBox>(kAutoDeleteOld);
    if (check != nullptr && check->isChecked())
        if (const std::optional<std::tm> utc = clock_.Utc(clock_.Now()))
            dropBefore = lists::SkedKeyOf(*utc);
    lists::ListFileResult read;
    list_ = lists::LoadSkedFile(path_, dropBefore, &read);
    file_.Loaded(services_.Language(), path_, read);
    // The old skeds left out go from the file at the next save.
    if (list_.Dropped() > 0)
        file_.Changed();
    FillList();
    if (list_.Empty()) {
        for (int id : {kModeA, kModeB})
            if (auto* combo = GetDlgItemAs<QComboBox>(id); combo != nullptr && combo->count() > 0)
                combo->setCurrentIndex(0);
        Select(-1);
        return;
    }
    const int stored = services_.Ini().GetInt(kCorrente);
    Select(stored >= 0 && stored < static_cast<int>(list_.Size()) ? stored : 0);
    OnSelectSked();
}

bool CSkeds::SaveSkeds()
{
    if (!file_.Save(services_.Language(), path_, list_.Text()))
        return false;
    if (!list_.Empty()) {
        CIni& ini = services_.Ini();
        ini.WriteInt(kCorrente, selected_);
        const auto* check = GetDlgItemAs<QCheckBox>(kAutoDeleteOld);
        ini.WriteInt(kAutoDeleteOldKey, check != nullptr && check->isChecked() ? 1 : 0);
    }
    return true;
}

void CSkeds::FillList()
{
    QStringList shown;
    shown.reserve(static_cast<int>(list_.Size()));
    for (std::size_t i = 0; i < list_.Size(); ++i)
        shown.push_back(QString::fromStdString(list_.ShownText(i)));
    lists::ShowListTexts(GetDlgItemAs<QComboBox>(kList), shown);
}

void CSkeds::Select(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(list_.Size()) ? index : -1;
    lists::ShowListIndex(GetDlgItemAs<QComboBox>(kList), selected_);
}

// ---- Editing ----

void CSkeds::OnSelectSked()
{
    if (const auto* combo = GetDlgItemAs<QComboBox>(kList))
        selected_ = combo->currentIndex();
    ShowSelectedSked();
}

void CSkeds::ShowSelectedSked()
{
    // Nothing left to show: empty fields, so that no removed sked is saved back by accident.
    if (selected_ < 0 || selected_ >= static_cast<int>(list_.Size())) {
        SetDlgItemText(kDescription, "");
        for (int id : {kFrequencyA, kFrequencyB})
            if (auto* field = GetDlgItemAs<CNumEdit>(id))
                field->SetValue(0);
        return;
    }
    if (const std::optional<lists::SkedLine> sked =
            lists::ParseSkedLine(list_.At(static_cast<std::size_t>(selected_)).line))
        ShowSked(*sked);
}

void CSkeds::ShowSked(const lists::SkedLine& sked)
{
    nowShown_.clear();
    FillModeCombos();
    SetDlgItemText(kDescription, sked.description);
    const struct {
        int frequency, mode, filter;
        const std::string& hz;
        const std::string& name;
        bool narrow;
    } vfos[] = {{kFrequencyA, kModeA, kFilterA, sked.frequencyA, sked.modeA, sked.narrowA},
                {kFrequencyB, kModeB, kFilterB, sked.frequencyB, sked.modeB, sked.narrowB}};
    for (const auto& v : vfos) {
        if (auto* field = GetDlgItemAs<CNumEdit>(v.frequency))
            field->SetValue(static_cast<double>(lists::SkedFrequency(v.hz)));
        if (auto* combo = GetDlgItemAs<QComboBox>(v.mode))
            for (int i = 0; i < combo->count(); ++i)
                if (platform::AsciiIStartsWith(combo->itemText(i).toStdString(), v.name)) {
                    combo->setCurrentIndex(i);
                    break;
                }
        if (auto* button = GetDlgItemAs<COnOffButton>(v.filter))
            button->SetOn(v.narrow);
    }
    if (auto* split = GetDlgItemAs<COnOffButton>(kSplit))
        split->SetOn(sked.split);
    if (auto* active = GetDlgItemAs<QComboBox>(kActiveVfo))
        active->setCurrentIndex(sked.activeB ? 1 : 0);
    if (const std::optional<std::tm> t = lists::ParseSkedKey(sked.key)) {
        const QDateTime at(QDate(t->tm_year + 1900, t->tm_mon + 1, t->tm_mday),
                           QTime(t->tm_hour, t->tm_min));
        if (auto* time = GetDlgItemAs<CTimeEdit>(kTime))
            DDX_TimeEditSet(at, *time);
        if (auto* date = GetDlgItemAs<QDateEdit>(kDate))
            date->setDate(at.date());
    }
}

lists::SkedLine CSkeds::SkedFromControls() const
{
    lists::SkedLine sked;
    QDateTime at(QDate(2000, 1, 1), QTime(0, 0));
    if (const auto* date = GetDlgItemAs<QDateEdit>(kDate))
        at.setDate(date->date());
    if (const auto* time = GetDlgItemAs<CTimeEdit>(kTime))
        DDX_TimeEditGet(at, *time);
    sked.key = at.toString(QStringLiteral("yyyyMMddHHmm")).toStdString();
    sked.description = GetDlgItemText(kDescription);
    sked.frequencyA = GetDlgItemText(kFrequencyA);
    sked.modeA = GetDlgItemText(kModeA);
    sked.frequencyB = GetDlgItemText(kFrequencyB);
    sked.modeB = GetDlgItemText(kModeB);
    auto on = [this](int id) {
        const auto* button = GetDlgItemAs<COnOffButton>(id);
        return button != nullptr && button->IsOn();
    };
    sked.narrowA = on(kFilterA);
    sked.narrowB = on(kFilterB);
    sked.split = on(kSplit);
    sked.activeB = GetDlgItemText(kActiveVfo) == kVfoB;
    return sked;
}

bool CSkeds::RefuseOutOfLimits(const lists::ChannelTuning& channel)
{
    const radio::RadioState& state = services_.Controller().State();
    const int refusal = lists::CheckChannelLimits(channel, state.lowerLimit, state.upperLimit);
    if (refusal == 0)
        return false;
    const CLanguage& language = services_.Language();
    language.ShowMessage({language.Format(refusal, {static_cast<long long>(state.lowerLimit),
                                                    static_cast<long long>(state.upperLimit)}),
                          "", mb::kOk | mb::kIconError, 0});
    Focus(refusal == lists::kStrVfoBOutOfLimits ? kFrequencyB : kFrequencyA);
    return true;
}

std::optional<lists::SkedLine> CSkeds::CheckedSked()
{
    if (lists::TrimBlanks(GetDlgItemText(kDescription)).empty()) {
        services_.Language().MessageBox(kMsgNoDescription, mb::kOk | mb::kIconError);
        Focus(kDescription);
        return std::nullopt;
    }
    lists::SkedLine sked = SkedFromControls();
    if (RefuseOutOfLimits(lists::SkedTuning(sked)))
        return std::nullopt;
    return sked;
}

void CSkeds::OnSave()
{
    const std::optional<lists::SkedLine> sked = CheckedSked();
    if (!sked)
        return;
    // As it reads back: a "~" of the description is a blank in the list too.
    std::string line = lists::JoinSkedLine(*sked);
    const std::optional<lists::SkedLine> stored = lists::ParseSkedLine(line);
    if (const int same = list_.FindLine(line); same >= 0) {
        Select(same);
        return;
    }
    // Both questions first: a No to the second leaves the list as it was.
    if (list_.FindKey(stored->key) >= 0 && !Ask(kMsgSameMinute)) {
        Focus(kTime);
        return;
    }
    if (list_.FindShownPrefix(stored->description, stored->key) >= 0 && !Ask(kMsgSameDescription)) {
        Focus(kDescription);
        return;
    }
    const int added = list_.Replace(std::move(line));
    file_.Changed();
    FillList();
    Select(added);
}

void CSkeds::OnDelete()
{
    if (list_.Empty() || selected_ < 0 || !Ask(kMsgAskDelete))
        return;
    list_.Erase(static_cast<std::size_t>(selected_));
    file_.Changed();
    FillList();
    Select(std::min(selected_, static_cast<int>(list_.Size()) - 1));
    ShowSelectedSked();
}

void CSkeds::OnCreateRecurring()
{
    std::optional<lists::SkedLine> sked = CheckedSked();
    if (!sked)
        return;
    // As the list stores it: a "~" of the description is a blank.
    if (std::optional<lists::SkedLine> stored = lists::ParseSkedLine(lists::JoinSkedLine(*sked)))
        sked = std::move(stored);
    CSkedRicorsivo dialog(*sked, list_, services_.WorkProgress(), services_.Language());
    dialog.SetOwner(this);
    if (dialog.DoModal() != ctl::kIdOk)
        return;
    file_.Changed();
    FillList();
    Select(dialog.LastIndex());
    // A list the file did not take stays on the page, to be saved again.
    if (SaveSkeds())
        LoadSkeds();
}

void CSkeds::OnDeleteSkeds()
{
    if (list_.Empty())
        return;
    const std::optional<std::tm> now = clock_.Utc(clock_.Now());
    CSkedsCancella dialog(list_, services_.WorkProgress(), services_.Language(),
                          now.value_or(std::tm{}));
    dialog.SetOwner(this);
    // Only Proceed removes skeds, and it ends the dialog with OK.
    if (dialog.DoModal() != ctl::kIdOk)
        return;
    if (dialog.Removed() > 0)
        file_.Changed();
    FillList();
    Select(list_.Empty() ? -1 : 0);
    ShowSelectedSked();
}

void CSkeds::OnNew()
{
    SetDlgItemText(kDescription, "");
    for (int id : {kFrequencyA, kFrequencyB})
        if (auto* field = GetDlgItemAs<CNumEdit>(id))
            field->SetValue(0);
    Focus(kDescription);
    SetNow();
}

void CSkeds::SetNow()
{
    const std::time_t now = clock_.Now();
    const int offset = services_.Link().Settings().utcOffset;
    std::optional<std::tm> t;
    if (offset == mainwnd::kUtcOffsetAuto) {
        t = clock_.Utc(now);
    } else if (const std::optional<std::tm> local = clock_.Local(now)) {
        // The local date and time moved by the offset's hours.
        std::tm fields = *local;
        fields.tm_isdst = 0;
        t = clock_.Utc(::timegm(&fields) + static_cast<std::time_t>(offset) * 3600);
    }
    if (!t)
        return;
    const QDateTime at(QDate(t->tm_year + 1900, t->tm_mon + 1, t->tm_mday),
                       QTime(t->tm_hour, t->tm_min));
    if (auto* time = GetDlgItemAs<CTimeEdit>(kTime))
        DDX_TimeEditSet(at, *time);
    if (auto* date = GetDlgItemAs<QDateEdit>(kDate))
        date->setDate(at.date());
    nowShown_ = ShownMinute();
}

std::string CSkeds::ShownMinute() const
{
    const auto* date = GetDlgItemAs<QDateEdit>(kDate);
    return GetDlgItemText(kTime) + " "
           + (date != nullptr ? date->date().toString(Qt::ISODate).toStdString() : std::string());
}

void CSkeds::showEvent(QShowEvent* event)
{
    CTabPage::showEvent(event);
    // "Now" put in the fields hours ago and left as it was is "now" again.
    if (!nowShown_.empty() && ShownMinute() == nowShown_)
        SetNow();
}

void CSkeds::FillModeCombos()
{
    lists::FillModeBoxes(services_.Controller().State().modeNames, modesCopied_,
                         {GetDlgItemAs<QComboBox>(kModeA), GetDlgItemAs<QComboBox>(kModeB)});
}

bool CSkeds::Ask(int id)
{
    const unsigned icon = id == kMsgAskDelete ? mb::kIconExclamation : mb::kIconQuestion;
    return services_.Language().MessageBox(id, mb::kYesNo | icon) == mb::kIdYes;
}

void CSkeds::Focus(int id)
{
    lists::FocusControl(GetDlgItem(id));
}

// ---- Firing ----

void CSkeds::CheckDueSked(int minute, const std::string& key)
{
    if (minute == lastMinute_)
        return;
    // Before anything else: a tick inside the countdown sees this minute done.
    lastMinute_ = minute;
    if (minute < 0 || !lists::IsSkedKey(key))
        return;
    const int index = list_.FindKey(key);
    if (index < 0)
        return;
    // Taken now: what fires is the sked as it stood when it came due.
    if (std::optional<lists::SkedLine> sked =
            lists::ParseSkedLine(list_.At(static_cast<std::size_t>(index)).line)) {
        Select(index);
        pending_.push_back(std::move(*sked));
    }
    FirePending();
}

void CSkeds::FirePending()
{
    // Until the start-up has read the radio a sked waits: the start-up's reads and its speed
    // test would take the radio's answers, and the sked's frames would be lost among them.
    while (!pending_.empty() && started_ && !closing_
           && !services_.Controller().InLongOperation()) {
        const lists::SkedLine sked = std::move(pending_.front());
        pending_.pop_front();
        Fire(sked);
    }
    // A scan may run for hours: it ends as "Stop" ends it, and the sked fires after it.
    if (!pending_.empty() && !closing_ && services_.Controller().InLongOperation())
        services_.Controller().AskLongOperationsToEnd();
}

void CSkeds::OnStarted()
{
    started_ = true;
    // After the start-up has unwound, not inside it: the other parts start first.
    QTimer::singleShot(0, this, [this] { FirePending(); });
}

void CSkeds::Fire(const lists::SkedLine& sked)
{
    radio::CRadioController::LongOperation busy(services_.Controller());
    if (const int index = list_.FindLine(lists::JoinSkedLine(sked)); index >= 0)
        Select(index);
    ShowSked(sked);
    CAttivaSkeds warning;
    if (!warning.Create(this)) {
        std::fprintf(stderr, "sked %s: the warning could not be shown\n", sked.key.c_str());
        return;
    }
    services_.View().Beep(mb::kIconExclamation);
    const CLanguage& language = services_.Language();
    for (int n = kCountdownSteps; n >= 1; --n) {
        warning.SetText(language.Format(kMsgCountdown, {n, sked.description}));
        if (warning.CheckAbort() && !closing_
            && language.ShowMessage({language.Format(kMsgAskCancel, {sked.description}), "",
                                     mb::kYesNo | mb::kIconQuestion | mb::kDefButton2, 0})
                   == mb::kIdYes)
            return;
        // A close request ends the wait early; when it closes the program, the next step sees
        // it, and the radio stays as it is.
        if (closing_)
            return;
        services_.WaitPumpingMessages(stepMs_);
    }
    if (!closing_)
        ApplySked(sked);
}

void CSkeds::ApplySked(const lists::SkedLine& sked)
{
    const lists::ChannelTuning channel = lists::SkedTuning(sked);
    if (RefuseOutOfLimits(channel))
        return;
    lists::SendChannel(services_.Controller(), channel, {.openRange = true});
}
