// The software scan through its page's own code, against radiosim on a pseudo-terminal at 19200
// baud with pacing and no answer latency (Setup "Latency" 20, "TimeSQL1" 0, squelch closed,
// Pause 1 = -1), for 30 s at Pause 200 ms and at the smallest Pause the page takes. The limit is
// the step time of the loop when every round trip lasts just its bytes on the wire (10 bits a
// byte): one 05, then 15 01 polls, with the 15 02 of every third, until the dwell's fixed
// deadline has passed, at least one.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../tests/cat/RadiosimProcess.h"
#include "Ini.h"
#include "ScanSoftPage.h"

using namespace wndtest;

namespace {

constexpr int kBaud = 19200;
constexpr int kPort = 7;
constexpr int kRunMs = 30000;
// Frames and answers in bytes: FE FE to from cmd [sub] data FD.
constexpr int kTuneBytes = 11 + 6;    // 05 with five BCD bytes, then FB
constexpr int kSquelchBytes = 7 + 8;  // 15 01, answered with one byte
constexpr int kSMeterBytes = 7 + 9;   // 15 02, answered with two bytes

double WireMs(int bytes)
{
    return bytes * 10.0 * 1000.0 / kBaud;
}

// The step time of the loop at a pause when the wire is all that takes time.
double LimitStepMs(int pauseMs)
{
    double t = WireMs(kTuneBytes);
    for (int pass = 1;; ++pass) {
        t += WireMs(kSquelchBytes);
        if (pass % 3 == 0)
            t += WireMs(kSMeterBytes);
        if (t > pauseMs)
            return t;
    }
}

void Measure(CScanSoft& page, int pauseMs)
{
    page.SetDlgItemText(CScanSoft::kPause, std::to_string(pauseMs));
    auto* scanning = page.GetDlgItemAs<QAbstractButton>(CScanSoft::kScanning);
    const int64_t before = page.StepsDone();
    const auto start = std::chrono::steady_clock::now();
    QTimer::singleShot(kRunMs, [scanning] { scanning->click(); });
    scanning->click();  // returns when the scan has stopped
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double steps = static_cast<double>(page.StepsDone() - before) / s;
    const double limit = 1000.0 / LimitStepMs(pauseMs);
    std::printf("pause_ms: %d ms\n", pauseMs);
    std::printf("scan_steps_per_s: %.2f steps/s\n", steps);
    std::printf("scan_limit_steps_per_s: %.2f steps/s\n", limit);
    std::printf("scan_efficiency_percent: %.1f %%\n", 100.0 * steps / limit);
}

}  // namespace

int main()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    WindowFixture f;
    cattest::RadiosimProcess sim({"--latency", "0", "--baud", std::to_string(kBaud)});
    if (sim.Device().empty()) {
        std::fprintf(stderr, "radiosim did not start\n");
        return 1;
    }
    sim.Type("signals clear");
    sim.Type("squelch 256");
    if (!f.profile->WriteProfileString("Ports", "COM7", sim.Device().c_str()))
        return 1;
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "Porta", kPort);
        ini.WriteInt("Setup", "Baud", kBaud);
        ini.WriteInt("Setup", "Latency", 20);
        ini.WriteInt("ScannerSoft", "TimeSQL1", 0);
        ini.WriteString("ScannerSoft", "PausaSQL", "-1");
        ini.WriteInt("ScannerSoft", "FrStart", 7000000);
        ini.WriteInt("ScannerSoft", "FrStop", 7300000);
        ini.WriteInt("ScannerSoft", "ScanMode", 0);
    }
    bool ok = false;
    f.Run([&](CCorvaneDlg& w) {
        auto* page = qobject_cast<CScanSoft*>(w.Page(CScanSoft::kTemplateId));
        if (page == nullptr || !PumpUntil([&] { return w.Controller().State().frequencyKnown; })) {
            std::fprintf(stderr, "the radio never answered\n");
            w.CloseProgram();
            return;
        }
        Measure(*page, 200);
        // The page's bound: "TimeSQL1" (0 here) + DelayCommand.
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        const int smallest = ini.GetInt("Setup", "DelayCommand", 100);
        Measure(*page, smallest);
        ok = page->StepsDone() > 0 && f.boxes.empty();
        for (const auto& box : f.boxes)
            std::fprintf(stderr, "message: %s\n", box.text.c_str());
        w.CloseProgram();
    });
    return ok ? 0 : 1;
}
