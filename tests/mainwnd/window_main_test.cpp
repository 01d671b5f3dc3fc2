// The main window against the simulated radio's driver: start-up, what it shows, tuning by
// typing, a function switch, the pages and tool windows, and an orderly end.
#include "WindowTestSupport.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include <csignal>

#include "FlatButton.h"
#include "Ini.h"
#include "Language.h"
#include "NumEdit.h"
#include "PageTabCtrl.h"
#include "ShutdownSignals.h"

using namespace wndtest;
namespace rc = radio::ctl;

namespace {

void Type(QWidget* field, const QString& text, int finalKey = Qt::Key_Return)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, finalKey, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
}

using ControlFn = WindowFixture::SimControl;

COnOffButton* ButtonOf(CCorvaneDlg& w, int id)
{
    return qobject_cast<COnOffButton*>(w.GetDlgItem(id));
}

}  // namespace

TEST(MainWindow, ShowsTheRadioTunesBySwitchesAndSaves)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        // The title names the program and the model, untranslated.
        const std::string title = w.windowTitle().toStdString();
        EXPECT_EQ(title.rfind("Corvane Icom 706 Control - ", 0), 0u) << title;
        EXPECT_NE(title.find("  -  RTX: IC706MKII/G"), std::string::npos) << title;

        // Shown modeless, so the tool windows stay usable beside it.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(w.windowModality(), Qt::NonModal);

        // The radio's frequency reaches the display.
        auto* field = qobject_cast<CNumEdit*>(w.GetDlgItem(rc::kFrequency));
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return field->GetValue() >= 30000; }));
        EXPECT_EQ(static_cast<int64_t>(field->GetValue()), w.Controller().State().frequencyHz);
        EXPECT_FALSE(w.GetDlgItemText(mainwnd::kMode).empty());

        // Typing a frequency and Enter tunes the radio; polling reads it back.
        QApplication::setActiveWindow(&w);
        field->setFocus();
        // The radio's own updates while the field has the focus are no typing.
        const size_t polled = f.Trace().size();
        ASSERT_TRUE(PumpUntil(
            [&] { return f.Trace().find("FE FE 58 E0 03 FD", polled) != std::string::npos; }));
        platform::WaitPumpingMessages(200);
        EXPECT_FALSE(w.Controller().State().frequencyTyped);
        field->selectAll();
        Type(field, "7074000");
        EXPECT_TRUE(PumpUntil([&] {
            return f.Trace().find("FE FE 58 E0 05 00 40 07 07 00 FD") != std::string::npos;
        })) << f.Trace();
        EXPECT_TRUE(PumpUntil([&] {
            return w.Controller().State().frequencyHz == 7074000
                   && static_cast<int64_t>(field->GetValue()) == 7074000;
        }));

        // A digit step button moves the frequency by its digit.
        ButtonOf(w, 1214)->click();
        EXPECT_TRUE(PumpUntil([&] {
            return f.Trace().find("FE FE 58 E0 05 00 50 07 07 00 FD") != std::string::npos;
        }));

        // The wheel over the display steps the digit under the cursor (here 1 kHz, upwards).
        QWidget* kHzButton = w.GetDlgItem(1214);
        const QPoint over(kHzButton->mapTo(&w, QPoint(2, 0)).x(),
                          field->mapTo(&w, QPoint(0, field->height() / 2)).y());
        QWheelEvent wheel(QPointF(over), QPointF(w.mapToGlobal(over)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &wheel);
        EXPECT_TRUE(PumpUntil([&] {
            return f.Trace().find("FE FE 58 E0 05 00 60 07 07 00 FD") != std::string::npos;
        }));

        // The attenuator switches on the radio and shows it.
        COnOffButton* att = ButtonOf(w, rc::kAtt);
        ASSERT_NE(att, nullptr);
        ASSERT_TRUE(att->isEnabled());
        att->click();
        EXPECT_TRUE(
            PumpUntil([&] { return f.Trace().find("FE FE 58 E0 11 20 FD") != std::string::npos; }));
        EXPECT_TRUE(PumpUntil([&] {
            return att->IsOn() && w.Controller().State().Function(radio::RadioFunction::Attenuator);
        })) << f.Trace();

        // "DUP +" outside FM stays up, sends nothing and says why.
        ASSERT_NE(w.Controller().State().mode, radio::kFm);
        const size_t beforeDup = f.Trace().size();
        ButtonOf(w, rc::kDupPlus)->click();
        EXPECT_FALSE(ButtonOf(w, rc::kDupPlus)->GetCheck());
        EXPECT_EQ(f.Trace().find("E0 0F 12", beforeDup), std::string::npos);
        ASSERT_FALSE(f.boxes.empty());
        EXPECT_EQ(f.boxes.back().text.rfind("DUP + and DUP - work only in FM", 0), 0u);

        // Ten pages; the window opens on the stored one, Info; the tool windows exist, and only
        // the TX/RX window shows (the driver keys the radio).
        CPageTabCtrl* tabs = w.Tabs();
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->GetItemCount(), 10);
        EXPECT_EQ(tabs->GetCurSel(), 9);
        EXPECT_EQ(tabs->GetPageId(4), 227);
        EXPECT_EQ(tabs->GetPageId(8), 4001);
        EXPECT_EQ(tabs->GetPageId(0), 144);
        EXPECT_EQ(tabs->GetPageId(9), 150);
        for (int id : {230, 4002, 252}) {
            ASSERT_NE(w.ToolWindow(id), nullptr) << id;
            EXPECT_FALSE(w.ToolWindow(id)->isVisible()) << id;
        }
        ASSERT_NE(w.ToolWindow(249), nullptr);
        EXPECT_TRUE(w.ToolWindow(249)->isVisible());
        tabs->ActivatePage(2);

        // "Exit": an orderly end that unkeys the transmitter; a second Exit changes nothing.
        EXPECT_FALSE(w.IsTransmitting());  // S readings below S0 key nothing
        w.SetPtt(true);
        EXPECT_TRUE(w.IsTransmitting());
        ButtonOf(w, mainwnd::kExit)->click();
        EXPECT_TRUE(w.IsClosing());
        EXPECT_FALSE(w.IsTransmitting());
        EXPECT_FALSE(w.Controller().Worker().IsRunning());
        ButtonOf(w, mainwnd::kExit)->click();
    });
    ASSERT_TRUE(ran);
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    EXPECT_EQ(ini.GetInt("CurrentSet", "Child", -1), 2);
    EXPECT_EQ(ini.GetInt("Setup", "DelayMemory", -1), 500);
    EXPECT_FALSE(ini.GetString("Setup", "Version", "").empty());
    EXPECT_GT(ini.GetInt("S-Meter", "Refresh", 0), 0);
    EXPECT_TRUE(f.profile->GetRect(settings::reg::MainWindowRect).has_value());
}

TEST(MainWindow, StoredPageOutOfRangeMeansInfoAndPollingButtonIsStored)
{
    WindowFixture f;
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.WriteInt("CurrentSet", "Child", 42);
    ini.WriteInt("CurrentSet", "Polling", 0);
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        EXPECT_EQ(w.Tabs()->GetCurSel(), 9);
        COnOffButton* polling = ButtonOf(w, rc::kPolling);
        EXPECT_FALSE(polling->IsOn());
        EXPECT_FALSE(w.Controller().State().fullPolling);
        polling->click();
        EXPECT_TRUE(polling->IsOn());
        EXPECT_TRUE(w.Controller().State().fullPolling);
        EXPECT_EQ(ini.GetInt("CurrentSet", "Polling", -1), 1);
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    // The stand-in is not stored: the next start looks for Info again.
    EXPECT_EQ(ini.GetInt("CurrentSet", "Child", -1), 9);
}

TEST(MainWindow, ReminderOfParameter36IsShownOnce)
{
    WindowFixture f;
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.WriteInt("Setup", "36OFF", 0);
    ASSERT_TRUE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
    auto reminders = [&] {
        int n = 0;
        for (const MessageBoxRequest& b : f.boxes)
            n += b.text.find("parameter 36") != std::string::npos;
        return n;
    };
    EXPECT_EQ(reminders(), 1);
    EXPECT_EQ(ini.GetInt("Setup", "36OFF", 0), 1);
    ASSERT_TRUE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
    EXPECT_EQ(reminders(), 1);
}

TEST(MainWindow, InvalidConfigurationEndsWithItsMessage)
{
    WindowFixture f;
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.DeleteKey("Setup", "Indirizzo");
    EXPECT_FALSE(f.Run([](CCorvaneDlg& w) { w.CloseProgram(); }));
    ASSERT_FALSE(f.boxes.empty());
    EXPECT_EQ(f.boxes.back().text, "Configuration not valid.");
    EXPECT_EQ(f.Trace(), "");
}

TEST(MainWindow, TerminationSignalClosesInOrder)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* stop = new CShutdownSignals([&w](int) { w.CloseProgram(); }, &w);
        ASSERT_TRUE(stop->IsInstalled());
        ASSERT_TRUE(
            PumpUntil([&] { return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos; }));
        std::raise(SIGTERM);
    });
    ASSERT_TRUE(ran);
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    EXPECT_EQ(ini.GetInt("CurrentSet", "Child", -1), 9);
    EXPECT_EQ(ini.GetInt("Setup", "DelayMemory", -1), 500);
}

TEST(MainWindowTitle, NameModelAndBeta)
{
    CLanguage english;
    EXPECT_EQ(CCorvaneDlg::DisplayName(), "Corvane Icom 706 Control");
    EXPECT_EQ(CCorvaneDlg::BuildTitle(english, "1.0.0", 0),
              "Corvane Icom 706 Control - 1.0.0  -  RTX: IC706");
    EXPECT_EQ(CCorvaneDlg::BuildTitle(english, "1.0.0", 3),
              "Corvane Icom 706 Control - 1.0.0  -  RTX: IC718");
    // OTHER (and anything unknown) ends after the version.
    EXPECT_EQ(CCorvaneDlg::BuildTitle(english, "1.0.0", 4), "Corvane Icom 706 Control - 1.0.0");
    EXPECT_EQ(CCorvaneDlg::BuildTitle(english, "1.0.0", 17), "Corvane Icom 706 Control - 1.0.0");
    EXPECT_EQ(CCorvaneDlg::BuildTitle(english, "Beta.3", 1, 3),
              "Corvane Icom 706 Control - Beta.3  -  RTX: IC706MKII BETA 3");
}

TEST(MainWindow, SMeterFollowsTheSimulatedSignal)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const ControlFn control = f.SimRadioControl();
        ASSERT_NE(control, nullptr);

        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz == 14074000; }));
        EXPECT_EQ(control("signal 14000000 14100000 120", nullptr, 0), 1);
        EXPECT_TRUE(PumpUntil([&] { return w.Controller().State().sValue >= 5; }))
            << w.Controller().State().sValue;
        EXPECT_EQ(w.GetDlgItemText(radio::ctl::kSText),
                  "S " + std::to_string(w.Controller().State().sValue));

        // The signal goes, and the meter falls back.
        EXPECT_EQ(control("signals clear", nullptr, 0), 1);
        EXPECT_TRUE(PumpUntil([&] { return w.Controller().State().sValue < 1; }));
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}

TEST(MainWindow, GoingOffLineUnkeysTheTransmitter)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const ControlFn control = f.SimRadioControl();
        ASSERT_NE(control, nullptr);

        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz > 0; }));
        w.SetPtt(true);
        ASSERT_TRUE(w.IsTransmitting());
        // The cable is pulled while transmitting: the timer takes the program off line.
        EXPECT_EQ(control("link down", nullptr, 0), 1);
        EXPECT_TRUE(PumpUntil([&] { return w.IsOffLine(); }));
        EXPECT_FALSE(w.IsTransmitting());
        char state[256] = {};
        control("state", state, sizeof state);
        EXPECT_NE(std::string(state).find("transmitting=0"), std::string::npos) << state;
        const std::string trace = f.Trace();
        EXPECT_NE(trace.find("PTT 1\n"), std::string::npos) << trace;
        EXPECT_NE(trace.find("PTT 0\n", trace.find("PTT 1\n")), std::string::npos) << trace;
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}
