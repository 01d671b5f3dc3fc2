// The TX/RX window in the running program. Against the simulated radio's driver: the PTT button,
// the keyboard key and a client process all key and unkey the radio through the window, the
// counted time shows and survives a restart, and tune keys a carrier in AM and puts the mode
// back. Against radiosim on a serial port, with PTT on a port of its own: a port that does not
// open is reported and keys nothing, and SIGTERM while keyed unkeys and closes the port.
#include "WindowTestSupport.h"

#include "Pty.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <thread>

#include "../cat/RadiosimProcess.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Process.h"
#include "ProgramFolder.h"
#include "PttSetDlg.h"
#include "RadioModes.h"
#include "RemotePart.h"
#include "ShutdownSignals.h"
#include "TimerPart.h"
#include "TuningPart.h"
#include "TxRxPart.h"
#include "TxRxWindow.h"

using namespace wndtest;

namespace {

constexpr int kF12 = 123;

CTxRx* TxRx(CCorvaneDlg& w)
{
    return qobject_cast<CTxRx*>(w.ToolWindow(CTxRx::kTemplateId));
}

CFlatButton* Button(CCorvaneDlg& w, int id)
{
    CTxRx* txrx = TxRx(w);
    return txrx != nullptr ? txrx->GetDlgItemAs<CFlatButton>(id) : nullptr;
}

std::string Text(CCorvaneDlg& w, int id)
{
    CTxRx* txrx = TxRx(w);
    return txrx != nullptr ? txrx->GetDlgItemText(id) : std::string();
}

void WriteSetup(const WindowFixture& f, const std::function<void(CIni&)>& write)
{
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    write(ini);
}

// The PTT client in a process of its own; its exit code. The program answers on this thread.
int RunPttClient(bool on)
{
    const std::string client =
        platform::JoinPath(platform::DirName(platform::ExecutablePath()), "mainwnd_ptt_client");
    std::atomic<int> code{-2};
    std::thread run([&] {
        const platform::RunResult r = platform::SpawnAndWait(
            {client, CORVANE_BIN_DIR "/libVekExtension.so", on ? "1" : "0"}, {}, 30000);
        code = r.Succeeded() ? 0 : r.exitCode;
    });
    PumpUntil([&] { return code != -2; }, std::chrono::seconds(40));
    run.join();
    return code;
}

void Key(CCorvaneDlg& w, QEvent::Type type)
{
    QKeyEvent event(type, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
    QApplication::processEvents();  // a release waits for what is queued behind it
}

// The keyed state as the window, its button and the radio's trace from `from` on all tell it.
::testing::AssertionResult Keyed(WindowFixture& f, CCorvaneDlg& w, bool on, size_t from)
{
    const std::string line = on ? "PTT 1" : "PTT 0";
    if (f.Trace().find(line, from) == std::string::npos)
        return ::testing::AssertionFailure() << "the radio never saw " << line;
    if (w.IsTransmitting() != on)
        return ::testing::AssertionFailure() << "the window says " << w.IsTransmitting();
    CFlatButton* ptt = Button(w, CTxRx::kPtt);
    if (ptt == nullptr || (ptt->GetCheck() != 0) != on)
        return ::testing::AssertionFailure() << "the PTT button disagrees";
    return ::testing::AssertionSuccess();
}

// Counts the window's one-second ticks: a test waits for ticks, not for time.
struct TickCount : IMainWindowPart {
    explicit TickCount(std::atomic<int>& ticks) : ticks(ticks) {}
    void OnTimer() override { ++ticks; }
    std::atomic<int>& ticks;
};

MainWindowPartList PartsWithClock(std::atomic<int64_t>& clockMs, std::atomic<int>* ticks = nullptr)
{
    MainWindowPartList parts{MakeTuningPart, MakeTimerPart, MakeRemotePart,
                             TxRxPartFactory([&clockMs] { return clockMs.load(); })};
    if (ticks != nullptr)
        parts.push_back(
            [ticks](IMainWindowServices&) { return std::make_unique<TickCount>(*ticks); });
    return parts;
}

// The PTT settings opened by the window's button, `port` chosen there and OK pressed.
void ChoosePttPort(CCorvaneDlg& w, const char* port)
{
    QTimer::singleShot(0, [port] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<CPTTSet*>(modal);
        auto* list = dialog != nullptr ? dialog->GetDlgItemAs<QComboBox>(CPTTSet::kPort) : nullptr;
        auto* ok = dialog != nullptr ? dialog->GetDlgItemAs<QAbstractButton>(ctl::kIdOk) : nullptr;
        if (list == nullptr || ok == nullptr) {
            ADD_FAILURE() << "no PTT settings dialog";
            if (auto* other = qobject_cast<QDialog*>(modal))
                other->done(QDialog::Rejected);
            return;
        }
        list->setCurrentText(QString::fromLatin1(port));
        ok->click();
    });
    auto* setup = TxRx(w)->GetDlgItemAs<QAbstractButton>(CTxRx::kSetup);
    ASSERT_NE(setup, nullptr);
    setup->click();
}

// Whether this process holds a descriptor open on `device`.
bool HoldsOpen(const std::string& device)
{
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code linkError;
        if (fs::read_symlink(fd.path(), linkError) == device)
            return true;
    }
    return false;
}

}  // namespace

TEST(TxRxWindow, ButtonKeyAndClientKeyTheRadioAndTheTimeIsCountedAndKept)
{
    WindowFixture f;
    WriteSetup(f, [](CIni& ini) {
        ini.WriteInt("Setup", "PTTKey", kF12);
        ini.WriteInt("TxRx", "TuneSec", 1);
    });
    std::atomic<int64_t> clockMs{1000000};
    std::atomic<int> ticks{0};
    // The start-up flag (no polling, no transceive reports) is up while the start-up runs.
    QTimer sampler;
    bool seenStartingUp = false;
    const auto watch = [&](CCorvaneDlg& w) {
        QObject::connect(&sampler, &QTimer::timeout, [&, window = QPointer<CCorvaneDlg>(&w)] {
            seenStartingUp = seenStartingUp || (window && window->Controller().State().startingUp);
        });
        sampler.start(0);
    };
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            sampler.stop();
            EXPECT_TRUE(seenStartingUp);
            EXPECT_FALSE(w.Controller().State().startingUp);
            ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
            CFlatButton* ptt = Button(w, CTxRx::kPtt);
            ASSERT_NE(ptt, nullptr);
            EXPECT_TRUE(TxRx(w)->isVisible());
            EXPECT_EQ(Text(w, CTxRx::kKeyName), "PTT Key : F12");
            // The driver keys: no port or line to choose, but the key, the clipboard texts and
            // the tune time stay settable.
            QTimer::singleShot(0, [] {
                QWidget* modal = QApplication::activeModalWidget();
                auto* d = qobject_cast<CPTTSet*>(modal);
                if (d == nullptr) {
                    ADD_FAILURE() << "no PTT settings dialog";
                    if (auto* other = qobject_cast<QDialog*>(modal))
                        other->done(QDialog::Rejected);
                    return;
                }
                for (int id : {CPTTSet::kPort, CPTTSet::kPin, CPTTSet::kKey, CPTTSet::kOnText,
                               CPTTSet::kTuneSeconds})
                    EXPECT_EQ(d->GetDlgItem(id)->isEnabled(),
                              id != CPTTSet::kPort && id != CPTTSet::kPin)
                        << id;
                d->done(QDialog::Rejected);
            });
            TxRx(w)->GetDlgItemAs<QAbstractButton>(CTxRx::kSetup)->click();

            // The button, and the time counted while keyed.
            size_t from = f.Trace().size();
            ptt->click();
            EXPECT_TRUE(Keyed(f, w, true, from));
            clockMs += 61000;
            EXPECT_TRUE(PumpUntil([&] { return Text(w, CTxRx::kPartialTime) == "0:01:01"; }))
                << Text(w, CTxRx::kPartialTime);
            from = f.Trace().size();
            ptt->click();
            EXPECT_TRUE(Keyed(f, w, false, from));
            // Unkeyed, the clock runs on and nothing more is counted at the next ticks.
            clockMs += 30000;
            const int ticked = ticks.load();
            EXPECT_TRUE(PumpUntil([&] { return ticks.load() >= ticked + 2; }));
            EXPECT_EQ(Text(w, CTxRx::kPartialTime), "0:01:01");
            EXPECT_EQ(Text(w, CTxRx::kTotalTime), "0:01:01");
            // Hidden, the window keeps the total at once, not only when the program ends.
            TxRx(w)->hide();
            {
                CIni ini;
                ini.SetPath((f.folder / "Corvane.ini").c_str());
                EXPECT_EQ(ini.GetInt("TxRx", "TotalTimeM", -1), 1);
                EXPECT_EQ(ini.GetInt("TxRx", "TotalTimeS", -1), 1);
            }
            TxRx(w)->show();

            // The keyboard key: down keys, up unkeys.
            from = f.Trace().size();
            Key(w, QEvent::KeyPress);
            EXPECT_TRUE(Keyed(f, w, true, from));
            from = f.Trace().size();
            Key(w, QEvent::KeyRelease);
            EXPECT_TRUE(Keyed(f, w, false, from));

            // Code 14 from a client process, which ends without unkeying: its transmission
            // ends with it.
            from = f.Trace().size();
            EXPECT_EQ(RunPttClient(true), 0);
            EXPECT_TRUE(PumpUntil([&] { return !w.IsTransmitting(); }));
            EXPECT_TRUE(Keyed(f, w, false, f.Trace().find("PTT 1", from)));
            from = f.Trace().size();
            EXPECT_EQ(RunPttClient(false), 0);

            // Tune: AM, keyed for the tune time, then the mode it had.
            const int mode = w.Controller().State().mode;
            ASSERT_NE(mode, radio::kAm);
            from = f.Trace().size();
            const auto started = std::chrono::steady_clock::now();
            Button(w, CTxRx::kTune)->click();
            const auto took = std::chrono::steady_clock::now() - started;
            const std::string run = f.Trace().substr(from);
            const size_t am = run.find("FE FE 58 E0 06 02");
            const size_t on = run.find("PTT 1");
            const size_t off = run.find("PTT 0");
            EXPECT_NE(am, std::string::npos) << run;
            EXPECT_TRUE(am < on && on < off && off != std::string::npos) << run;
            EXPECT_GE(took, std::chrono::milliseconds(1000));
            EXPECT_FALSE(w.IsTransmitting());
            EXPECT_EQ(Button(w, CTxRx::kTune)->GetCheck(), 0);
            EXPECT_TRUE(PumpUntil([&] { return w.Controller().State().mode == mode; }))
                << w.Controller().State().mode;

            // Keyed at Exit: unkeyed before the program goes.
            from = f.Trace().size();
            ptt->click();
            ASSERT_TRUE(Keyed(f, w, true, from));
            from = f.Trace().size();
            w.CloseProgram();
            EXPECT_NE(f.Trace().find("PTT 0", from), std::string::npos);
        },
        watch, PartsWithClock(clockMs, &ticks));
    ASSERT_TRUE(ran);

    // The total is kept; this run's part starts again at nothing.
    const bool again = f.Run(
        [&](CCorvaneDlg& w) {
            EXPECT_EQ(Text(w, CTxRx::kTotalTime), "0:01:01");
            EXPECT_EQ(Text(w, CTxRx::kPartialTime), "0:00:00");

            // Off line, tune keys nothing: it keys through the window, as every caller does.
            ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
            w.GoOffLine();
            const size_t from = f.Trace().size();
            Button(w, CTxRx::kTune)->click();
            EXPECT_EQ(f.Trace().find("PTT 1", from), std::string::npos) << f.Trace().substr(from);
            EXPECT_FALSE(w.IsTransmitting());
            EXPECT_EQ(Button(w, CTxRx::kTune)->GetCheck(), 0);
            w.CloseProgram();
        },
        {}, PartsWithClock(clockMs));
    ASSERT_TRUE(again);
}

TEST(TxRxWindow, AnOwnPortThatFailsKeysNothingAndSigtermUnkeysAndClosesOne)
{
    WindowFixture f;
    cattest::RadiosimProcess sim;
    ASSERT_FALSE(sim.Device().empty()) << "radiosim did not start";
    const testing_support::Pty pty;
    const std::string pttDevice = pty.Device();
    ASSERT_FALSE(pttDevice.empty());
    ASSERT_TRUE(f.profile->WriteProfileString("Ports", "COM7", sim.Device().c_str()));
    ASSERT_TRUE(f.profile->WriteProfileString("Ports", "COM9", pttDevice.c_str()));
    ASSERT_TRUE(f.profile->WriteProfileString("Ports", "COM11", "/nonexistent/tty"));
    WriteSetup(f, [](CIni& ini) {
        ini.WriteInt("Setup", "Porta", 7);
        ini.WriteInt("Setup", "Baud", 19200);
        ini.WriteInt("Setup", "PTTPorta", 11);
    });

    const bool ran = f.Run([&](CCorvaneDlg& w) {
        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
        CFlatButton* ptt = Button(w, CTxRx::kPtt);
        ASSERT_NE(ptt, nullptr);

        f.boxes.clear();
        ptt->click();
        ASSERT_EQ(f.boxes.size(), 1u);
        EXPECT_EQ(f.boxes[0].text, "The serial port COM:11 does not work.");
        EXPECT_FALSE(w.IsTransmitting());
        EXPECT_EQ(ptt->GetCheck(), 0);

        // No PTT port after OK in the settings: the window goes at once and nothing keys.
        ChoosePttPort(w, "OFF");
        EXPECT_FALSE(TxRx(w)->isVisible());
        w.SetPtt(true);
        EXPECT_FALSE(w.IsTransmitting());
        EXPECT_TRUE(f.boxes.size() == 1u) << f.boxes.back().text;
        // A port that works: the window is back at once and keys on that port.
        ChoosePttPort(w, "COM9");
        EXPECT_TRUE(TxRx(w)->isVisible());
        ptt->click();
        EXPECT_TRUE(w.IsTransmitting());
        EXPECT_EQ(ptt->GetCheck(), 1);
        EXPECT_TRUE(HoldsOpen(pttDevice));

        new CShutdownSignals([&w](int) { w.CloseProgram(); }, &w);
        std::raise(SIGTERM);
    });
    ASSERT_TRUE(ran);
    EXPECT_FALSE(HoldsOpen(pttDevice)) << "the PTT port was left open";
}
