// The memory transfers through the memories window's own code, against radiosim on a
// pseudo-terminal at 19200 baud with pacing and no answer latency: "Read mem." of 99 channels,
// "Write mem." of 99 rows, and the radio memories window's synchronisation of 99 channels each
// way (radio to an empty list, then the list back to the radio). Each prints its time, the time its
// frames need on the wire (radiosim's `traffic`, 10 bits a byte) and the ratio of the two.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "../tests/cat/RadiosimProcess.h"
#include "CommandCodes.h"
#include "GridWidget.h"
#include "Ini.h"
#include "MemoriesWindow.h"
#include "MemorySync.h"
#include "NumEdit.h"
#include "RadioMemoriesWindow.h"
#include "ReadMemoriesDlg.h"
#include "SyncMemoriesDlg.h"

using namespace wndtest;

namespace {

constexpr int kBaud = 19200;
constexpr int kPort = 7;
constexpr int kChannels = 99;

long long TrafficBytes(cattest::RadiosimProcess& sim)
{
    std::istringstream in(sim.Type("traffic"));
    long long total = 0;
    for (std::string pair; in >> pair;) {
        const size_t eq = pair.find('=');
        if (eq != std::string::npos && pair.find("bytes") != std::string::npos)
            total += std::stoll(pair.substr(eq + 1));
    }
    return total;
}

// Runs one transfer and prints its figures.
void Measure(const char* op, cattest::RadiosimProcess& sim, const std::function<void()>& run)
{
    sim.Type("traffic clear");
    const auto start = std::chrono::steady_clock::now();
    run();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double busMs = static_cast<double>(TrafficBytes(sim)) * 10.0 * 1000.0 / kBaud;
    std::printf("mem_%s_ms: %.0f ms\n", op, ms);
    std::printf("mem_%s_bus_ms: %.0f ms\n", op, busMs);
    std::printf("mem_%s_ratio: %.2f\n", op, busMs > 0 ? ms / busMs : 0.0);
}

void ReadRange(CDlgMem& m, int first, int last)
{
    QTimer::singleShot(20, [=] {
        if (auto* d = qobject_cast<CLeggiMem*>(QApplication::activeModalWidget())) {
            d->GetDlgItemAs<CNumEdit>(CLeggiMem::kFirst)->SetValue(first);
            d->GetDlgItemAs<CNumEdit>(CLeggiMem::kLast)->SetValue(last);
            d->GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
        }
    });
    m.GetDlgItemAs<QAbstractButton>(CDlgMem::kReadMem)->click();
}

// Synchronises channels 1..99, copying one way where both sides hold a channel.
void SyncAll(CDlgMemRadio& m, int whenBoth)
{
    using S = CSincronizzaMem;
    QTimer::singleShot(20, [=] {
        if (auto* d = qobject_cast<S*>(QApplication::activeModalWidget())) {
            d->GetDlgItemAs<CNumEdit>(S::kFirst)->SetValue(1);
            d->GetDlgItemAs<CNumEdit>(S::kLast)->SetValue(kChannels);
            auto* box = d->GetDlgItemAs<QComboBox>(S::kWhenBoth);
            box->setCurrentIndex(box->findData(whenBoth));
            d->GetDlgItemAs<QAbstractButton>(S::kStart)->click();
        }
    });
    m.GetDlgItemAs<QAbstractButton>(CDlgMemRadio::kSynchronize)->click();
}

}  // namespace

int main()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    cattest::RadiosimProcess sim({"--latency", "0", "--baud", std::to_string(kBaud)});
    if (sim.Device().empty()) {
        std::fprintf(stderr, "radiosim did not start\n");
        return 1;
    }
    for (int n = 1; n <= kChannels; ++n)
        sim.Type("channel " + std::to_string(n) + " " + std::to_string(7000000 + n * 1000)
                 + (n % 2 ? " LSB" : " USB"));
    if (!f.profile->WriteProfileString("Ports", "COM7", sim.Device().c_str()))
        return 1;
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "Porta", kPort);
        ini.WriteInt("Setup", "Baud", kBaud);
    }
    bool ok = false;
    f.Run([&](CCorvaneDlg& w) {
        if (!PumpUntil([&] { return w.Controller().State().frequencyKnown; })) {
            std::fprintf(stderr, "the radio never answered\n");
            w.CloseProgram();
            return;
        }
        w.Controller().SelectVfoA();
        w.ShowToolWindow(CDlgMem::kTemplateId);
        auto* m = qobject_cast<CDlgMem*>(w.ToolWindow(CDlgMem::kTemplateId));
        Measure("read", sim, [&] { ReadRange(*m, 1, kChannels); });
        ok = m->Grid().GetRowCount() == kChannels + 1;
        Measure("write", sim,
                [&] { m->GetDlgItemAs<QAbstractButton>(CDlgMem::kWriteMem)->click(); });
        w.ShowToolWindow(CDlgMemRadio::kTemplateId);
        auto* r = qobject_cast<CDlgMemRadio*>(w.ToolWindow(CDlgMemRadio::kTemplateId));
        if (r == nullptr) {
            ok = false;
        } else {
            Measure("sync_to_program", sim, [&] { SyncAll(*r, lists::SyncChoice::kToProgram); });
            const std::string list = testing_support::GetFile(f.folder / "MemRTX.Dat");
            if (list.find("99 ~ Mem.99 ~ 7.099.000") == std::string::npos) {
                std::fprintf(stderr, "the sync did not fill the radio list\n");
                ok = false;
            }
            Measure("sync_to_radio", sim, [&] { SyncAll(*r, lists::SyncChoice::kToRadio); });
        }
        w.CloseProgram();
    });
    if (!ok)
        std::fprintf(stderr, "the read did not store %d rows\n", kChannels);
    return ok ? 0 : 1;
}
