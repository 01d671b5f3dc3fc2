// When the radio does not answer: the no-port dialog, and a start-up that goes on off line.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "Language.h"
#include "NoPortDlg.h"
#include "NumEdit.h"

using namespace wndtest;

namespace {

// Clicks the button with `id` of the active no-port dialog, and answers the next message box
// with `answer`, from inside their modal loops.
void WhenNoPort(int id, QMessageBox::StandardButton answer, int tries = 1000)
{
    QTimer::singleShot(20, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            box->button(answer)->click();
            return;
        }
        auto* dlg = qobject_cast<CNoPort*>(QApplication::activeModalWidget());
        if (dlg != nullptr && id != 0) {
            // The box opens inside the click: its answer is scheduled first.
            if (answer != QMessageBox::NoButton)
                WhenNoPort(0, answer, tries);
            if (auto* button = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(id)))
                button->click();
            return;
        }
        if (tries > 0)
            WhenNoPort(id, answer, tries - 1);
    });
}

}  // namespace

TEST(NoPortDialog, ShowsThePortAndItsChoices)
{
    App();
    CLanguage english;
    {
        CNoPort dlg(english, 7);
        WhenNoPort(CNoPortChoice::kExitButton, QMessageBox::NoButton);
        EXPECT_EQ(dlg.DoModal(), 1);
        EXPECT_EQ(dlg.GetDlgItemText(CNoPortChoice::kTextId),
                  "Serial port COM:7 not working.\n\nSet now ?");
        EXPECT_TRUE(dlg.GetDlgItem(CNoPortChoice::kSetupButton)->isHidden());
        EXPECT_EQ(dlg.windowTitle().toStdString(), CNoPortChoice::kCaption);
    }
    {
        // Off line asks first; Yes gives 3.
        CNoPort dlg(english, 0);
        WhenNoPort(CNoPortChoice::kOffLineButton, QMessageBox::Yes);
        EXPECT_EQ(dlg.DoModal(), 3);
    }
}

TEST(NoPortDialog, SilentRadioLetsTheProgramWorkOffLine)
{
    WindowFixture f;
    // The radio answers another address, so nothing answers the program.
    ::setenv("SIMRADIO_ADDRESS", "60", 1);
    WhenNoPort(CNoPortChoice::kOffLineButton, QMessageBox::Yes);
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        EXPECT_TRUE(w.IsOffLine());
        auto* field = qobject_cast<CNumEdit*>(w.GetDlgItem(radio::ctl::kFrequency));
        EXPECT_EQ(field->text().toStdString(), "OFF LINE");
        w.CloseProgram();
    });
    ::unsetenv("SIMRADIO_ADDRESS");
    EXPECT_TRUE(ran);
}

TEST(NoPortDialog, SilentRadioAndExitEndsTheProgram)
{
    WindowFixture f;
    ::setenv("SIMRADIO_ADDRESS", "60", 1);
    WhenNoPort(CNoPortChoice::kExitButton, QMessageBox::NoButton);
    EXPECT_FALSE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
    ::unsetenv("SIMRADIO_ADDRESS");
}
