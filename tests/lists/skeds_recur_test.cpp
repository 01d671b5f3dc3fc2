// Recurring skeds and deleting a period of skeds, through the skeds page in the real main
// window: the copies made (counters, weekdays, leap day and year end, a copy in place of a sked
// at its minute, the bound), what the file holds afterwards, and what a deletion removes.
#include "SkedsTestSupport.h"
#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>

#include "MaskEdit.h"
#include "NumEdit.h"
#include "SkedDeleteDlg.h"
#include "SkedList.h"
#include "SkedRecurDlg.h"
#include "SkedsPage.h"
#include "SkedsPart.h"
#include "TuningPart.h"
#include "WorkProgressDlg.h"

using namespace wndtest;
using skedtest::SkedText;

namespace {

// Runs `fill` on the modal dialog of type D once the page's button opened it.
template <class D>
void WithDialog(CSkeds& page, int button, const std::function<void(D&)>& fill)
{
    QTimer::singleShot(50, [fill] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget()))
            fill(*d);
    });
    page.GetDlgItemAs<QPushButton>(button)->click();
}

void SetDate(CMyFontDialog& d, int id, const QDate& date)
{
    d.GetDlgItemAs<QDateEdit>(id)->setDate(date);
}

struct RecurRun {
    CSkeds& page;
    // Makes copies of the page's sked at `key` up to `end`.
    void Generate(const std::string& key, const QDate& end, int interval,
                  std::vector<int> weekdays = {0, 1, 2, 3, 4, 5, 6})
    {
        page.SetDlgItemText(CSkeds::kDescription, "Net");
        const QDateTime at = QDateTime::fromString(QString::fromStdString(key), "yyyyMMddHHmm");
        page.GetDlgItemAs<QDateEdit>(CSkeds::kDate)->setDate(at.date());
        DDX_TimeEditSet(at, *page.GetDlgItemAs<CTimeEdit>(CSkeds::kTime));
        page.GetDlgItemAs<CNumEdit>(CSkeds::kFrequencyA)->SetValue(7074000);
        WithDialog<CSkedRicorsivo>(page, CSkeds::kCreateRecur, [&](CSkedRicorsivo& d) {
            SetDate(d, CSkedRicorsivo::kEndDate, end);
            d.SetDlgItemText(CSkedRicorsivo::kInterval, std::to_string(interval));
            for (int day = 0; day < 7; ++day)
                d.GetDlgItemAs<QCheckBox>(CSkedRicorsivo::kSunday + day)
                    ->setChecked(std::find(weekdays.begin(), weekdays.end(), day)
                                 != weekdays.end());
            d.GetDlgItemAs<QPushButton>(ctl::kIdOk)->click();
            // A refused run leaves the dialog open.
            if (d.isVisible())
                d.GetDlgItemAs<QPushButton>(ctl::kIdCancel)->click();
        });
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < page.Skeds().Size(); ++i)
            shown.push_back(page.Skeds().ShownText(i));
        return shown;
    }
};

}  // namespace

TEST(SkedsRecurrence, CopiesByStepAndWeekdayReplaceByMinuteAndReachTheFile)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    testing_support::PutFile(f.folder / "Skeds.Dat", SkedText("203003031200", "Old at noon"));
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            auto* page = w.findChild<CSkeds*>();
            ASSERT_NE(page, nullptr);
            RecurRun run{*page};

            // Interval 1, end six days on: seven copies, the end day included whatever the time.
            run.Generate("203003011200", QDate(2030, 3, 7), 1);
            std::vector<std::string> expected;
            for (int d = 1; d <= 7; ++d)
                expected.push_back("2030030" + std::to_string(d) + "1200 ~ Net r->"
                                   + std::to_string(d));
            // The copy at noon on the 3rd took the place of the old sked there.
            EXPECT_EQ(run.Entries(), expected);
            // Saved at once, and loaded back the same.
            EXPECT_EQ(lists::LoadSkedFile(f.folder / "Skeds.Dat").Text(), page->Skeds().Text());

            // Interval 2, Mondays only, across 29 February 2028: the counters have gaps.
            run.Generate("202802261830", QDate(2028, 3, 20), 2, {1});
            std::vector<std::string> mondays;
            for (const std::string& e : run.Entries())
                if (e.rfind("2028", 0) == 0)
                    mondays.push_back(e);
            EXPECT_EQ(mondays, (std::vector<std::string>{"202802281830 ~ Net r->2",
                                                         "202803131830 ~ Net r->9"}));
            // Weekly across the year end.
            run.Generate("202912251000", QDate(2030, 1, 8), 7);
            EXPECT_GE(page->Skeds().FindKey("202912251000"), 0);
            EXPECT_GE(page->Skeds().FindKey("203001011000"), 0);
            EXPECT_GE(page->Skeds().FindKey("203001081000"), 0);

            // Too many copies: refused with a message, nothing changes.
            const std::string before = page->Skeds().Text();
            f.boxes.clear();
            run.Generate("203101010000", QDate(2060, 1, 1), 1);
            EXPECT_EQ(page->Skeds().Text(), before);
            bool toldTooMany = false;
            for (const MessageBoxRequest& r : f.boxes)
                toldTooMany = toldTooMany || r.text.find("More than 5000") != std::string::npos;
            EXPECT_TRUE(toldTooMany);
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeSkedsPart});
    EXPECT_TRUE(ran);
}

TEST(SkedsDeletion, RemovesThePeriodAndAnAbortKeepsWhatWasNotReached)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    std::string skeds;
    for (int d = 1; d <= 9; ++d)
        skeds += SkedText("2030040" + std::to_string(d) + "1200", "Day " + std::to_string(d));
    skeds +=
        "bad key ~ Kept ~ 7.074.000 ~ LSB ~ OFF ~ 7.074.000 ~ LSB ~ OFF ~ NOSPLIT ~ VFO A ~ \n";
    testing_support::PutFile(f.folder / "Skeds.Dat", skeds);
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            auto* page = w.findChild<CSkeds*>();
            ASSERT_NE(page, nullptr);
            const lists::SkedList& list = page->Skeds();
            ASSERT_EQ(list.Size(), 10u);
            auto bounds = [](CSkedsCancella& d, const std::string& from, const std::string& to) {
                for (const auto& [key, date, time] :
                     {std::tuple{from, CSkedsCancella::kFromDate, CSkedsCancella::kFromTime},
                      std::tuple{to, CSkedsCancella::kToDate, CSkedsCancella::kToTime}}) {
                    const QDateTime at =
                        QDateTime::fromString(QString::fromStdString(key), "yyyyMMddHHmm");
                    SetDate(d, date, at.date());
                    d.SetDlgItemText(time, at.time().toString("HH:mm").toStdString());
                }
            };

            // From = to = one sked's minute: exactly that sked goes; the page shows the first.
            WithDialog<CSkedsCancella>(*page, CSkeds::kDeleteSkeds, [&](CSkedsCancella& d) {
                bounds(d, "203004051200", "203004051200");
                d.GetDlgItemAs<QPushButton>(CSkedsCancella::kProceed)->click();
            });
            ASSERT_EQ(list.Size(), 9u);
            EXPECT_EQ(list.FindKey("203004051200"), -1);
            EXPECT_EQ(page->Selected(), 0);
            EXPECT_EQ(page->GetDlgItemText(CSkeds::kDescription), "Day 1");

            // An incomplete time: an error, the focus on it, nothing deleted.
            f.boxes.clear();
            WithDialog<CSkedsCancella>(*page, CSkeds::kDeleteSkeds, [&](CSkedsCancella& d) {
                bounds(d, "203004011200", "203004091200");
                d.SetDlgItemText(CSkedsCancella::kToTime, "1");
                d.GetDlgItemAs<QPushButton>(CSkedsCancella::kProceed)->click();
                EXPECT_TRUE(d.isVisible());
                d.GetDlgItemAs<QPushButton>(ctl::kIdCancel)->click();
            });
            EXPECT_EQ(list.Size(), 9u);
            ASSERT_EQ(f.boxes.size(), 1u);
            EXPECT_EQ(f.boxes[0].text, "Time not valid.");

            // The whole period, stopped with Abort and Yes at the third sked: the skeds not
            // reached stay, and so does the one whose key names no minute.
            QTimer abort;
            abort.setInterval(0);
            QObject::connect(&abort, &QTimer::timeout, [&] {
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (auto* p = qobject_cast<CWorkProgressDlg*>(top);
                        p != nullptr && p->isVisible() && list.Size() <= 7) {
                        p->GetDlgItemAs<QPushButton>(ctl::kIdCancel)->click();
                        abort.stop();
                    }
            });
            abort.start();
            WithDialog<CSkedsCancella>(*page, CSkeds::kDeleteSkeds, [&](CSkedsCancella& d) {
                bounds(d, "203001010000", "203012312359");
                d.GetDlgItemAs<QPushButton>(CSkedsCancella::kProceed)->click();
            });
            abort.stop();
            EXPECT_GE(list.Size(), 1u);
            EXPECT_LT(list.Size(), 9u);
            EXPECT_GT(list.Size(), 1u) << "the abort did not stop the walk";
            EXPECT_EQ(list.FindKey("203004091200") >= 0, true);
            EXPECT_GE(list.FindKey("bad key"), 0);
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeSkedsPart});
    EXPECT_TRUE(ran);
}
