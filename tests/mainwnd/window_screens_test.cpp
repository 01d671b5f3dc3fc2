// Every window the program has, opened the way a user opens it (real clicks through the X server)
// on a real X server, and checked on the screen as the user sees it: painted, and showing what the
// window drew. Screenshots land in screens/ beside the test program.
// CORVANE_SCREEN_WM=0 runs without a window manager; CORVANE_SCREEN_LARGE=1 runs on a 1600 x 1000
// screen at one and a half times the default font.
#include "ScreenCheck.h"
#include "WindowTestSupport.h"
#include "XInput.h"
#include "XvfbSession.h"

#include "GroupNameDlg.h"
#include <QMenu>
#include <QTabBar>
#include <QTimer>

#include "AudioRecorder.h"
#include "ComSetDlg.h"
#include "CorvaneSetupDlg.h"
#include "DlgLng.h"
#include "FlatButton.h"
#include "Ini.h"
#include "MainWindowIds.h"
#include "MessageBox.h"
#include "NumEdit.h"
#include "NoPortDlg.h"
#include "PageTabCtrl.h"
#include "PlugInEditor.h"
#include "PlaceholderWindows.h"
#include "ReadMemoriesDlg.h"
#include "Scale.h"
#include "SkedLine.h"
#include "SkedWarning.h"
#include "SkedsPage.h"
#include "DlgLogSQL.h"
#include "ScanFiles.h"
#include "ScanPresetDlg.h"
#include "StartupDlg.h"
#include "SyncMemoriesDlg.h"
#include "Tuning.h"
#include "TxRxWindow.h"
#include "UtilityPage.h"
#include "WorkProgressDlg.h"

using namespace wndtest;
using testing_support::XInput;

namespace {

bool EnvIs(const char* name, const char* value)
{
    const char* v = std::getenv(name);
    return v != nullptr && std::string(v) == value;
}

const bool kLarge = EnvIs("CORVANE_SCREEN_LARGE", "1");
const char* const kSuffix = kLarge ? "_large" : (EnvIs("CORVANE_SCREEN_WM", "0") ? "_nowm" : "");

testing_support::XvfbSession& Screen()
{
    static testing_support::XvfbSession session(kLarge ? 1600 : 1366, kLarge ? 1000 : 768,
                                                !EnvIs("CORVANE_SCREEN_WM", "0"));
    return session;
}

// Ends a modal dialog as its code would, whatever its Esc does.
void EndModal(QWidget* w)
{
    if (auto* dialog = qobject_cast<QDialog*>(w))
        dialog->done(QDialog::Rejected);
}

QPoint CentreOf(QWidget* w)
{
    return w->mapToGlobal(w->rect().center());
}

class Checker {
public:
    explicit Checker(XInput& input) : input_(input) {}

    // Opens a window with `open`, waits for `find` to return it shown, looks at it on the screen
    // and closes it with `close`.
    void Check(const std::string& name, const std::function<void()>& open,
               const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& close)
    {
        const std::string shot = name + kSuffix;
        bool looked = false;
        screentest::Seen seen;
        QTimer watch;
        watch.setInterval(50);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget* w = find();
            if (looked || w == nullptr || !w->isVisible())
                return;
            looked = true;
            watch.stop();
            seen = screentest::Look(w, shot);
            close(w);
        });
        watch.start();
        open();
        PumpUntil([&] { return looked; }, std::chrono::seconds(10));
        ++checked_;
        EXPECT_TRUE(looked) << name << " did not open";
        EXPECT_TRUE(seen.shown) << name << " was not shown on the screen";
        EXPECT_FALSE(seen.blank) << name << " is blank on the screen (" << shot << ".png)";
        EXPECT_LT(seen.differing, 0.1)
            << name << " differs on the screen from its own drawing (" << shot << ".png)";
        screentest::Pump(std::chrono::milliseconds(200));
    }

    // A modal dialog opened by a click (button 1 or 3) on a control of the main window.
    void CheckModalByClick(const std::string& name, QWidget* control, int button = 1)
    {
        ASSERT_NE(control, nullptr) << name;
        Check(
            name, [&] { Click(control, button); }, [] { return QApplication::activeModalWidget(); },
            EndModal);
    }

    // A popup menu opened by a click on a control.
    void CheckMenuByClick(const std::string& name, QWidget* control, int button = 1)
    {
        ASSERT_NE(control, nullptr) << name;
        Check(
            name, [&] { Click(control, button); }, [] { return QApplication::activePopupWidget(); },
            [](QWidget* w) { w->close(); });
    }

    // A dialog the program opens by itself (start-up and error dialogs), run modal here.
    void CheckModal(const std::string& name, const std::function<void()>& runModal)
    {
        Check(
            name, runModal, [] { return QApplication::activeModalWidget(); }, EndModal);
    }

    void Click(QWidget* w, int button = 1)
    {
        const QPoint at = CentreOf(w);
        input_.Click(at.x(), at.y(), button);
    }
    void Click(QPoint at) { input_.Click(at.x(), at.y()); }

    int Checked() const { return checked_; }

private:
    XInput& input_;
    int checked_ = 0;
};

// The TX/RX window at rest and keyed by a click on its button, and its settings dialog.
void CheckTxRx(Checker& checker, CCorvaneDlg& w)
{
    auto* txrx = qobject_cast<CTxRx*>(w.ToolWindow(CTxRx::kTemplateId));
    ASSERT_NE(txrx, nullptr);
    // Beside the main window once both are framed, covering none of its buttons.
    EXPECT_TRUE(
        PumpUntil([&] { return screentest::BesideMain(*txrx, w); }, std::chrono::seconds(5)))
        << screentest::BesideMain(*txrx, w).message();
    checker.Check(
        "txrx_idle", [] {}, [&]() -> QWidget* { return txrx; }, [](QWidget*) {});
    checker.Check(
        "txrx_keyed", [&] { checker.Click(txrx->GetDlgItem(CTxRx::kPtt)); },
        [&]() -> QWidget* { return w.IsTransmitting() ? txrx : nullptr; },
        [&](QWidget*) {
            // Down, and blinking once a second while keyed.
            QWidget* ptt = txrx->GetDlgItem(CTxRx::kPtt);
            const QImage before = ptt->grab().toImage();
            // The blink follows the one-second timer, which a loaded machine delays.
            EXPECT_TRUE(
                PumpUntil([&] { return ptt->grab().toImage() != before; }, std::chrono::seconds(3)))
                << "the PTT button does not blink";
            w.SetPtt(false);
        });
    EXPECT_FALSE(w.IsTransmitting());
    checker.CheckModalByClick("ptt_settings", txrx->GetDlgItem(CTxRx::kSetup));
}

void CheckPages(Checker& checker, CCorvaneDlg& w)
{
    auto* tabs = w.GetDlgItemAs<CPageTabCtrl>(mainwnd::kTabs);
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->GetItemCount(); ++i) {
        QWidget* page = tabs->GetPage(i);
        if (page == nullptr || qobject_cast<CPlaceholderPage*>(page) != nullptr)
            continue;
        const QRect tab = tabs->TabBar()->tabRect(i);
        const QPoint at = tabs->TabBar()->mapToGlobal(tab.center());
        checker.Check(
            "page_" + std::to_string(tabs->GetPageId(i)), [&] { checker.Click(at); },
            [&]() -> QWidget* { return tabs->GetCurSel() == i ? page : nullptr; }, [](QWidget*) {});
    }
}

// A page brought up by a click on its tab; null (a failure added) when it is not there.
QWidget* ShowPage(Checker& checker, CCorvaneDlg& w, int dialogId)
{
    auto* tabs = w.GetDlgItemAs<CPageTabCtrl>(mainwnd::kTabs);
    if (tabs == nullptr) {
        ADD_FAILURE() << "no tabs";
        return nullptr;
    }
    for (int i = 0; i < tabs->GetItemCount(); ++i) {
        if (tabs->GetPageId(i) != dialogId)
            continue;
        checker.Click(tabs->TabBar()->mapToGlobal(tabs->TabBar()->tabRect(i).center()));
        EXPECT_TRUE(PumpUntil([&] { return tabs->GetCurSel() == i; }, std::chrono::seconds(5)));
        return tabs->GetPage(i);
    }
    ADD_FAILURE() << "no page " << dialogId;
    return nullptr;
}

// The skeds page's two dialogs, opened by its buttons with the page shown.
void CheckSkedDialogs(Checker& checker, CCorvaneDlg& w)
{
    auto* page = qobject_cast<CSkeds*>(ShowPage(checker, w, CSkeds::kTemplateId));
    ASSERT_NE(page, nullptr);
    checker.CheckModalByClick("sked_recur", page->GetDlgItem(CSkeds::kCreateRecur));
    checker.CheckModalByClick("sked_delete", page->GetDlgItem(CSkeds::kDeleteSkeds));
}

// The band and mode limits dialog, opened by the utility page's button.
void CheckUtilityDialogs(Checker& checker, CCorvaneDlg& w)
{
    auto* page = qobject_cast<CUtility*>(ShowPage(checker, w, CUtility::kTemplateId));
    ASSERT_NE(page, nullptr);
    checker.CheckModalByClick("band_limits", page->GetDlgItem(CUtility::kBandLimits));
}

// The recorder bar as the start-up placed it, all of it in sight by the main window, then shown
// again by its command, and the audio settings dialog its settings button opens.
void CheckRecorder(Checker& checker, CCorvaneDlg& w)
{
    QWidget* bar = w.ToolWindow(CAudioRecorder::kTemplateId);
    ASSERT_NE(bar, nullptr);
    const QWidget* txRx = w.ToolWindow(CTxRx::kTemplateId);
    ASSERT_NE(txRx, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return screentest::ByMainInTheClear(*bar, w, *txRx); },
                          std::chrono::seconds(5)))
        << screentest::ByMainInTheClear(*bar, w, *txRx).message();
    checker.Check(
        "recorder_bar_placed", [] {}, [&]() -> QWidget* { return bar; }, [](QWidget*) {});
    checker.Check(
        "recorder_bar", [&] { w.ShowToolWindow(CAudioRecorder::kTemplateId); },
        [&]() -> QWidget* { return bar; }, [](QWidget*) {});
    checker.CheckModalByClick(
        "audio_settings", static_cast<CAudioRecorder*>(bar)->GetDlgItem(CAudioRecorder::kSettings));
    bar->hide();
}

// The configuration dialog, and the port dialog in COM and in driver mode.
void CheckSetupDialogs(Checker& checker, CCorvaneDlg& w)
{
    setup::SetupContext context{w.Ini(), w.Registry(), framework::Language(),
                                w.ProgramFolderPath()};
    checker.CheckModal("setup", [&] {
        CCorvaneSetup dlg(context);
        dlg.SetOwner(&w);
        dlg.DoModal();
    });
    for (const bool driverMode : {false, true}) {
        setup::SetupValues values = setup::ReadSetupValues(w.Ini(), w.Registry(), "");
        values.driverMode = driverMode;
        if (!driverMode)
            values.portText = "COM1";
        bool changed = false;
        checker.CheckModal(driverMode ? "setup_ports_driver" : "setup_ports_com", [&] {
            CComSet dlg(
                context, values, [](const std::string&) { return false; }, changed);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
    }
}

}  // namespace

TEST(ScreenTest, EveryWindowPaintsOnTheScreen)
{
    ASSERT_TRUE(Screen().Ok()) << "no X server";
    WindowFixture f;
    if (kLarge) {
        f.profile->WriteProfileString("CurrentSet", "FontMain", "DejaVu Sans");
        f.profile->WriteProfileInt("CurrentSet", "FontSizeMain", 12);
    }
    // The skeds page shows a few skeds.
    std::string skeds;
    for (const char* sked : {"203001011200 ~ Morning net", "203001021830 ~ DX window 20 m",
                             "203001031945 ~ Contest"}) {
        lists::SkedLine line;
        line.key = std::string(sked).substr(0, 12);
        line.description = std::string(sked).substr(15);
        line.frequencyA = "14.074.000";
        line.modeA = "USB";
        line.frequencyB = "7.074.000";
        line.modeB = "LSB";
        skeds += lists::JoinSkedLine(line) + "\n";
    }
    testing_support::PutFile(f.folder / "Skeds.Dat", skeds);
    testing_support::PutFile(f.folder / "Startup.dat", "\"Logger\"=\"/usr/bin/true\"=\"-x\"\n");
    std::filesystem::create_directories(f.folder / "PlugIn");
    testing_support::PutFile(f.folder / "PlugIn/Shell.vek", "A shell\n/bin/sh\n");
    testing_support::PutFile(f.folder / "Split.Dat",
                             "20m FT8 ~ +1.000 ~ USB ~ OFF\nRepeater down ~ -600.000 ~ FM ~ OFF\n");
    // The scan presets and the scan log show a few rows.
    testing_support::PutFile(
        f.folder / "ScanPreset.Dat",
        "40 m band ~ 7.000.000 ~ 7.200.000 ~ LSB ~ OFF ~ 1 KHz ~ \n"
        "2 m repeaters ~ 145.600.000 ~ 145.800.000 ~ FM ~ OFF ~ 12.5 KHz ~ \n");
    testing_support::PutFile(
        f.folder / "LogSQL.Dat",
        lists::ScanLogLineText(10, 12, 2026, 9, 30, 5, 145625000, "S9+20", 44, 16000)
            + lists::ScanLogLineText(10, 12, 2026, 9, 41, 17, 7050000, "S5", -1, 0));
    // The memories window opens with rows.
    testing_support::PutFile(
        f.folder / "MemPC.Dat",
        "Calling ~ 145.500.000 ~ FM ~ OFF ~ 145.500.000 ~ FM ~ OFF ~ NOSPLIT ~ VFO A ~ NODUP ~ DEF "
        "~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ NO ~ \n"
        "Repeater ~ 145.600.000 ~ FM ~ OFF ~ 145.000.000 ~ FM ~ OFF ~ NOSPLIT ~ VFO A ~ DUP- ~ 600 "
        "~ OFF ~ ON ~ OFF ~ ON ~ OFF ~ OFF ~ OFF ~ OFF ~ 88,5 ~ \n"
        "Twenty ~ 14.200.000 ~ USB ~ OFF ~ 14.250.000 ~ USB ~ OFF ~ SPLIT ~ VFO A ~ NODUP ~ DEF "
        "~ PRE ~ ON ~ ON ~ OFF ~ OFF ~ OFF ~ OFF ~ ON ~ NO ~ \n");
    // The radio memories window opens with two channels.
    testing_support::PutFile(
        f.folder / "MemRTX.Dat",
        "01 ~ Calling ~ 145.500.000 ~ FM ~ OFF ~ 145.500.000 ~ FM ~ OFF ~ NOSPLIT ~ NODUP ~ OFF ~ "
        "OFF ~ ~\n"
        "02 ~ Repeater ~ 145.600.000 ~ FM ~ OFF ~ 145.000.000 ~ FM ~ OFF ~ NOSPLIT ~ DUP- ~ ON ~ "
        "OFF ~ 88,5 ~\n");
    // Audio on: the recorder bar, its dialog and the voice keyer's page show in use.
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("AudioRecorder", "Abilitato", 1);
    }
    XInput input;
    ASSERT_TRUE(input.Ok()) << "no X test extension";
    Checker checker(input);
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* field = w.GetDlgItemAs<CNumEdit>(radio::ctl::kFrequency);
        PumpUntil([&] { return field != nullptr && field->GetValue() >= 30000; });
        checker.Check(
            "main", [] {}, [&]() -> QWidget* { return &w; }, [](QWidget*) {});

        checker.CheckModalByClick("manual_input", field, 3);
        checker.CheckModalByClick("band_stacking", w.GetDlgItem(bands::kStackButtons[0]));
        checker.CheckMenuByClick("band_menu", w.GetDlgItem(mainwnd::kBand));
        checker.CheckMenuByClick("mode_menu", w.GetDlgItem(mainwnd::kMode));
        checker.CheckMenuByClick("offset_field_menu", w.GetDlgItem(radio::ctl::kOffset), 3);
        CheckTxRx(checker, w);
        CheckPages(checker, w);
        CheckSkedDialogs(checker, w);
        CheckUtilityDialogs(checker, w);
        CheckRecorder(checker, w);
        // The band scale page is shown now: its sliders open the manual input too.
        if (auto* scale = w.findChild<CScale*>(); scale != nullptr && scale->isVisible())
            checker.CheckModalByClick("scale_manual_input", scale->GetDlgItem(CScale::kFirstSlider),
                                      3);

        // "Store" fills the editor from the radio and shows the list; with the VFO known first,
        // no question comes.
        checker.Click(w.GetDlgItem(radio::ctl::kVfoA));
        PumpUntil([&] { return w.Controller().State().currentVfo == radio::kVfoA; });
        checker.Check(
            "memories", [&] { checker.Click(w.GetDlgItem(mainwnd::kStore)); },
            [&] { return w.ToolWindow(230); }, [](QWidget* m) { m->hide(); });
        checker.Check(
            "radio_memories", [&] { checker.Click(w.GetDlgItem(radio::ctl::kStoreR)); },
            [&] { return w.ToolWindow(4002); }, [](QWidget* m) { m->hide(); });
        checker.CheckModal("group_name", [&] {
            CDlgNomeGruppo dlg("Name for the new group:");
            dlg.SetOwner(&w);
            dlg.DoModal();
        });

        checker.CheckModal("about",
                           [&] { w.DispatchCommand(mainwnd::kSysAbout, ctl::kBnClicked); });
        checker.CheckModal("startup", [&] {
            CStartup dlg(f.folder.path);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("plugin_editor", [&] {
            CPlugInGest dlg(f.folder.path);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("read_memories", [&] {
            CLeggiMem dlg(*framework::Ini(), true);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("memories_sync", [&] {
            CSincronizzaMem dlg(w, f.folder / "MemRTX.Dat", false);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("no_port", [&] {
            CNoPort dlg(framework::Language(), 3);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("language", [&] {
            CDlgLng dlg(framework::Language(), *framework::Ini(), f.folder.path);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        CheckSetupDialogs(checker, w);
        checker.CheckModal("scan_presets", [&] {
            CScanPreset dlg(w, f.folder / "ScanPreset.Dat");
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("scan_log", [&] {
            CDlgLogSQL dlg(w, f.folder / "LogSQL.Dat", f.folder / "LogScan.Wav", {0, false},
                           nullptr);
            dlg.SetOwner(&w);
            dlg.DoModal();
        });
        checker.CheckModal("message_box", [&] {
            framework::ShowMessageBox(
                {"Serial port COM:3 not working.", "", mb::kOk | mb::kIconExclamation, 0}, &w);
        });
        // The warning before a sked fires, over the main window it disables.
        ASSERT_TRUE(w.isEnabled());
        std::unique_ptr<CAttivaSkeds> warning;
        checker.Check(
            "sked_warning",
            [&] {
                warning = std::make_unique<CAttivaSkeds>();
                warning->Create(&w);
                warning->SetText(framework::Language().Format(1173, {27, "Morning net"}));
            },
            [&]() -> QWidget* { return warning.get(); }, [&](QWidget*) {});
        EXPECT_FALSE(w.isEnabled());
        warning.reset();
        EXPECT_TRUE(w.isEnabled());
        CWorkProgressDlg progress;
        checker.Check(
            "work_progress",
            [&] {
                progress.Create(&w);
                progress.SetRange(0, 10, "Reading memories");
                progress.show();
            },
            [&]() -> QWidget* { return &progress; }, [](QWidget* p) { p->hide(); });
        // The panel under an open progress window is drawn, not left blank.
        progress.show();
        const screentest::Seen panel = screentest::LookAndCapture(
            &w, QStringLiteral("work_progress_panel%1.png").arg(kSuffix), nullptr, 1.0);
        EXPECT_TRUE(panel.shown && !panel.blank) << "the panel under the progress window";
        progress.hide();
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
    EXPECT_GE(checker.Checked(), 10);
}
