// The main window's tuning controls on a stand-in window built from a template with the real
// controls: digit buttons, the wheel over the display, the two tuning sliders, right-click
// manual input, the band-stacking dialog, the band menu and the VFO choice.
#include "BandStacking.h"
#include "CommandTarget.h"
#include "FlatButton.h"
#include "Ini.h"
#include "ManualInput.h"
#include "MyFontDialog.h"
#include "NumEdit.h"
#include "SkinSlider.h"
#include "TempDir.h"
#include "TuningControls.h"
#include "TuningGuiSupport.h"
#include "TuningTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;
using tuninggui::WhenModal;
using tuningtest::Sent;

constexpr unsigned kWindowTemplate = 9310;

void RegisterWindowTemplate()
{
    using namespace tpl;
    std::vector<TemplateItem> plus{Stretch()}, minus{Stretch()};
    // Left to right: 100 MHz down to 1 Hz.
    for (int d = 8; d >= 0; --d) {
        plus.push_back(Control(bands::kPlusButtons[static_cast<size_t>(d)], "COnOffButton", "+",
                               kNoTranslate));
        minus.push_back(Control(bands::kMinusButtons[static_cast<size_t>(d)], "COnOffButton", "-",
                                kNoTranslate));
    }
    RegisterDialogTemplate(
        {kWindowTemplate, "Tuning",
         Column({Group("", {Row(plus), Control(1000, "CNumEdit", "", 0, 20), Row(minus)}, 1312),
                 Control(1236, "CSkinSlider"), Control(1250, "CSkinSlider"),
                 Row({Control(1052, "COnOffButton", "Band"), Control(1054, "COnOffButton", "1"),
                      Control(1055, "COnOffButton", "2"), Control(1056, "COnOffButton", "3")})})});
}

class Window : public CMyFontDialog {
public:
    explicit Window(bands::CTuning& tuning)
        : CMyFontDialog(kWindowTemplate), controls(*this, tuning)
    {
    }
    CTuningControls controls;

protected:
    bool OnCommand(int id, int code) override
    {
        return controls.OnCommand(id, code) || CMyFontDialog::OnCommand(id, code);
    }
};

void PressEnterOn(QWidget* w)
{
    w->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

class TuningControlsTest : public ::testing::Test {
protected:
    QApplication& app = tuninggui::App();
    tuninggui::Boxes boxes;
    TempDir dir;
    std::string path = dir / "Corvane.ini";
    CIni ini;
    bands::CBandTable table;
    tuningtest::FakeTarget target;
    bands::CTuning tuning{table, ini, target};
    std::unique_ptr<Window> window;

    void SetUp() override
    {
        ini.SetPath(path.c_str());
        RegisterWindowTemplate();
        window = std::make_unique<Window>(tuning);
        tuning.SetDisplay(&window->controls);
        ASSERT_TRUE(window->Create(kWindowTemplate, nullptr));
        window->show();
        window->adjustSize();
        QCoreApplication::processEvents();
    }
    void Click(int id) { window->GetDlgItemAs<QAbstractButton>(id)->click(); }
    QPoint CentreOf(int id)
    {
        QWidget* w = window->GetDlgItem(id);
        return w->mapTo(window.get(), w->rect().center());
    }
    CSkinSlider* Slider(int id) { return window->GetDlgItemAs<CSkinSlider>(id); }
};

TEST_F(TuningControlsTest, DigitButtonsStepTheFrequency)
{
    target.field = 14175000;
    Click(1214);
    EXPECT_EQ(target.field, 14176000);
    Click(1227);
    EXPECT_EQ(target.field, 30000);  // clamped at the lower limit
    Click(1211);
    EXPECT_EQ(target.field, 30000);
    EXPECT_EQ(target.sent.back(), (Sent{0x05, 30000, 0}));
    EXPECT_EQ(target.sent.size(), 3u);
    EXPECT_EQ(window->GetDlgItemText(1052), "General");
}

TEST_F(TuningControlsTest, WheelStepsTheDigitUnderTheCursor)
{
    target.field = 7050000;
    EXPECT_TRUE(window->controls.OnWheel(CentreOf(1214), 120));
    EXPECT_EQ(target.field, 7051000);
    EXPECT_EQ(target.skipTicks, 10);
    EXPECT_TRUE(window->controls.OnWheel(CentreOf(1210) + QPoint(2, 0), -120));
    EXPECT_EQ(target.field, 7050999);
    EXPECT_TRUE(window->controls.OnWheel(CentreOf(1219), 120));
    EXPECT_EQ(target.field, 107050999);
    // Halves of a notch (a fine-grained wheel) make one step between them.
    for (int half = 0; half < 2; ++half)
        EXPECT_TRUE(window->controls.OnWheel(CentreOf(1210), -60));
    EXPECT_EQ(target.field, 107050998);

    // Inside the display frame but left of the 100 MHz button: no step.
    const size_t sent = target.sent.size();
    QWidget* b = window->GetDlgItem(1219);
    const QPoint leftOf = b->mapTo(window.get(), QPoint(-2, b->height() / 2));
    EXPECT_TRUE(window->controls.OnWheel(leftOf, 120));
    EXPECT_EQ(target.sent.size(), sent);
    // Outside the frame the window's own handling runs.
    EXPECT_FALSE(window->controls.OnWheel(CentreOf(1052), 120));
    EXPECT_EQ(target.sent.size(), sent);
}

TEST_F(TuningControlsTest, SlidersSwapBetweenBandAndWindowAndTune)
{
    target.field = 14100000;
    tuning.UpdateBandFromFrequency();
    EXPECT_EQ(window->GetDlgItemText(1052), "20 mt 14MHz");
    EXPECT_FALSE(Slider(1236)->isHidden());
    EXPECT_TRUE(Slider(1250)->isHidden());
    EXPECT_EQ(Slider(1236)->minimum(), 14000000);
    EXPECT_EQ(Slider(1236)->maximum(), 14350000);
    EXPECT_EQ(Slider(1236)->value(), 14100000);

    target.field = 15100000;
    tuning.UpdateBandFromFrequency();
    EXPECT_TRUE(Slider(1236)->isHidden());
    EXPECT_FALSE(Slider(1250)->isHidden());
    // The range last shown was the band's: the window moves up from its top by 1 MHz.
    EXPECT_EQ(Slider(1250)->minimum(), 14350000);
    EXPECT_EQ(Slider(1250)->maximum(), 15350000);

    // Left button up on the slider tunes to its position.
    Slider(1250)->setValue(15300000);
    framework::SendCommand(Slider(1250), 1250, ctl::kLButtonUp);
    EXPECT_EQ(target.field, 15300000);
    EXPECT_EQ(target.applies, 1);
}

TEST_F(TuningControlsTest, RightClickOpensManualInputWithTheRadiosLimits)
{
    target.field = 7050000;
    WhenModal([&] {
        auto* dlg = qobject_cast<CManualInput*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->GetDlgItemText(CManualInput::kRange),
                  "Valid value from 30.000 to 469.999.999");
        EXPECT_EQ(dlg->GetDlgItemText(CManualInput::kLowerButton), "30.000");
        EXPECT_EQ(dlg->GetDlgItemText(CManualInput::kUpperButton), "469.999.999");
        EXPECT_EQ(dlg->GetDlgItemText(CManualInput::kMeanButton), "235.015.000");
        EXPECT_EQ(dlg->GetDlgItemAs<CNumEdit>(CManualInput::kValue)->GetValue(), 7050000);
        EXPECT_TRUE(
            dlg->grab().save(QCoreApplication::applicationDirPath() + "/tuning_manual_input.png"));
        dlg->GetDlgItemAs<CNumEdit>(CManualInput::kValue)->SetValue(10120000);
        dlg->GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
    });
    EXPECT_TRUE(window->controls.OnCommand(1000, ctl::kRButtonUp));
    EXPECT_EQ(target.field, 10120000);
    EXPECT_EQ(target.applies, 1);

    // A value beyond the radio's limits is dropped without a message.
    WhenModal([&] {
        auto* dlg = qobject_cast<CManualInput*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->GetDlgItemAs<CNumEdit>(CManualInput::kValue)->SetValue(480000000);
        dlg->GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
    });
    framework::SendCommand(Slider(1236), 1236, ctl::kRButtonUp);
    EXPECT_EQ(target.applies, 1);
    EXPECT_TRUE(boxes.shown.empty());

    // The limit buttons put their value in and end with OK.
    WhenModal([&] {
        auto* dlg = qobject_cast<CManualInput*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->GetDlgItemAs<QAbstractButton>(CManualInput::kLowerButton)->click();
    });
    framework::SendCommand(Slider(1250), 1250, ctl::kRButtonUp);
    EXPECT_EQ(target.field, 30000);
    EXPECT_EQ(target.applies, 2);
}

TEST_F(TuningControlsTest, BandStackingButtonsAskThenRecallOrSave)
{
    target.field = 21074000;
    target.mode = 0;
    tuning.UpdateBandFromFrequency();
    WhenModal([&] {
        auto* dlg = qobject_cast<CBandStacking*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->GetDlgItemAs<QAbstractButton>(CBandStacking::kSave)->click();
    });
    Click(1056);
    EXPECT_EQ(ini.GetInt("Banda", "15_C3_freq", 0), 21074000);

    target.field = 21300000;
    target.mode = 1;
    WhenModal([&] {
        auto* dlg = qobject_cast<CBandStacking*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->reject();
    });
    Click(1056);
    EXPECT_EQ(target.field, 21300000);
    // Enter on the focused Cancel button cancels, it does not recall.
    WhenModal([&] {
        auto* dlg = qobject_cast<CBandStacking*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        PressEnterOn(dlg->GetDlgItem(ctl::kIdCancel));
    });
    Click(1056);
    EXPECT_EQ(target.field, 21300000);

    WhenModal([&] {
        auto* dlg = qobject_cast<CBandStacking*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->GetDlgItemAs<QAbstractButton>(CBandStacking::kRecall)->click();
    });
    Click(1056);
    EXPECT_EQ(target.field, 21074000);
    EXPECT_EQ(target.mode, 0);
}

TEST_F(TuningControlsTest, BandAndModeMenusListTheirCommandsAndSelect)
{
    std::unique_ptr<QMenu> menu(CTuningControls::CreateBandMenu());
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 14);
    EXPECT_EQ(actions[0]->text(), "160 mt 1.8MHz");
    EXPECT_EQ(actions[0]->data().toInt(), 32785);
    EXPECT_TRUE(actions[12]->isSeparator());
    EXPECT_EQ(actions[13]->text(), "General");
    EXPECT_EQ(actions[13]->data().toInt(), 32797);

    std::unique_ptr<QMenu> modes(
        CTuningControls::CreateModeMenu({"LSB", "USB", "AM", "CW", "RTTY", ""}));
    ASSERT_EQ(modes->actions().size(), 5);
    EXPECT_EQ(modes->actions()[4]->text(), "RTTY");
    EXPECT_EQ(modes->actions()[4]->data().toInt(), 32779);

    EXPECT_TRUE(window->controls.OnCommand(32785 + 9, 0));
    EXPECT_EQ(target.field, 50500000);
    EXPECT_TRUE(window->controls.OnCommand(32775 + 5, 0));
    EXPECT_EQ(target.mode, 5);
    EXPECT_FALSE(window->controls.OnCommand(1015, 0));
}

TEST(ManualInputTest, LimitTextsAndVfoChoice)
{
    tuninggui::App();
    EXPECT_EQ(CManualInput::LimitValue("30000 Hz"), 30000);
    EXPECT_EQ(CManualInput::LimitValue("469999999"), 469999999);
    EXPECT_EQ(CManualInput::LimitValue("12.5 kHz x"), 12.5);
    EXPECT_EQ(CManualInput::LimitValue(""), 0);
    EXPECT_EQ(CManualInput::LimitValue("Hz"), 0);

    for (int button : {CSceltaVFO::kVfoA, CSceltaVFO::kVfoB}) {
        CSceltaVFO dlg;
        WhenModal([&] { dlg.GetDlgItemAs<QAbstractButton>(button)->click(); });
        EXPECT_EQ(dlg.DoModal(), ctl::kIdOk);
        EXPECT_EQ(dlg.Choice(), button == CSceltaVFO::kVfoA ? 1 : 0);
    }
    // Enter on the focused "VFO A" chooses VFO A.
    CSceltaVFO vfo;
    WhenModal([&] { PressEnterOn(vfo.GetDlgItem(CSceltaVFO::kVfoA)); });
    EXPECT_EQ(vfo.DoModal(), ctl::kIdOk);
    EXPECT_EQ(vfo.Choice(), 1);
}

// The choice is the dialog's own: a dialog ended by the framework (its owner destroyed, ending
// with the framework's cancel code) chose nothing.
TEST(BandStackingTest, OnlyRecallAndSaveMakeAChoice)
{
    tuninggui::App();
    auto* owner = new QWidget;
    owner->show();
    CBandStacking dlg;
    dlg.SetOwner(owner);
    WhenModal([&] { delete owner; });
    dlg.DoModal();
    EXPECT_EQ(dlg.Choice(), bands::kStackCancel);
    // Enter on the focused Save button (a flat button) is Save, once.
    WhenModal([&] { PressEnterOn(dlg.GetDlgItem(CBandStacking::kSave)); });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdOk);
    EXPECT_EQ(dlg.Choice(), bands::kStackSave);
    WhenModal([&] { dlg.EndDialog(ctl::kIdOk); });
    dlg.DoModal();
    EXPECT_EQ(dlg.Choice(), bands::kStackCancel);
}

}  // namespace
