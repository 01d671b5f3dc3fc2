// The modeless progress dialog: owner disabled while it exists, count text, Abort and Esc.
#include "FrameworkContext.h"
#include "WorkProgressDlg.h"
#include "widgets_support.h"

#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class ProgressTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ctltest::App(); }
    void SetUp() override
    {
        owner.show();
        framework::SetMainWindow(&owner);
    }
    void TearDown() override { framework::SetMainWindow(nullptr); }
    QWidget owner;
};

TEST_F(ProgressTest, OwnerIsDisabledUntilTheDialogGoes)
{
    // A large font on the owner stays the owner's: the dialog keeps its own.
    QFont large = owner.font();
    large.setPointSize(large.pointSize() + 9);
    owner.setFont(large);
    {
        CWorkProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_NE(dlg.font().pointSize(), large.pointSize());
        EXPECT_FALSE(owner.isEnabled());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.isEnabled());
        dlg.DestroyWindow();
        EXPECT_TRUE(owner.isEnabled());
        EXPECT_FALSE(dlg.isVisible());
    }
    {
        CWorkProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_FALSE(owner.isEnabled());
    }  // the destructor gives the owner back
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(ProgressTest, AnOwnerDestroyedDuringTheWorkLeavesTheDialogToItsCaller)
{
    auto* window = new QWidget;
    window->show();
    {
        CWorkProgressDlg dlg;
        ASSERT_TRUE(dlg.Create(window));
        delete window;  // e.g. closed by a command served while the work pumps messages
        EXPECT_EQ(dlg.parentWidget(), nullptr);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_TRUE(dlg.CheckCancelButton()) << "the work stops";
        dlg.SetPos(5);
    }  // destroyed once, by its caller
}

TEST_F(ProgressTest, CountTextFollowsThePosition)
{
    CWorkProgressDlg dlg;
    dlg.SetRange(0, 10, "Reading");
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.CountText(), "Reading : 0");
    EXPECT_EQ(dlg.SetPos(3), 0);
    EXPECT_EQ(dlg.CountText(), "Reading : 3");
    const auto* bar = dlg.GetDlgItemAs<QProgressBar>(CWorkProgressDlg::kProgressId);
    EXPECT_EQ(bar->value(), 3);
    // The count is the text's alone (no percentage on the bar).
    EXPECT_FALSE(bar->isTextVisible());
    dlg.ToggleShowCount();
    EXPECT_EQ(dlg.SetPos(4), 3);
    EXPECT_EQ(dlg.CountText(), "Reading");
    dlg.SetRange(0, 10, "");
    dlg.SetPos(5);
    EXPECT_EQ(dlg.CountText(), "");
    dlg.ToggleShowCount();
    dlg.SetPos(6);
    EXPECT_EQ(dlg.CountText(), "6");
    dlg.SetStatus("Memories");
    EXPECT_EQ(dlg.windowTitle(), "Memories");
}

TEST_F(ProgressTest, AbortAndEscOnlyAskToStop)
{
    CWorkProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    auto* abort = dlg.GetDlgItemAs<QPushButton>(2);
    ASSERT_NE(abort, nullptr);
    EXPECT_EQ(abort->text(), "Abort");
    EXPECT_FALSE(dlg.CheckCancelButton());
    abort->click();
    EXPECT_TRUE(dlg.CheckCancelButton());
    EXPECT_FALSE(dlg.CheckCancelButton());  // cleared by reading it
    EXPECT_TRUE(dlg.isVisible());

    dlg.HideCancel();
    EXPECT_TRUE(abort->isHidden());
    ctltest::Key(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.CheckCancelButton());
    ctltest::Key(&dlg, Qt::Key_Return);
    EXPECT_FALSE(dlg.CheckCancelButton());
    EXPECT_TRUE(dlg.isVisible());
}

}  // namespace
