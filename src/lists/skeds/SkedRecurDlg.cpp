#include "SkedRecurDlg.h"

#include "CommandCodes.h"
#include "DatePicker.h"
#include "DialogTemplate.h"
#include "Language.h"
#include "SkedList.h"
#include "SkedRecurrence.h"
#include "ToolTipLoc.h"
#include "WorkProgress.h"

#include <QCheckBox>
#include <QDateEdit>

namespace {
using namespace tpl;

constexpr int kMsgAskCreate = 1336;
constexpr int kMsgBadDate = 1337;
constexpr int kMsgBadInterval = 1338;
constexpr int kStrSkeds = 2004;
constexpr int kFirstDays = 30;
constexpr int kMsgTooMany = 2111;
constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

TemplateItem WeekdayRow()
{
    std::vector<TemplateItem> boxes;
    for (int d = 0; d < 7; ++d)
        boxes.push_back(Control(CSkedRicorsivo::kSunday + d, "CHECKBOX", kDays[d]));
    return Row(std::move(boxes));
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CSkedRicorsivo::kTemplateId, "Generate recur sked",
    Column({Row({Control(ctl::kIdStatic, "STATIC", "Interval (days)"),
                 Control(CSkedRicorsivo::kInterval, "EDIT", "", kNumber, 5),
                 Control(ctl::kIdStatic, "STATIC", "End date"),
                 Control(CSkedRicorsivo::kEndDate, DatePickerClass(), "", 0, 10), Stretch()}),
            WeekdayRow(),
            Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "Generate"),
                 Control(ctl::kIdCancel, "BUTTON", "Abort")})})}};

constexpr int kTipGenerate = 1335;
constexpr int kTipAbort = 1319;

QDate DateOfKey(const std::string& key)
{
    return QDate::fromString(QString::fromStdString(key.substr(0, 8)), QStringLiteral("yyyyMMdd"));
}

}  // namespace

CSkedRicorsivo::CSkedRicorsivo(lists::SkedLine sked, lists::SkedList& list,
                               radio::IWorkProgress& progress, const CLanguage& language)
    : CMyFontDialog(kTemplateId),
      sked_(std::move(sked)),
      list_(list),
      progress_(progress),
      language_(language)
{
}

bool CSkedRicorsivo::OnInitDialog()
{
    if (QWidget* w = GetDlgItem(ctl::kIdOk))
        ToolTips().AddToolId(w, kTipGenerate);
    if (QWidget* w = GetDlgItem(ctl::kIdCancel))
        ToolTips().AddToolId(w, kTipAbort);
    for (int d = 0; d < 7; ++d)
        if (auto* box = GetDlgItemAs<QCheckBox>(kSunday + d))
            box->setChecked(true);
    SetDlgItemText(kInterval, "1");
    if (auto* end = GetDlgItemAs<QDateEdit>(kEndDate))
        end->setDate(DateOfKey(sked_.key).addDays(kFirstDays));
    return CMyFontDialog::OnInitDialog();
}

void CSkedRicorsivo::OnOK()
{
    if (language_.MessageBox(kMsgAskCreate, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return;
    lists::RecurrenceRequest request;
    request.sked = sked_;
    if (const auto* end = GetDlgItemAs<QDateEdit>(kEndDate)) {
        const QDate d = end->date();
        request.end = std::chrono::year{d.year()} / d.month() / d.day();
    }
    // Digits only; more of them than an int holds is no interval either.
    const std::string interval = GetDlgItemText(kInterval);
    request.intervalDays = interval.empty() || interval.size() > 6 ? 0 : std::stoi(interval);
    for (int d = 0; d < 7; ++d) {
        const auto* box = GetDlgItemAs<QCheckBox>(kSunday + d);
        request.weekdays[static_cast<std::size_t>(d)] = box != nullptr && box->isChecked();
    }
    const lists::Recurrence plan = lists::PlanRecurrence(request);
    switch (plan.refusal) {
    case lists::RecurrenceRefusal::BadDate:
        Refuse(language_.LoadString(kMsgBadDate), kEndDate);
        return;
    case lists::RecurrenceRefusal::BadInterval:
        Refuse(language_.LoadString(kMsgBadInterval), kInterval);
        return;
    case lists::RecurrenceRefusal::TooMany:
        Refuse(language_.Format(kMsgTooMany, {static_cast<int>(lists::kMaxRecurringSkeds)}),
               kInterval);
        return;
    case lists::RecurrenceRefusal::None: break;
    }
    // The progress walks every step of the period, those skipped for their weekday too.
    progress_.OpenProgress(kStrSkeds, plan.steps);
    int walked = 0;
    for (std::size_t i = 0; i < plan.skeds.size(); ++i) {
        for (; walked < plan.stepOf[i]; ++walked)
            progress_.StepProgress();
        last_ = list_.Replace(lists::JoinSkedLine(plan.skeds[i]));
    }
    for (; walked < plan.steps; ++walked)
        progress_.StepProgress();
    progress_.CloseProgress();
    EndDialog(ctl::kIdOk);
}

void CSkedRicorsivo::Refuse(const std::string& text, int focus)
{
    language_.ShowMessage({text, "", mb::kOk | mb::kIconError, 0});
    if (QWidget* w = GetDlgItem(focus))
        w->setFocus(Qt::OtherFocusReason);
}
