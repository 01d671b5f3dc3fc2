// The split and sked files never lose what they hold: the program started and ended by a signal
// leaves files in another layout and files too large to read byte for byte as they were; a file
// it could not read is never saved over, also when the user changes the list, and the user is
// told so; lines a list cannot take survive a change of the list.
#include "ProgramRun.h"
#include "SkedsTestSupport.h"
#include "WindowTestSupport.h"

#include <QDateEdit>
#include <QPushButton>

#include <memory>

#include "MaskEdit.h"
#include "NumEdit.h"
#include "SkedsPage.h"
#include "SplitPage.h"

using namespace wndtest;

namespace {

// Past the size any list file is read up to.
constexpr std::uintmax_t kOverCap = 68u << 20;

// A file of `head` followed by zeros up to kOverCap bytes; its whole text.
std::string PutOverCapFile(const fs::path& path, const std::string& head)
{
    testing_support::PutFile(path, head);
    fs::resize_file(path, kOverCap);
    return head + std::string(kOverCap - head.size(), '\0');
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
        testing_support::PutFile(f.folder / "Split.Dat", splits);
        testing_support::PutFile(f.folder / "Skeds.Dat", skeds);
        const std::unique_ptr<ProgramRun> run = Start(f);
        ASSERT_TRUE(run->Started());
        ASSERT_TRUE(WaitFor([&] {
            return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos;
        })) << run->Errors();
        EXPECT_EQ(run->Stop(SIGTERM), 0) << run->Errors();
        EXPECT_EQ(testing_support::GetFile(f.folder / "Split.Dat"), splits);
        EXPECT_EQ(testing_support::GetFile(f.folder / "Skeds.Dat"), skeds);
    }
    {
        // Too large to read: said at the start, and the signal that ends the program while the
        // message waits leaves the file as it was.
        WindowFixture f;
        const std::string splits =
            PutOverCapFile(f.folder / "Split.Dat", "20m FT8 ~ 1000 ~ USB ~ OFF\n");
        const std::unique_ptr<ProgramRun> run = Start(f);
        ASSERT_TRUE(run->Started());
        ASSERT_TRUE(WaitFor([&] {
            return run->Errors().find("split presets not read: ") != std::string::npos;
        })) << run->Errors();
        EXPECT_EQ(run->Stop(SIGTERM), 0) << run->Errors();
        EXPECT_EQ(fs::file_size(f.folder / "Split.Dat"), kOverCap);
        EXPECT_TRUE(testing_support::GetFile(f.folder / "Split.Dat") == splits);
    }
}

TEST(ListFiles, AnUnreadFileIsNeverSavedOverAndLinesNoListTakesSurviveAChange)
{
    WindowFixture f;
    const fs::path splitFile = f.folder / "Split.Dat";
    const std::string splits = PutOverCapFile(splitFile, "20m FT8 ~ 1000 ~ USB ~ OFF\n");
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
    EXPECT_EQ(fs::file_size(splitFile), kOverCap);
    EXPECT_TRUE(testing_support::GetFile(splitFile) == splits);
    const std::string written = testing_support::GetFile(f.folder / "Skeds.Dat");
    EXPECT_EQ(written, skeds);
    EXPECT_NE(written.find("203001020930 ~ Later ~ 7.074.000 ~ "), std::string::npos) << written;
    EXPECT_TRUE(written.ends_with(unread)) << written;
}
