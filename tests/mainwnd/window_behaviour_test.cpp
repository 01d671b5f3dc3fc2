// The main window's own behaviour around the radio: menus and VFO buttons reaching the radio,
// the tool windows following the main window, stored places kept on the screen, the file search
// and the diagnostics text.
#include "WindowTestSupport.h"

#include <QGuiApplication>
#include <QScreen>

#include "FlatButton.h"
#include "Ini.h"

using namespace wndtest;
namespace rc = radio::ctl;

namespace {

bool TraceHas(const WindowFixture& f, const char* frame)
{
    return PumpUntil([&] { return f.Trace().find(frame) != std::string::npos; });
}

}  // namespace

TEST(MainWindowCommands, ModeMenuAndVfoButtonsReachTheRadio)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        // Mode menu entry 3 (CW), with the wide filter.
        ASSERT_TRUE(w.DispatchCommand(mainwnd::kMenuModeFirst + 3, 0));
        EXPECT_TRUE(TraceHas(f, "FE FE 58 E0 06 03 01 FD"));
        EXPECT_TRUE(PumpUntil([&] { return w.GetDlgItemText(mainwnd::kMode) == "CW"; }));
        // The entries after the modes do nothing and reach nobody.
        EXPECT_TRUE(w.DispatchCommand(mainwnd::kMenuUnusedFirst, 0));

        qobject_cast<COnOffButton*>(w.GetDlgItem(rc::kVfoB))->click();
        EXPECT_TRUE(TraceHas(f, "FE FE 58 E0 07 01 FD"));
        EXPECT_EQ(w.Controller().State().currentVfo, radio::kVfoB);
        EXPECT_TRUE(qobject_cast<COnOffButton*>(w.GetDlgItem(rc::kVfoB))->IsOn());
        EXPECT_FALSE(qobject_cast<COnOffButton*>(w.GetDlgItem(rc::kVfoA))->IsOn());

        // "VFO A=B" copies on the radio and springs back.
        qobject_cast<COnOffButton*>(w.GetDlgItem(mainwnd::kVfoEqual))->click();
        EXPECT_TRUE(TraceHas(f, "FE FE 58 E0 07 A0 FD"));

        // "Store" and "Store R." have their memories windows.
        EXPECT_TRUE(w.GetDlgItem(mainwnd::kStore)->isEnabled());
        EXPECT_TRUE(w.GetDlgItem(rc::kStoreR)->isEnabled());
        EXPECT_TRUE(w.GetDlgItem(mainwnd::kHookClipboard)->isEnabled());
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    // The band table keeps its twelve amateur rows, never the "General" row.
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    EXPECT_FALSE(ini.GetString("Banda", "160_freq", "").empty());
    EXPECT_FALSE(ini.GetString("Banda", "20_modo", "").empty());
    EXPECT_EQ(ini.GetString("Banda", "General_freq", "absent"), "absent");
}

TEST(MainWindowPlaces, MinimisingTakesTheShownToolWindowsAlongOnly)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        QWidget* txrx = w.ToolWindow(249);
        QWidget* recorder = w.ToolWindow(252);
        ASSERT_NE(txrx, nullptr);
        ASSERT_NE(recorder, nullptr);
        EXPECT_TRUE(txrx->isWindow());
        txrx->show();
        recorder->hide();
        w.showMinimized();
        EXPECT_TRUE(PumpUntil([&] { return w.isMinimized(); }));
        EXPECT_FALSE(txrx->isVisible());
        w.showNormal();
        EXPECT_TRUE(PumpUntil([&] { return !w.isMinimized(); }));
        EXPECT_TRUE(txrx->isVisible());
        EXPECT_FALSE(recorder->isVisible());
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    // The TX/RX window was visible at the end: its place is kept.
    EXPECT_TRUE(f.profile->GetRect(settings::reg::TxRxRect).has_value());
    EXPECT_FALSE(f.profile->GetRect(settings::reg::AudioRecorderRect).has_value());
}

TEST(MainWindowPlaces, StoredPlaceOffEveryScreenComesBack)
{
    WindowFixture f;
    f.profile->WriteRect(settings::reg::MainWindowRect, {40000, 40600, 50000, 50800});
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(avail.contains(w.pos())) << w.pos().x() << "," << w.pos().y();
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}

TEST(MainWindowPlaces, EqualTopAndBottomLeaveThePlaceAlone)
{
    WindowFixture f;
    f.profile->WriteRect(settings::reg::MainWindowRect, {300, 300, 250, 900});
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        EXPECT_NE(w.pos(), QPoint(250, 300));
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}

TEST(MainWindowFiles, FindFilesAndDiagnostics)
{
    WindowFixture f;
    testing_support::PutFile(f.folder / "Drivers/Other.SO", "x");
    testing_support::PutFile(f.folder / "Drivers/notes.txt", "x");
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        EXPECT_EQ(w.FindFiles(f.folder / "Drivers/*.so"), 2);
        std::vector<std::string> names = w.FoundFiles();
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"Other.SO", "SimRadio.so"}));
        EXPECT_EQ(w.FindFiles(f.folder / "Drivers/*.dll"), 0);
        EXPECT_TRUE(w.FoundFiles().empty());
        EXPECT_EQ(w.FindFiles(f.folder / "Missing/*.so"), 0);

        const std::string text = w.WriteDiagnostics();
        EXPECT_EQ(text.rfind("Version : ", 0), 0u) << text;
        EXPECT_NE(text.find("COM Port : COM0,"), std::string::npos) << text;
        EXPECT_NE(text.find(",N,1 RTS=1 DTR=1\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("PTT Port : COM0  PTTPin : 0\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("m_Delay : "), std::string::npos) << text;
        EXPECT_NE(text.find("Timeout : 200ms\r\n"), std::string::npos) << text;
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}

TEST(MainWindowSetup, CancelledSetupConnectsAgainWithTheBetaTitle)
{
    WindowFixture f;
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.WriteInt("Setup", "Beta", 3);
    int setups = 0;
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            w.OnSetup();
            EXPECT_EQ(setups, 1);
            EXPECT_FALSE(w.IsClosing());
            EXPECT_TRUE(w.Controller().Worker().IsRunning());
            const std::string title = w.windowTitle().toStdString();
            EXPECT_EQ(title.rfind("Corvane Icom 706 Control - ", 0), 0u);
            EXPECT_EQ(title.substr(title.size() - 7), " BETA 3") << title;
            // Connected again: the radio is read after the setup.
            const size_t before = f.Trace().size();
            EXPECT_TRUE(PumpUntil([&] {
                return f.Trace().find("FE FE 58 E0 15 02 FD", before) != std::string::npos;
            }));
            w.CloseProgram();
        },
        [&](CCorvaneDlg& w) {
            w.SetSetupDialogRunner([&] {
                ++setups;
                return false;
            });
        });
    ASSERT_TRUE(ran);
}

TEST(MainWindowSetup, ConfirmedSetupAsksForARestartAndEnds)
{
    WindowFixture f;
    bool endedBySetup = false;
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            w.OnSetup();
            endedBySetup = w.IsClosing();
        },
        [](CCorvaneDlg& w) { w.SetSetupDialogRunner([] { return true; }); });
    ASSERT_TRUE(ran);
    EXPECT_TRUE(endedBySetup);
    ASSERT_FALSE(f.boxes.empty());
    EXPECT_EQ(f.boxes.back().text,
              "For enable the new configuration, the program will automatically be close, please "
              "restart.");
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    EXPECT_EQ(ini.GetInt("CurrentSet", "Child", -1), 9);
}
