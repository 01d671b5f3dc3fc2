// The list files never lose what they hold: the program started and ended by a signal leaves
// files in another layout and files too large to read byte for byte as they were; a file it
// could not read is never saved over, also when the user changes the list, imports into it or
// switches memory groups, and the user is told so; lines a list cannot take survive a change of
// the list; an import that would make a list its file cannot hold is refused.
#include "ProgramRun.h"
#include "SkedsTestSupport.h"
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>

#include <algorithm>
#include <fstream>
#include <memory>

#include "GridWidget.h"
#include "ListFile.h"
#include "MaskEdit.h"
#include "MemoriesWindow.h"
#include "MemoryGroupsPage.h"
#include "NumEdit.h"
#include "RadioMemoriesWindow.h"
#include "SkedsPage.h"
#include "SplitPage.h"

using namespace wndtest;

namespace {

// Past the size any list file is read or written up to.
constexpr std::uintmax_t kOverCap = lists::kMaxListFileBytes + (4u << 20);

// A sparse file of `head` followed by zeros up to kOverCap bytes.
void PutOverCapFile(const fs::path& path, const std::string& head)
{
    testing_support::PutFile(path, head);
    fs::resize_file(path, kOverCap);
}

// Whether the file is still what PutOverCapFile made.
bool StillOverCapFile(const fs::path& path, const std::string& head)
{
    std::ifstream in(path, std::ios::binary);
    std::string start(head.size(), '\0');
    if (fs::file_size(path) != kOverCap || !in.read(start.data(), start.size()) || start != head)
        return false;
    std::vector<char> chunk(1u << 20);
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)
        if (std::any_of(chunk.begin(), chunk.begin() + in.gcount(), [](char c) { return c != 0; }))
            return false;
    return true;
}

// A CSV file within the size a list file may have whose records would make a PC list past it:
// each record's long mode field goes into a line with seventeen empty fields more.
void PutCsvPastTheListLimit(const fs::path& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "Description;VFO-A;Mode-A;\n";
    const std::string tail = ";7000000;" + std::string(1000, 'x') + ";\n";
    for (int i = 0; i < 65000; ++i)
        out << 'R' << std::to_string(1000000 + i) << tail;
}

// The built program copied into the fixture's folder and started there.
std::unique_ptr<ProgramRun> Start(const WindowFixture& f)
{
    fs::copy_file(std::string(CORVANE_BIN_DIR) + "/Corvane", f.folder / "Corvane");
    return std::make_unique<ProgramRun>(f.folder / "Corvane");
}

}  // namespace

TEST(ListFilesProgram, FilesInAnotherLayoutOrTooLargeStayByteForByte)
{
    if (!fs::exists(std::string(CORVANE_BIN_DIR) + "/Corvane"))
        GTEST_SKIP() << "the program is not built";
    {
        // No line with a "~", and a mix of skeds and lines that are none.
        WindowFixture f;
        const std::string splits = "20m FT8;1000;USB;OFF\r\nDown;-1500;LSB;ON\n\n40m CW;500;CW;OFF";
        const std::string skeds = "203001011300;Old layout;7074000\n"
                                  + skedtest::SkedText("203001011200", "Net")
                                  + "only ~ one separator\n \n";
        // Memory files with lines that give no record, and records in another layout.
        const std::string pc = "Club channels\nCalling ~ 145500000 ~ FM\n";
        const std::string radio = "ch1;14074000\n05 ~ 7074000 ~ 7074000 ~ LSB\n150 ~ 1 ~ 2\n";
        testing_support::PutFile(f.folder / "Split.Dat", splits);
        testing_support::PutFile(f.folder / "Skeds.Dat", skeds);
        testing_support::PutFile(f.folder / "MemPC.Dat", pc);
        testing_support::PutFile(f.folder / "MemRTX.Dat", radio);
        const std::unique_ptr<ProgramRun> run = Start(f);
        ASSERT_TRUE(run->Started());
        ASSERT_TRUE(WaitFor([&] {
            return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos;
        })) << run->Errors();
        EXPECT_EQ(run->Stop(SIGTERM), 0) << run->Errors();
        EXPECT_EQ(testing_support::GetFile(f.folder / "Split.Dat"), splits);
        EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), skeds);
        EXPECT_EQ(testing_support::GetFile(f.folder / "MemPC.Dat"), pc);
        EXPECT_EQ(testing_support::GetFile(f.folder / "MemRTX.Dat"), radio);
    }
    {
        // Too large to read: said at the start, and the signal that ends the program while the
        // message waits leaves the file as it was.
        WindowFixture f;
        const std::string split = "20m FT8 ~ 1000 ~ USB ~ OFF\n";
        const std::string channel = "01 ~ Big ~ \n";
        PutOverCapFile(f.folder / "Split.Dat", split);
        PutOverCapFile(f.folder / "MemPC.Dat", split);
        PutOverCapFile(f.folder / "MemRTX.Dat", channel);
        const std::unique_ptr<ProgramRun> run = Start(f);
        ASSERT_TRUE(run->Started());
        ASSERT_TRUE(WaitFor([&] { return run->Errors().find(" not read: ") != std::string::npos; }))
            << run->Errors();
        EXPECT_EQ(run->Stop(SIGTERM), 0) << run->Errors();
        EXPECT_TRUE(StillOverCapFile(f.folder / "Split.Dat", split));
        EXPECT_TRUE(StillOverCapFile(f.folder / "MemPC.Dat", split));
        EXPECT_TRUE(StillOverCapFile(f.folder / "MemRTX.Dat", channel));
    }
}

TEST(ListFiles, AnUnreadFileIsNeverSavedOverAndLinesNoListTakesSurviveAChange)
{
    WindowFixture f;
    const fs::path splitFile = f.folder / "Split.Dat";
    const std::string split = "20m FT8 ~ 1000 ~ USB ~ OFF\n";
    PutOverCapFile(splitFile, split);
    const std::string unread = "203001011300;Old layout;7074000\n";
    testing_support::PutFile(f.folder / "Skeds.Dat",
                             unread + skedtest::SkedText("203001011200", "Net"));
    std::string skeds;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        // Told at the start, with the file and the reason.
        const std::string told =
            "Impossible to save the split : " + splitFile.string() + ": The file is too large";
        ASSERT_EQ(f.boxes.size(), 1u);
        EXPECT_EQ(f.boxes[0].text.rfind(told, 0), 0u) << f.boxes[0].text;
        EXPECT_EQ(f.boxes[0].style, mb::kOk | mb::kIconError);
        f.boxes.clear();

        // A preset the user adds is refused at the save, and said again.
        auto* split = w.findChild<CSplit*>();
        ASSERT_NE(split, nullptr);
        EXPECT_TRUE(split->Splits().Empty());
        split->SetDlgItemText(CSplit::kDescription, "Up five");
        split->GetDlgItemAs<CNumEdit>(CSplit::kOffset)->SetValue(5000);
        split->GetDlgItemAs<QPushButton>(CSplit::kSave)->click();
        ASSERT_EQ(split->Splits().Size(), 1u);
        EXPECT_FALSE(split->SaveSplits());
        ASSERT_EQ(f.boxes.size(), 1u);
        EXPECT_EQ(f.boxes[0].text.rfind(told, 0), 0u) << f.boxes[0].text;

        // A sked added: the line that is no sked stays in the file.
        auto* page = w.findChild<CSkeds*>();
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->Skeds().Size(), 1u);
        page->SetDlgItemText(CSkeds::kDescription, "Later");
        page->GetDlgItemAs<QDateEdit>(CSkeds::kDate)->setDate(QDate(2030, 1, 2));
        DDX_TimeEditSet(QDateTime(QDate(2030, 1, 2), QTime(9, 30)),
                        *page->GetDlgItemAs<CTimeEdit>(CSkeds::kTime));
        page->GetDlgItemAs<CNumEdit>(CSkeds::kFrequencyA)->SetValue(7074000);
        page->GetDlgItemAs<QPushButton>(CSkeds::kSave)->click();
        ASSERT_EQ(page->Skeds().Size(), 2u);
        skeds = page->Skeds().Text();
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    // The exit said it once more, and wrote nothing over the file.
    EXPECT_EQ(f.boxes.size(), 2u);
    EXPECT_TRUE(StillOverCapFile(splitFile, split));
    const std::string written = testing_support::GetFile(f.folder / "Skeds.Dat");
    EXPECT_EQ(written, skeds);
    EXPECT_NE(written.find("203001020930 ~ Later ~ 7.074.000 ~ "), std::string::npos) << written;
    EXPECT_TRUE(written.ends_with(unread)) << written;
}

TEST(ListFiles, AMemoryFileNotReadIsNeverSavedOverAndAnImportPastTheLimitIsRefused)
{
    WindowFixture f;
    const std::string base =
        "Base ~ 7.050.000 ~ LSB ~ OFF ~ 7.050.000 ~ LSB ~ OFF ~ NOSPLIT ~ VFO A ~ NODUP ~ DEF ~ "
        "OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ NO ~ \n";
    const std::string big = "Big ~ 7.074.000 ~ \n";
    const std::string channel = "01 ~ Big ~ \n";
    testing_support::PutFile(f.folder / "MemPC.Dat", base);
    PutOverCapFile(f.folder / "Net.MEM", big);
    PutOverCapFile(f.folder / "MemRTX.Dat", channel);
    const std::string three = f.folder / "three.csv";
    testing_support::PutFile(three,
                             "Description;VFO-A;\nOne;7050000;\nTwo;14200000;\nThree;21200000;\n");
    const std::string past = f.folder / "past.csv";
    PutCsvPastTheListLimit(past);
    f.yesNoAnswer = mb::kIdYes;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const auto told = [&](const std::string& file) {
            const std::string text = "Impossible to save the memories : " + (f.folder / file)
                                     + ": The file is too large";
            return !f.boxes.empty() && f.boxes.back().text.rfind(text, 0) == 0;
        };
        // The start names the file.
        EXPECT_TRUE(told("MemRTX.Dat"));
        auto* pc = qobject_cast<CDlgMem*>(w.ToolWindow(CDlgMem::kTemplateId));
        auto* radio = qobject_cast<CDlgMemRadio*>(w.ToolWindow(CDlgMemRadio::kTemplateId));
        auto* page = qobject_cast<CMem*>(w.Page(CMem::kTemplateId));
        ASSERT_TRUE(pc && radio && page);
        std::string csv = three;
        const auto asker = [&](bool, const std::string&) {
            return std::optional<CMemoryListWindow::CsvChoice>({csv, {';', '.'}});
        };
        pc->SetCsvAsker(asker);
        radio->SetCsvAsker(asker);
        radio->GetDlgItemAs<QAbstractButton>(CDlgMemRadio::kImport)->click();
        EXPECT_TRUE(told("MemRTX.Dat"));
        EXPECT_EQ(radio->Grid().GetItemText(1, 1), "");

        // A group whose file is not read: said on the switch, no import, no change saved; with
        // the change undone the list is what the file was read as, and the switch goes on.
        auto* groups = page->GetDlgItemAs<QComboBox>(CMem::kGroups);
        const auto choose = [&](const char* group) {
            groups->setCurrentIndex(groups->findText(group));
            emit groups->activated(groups->currentIndex());
        };
        choose("Net");
        EXPECT_TRUE(told("Net.MEM"));
        pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kImport)->click();
        EXPECT_TRUE(told("Net.MEM"));
        EXPECT_EQ(pc->Grid().GetRowCount(), 1);
        pc->SetDlgItemText(CDlgMem::kDescription, "Added");
        pc->GetDlgItemAs<CNumEdit>(CDlgMem::kVfoA)->SetValue(7074000);
        pc->SaveRow(true);
        ASSERT_EQ(pc->Grid().GetRowCount(), 2);
        f.boxes.clear();
        choose("_base");
        EXPECT_TRUE(told("Net.MEM"));
        EXPECT_EQ(page->SelectedGroup(), "Net");
        pc->Grid().DeleteRow(1);
        choose("_base");
        EXPECT_EQ(page->SelectedGroup(), "_base");
        EXPECT_EQ(pc->Grid().GetItemText(1, 0), "Base");

        // An import that would make the list larger than its file may be: said, nothing taken.
        f.boxes.clear();
        csv = past;
        pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kImport)->click();
        ASSERT_FALSE(f.boxes.empty());
        EXPECT_NE(f.boxes.back().text.find("Error in import memory from the file : "
                                           + (f.folder / "MemPC.Dat") + ": the list would take "),
                  std::string::npos)
            << f.boxes.back().text;
        EXPECT_EQ(pc->Grid().GetRowCount(), 2);
        EXPECT_EQ(testing_support::GetFile(f.folder / "MemPC.Dat"), base);
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(testing_support::GetFile(f.folder / "MemPC.Dat"), base);
    EXPECT_TRUE(StillOverCapFile(f.folder / "Net.MEM", big));
    EXPECT_TRUE(StillOverCapFile(f.folder / "MemRTX.Dat", channel));
}
