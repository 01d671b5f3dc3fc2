// Font substitution of the dialog base class, on real dialogs offscreen.
#include "framework_test_app.h"

#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "MyFontDialog.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

constexpr unsigned kTemplate = 9101;

void RegisterTestTemplate()
{
    using namespace tpl;
    RegisterDialogTemplate({kTemplate, "Font test",
                            Column({Control(500, "STATIC", "A label with some text in it"),
                                    Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
                                         Control(ctl::kIdCancel, "BUTTON", "Cancel")})})});
}

struct Seen {
    int dialogPoints = 0;
    int labelPoints = 0;
    int reportedSize = 0;
    std::string reportedFace;
    QSize hint;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* parent = nullptr;
};

// Opens `dlg` modally and records the fonts in force while it runs.
Seen RunAndLook(CMyFontDialog& dlg, std::function<int()> open)
{
    Seen seen;
    fwtest::WhenModal([&] {
        seen.dialogPoints = dlg.font().pointSize();
        if (auto* label = dlg.GetDlgItemAs<QLabel>(500))
            seen.labelPoints = QFontInfo(label->font()).pointSize();
        seen.reportedSize = dlg.GetFontSize();
        seen.reportedFace = dlg.GetFontFace();
        seen.hint = dlg.sizeHint();
        seen.modality = dlg.windowModality();
        seen.parent = dlg.parentWidget();
        dlg.EndDialog(ctl::kIdOk);
    });
    EXPECT_EQ(open(), ctl::kIdOk);
    return seen;
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fwtest::App();
        RegisterTestTemplate();
    }
};

TEST_F(FontTest, ChildDialogTakesTheOwnerFont)
{
    QWidget owner;
    owner.setFont(QFont("DejaVu Sans", 10));
    owner.show();
    CMyFontDialog dlg(kTemplate);
    dlg.SetOwner(&owner);
    Seen seen = RunAndLook(dlg, [&] { return dlg.DoModal(); });
    EXPECT_EQ(seen.dialogPoints, 10);
    EXPECT_EQ(seen.labelPoints, 10);
    EXPECT_EQ(seen.reportedSize, 10);
    EXPECT_EQ(seen.reportedFace, "DejaVu Sans");
    // Modal on its owner window only.
    EXPECT_EQ(seen.modality, Qt::WindowModal);
    EXPECT_EQ(seen.parent, &owner);
    // The dialog is given back after the modal run: the owner's death does not take it along.
    EXPECT_EQ(dlg.parentWidget(), nullptr);
}

TEST_F(FontTest, ExplicitFontWinsOverTheOwnerAndReflowsTheLayout)
{
    QWidget owner;
    owner.setFont(QFont("DejaVu Sans", 10));
    CMyFontDialog small(kTemplate);
    small.SetOwner(&owner);
    Seen smallSeen = RunAndLook(small, [&] { return small.DoModalWithFont("DejaVu Sans", 8); });
    CMyFontDialog large(kTemplate);
    large.SetOwner(&owner);
    Seen largeSeen = RunAndLook(large, [&] { return large.DoModalWithFont("DejaVu Sans", 16); });
    EXPECT_EQ(smallSeen.dialogPoints, 8);
    EXPECT_EQ(largeSeen.dialogPoints, 16);
    EXPECT_EQ(largeSeen.reportedSize, 16);
    // No fixed pixels: the larger font makes a larger dialog.
    EXPECT_GT(largeSeen.hint.width(), smallSeen.hint.width());
    EXPECT_GT(largeSeen.hint.height(), smallSeen.hint.height());
}

TEST_F(FontTest, OwnerFontInPixelsIsConvertedToPoints)
{
    QWidget owner;
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    owner.setFont(font);
    ASSERT_EQ(owner.logicalDpiY(), 96);  // the offscreen screen
    CMyFontDialog dlg(kTemplate);
    dlg.SetOwner(&owner);
    EXPECT_EQ(dlg.GetFontSize(), 10);  // 13 px at 96 dpi, rounded
    Seen seen = RunAndLook(dlg, [&] { return dlg.DoModal(); });
    EXPECT_EQ(seen.dialogPoints, 10);
}

TEST_F(FontTest, SetTemplateFontRefusesEmptyFaceOrSizeBelowOne)
{
    CMyFontDialog dlg(kTemplate);
    EXPECT_FALSE(dlg.SetTemplateFont("", 10));
    EXPECT_FALSE(dlg.SetTemplateFont("DejaVu Sans", 0));
    EXPECT_FALSE(dlg.SetTemplateFont("DejaVu Sans", -3));
    // Nothing was stored: without an owner the size falls back to 8.
    EXPECT_EQ(dlg.GetFontSize(), 8);
    EXPECT_TRUE(dlg.SetTemplateFont("DejaVu Sans", 12));
    EXPECT_EQ(dlg.GetFontSize(), 12);
    EXPECT_EQ(dlg.GetFontFace(), "DejaVu Sans");
}

TEST_F(FontTest, OneLetterFaceIsAppliedButTheActualFaceIsReported)
{
    CMyFontDialog dlg(kTemplate);
    Seen seen = RunAndLook(dlg, [&] { return dlg.DoModalWithFont("Q", 11); });
    EXPECT_EQ(seen.dialogPoints, 11);
    EXPECT_NE(seen.reportedFace, "Q");
    EXPECT_FALSE(seen.reportedFace.empty());
}

TEST_F(FontTest, WithoutOwnerTheTemplateFontStaysAndSizeIsEight)
{
    CMyFontDialog dlg(kTemplate);
    EXPECT_FALSE(dlg.TakeOwnerFont());
    EXPECT_EQ(dlg.GetFontSize(), 8);
    Seen seen = RunAndLook(dlg, [&] { return dlg.DoModal(); });
    EXPECT_EQ(seen.dialogPoints, QApplication::font().pointSize());
}

TEST_F(FontTest, MissingTemplateIsNotShown)
{
    CMyFontDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
    CMyFontDialog none;
    EXPECT_EQ(none.DoModal(), -1);
    EXPECT_FALSE(none.Create(9999, nullptr));
}

TEST_F(FontTest, ModelessDialogTakesItsParentFont)
{
    QWidget parent;
    parent.setFont(QFont("DejaVu Sans", 13));
    CMyFontDialog* dlg = new CMyFontDialog;
    ASSERT_TRUE(dlg->Create(kTemplate, &parent));
    EXPECT_EQ(dlg->font().pointSize(), 13);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_NE(dlg->GetDlgItem(ctl::kIdOk), nullptr);
    EXPECT_EQ(dlg->TemplateId(), kTemplate);
}

}  // namespace
