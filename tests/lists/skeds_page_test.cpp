// The skeds page in the real main window against the simulated radio's driver: editing the list
// (the questions it asks, what it keeps, a file that cannot be written), and firing a due sked:
// once per minute, the warning and its Abort, the frames the radio gets and in which order, and
// what waits while the radio is busy.
#include "SkedsTestSupport.h"
#include "WindowTestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "MaskEdit.h"
#include "NumEdit.h"
#include "RadioController.h"
#include "ReadOnlyFolder.h"
#include "SkedWarning.h"
#include "SkedsPage.h"
#include "SkedsPart.h"
#include "TuningPart.h"

using namespace wndtest;
using skedtest::SkedText;
using skedtest::TuningFrames;

namespace {

// Without the timer part: the tests give the sked check its minutes themselves.
MainWindowPartList PageParts()
{
    return {MakeTuningPart, MakeSkedsPart};
}

const std::vector<std::string> kSkedFrames = {"07 01", "05", "06",    "07 00",
                                              "05",    "06", "0F 00", "07 00"};

struct PageRun {
    WindowFixture& f;
    CCorvaneDlg& w;
    CSkeds* page = nullptr;
    int answer = mb::kIdNo;  // to every Yes/No question

    PageRun(WindowFixture& fixture, CCorvaneDlg& window) : f(fixture), w(window)
    {
        page = w.findChild<CSkeds*>();
        framework::Language().SetMessageBoxSink([this](const MessageBoxRequest& r) {
            f.boxes.push_back(r);
            return (r.style & mb::kButtonsMask) == mb::kYesNo ? answer : mb::kIdOk;
        });
        // Polling: the radio is connected and initialised.
        PumpUntil([&] { return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos; });
    }

    void Edit(const std::string& description, const std::string& key, double hzA)
    {
        page->SetDlgItemText(CSkeds::kDescription, description);
        const QDateTime at = QDateTime::fromString(QString::fromStdString(key), "yyyyMMddHHmm");
        page->GetDlgItemAs<QDateEdit>(CSkeds::kDate)->setDate(at.date());
        DDX_TimeEditSet(at, *page->GetDlgItemAs<CTimeEdit>(CSkeds::kTime));
        page->GetDlgItemAs<CNumEdit>(CSkeds::kFrequencyA)->SetValue(hzA);
    }
    void Click(int id) { page->GetDlgItemAs<QPushButton>(id)->click(); }
    std::vector<int> Asked()
    {
        std::vector<int> ids;
        for (const MessageBoxRequest& r : f.boxes)
            ids.push_back(r.text.find("description already") != std::string::npos     ? 139
                          : r.text.find("date and time") != std::string::npos         ? 140
                          : r.text.find("Impossible to save") != std::string::npos    ? 136
                          : r.text.find("Delete the selected") != std::string::npos   ? 137
                          : r.text.find("Cancel the activation") != std::string::npos ? 1174
                                                                                      : 0);
        f.boxes.clear();
        return ids;
    }
    // Presses the warning's Abort after `ms` while a countdown runs.
    void AbortAfter(int ms)
    {
        QTimer::singleShot(ms, [] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* warning = qobject_cast<CAttivaSkeds*>(top);
                    warning && warning->isVisible())
                    warning->GetDlgItemAs<QPushButton>(ctl::kIdCancel)->click();
        });
    }
};

}  // namespace

TEST(SkedsPage, SaveDeleteAndAFileThatCannotBeWritten)
{
    WindowFixture f;
    const std::string later = SkedText("203001011300", "Later");
    testing_support::PutFile(f.folder / "Skeds.Dat", later + SkedText("203001011200", "Net"));
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            PageRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            const lists::SkedList& list = run.page->Skeds();
            ASSERT_EQ(list.Size(), 2u);
            EXPECT_EQ(run.page->GetDlgItemText(CSkeds::kList), "203001011200 ~ Net");
            EXPECT_EQ(run.page->GetDlgItemText(CSkeds::kFrequencyA), "7.074.000");

            // One description at another minute lives beside the first: no question.
            run.Edit("net", "203001031200", 14074000);
            run.Click(CSkeds::kSave);
            EXPECT_EQ(run.Asked(), std::vector<int>{});
            ASSERT_EQ(list.Size(), 3u);
            EXPECT_EQ(run.page->GetDlgItemText(CSkeds::kList), "203001031200 ~ net");
            EXPECT_EQ(list.At(0).description, "Net");
            // The same line again only selects it.
            run.Click(CSkeds::kSave);
            EXPECT_EQ(run.Asked(), std::vector<int>{});
            EXPECT_EQ(list.Size(), 3u);

            // The drop-down's search finds an entry that begins with the description, as "2030"
            // begins "203001011200 ~ Net": No keeps, Yes replaces.
            run.Edit("2030", "203001021200", 7074000);
            run.Click(CSkeds::kSave);
            EXPECT_EQ(run.Asked(), std::vector<int>{139});
            EXPECT_EQ(list.Size(), 3u);
            run.answer = mb::kIdYes;
            run.Click(CSkeds::kSave);
            EXPECT_EQ(run.Asked(), std::vector<int>{139});
            EXPECT_EQ(list.FindKey("203001011200"), -1);
            EXPECT_EQ(list.Size(), 3u);

            // Another sked at the minute of "Later": asked, replaced; "~" stored as a blank.
            run.Edit("DX~net", "203001011300", 3573000);
            run.Click(CSkeds::kSave);
            EXPECT_EQ(run.Asked(), std::vector<int>{140});
            EXPECT_EQ(list.FindLine(later), -1);
            EXPECT_EQ(list.At(0).description, "DX net");

            // Deleting the last entry selects the new last one.
            // Chosen as the user does: the list reports only choices of the user.
            auto* shown = run.page->GetDlgItemAs<QComboBox>(CSkeds::kList);
            shown->setCurrentIndex(2);
            emit shown->activated(2);
            EXPECT_EQ(run.page->GetDlgItemText(CSkeds::kDescription), "net");
            run.Click(CSkeds::kDelete);
            EXPECT_EQ(run.Asked(), std::vector<int>{137});
            EXPECT_EQ(list.Size(), 2u);
            EXPECT_EQ(run.page->Selected(), 1);
            const std::string saved = list.Text();

            // A folder that cannot be written: message 136 with the reason, the old file stays.
            const std::string before = testing_support::GetFile(f.folder / "Skeds.Dat");
            {
                testing_support::ReadOnlyFolder readOnly(f.folder.path);
                if (readOnly.Ok()) {
                    EXPECT_FALSE(run.page->SaveSkeds());
                    const std::vector<MessageBoxRequest> boxes = f.boxes;
                    ASSERT_EQ(run.Asked(), std::vector<int>{136});
                    EXPECT_GT(boxes[0].text.size(),
                              std::string("Impossible to save the skeds : ").size());
                    EXPECT_EQ(boxes[0].style, mb::kOk | mb::kIconError);
                    EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), before);
                }
            }
            w.CloseProgram();
            // Closing saved the list.
            EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), saved);
        },
        {}, PageParts());
    EXPECT_TRUE(ran);
}

TEST(SkedsPage, ADueSkedCountsDownThenTunesTheRadioOncePerMinute)
{
    WindowFixture f;
    testing_support::PutFile(
        f.folder / "Skeds.Dat",
        SkedText("203001011200", "Net") + SkedText("203001011201", "Second", "3.573.000")
            + SkedText("203001011202", "Third") + SkedText("203001011203", "Fourth"));
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            PageRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            run.page->SetCountdownStep(10);

            // The warning disables the window and counts down; nothing goes out before the end.
            std::string shown;
            bool enabledDuring = true;
            std::vector<std::string> early;
            std::size_t mark = f.Trace().size();
            QTimer::singleShot(100, [&] {
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (auto* warning = qobject_cast<CAttivaSkeds*>(top))
                        shown = warning->GetDlgItemText(CAttivaSkeds::kText);
                enabledDuring = w.isEnabled();
                early = TuningFrames(f.Trace(), mark);
            });
            run.page->CheckDueSked(0, "203001011200");
            EXPECT_NE(shown.find("seconds the sked:\n<Net>\nwill be activated."), std::string::npos)
                << shown;
            EXPECT_FALSE(enabledDuring);
            EXPECT_TRUE(early.empty());
            EXPECT_TRUE(w.isEnabled());
            EXPECT_TRUE(PumpUntil([&] { return TuningFrames(f.Trace(), mark).size() >= 8; }));
            EXPECT_EQ(TuningFrames(f.Trace(), mark), kSkedFrames);
            EXPECT_NE(f.Trace().find("FE FE 58 E0 05 00 40 07 07 00 FD", mark), std::string::npos);

            // The same minute value fires once; no minute, or a key of other length, nothing.
            mark = f.Trace().size();
            run.page->CheckDueSked(0, "203001011200");
            run.page->CheckDueSked(-1, "203001011200");
            run.page->CheckDueSked(5, "");
            run.page->CheckDueSked(6, "2030010112");
            platform::WaitPumpingMessages(300);
            EXPECT_EQ(TuningFrames(f.Trace(), mark), std::vector<std::string>{});

            // Abort and No: the countdown goes on and the sked fires. A sked due meanwhile fires
            // after it, as it stood when it came due, whatever the page shows by then.
            mark = f.Trace().size();
            run.AbortAfter(60);
            QTimer::singleShot(120, [&] {
                run.page->CheckDueSked(1, "203001011201");
                run.page->GetDlgItemAs<CNumEdit>(CSkeds::kFrequencyA)->SetValue(21074000);
            });
            run.page->CheckDueSked(0, "203001011200");
            EXPECT_EQ(run.Asked(), std::vector<int>{1174});
            EXPECT_TRUE(PumpUntil([&] { return TuningFrames(f.Trace(), mark).size() >= 16; }));
            std::vector<std::string> twice = kSkedFrames;
            twice.insert(twice.end(), kSkedFrames.begin(), kSkedFrames.end());
            EXPECT_EQ(TuningFrames(f.Trace(), mark), twice);
            const std::string trace = f.Trace();
            const std::size_t first = trace.find("FE FE 58 E0 05 00 40 07 07 00 FD", mark);
            const std::size_t second = trace.find("FE FE 58 E0 05 00 30 57 03 00 FD", mark);
            EXPECT_LT(first, second);
            EXPECT_NE(second, std::string::npos);
            EXPECT_EQ(trace.find("FE FE 58 E0 05 00 40 07 21 00 FD", mark), std::string::npos);

            // Abort and Yes: nothing is sent.
            mark = f.Trace().size();
            run.answer = mb::kIdYes;
            run.AbortAfter(60);
            run.page->CheckDueSked(2, "203001011202");
            EXPECT_EQ(run.Asked(), std::vector<int>{1174});
            platform::WaitPumpingMessages(300);
            EXPECT_EQ(TuningFrames(f.Trace(), mark), std::vector<std::string>{});
            EXPECT_TRUE(w.isEnabled());

            // While a long radio operation runs the sked waits; the next second fires it.
            mark = f.Trace().size();
            {
                radio::CRadioController::LongOperation busy(w.Controller());
                run.page->CheckDueSked(3, "203001011203");
                platform::WaitPumpingMessages(1500);
                EXPECT_EQ(TuningFrames(f.Trace(), mark), std::vector<std::string>{});
            }
            EXPECT_TRUE(PumpUntil([&] { return TuningFrames(f.Trace(), mark).size() >= 8; },
                                  std::chrono::seconds(5)));

            // Closing the program ends a countdown: nothing is applied.
            mark = f.Trace().size();
            QTimer::singleShot(60, [&] { w.CloseProgram(); });
            run.page->CheckDueSked(4, "203001011200");
            EXPECT_EQ(TuningFrames(f.Trace(), mark), std::vector<std::string>{});
        },
        {}, PageParts());
    EXPECT_TRUE(ran);
}

TEST(SkedsPage, OldSkedsGoAtTheStartWhenAskedAndTheFileFollowsWithoutAnEdit)
{
    WindowFixture f;
    const std::string future = SkedText("209901011200", "Future");
    const std::string unread = "200001011200;no separators\n";
    testing_support::PutFile(f.folder / "Skeds.Dat",
                             SkedText("200001011200", "Old") + unread + future);
    testing_support::PutFile(f.folder / "Corvane.ini", f.Ini() + "\n[Skeds]\nAutoDeleteOld=1\n");
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            PageRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            EXPECT_EQ(run.page->Skeds().Size(), 1u);
            w.CloseProgram();
        },
        {}, PageParts());
    ASSERT_TRUE(ran);
    EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), future + unread);
}
