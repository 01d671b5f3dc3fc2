// The band and mode limits dialog driven as a user would: refused values keep what was typed,
// the questions before saving, restoring and discarding, and what reaches the INI file.
#include "Ini.h"
#include "Limiti.h"
#include "NumEdit.h"
#include "TempDir.h"
#include "TuningGuiSupport.h"

#include <filesystem>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

using namespace bands::limits;
using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;
using tuninggui::Boxes;
using tuninggui::WhenModal;

class Host : public ILimitsHost {
public:
    int64_t lower = 30000;
    int64_t upper = 469999999;
    int edgeRequests = 0;
    int reads = 0;
    int64_t RadioLowerLimit() const override { return lower; }
    int64_t RadioUpperLimit() const override { return upper; }
    void RequestBandEdges() override { ++edgeRequests; }
    void ReadFrequencyMode() override { ++reads; }
};

class LimitsDialogTest : public ::testing::Test {
protected:
    QApplication& app = tuninggui::App();
    TempDir dir;
    std::string path = dir / "Corvane.ini";
    CIni ini;
    bands::CBandTable table;
    Host host;
    Boxes boxes;
    CLimiti dlg{table, ini, host};

    void SetUp() override { ini.SetPath(path.c_str()); }
    CNumEdit* Edit(int id) { return dlg.GetDlgItemAs<CNumEdit>(id); }
    double Value(int id) { return Edit(id)->GetValue(); }
    void Set(int id, double v) { Edit(id)->SetValue(v); }
    QListWidget* List() { return dlg.GetDlgItemAs<QListWidget>(kBandList); }
    void Click(int id) { dlg.GetDlgItemAs<QAbstractButton>(id)->click(); }
    // Runs the dialog with the step; a step that leaves it open closes it with -5.
    int Run(std::function<void()> step)
    {
        WhenModal([this, step] {
            step();
            if (dlg.isVisible())
                dlg.EndDialog(-5);
        });
        return dlg.DoModal();
    }
};

TEST_F(LimitsDialogTest, RefusedBandKeepsTheTypedValuesAndTheSelection)
{
    const int result = Run([&] {
        EXPECT_EQ(List()->count(), 13);
        EXPECT_EQ(List()->item(12)->text(), "General");
        EXPECT_EQ(Value(kGeneralFrom), 30000);
        EXPECT_EQ(Value(kGeneralTo), 469999999);
        EXPECT_EQ(Value(kBandFrom), 1800000);
        List()->setCurrentRow(4);
        EXPECT_EQ(Value(kBandTo), 14350000);
        EXPECT_EQ(Value(kUsbLow), 14100001);

        Set(kBandTo, 14000000);  // not above "From"
        List()->setCurrentRow(5);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "The new value is not valid");
        EXPECT_EQ(boxes.shown[0].style, mb::kIconError);
        EXPECT_EQ(List()->currentRow(), 4);
        EXPECT_EQ(Value(kBandTo), 14000000);
        EXPECT_EQ(dlg.focusWidget(), Edit(kBandTo));

        Set(kBandTo, 14300000);
        Set(kCwHigh, 14080000);
        List()->setCurrentRow(5);
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(Value(kBandFrom), 18068000);
        List()->setCurrentRow(4);
        EXPECT_EQ(Value(kBandTo), 14300000);

        boxes.answers = {mb::kIdYes};
        Click(ctl::kIdOk);
    });
    EXPECT_EQ(result, ctl::kIdOk);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Save these settings?");
    EXPECT_EQ(table.Row(4).upper, 14300000);
    EXPECT_EQ(table.Row(4).segments[bands::kSegCw].upper, 14080000);
    EXPECT_EQ(ini.GetInt("Banda", "20_limite_up", 0), 14300000);
    EXPECT_EQ(ini.GetInt("Banda", "20_limite_upCW", 0), 14080000);
    EXPECT_EQ(ini.GetInt("Setup", "LimiteSuperiore", 0), 469999999);
    EXPECT_EQ(host.reads, 1);
}

TEST_F(LimitsDialogTest, SaveAskedFirstAndRefusedGeneralRangeWritesNothing)
{
    Run([&] {
        Click(ctl::kIdOk);  // answered No
        EXPECT_TRUE(dlg.isVisible());
        Set(kGeneralTo, 20000);
        boxes.answers = {mb::kIdYes};
        Click(ctl::kIdOk);
        EXPECT_TRUE(dlg.isVisible());
        ASSERT_EQ(boxes.shown.size(), 3u);
        EXPECT_EQ(boxes.shown[2].text, "The new value is not valid");
        EXPECT_EQ(dlg.focusWidget(), Edit(kGeneralFrom));
        EXPECT_EQ(Value(kGeneralTo), 20000);
    });
    EXPECT_EQ(GetFile(path), "");
    EXPECT_EQ(host.reads, 0);
}

TEST_F(LimitsDialogTest, ASaveThatCannotBeWrittenSaysSoAndStaysOpen)
{
    // A folder where the INI file should be: nothing can be written there, not even by root.
    std::filesystem::create_directory(path);
    Run([&] {
        List()->setCurrentRow(4);
        Set(kBandTo, 14300000);
        boxes.answers = {mb::kIdYes};
        Click(ctl::kIdOk);
        EXPECT_TRUE(dlg.isVisible());
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[1].text, "Unable to save the file : " + path);
        EXPECT_EQ(boxes.shown[1].style, mb::kIconError);
    });
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(host.reads, 0);
}

TEST_F(LimitsDialogTest, CancelAsksOnlyWhenSomethingChanged)
{
    int result = Run([&] {
        List()->setCurrentRow(8);
        Click(ctl::kIdCancel);
    });
    EXPECT_EQ(result, ctl::kIdCancel);
    EXPECT_TRUE(boxes.shown.empty());

    result = Run([&] {
        Set(kFmLow, 29600000);
        Click(ctl::kIdCancel);  // answered No: stays open
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(Value(kFmLow), 29600000);
        boxes.answers = {mb::kIdYes};
        Click(ctl::kIdCancel);
    });
    EXPECT_EQ(result, ctl::kIdCancel);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Close the window loosing the changes?");
    EXPECT_EQ(boxes.shown[0].style, mb::kYesNo | mb::kIconExclamation | mb::kDefButton2);
    EXPECT_EQ(table.Row(0), bands::DefaultRow(0));

    // Values that cannot be stored are a change too.
    boxes.shown.clear();
    Run([&] {
        Set(kBandTo, 1);
        Click(ctl::kIdCancel);
        EXPECT_TRUE(dlg.isVisible());
    });
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(LimitsDialogTest, GeneralRowAndReadingTheRadiosEdges)
{
    PutFile(path, "[Setup]\nLimiteInferiore=100000\nLimiteSuperiore=0\n");
    Run([&] {
        List()->setCurrentRow(12);
        EXPECT_FALSE(Edit(kBandFrom)->isEnabled());
        EXPECT_FALSE(Edit(kBandTo)->isEnabled());
        EXPECT_TRUE(Edit(kCwLow)->isEnabled());
        Click(kReadFromRadio);
        EXPECT_EQ(host.edgeRequests, 1);
        EXPECT_EQ(Value(kGeneralFrom), 30000);  // one of the two is 0
        ini.WriteInt("Setup", "LimiteSuperiore", 199999999);
        Click(kReadFromRadio);
        EXPECT_EQ(Value(kGeneralFrom), 100000);
        EXPECT_EQ(Value(kGeneralTo), 199999999);
        List()->setCurrentRow(3);
        EXPECT_TRUE(Edit(kBandFrom)->isEnabled());
    });
}

TEST_F(LimitsDialogTest, RestoreDefaultAfterConfirmation)
{
    table.Row(2).upper = 7200000;
    table.WriteLimits(ini);
    ini.WriteInt("Setup", "LimiteInferiore", 100000);
    ini.WriteInt("Setup", "LimiteSuperiore", 199999999);
    Run([&] {
        Click(CLimiti::kRestoreDefault);  // answered No
        EXPECT_EQ(table.Row(2).upper, 7200000);
        List()->setCurrentRow(2);
        boxes.answers = {mb::kIdYes};
        Click(CLimiti::kRestoreDefault);
        EXPECT_EQ(List()->currentRow(), 0);
        List()->setCurrentRow(2);
        EXPECT_EQ(Value(kBandTo), 7300000);
    });
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "ATTENTION !!!\nRestore the default settings of the program ?");
    EXPECT_EQ(table.Row(2).upper, 7300000);
    EXPECT_EQ(host.reads, 1);
    const std::string text = GetFile(path);
    EXPECT_EQ(text.find("_limite"), std::string::npos);
    EXPECT_EQ(text.find("LimiteInferiore"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(LimitsDialogTest, RendersToPng)
{
    Run([&] {
        List()->setCurrentRow(8);
        const QImage image = dlg.grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(
            image.save(QCoreApplication::applicationDirPath() + "/tuning_limits_dialog.png"));
    });
}

}  // namespace
