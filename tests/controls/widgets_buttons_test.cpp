// The owner-drawn buttons in a real dialog: clicks, check boxes, hover, colours, menus.
#include "CustomControls.h"
#include "FlatButton.h"
#include "MyFontDialog.h"
#include "QtColor.h"
#include "widgets_support.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr unsigned kTemplate = 9161;
constexpr int kCheck = 1001;
constexpr int kPush = 1002;
constexpr int kOnOff = 1003;

class ButtonDialog : public CMyFontDialog {
public:
    ButtonDialog() : CMyFontDialog(kTemplate) {}
    std::vector<std::pair<int, int>> commands;
    std::vector<int> checkSeen;  // GetCheck of kCheck when its click arrived

protected:
    bool OnCommand(int id, int code) override
    {
        commands.emplace_back(id, code);
        if (id == kCheck)
            checkSeen.push_back(GetDlgItemAs<CFlatButton>(kCheck)->GetCheck());
        return true;
    }
};

class FlatButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ctltest::App();
        RegisterCustomControls();
        RegisterDialogTemplate({kTemplate, "Buttons",
                                tpl::Column({tpl::Control(kCheck, "CFlatButton", "Check"),
                                             tpl::Control(kPush, "CFlatButton", "Push"),
                                             tpl::Control(kOnOff, "COnOffButton", "ATT")})});
    }
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(kTemplate, nullptr));
        check = dlg.GetDlgItemAs<CFlatButton>(kCheck);
        push = dlg.GetDlgItemAs<CFlatButton>(kPush);
        onOff = dlg.GetDlgItemAs<COnOffButton>(kOnOff);
        ASSERT_TRUE(check && push && onOff);
        check->SetButtonType(CFlatButton::kCheckBox);
        dlg.show();
    }
    static void Enter(QWidget* w)
    {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(w, &e);
    }

    ButtonDialog dlg;
    CFlatButton* check = nullptr;
    CFlatButton* push = nullptr;
    COnOffButton* onOff = nullptr;
};

TEST_F(FlatButtonTest, ClickReachesTheDialogAfterTheCheckToggled)
{
    ctltest::Click(check);
    ctltest::Click(push);
    ASSERT_EQ(dlg.commands.size(), 2u);
    EXPECT_EQ(dlg.commands[0], std::make_pair(kCheck, 0));
    EXPECT_EQ(dlg.commands[1], std::make_pair(kPush, 0));
    EXPECT_EQ(dlg.checkSeen, std::vector<int>{1});
    EXPECT_EQ(check->GetCheck(), 1);
    EXPECT_TRUE(push->hasFocus() || !QApplication::focusWidget());
}

TEST_F(FlatButtonTest, FastSecondClickCountsAsAClick)
{
    ctltest::Mouse(check, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    ctltest::Mouse(check, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    ctltest::Mouse(check, QEvent::MouseButtonDblClick, Qt::LeftButton, {5, 5});
    ctltest::Mouse(check, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    EXPECT_EQ(dlg.commands.size(), 2u);
    EXPECT_EQ(check->GetCheck(), 0);
}

TEST_F(FlatButtonTest, CheckStateOnlyForCheckBoxes)
{
    push->SetCheck(1);
    EXPECT_EQ(push->GetCheck(), 0);
    check->SetCheck(1);
    EXPECT_EQ(check->GetCheck(), 1);
    check->SetCheck(0);
    EXPECT_EQ(check->GetCheck(), 0);
}

TEST_F(FlatButtonTest, AlignBeyondThreeIsRefused)
{
    EXPECT_EQ(push->SetAlign(2), 0);
    EXPECT_EQ(push->SetAlign(4), 4);
    EXPECT_EQ(push->SetAlign(-1), 4);
    EXPECT_EQ(push->GetAlign(), 2);
}

TEST_F(FlatButtonTest, HoverInFlatLookOnly)
{
    // No window is active offscreen: AlwaysTrack still lights the button.
    Enter(push);
    EXPECT_TRUE(push->IsHovered());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(push, &leave);
    EXPECT_FALSE(push->IsHovered());

    Enter(push);
    push->setEnabled(false);
    EXPECT_FALSE(push->IsHovered());
    push->setEnabled(true);

    check->SetAlwaysTrack(false);
    if (!QApplication::activeWindow()) {
        Enter(check);
        EXPECT_FALSE(check->IsHovered());
    }
    onOff->SetFlat();
    Enter(onOff);
    EXPECT_FALSE(onOff->IsHovered());
}

TEST_F(FlatButtonTest, ColoursLightenAndSurviveASystemColourChange)
{
    push->SetColor(CFlatButton::kBkIn, RgbColor(240, 100, 100));
    push->LightenColor();
    EXPECT_EQ(push->GetColor(CFlatButton::kBkIn), RgbColor(255, 115, 115));
    push->SetColor(CFlatButton::kBkOut, RgbColor(10, 20, 30));

    QPalette p = push->palette();
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    push->setPalette(p);
    EXPECT_EQ(push->GetColor(CFlatButton::kBkOut), RgbColor(10, 20, 30));
    EXPECT_EQ(push->GetColor(CFlatButton::kBkIn), RgbColor(255, 115, 115));
    EXPECT_EQ(push->GetColor(CFlatButton::kBkFocus), RgbColor(1, 2, 3));  // left to the system

    push->SetDefaultColors();
    EXPECT_EQ(push->GetColor(CFlatButton::kBkOut), RgbColor(1, 2, 3));
    EXPECT_FALSE(push->HasOwnColor(CFlatButton::kBkIn));
}

TEST_F(FlatButtonTest, OnOffButtonPaintsItsCaptionInTheOnColour)
{
    const COLORREF red = RgbColor(255, 0, 0);
    onOff->SetOnOffColors(red, RgbColor(0, 0, 0));
    onOff->SetOn(true);
    EXPECT_TRUE(onOff->IsOn());
    for (int i : {CFlatButton::kFgIn, CFlatButton::kFgOut, CFlatButton::kFgFocus})
        EXPECT_EQ(onOff->GetColor(i), red);
    onOff->resize(60, 24);
    const QImage img = onOff->grab().toImage();
    bool sawRed = false;
    for (int y = 0; y < img.height() && !sawRed; ++y)
        for (int x = 0; x < img.width() && !sawRed; ++x) {
            const QColor c = img.pixelColor(x, y);
            sawRed = c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_TRUE(sawRed);
    onOff->SetOn(false);
    EXPECT_EQ(onOff->GetColor(CFlatButton::kFgOut), RgbColor(0, 0, 0));

    // On a dark face, a disabled caption is dimmer than the enabled one, never brighter.
    for (int i : {CFlatButton::kBkIn, CFlatButton::kBkOut, CFlatButton::kBkFocus})
        onOff->SetColor(i, RgbColor(80, 80, 80));
    onOff->SetOnOffColors(red, RgbColor(90, 230, 90));
    onOff->SetOn(false);
    const auto brightest = [&] {
        const QImage shot = onOff->grab().toImage();
        int most = 0;  // inside the border, where only the caption is drawn
        for (int y = 3; y < shot.height() - 3; ++y)
            for (int x = 3; x < shot.width() - 3; ++x)
                most = std::max(most, qGray(shot.pixel(x, y)));
        return most;
    };
    const int enabled = brightest();
    onOff->setEnabled(false);
    const int disabled = brightest();
    onOff->setEnabled(true);
    EXPECT_LT(disabled, enabled);
    EXPECT_GT(disabled, qGray(80, 80, 80));
}

TEST_F(FlatButtonTest, MenuChoiceGoesToTheOwner)
{
    ctltest::Recorder owner;
    auto* menu = new QMenu;
    CFlatButton::AddMenuCommand(menu, 501, "First");
    CFlatButton::AddMenuCommand(menu, 502, "Second");
    EXPECT_EQ(onOff->SetMenu(menu, &owner), 0);
    onOff->ModifyMenuItem(502, 503, "Third");
    EXPECT_EQ(onOff->GetMenuItemText(503), "Third");
    EXPECT_EQ(onOff->GetMenuItemText(502), "");
    bool sawPressed = false;
    QTimer::singleShot(0, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        sawPressed = onOff->IsMenuShown();
        popup->setActiveAction(popup->actions().at(1));
        ctltest::Key(popup, Qt::Key_Return);
    });
    ctltest::Click(onOff);
    EXPECT_TRUE(sawPressed);
    EXPECT_FALSE(onOff->IsMenuShown());
    QApplication::processEvents();
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0], std::make_pair(503, 0));
    onOff->RemoveMenuItem(503);
    EXPECT_EQ(onOff->GetMenuItemText(503), "");
}

// The window holding the button may be destroyed while its menu is open (a remote command, a
// close handled in the menu's own event loop): the button must not touch itself afterwards.
TEST_F(FlatButtonTest, AButtonDestroyedWhileItsMenuIsOpenIsNotTouchedAfterwards)
{
    for (int round = 0; round < 20; ++round) {
        ctltest::Recorder owner;
        QPointer<CFlatButton> button = new CFlatButton("Menu", &owner);
        auto* menu = new QMenu;
        CFlatButton::AddMenuCommand(menu, 601, "Only");
        button->SetMenu(menu, &owner);
        owner.show();
        bool deleted = false;
        QTimer::singleShot(0, [&] {
            if (QApplication::activePopupWidget()) {
                delete button.data();
                deleted = true;
            }
        });
        button->click();
        EXPECT_TRUE(deleted);
        EXPECT_TRUE(button.isNull());
        QApplication::processEvents();
        EXPECT_TRUE(owner.commands.empty());
    }
}

TEST_F(FlatButtonTest, ImagesAndCursorsByResource)
{
    EXPECT_EQ(push->SetCursor(207), 0);
    EXPECT_EQ(push->SetCursor(106), 0);
    EXPECT_EQ(push->SetCursor(4242), 1);
    EXPECT_EQ(push->SetBitmaps(4242), 1);
    EXPECT_EQ(push->SetBitmaps(287, CFlatButton::kGreyImage), 0);
    EXPECT_EQ(push->SetIcon(4242), 1);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    EXPECT_EQ(push->SetIcon(icon, CFlatButton::kDarkerImage), 0);
    push->SizeToContent();
    EXPECT_EQ(push->size(), QSize(16, 16));
    EXPECT_EQ(push->CaptureBackground(&dlg), 5);
    push->SetDrawTransparent(true);
    EXPECT_EQ(push->CaptureBackground(nullptr), 5);
    EXPECT_EQ(push->CaptureBackground(&dlg), 0);
    push->SetTooltipText(static_cast<const char*>(nullptr));
    EXPECT_TRUE(push->toolTip().isEmpty());
    push->SetTooltipTextId();
    EXPECT_EQ(push->toolTip(), "Transmit <-> Receive");
}

}  // namespace
