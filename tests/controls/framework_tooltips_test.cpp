// Tool tips of a real dialog: translated texts, switched by Setup/"ToolTips".
#include "framework_test_app.h"

#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "MyFontDialog.h"
#include "TempDir.h"
#include "ToolTipLoc.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using testing_support::PutFile;
using testing_support::TempDir;

constexpr unsigned kTemplate = 9401;
constexpr int kExit = 800;
constexpr int kPlain = 801;

class TipsDialog : public CMyFontDialog {
public:
    TipsDialog() : CMyFontDialog(kTemplate) {}

protected:
    bool OnInitDialog() override
    {
        CMyFontDialog::OnInitDialog();
        ToolTips().AddToolId(GetDlgItem(kExit), 1017);  // "Exit from the program"
        ToolTips().AddToolText(GetDlgItem(kPlain), "Select VFO A");
        return true;
    }
};

// Asks a control for its tip the way the window system does; returns the tip shown, if any.
std::string TipShownFor(QWidget* control)
{
    // A tip goes away a moment after hideText: wait for it (capped) so only a new tip counts.
    QToolTip::hideText();
    QElapsedTimer cap;
    cap.start();
    while (QToolTip::isVisible() && cap.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QPoint at = control->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &event);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
}

class ToolTipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fwtest::App();
        using namespace tpl;
        RegisterDialogTemplate(
            {kTemplate, "Tips",
             Row({Control(kExit, "BUTTON", "Exit"), Control(kPlain, "BUTTON", "VFO A")})});
        PutFile(dir / "Deutsch.lng",
                "Corvane language file 1\n\"Exit from the program\"=\"Programm beenden\"\n");
        ASSERT_EQ(language.Load(dir / "Deutsch.lng", false), CLanguage::kLoaded);
        ini.SetPath((dir / "Corvane.ini").c_str());
        framework::SetLanguage(&language);
        framework::SetIni(&ini);
    }
    void TearDown() override
    {
        framework::SetLanguage(nullptr);
        framework::SetIni(nullptr);
        QToolTip::hideText();
    }

    // Opens the dialog and collects the tips of both buttons.
    std::pair<std::string, std::string> Tips()
    {
        TipsDialog dlg;
        std::pair<std::string, std::string> tips;
        fwtest::WhenModal([&] {
            tips.first = TipShownFor(dlg.GetDlgItem(kExit));
            tips.second = TipShownFor(dlg.GetDlgItem(kPlain));
            dlg.EndDialog(ctl::kIdOk);
        });
        dlg.DoModal();
        return tips;
    }

    TempDir dir;
    CLanguage language;
    CIni ini;
};

TEST_F(ToolTipsTest, TipsShowTranslatedTextsWhileSwitchedOn)
{
    auto tips = Tips();  // no setting: on
    EXPECT_EQ(tips.first, "Programm beenden");
    EXPECT_EQ(tips.second, "Select VFO A");  // no translation: English
    ASSERT_TRUE(ini.WriteInt(settings::setup::ToolTips, 1));
    EXPECT_EQ(Tips().first, "Programm beenden");
}

TEST_F(ToolTipsTest, TipsOffMeansNoneShown)
{
    ASSERT_TRUE(ini.WriteInt(settings::setup::ToolTips, 0));
    auto tips = Tips();
    EXPECT_EQ(tips.first, "");
    EXPECT_EQ(tips.second, "");
}

TEST_F(ToolTipsTest, OwnSwitchTakesThePlaceOfTheSetting)
{
    ASSERT_TRUE(ini.WriteInt(settings::setup::ToolTips, 0));
    QWidget window;
    auto* button = new QPushButton("Exit", &window);
    button->setToolTip("a tip of Qt's own");
    bool checkBox = true;
    CToolTipLoc tips(&window);
    ASSERT_TRUE(tips.CreateWithLanguage(&window, language));
    tips.AddToolId(button, 1017);
    tips.SetEnabledSource([&] { return checkBox; });
    window.show();
    EXPECT_EQ(TipShownFor(button), "Programm beenden");
    checkBox = false;
    // Switched off, not even the widget's own tip shows.
    EXPECT_EQ(TipShownFor(button), "");
}

}  // namespace
