#include "SkedDeleteDlg.h"

#include "CommandCodes.h"
#include "DatePicker.h"
#include "DialogTemplate.h"
#include "Language.h"
#include "MaskEdit.h"
#include "SkedLine.h"
#include "SkedList.h"
#include "ToolTipLoc.h"
#include "WorkProgress.h"

#include <QDateEdit>

namespace {
using namespace tpl;

constexpr int kMsgAskDelete = 1175;
constexpr int kMsgAskAbort = 1124;
constexpr int kMsgBadDate = 1337;
constexpr int kStrSkeds = 2004;
constexpr int kTipProceed = 1176;
constexpr int kTipAbort = 1319;
constexpr const char* kBadTime = "Time not valid.";

TemplateItem Bound(const char* name, int time, int date)
{
    return Row({Control(ctl::kIdStatic, "STATIC", name), Control(time, "CTimeEdit", "", 0, 6),
                Control(date, DatePickerClass(), "", 0, 10), Stretch()});
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CSkedsCancella::kTemplateId, "Delete Skeds",
    Column({Grid(1, {Bound("From (UTC)", CSkedsCancella::kFromTime, CSkedsCancella::kFromDate),
                     Bound("To (UTC)", CSkedsCancella::kToTime, CSkedsCancella::kToDate)}),
            Row({Stretch(), Control(CSkedsCancella::kProceed, "BUTTON", "Proceed"),
                 Control(ctl::kIdCancel, "BUTTON", "Abort")})})}};

QDateTime DateTimeOf(const std::tm& t)
{
    return QDateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday), QTime(t.tm_hour, t.tm_min));
}

}  // namespace

CSkedsCancella::CSkedsCancella(lists::SkedList& list, radio::IWorkProgress& progress,
                               const CLanguage& language, const std::tm& nowUtc)
    : CMyFontDialog(kTemplateId),
      list_(list),
      progress_(progress),
      language_(language),
      nowUtc_(nowUtc)
{
}

bool CSkedsCancella::OnInitDialog()
{
    if (QWidget* w = GetDlgItem(kProceed))
        ToolTips().AddToolId(w, kTipProceed);
    if (QWidget* w = GetDlgItem(ctl::kIdCancel))
        ToolTips().AddToolId(w, kTipAbort);
    // From the earliest sked (the list is sorted) to now.
    std::tm from = nowUtc_;
    for (std::size_t i = 0; i < list_.Size(); ++i)
        if (const std::optional<std::tm> first = lists::ParseSkedKey(list_.At(i).key)) {
            from = *first;
            break;
        }
    const struct {
        int date, time;
        const std::tm& at;
    } bounds[] = {{kFromDate, kFromTime, from}, {kToDate, kToTime, nowUtc_}};
    for (const auto& b : bounds) {
        const QDateTime at = DateTimeOf(b.at);
        if (auto* date = GetDlgItemAs<QDateEdit>(b.date))
            date->setDate(at.date());
        if (auto* time = GetDlgItemAs<CTimeEdit>(b.time))
            DDX_TimeEditSet(at, *time);
    }
    return CMyFontDialog::OnInitDialog();
}

bool CSkedsCancella::OnCommand(int id, int code)
{
    if (id == kProceed && code == ctl::kBnClicked) {
        OnProceed();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

std::optional<std::string> CSkedsCancella::BoundKey(int dateId, int timeId)
{
    auto refuse = [this](const std::string& text, int focus) -> std::optional<std::string> {
        language_.ShowMessage({text, "", mb::kOk | mb::kIconError, 0});
        if (QWidget* w = GetDlgItem(focus))
            w->setFocus(Qt::OtherFocusReason);
        return std::nullopt;
    };
    const auto* date = GetDlgItemAs<QDateEdit>(dateId);
    if (date == nullptr || !date->date().isValid())
        return refuse(language_.LoadString(kMsgBadDate), dateId);
    QDateTime at(date->date(), QTime(0, 0));
    const auto* time = GetDlgItemAs<CTimeEdit>(timeId);
    if (time == nullptr || !DDX_TimeEditGet(at, *time))
        return refuse(language_.Translate(kBadTime), timeId);
    const std::string key = at.toString(QStringLiteral("yyyyMMddHHmm")).toStdString();
    if (!lists::IsSkedKey(key))
        return refuse(language_.LoadString(kMsgBadDate), dateId);
    return key;
}

std::string CSkedsCancella::BoundText(int dateId, int timeId) const
{
    return GetDlgItemText(timeId) + " " + GetDlgItemText(dateId);
}

void CSkedsCancella::OnProceed()
{
    const std::optional<std::string> from = BoundKey(kFromDate, kFromTime);
    if (!from)
        return;
    const std::optional<std::string> to = BoundKey(kToDate, kToTime);
    if (!to)
        return;
    const std::string question = language_.Format(
        kMsgAskDelete, {BoundText(kFromDate, kFromTime), BoundText(kToDate, kToTime)});
    if (language_.ShowMessage({question, "", mb::kYesNo | mb::kIconQuestion | mb::kDefButton2, 0})
        != mb::kIdYes)
        return;
    if (!list_.Empty()) {
        progress_.OpenProgress(kStrSkeds, static_cast<int>(list_.Size()));
        for (std::size_t i = 0; i < list_.Size();) {
            progress_.StepProgress();
            if (progress_.ProgressCancelled()
                && language_.MessageBox(kMsgAskAbort,
                                        mb::kYesNo | mb::kIconExclamation | mb::kDefButton2)
                       == mb::kIdYes)
                break;
            if (lists::SkedKeyBetween(list_.At(i).key, *from, *to)) {
                list_.Erase(i);
                ++removed_;
            } else {
                ++i;
            }
        }
        progress_.CloseProgress();
    }
    EndDialog(ctl::kIdOk);
}
