// The split page in the real main window against the simulated radio's driver: the frames
// "Active Split" sends and the state the radio ends in, what it refuses, and editing the
// presets (the questions asked, what is kept) through to the file and back.
#include "WindowTestSupport.h"

#include <QComboBox>
#include <QPushButton>

#include <sstream>

#include "FlatButton.h"
#include "Ini.h"
#include "NumEdit.h"
#include "RadioController.h"
#include "SplitPage.h"
#include "SplitsPart.h"
#include "TuningPart.h"

using namespace wndtest;

namespace {

// The VFO, frequency, mode and split frames sent from `from` on, without FE FE, addresses, FD.
std::vector<std::string> SentFrames(const std::string& trace, std::size_t from)
{
    std::vector<std::string> frames;
    std::istringstream lines(trace.substr(std::min(from, trace.size())));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("FE FE 58 E0 ", 0) != 0 || line.size() < 17)
            continue;
        const std::string body = line.substr(12, line.size() - 12 - 3);
        const std::string command = body.substr(0, 2);
        if (command == "05" || command == "06" || command == "07" || command == "0F")
            frames.push_back(body);
    }
    return frames;
}

struct SplitRun {
    WindowFixture& f;
    CCorvaneDlg& w;
    CSplit* page;

    SplitRun(WindowFixture& fixture, CCorvaneDlg& window)
        : f(fixture), w(window), page(w.findChild<CSplit*>())
    {
    }
    void Edit(const std::string& description, double offset, const std::string& mode, bool narrow)
    {
        page->SetDlgItemText(CSplit::kDescription, description);
        page->GetDlgItemAs<CNumEdit>(CSplit::kOffset)->SetValue(offset);
        auto* modes = page->GetDlgItemAs<QComboBox>(CSplit::kMode);
        modes->setCurrentIndex(modes->findText(QString::fromStdString(mode)));
        page->GetDlgItemAs<COnOffButton>(CSplit::kFilter)->SetOn(narrow);
    }
    void Click(int id) { page->GetDlgItemAs<QPushButton>(id)->click(); }
    std::vector<std::string> Asked()
    {
        std::vector<std::string> texts;
        for (const MessageBoxRequest& r : f.boxes)
            texts.push_back(r.text);
        f.boxes.clear();
        return texts;
    }
};

}  // namespace

TEST(SplitPage, ActiveSplitTunesTheOtherVfoOnlyInsideTheLimits)
{
    WindowFixture f;
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            SplitRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            radio::CRadioController& c = w.Controller();
            ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
            c.SelectVfoA();
            c.SetFrequency(14200000);
            ASSERT_TRUE(c.WaitForIdle(5000));

            std::size_t mark = f.Trace().size();
            run.Edit("Up five", 5000, "USB", false);
            run.Click(CSplit::kActivate);
            ASSERT_TRUE(c.WaitForIdle(5000));
            const std::vector<std::string> expected = {"07 00",    "07 01", "05 00 50 20 14 00",
                                                       "06 01 01", "07 00", "0F 01"};
            std::vector<std::string> sent = SentFrames(f.Trace(), mark);
            ASSERT_GE(sent.size(), expected.size());
            sent.resize(expected.size());
            EXPECT_EQ(sent, expected);
            EXPECT_TRUE(c.State().split);
            // What the radio now holds on VFO B, read back from it.
            c.SelectVfoB();
            ASSERT_TRUE(c.WaitForIdle(5000));
            EXPECT_EQ(c.State().frequencyHz, 14205000);
            EXPECT_EQ(c.State().mode, radio::kUsb);
            c.SelectVfoA();
            ASSERT_TRUE(c.WaitForIdle(5000));

            // WFM goes with the wide filter whatever the button shows.
            mark = f.Trace().size();
            run.Edit("Broadcast", 100000, "WFM", true);
            run.Click(CSplit::kActivate);
            ASSERT_TRUE(c.WaitForIdle(5000));
            sent = SentFrames(f.Trace(), mark);
            ASSERT_GE(sent.size(), 4u);
            EXPECT_EQ(sent[3], "06 06 01");

            // Past the upper limit: the VFO that would be tuned is named, nothing goes out.
            run.Asked();
            mark = f.Trace().size();
            run.Edit("Too far", c.State().upperLimit, "USB", false);
            run.Click(CSplit::kActivate);
            platform::WaitPumpingMessages(300);
            const std::vector<std::string> asked = run.Asked();
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0].rfind("Frequency of VFO-B out of limits : ", 0), 0u) << asked[0];
            EXPECT_EQ(SentFrames(f.Trace(), mark), std::vector<std::string>{});
            // No offset: message 110.
            run.Edit("Zero", 0, "USB", false);
            run.Click(CSplit::kActivate);
            EXPECT_EQ(run.Asked(), std::vector<std::string>{"Split value not set"});
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeSplitsPart});
    EXPECT_TRUE(ran);
}

TEST(SplitPage, EditingThePresetsAndTheirFile)
{
    WindowFixture f;
    // A "Corrente" past the list shows the first preset; lines with and without a last
    // separator and with CR LF are read.
    testing_support::PutFile(f.folder / "Split.Dat",
                             "20m FT8 ~ 1.000 ~ USB ~ OFF\r\nDown ~ -1.500.000 ~ LSB ~ ON ~ \n");
    testing_support::PutFile(f.folder / "Corvane.ini", f.Ini() + "\n[Split]\nCorrente=7\n");
    std::string written;
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            SplitRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            const lists::SplitList& list = run.page->Splits();
            ASSERT_EQ(list.Size(), 2u);
            EXPECT_EQ(run.page->Selected(), 0);
            EXPECT_EQ(run.page->GetDlgItemText(CSplit::kDescription), "20m FT8");
            EXPECT_EQ(run.page->GetDlgItemText(CSplit::kOffset), "+1.000");

            // The sign stays in front of a grouped negative offset.
            auto* shown = run.page->GetDlgItemAs<QComboBox>(CSplit::kList);
            shown->setCurrentIndex(1);
            emit shown->activated(1);
            EXPECT_EQ(run.page->GetDlgItemText(CSplit::kOffset), "-1.500.000");
            EXPECT_TRUE(run.page->GetDlgItemAs<COnOffButton>(CSplit::kFilter)->IsOn());

            // The same preset again only selects it.
            run.Edit("20m FT8", 1000, "USB", false);
            run.Click(CSplit::kSave);
            EXPECT_EQ(run.Asked(), std::vector<std::string>{});
            EXPECT_EQ(list.Size(), 2u);
            EXPECT_EQ(run.page->Selected(), 0);
            // A stored description beginning like the new one (in any case) asks: No keeps it,
            // Yes replaces it.
            const std::vector<std::string> replace{
                "A split with these values already exist, Replace ?"};
            run.Edit("20", 2000, "CW", false);
            run.Click(CSplit::kSave);
            EXPECT_EQ(run.Asked(), replace);
            ASSERT_EQ(list.Size(), 2u);
            EXPECT_EQ(list.At(0).description, "20m FT8");
            run.Edit("20M ft8", 3000, "USB", true);
            f.yesNoAnswer = mb::kIdYes;
            run.Click(CSplit::kSave);
            EXPECT_EQ(run.Asked(), replace);
            ASSERT_EQ(list.Size(), 2u);
            EXPECT_EQ(list.At(0).line, "20M ft8 ~ +3.000 ~ USB ~ ON");
            // "~" is stored as a blank.
            run.Edit("Up~ten", -10000, "AM", false);
            run.Click(CSplit::kSave);
            ASSERT_EQ(list.Size(), 3u);
            EXPECT_EQ(list.At(2).line, "Up ten ~ -10.000 ~ AM ~ OFF");
            EXPECT_EQ(run.page->Selected(), 2);
            // Deleting the last entry selects the new last one.
            run.Click(CSplit::kDelete);
            EXPECT_EQ(run.Asked(), std::vector<std::string>{"Delete the selected Split?"});
            EXPECT_EQ(list.Size(), 2u);
            EXPECT_EQ(run.page->Selected(), 1);
            EXPECT_EQ(run.page->GetDlgItemText(CSplit::kDescription), "Down");
            // Typing selects the first preset that begins so.
            run.page->SetDlgItemText(CSplit::kDescription, "20m");
            EXPECT_EQ(run.page->Selected(), 0);
            written = list.Text();
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeSplitsPart});
    ASSERT_TRUE(ran);
    EXPECT_EQ(testing_support::GetFile(f.folder / "Split.Dat"), written);
    EXPECT_NE(f.Ini().find("Corrente=0"), std::string::npos);
    // Read back: the same presets.
    EXPECT_EQ(lists::SplitList::Parse(written).Text(), written);
    EXPECT_EQ(lists::SplitOffset("-1.500.000"), -1500000);
}

TEST(SplitPage, AnEmptyListWritesAnEmptyFileAndKeepsTheStoredIndex)
{
    WindowFixture f;
    testing_support::PutFile(f.folder / "Split.Dat", "Only ~ 500 ~ USB ~ OFF\n");
    testing_support::PutFile(f.folder / "Corvane.ini", f.Ini() + "\n[Split]\nCorrente=5\n");
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            SplitRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            EXPECT_EQ(run.page->GetDlgItemText(CSplit::kDescription), "Only");
            f.yesNoAnswer = mb::kIdYes;
            run.Click(CSplit::kDelete);
            EXPECT_TRUE(run.page->Splits().Empty());
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeSplitsPart});
    ASSERT_TRUE(ran);
    EXPECT_EQ(testing_support::GetFile(f.folder / "Split.Dat"), "");
    EXPECT_NE(f.Ini().find("Corrente=5"), std::string::npos);
}
