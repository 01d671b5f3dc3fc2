// The memory synchronisation of the radio memories window in the running program, against
// radiosim on a pseudo-terminal: each row of the decision table, a radio that falls silent (the
// channel asked again until it answers, and no entry taken for blank), and a channel copied to
// the program with only what the radio reports, and back with every switch sent.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>

#include "../cat/RadiosimProcess.h"
#include "CommandCodes.h"
#include "Ini.h"
#include "MemoryChannel.h"
#include "MemorySync.h"
#include "NumEdit.h"
#include "RadioMemoriesWindow.h"
#include "SyncMemoriesDlg.h"
#include "WorkProgressDlg.h"

using namespace wndtest;
using S = CSincronizzaMem;

namespace {

constexpr int kPort = 7;

struct SyncRun {
    int first = 1;
    int last = 99;
    int whenBoth = lists::SyncChoice::kNothing;
    bool clearRadio = false;
    bool removeEntry = false;
};

// Opens the dialog from the window's button and starts it as asked.
void Synchronize(CDlgMemRadio& m, const SyncRun& run)
{
    QTimer::singleShot(50, [run] {
        auto* d = qobject_cast<S*>(QApplication::activeModalWidget());
        if (d == nullptr)
            return;
        d->GetDlgItemAs<CNumEdit>(S::kFirst)->SetValue(run.first);
        d->GetDlgItemAs<CNumEdit>(S::kLast)->SetValue(run.last);
        auto* box = d->GetDlgItemAs<QComboBox>(S::kWhenBoth);
        box->setCurrentIndex(box->findData(run.whenBoth));
        for (auto [id, on] : {std::pair{S::kClearRadioWhenBlank, run.clearRadio},
                              std::pair{S::kRemoveEntryWhenBlank, run.removeEntry}})
            if (d->GetDlgItemAs<QAbstractButton>(id)->isChecked() != on)
                d->GetDlgItemAs<QAbstractButton>(id)->click();
        d->GetDlgItemAs<QAbstractButton>(S::kStart)->click();
    });
    m.GetDlgItemAs<QAbstractButton>(CDlgMemRadio::kSynchronize)->click();
}

// A radio list row: number, description, VFO A, mode, then the coded cells.
std::string Row(int n, const std::string& description, const std::string& hz,
                const std::string& mode, const std::string& duplex = "NODUP",
                const std::string& tone = "OFF", const std::string& tsql = "OFF")
{
    char number[4];
    std::snprintf(number, sizeof number, "%02d", n);
    return std::string(number) + " ~ " + description + " ~ " + hz + " ~ " + mode
           + " ~ OFF ~ 0 ~  ~ OFF ~ NOSPLIT ~ " + duplex + " ~ " + tone + " ~ " + tsql + " ~  ~ \n";
}

struct SyncFixture {
    WindowFixture f;
    cattest::RadiosimProcess sim{{"--latency", "0"}};

    SyncFixture()
    {
        f.yesNoAnswer = mb::kIdYes;
        f.profile->WriteProfileString("Ports", "COM7", sim.Device().c_str());
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "Porta", kPort);
        ini.WriteInt("Setup", "Baud", 19200);
    }
    std::string List() const { return testing_support::GetFile(f.folder / "MemRTX.Dat"); }
    // The list's line of channel n.
    std::string Line(int n) const
    {
        const std::string text = List();
        char number[8];
        std::snprintf(number, sizeof number, "%02d ~", n);
        const size_t at = text.find(number);
        return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
    }
    bool Run(const std::function<void(CCorvaneDlg&, CDlgMemRadio&)>& steps)
    {
        return f.Run([&](CCorvaneDlg& w) {
            EXPECT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
            // With the VFO known the run asks no VFO choice.
            w.Controller().SelectVfoA();
            w.ShowToolWindow(CDlgMemRadio::kTemplateId);
            auto* m = qobject_cast<CDlgMemRadio*>(w.ToolWindow(CDlgMemRadio::kTemplateId));
            EXPECT_NE(m, nullptr);
            if (m != nullptr)
                steps(w, *m);
            w.CloseProgram();
        });
    }
};

// How many frames the radio has heard.
size_t Heard(cattest::RadiosimProcess& sim)
{
    const std::string traffic = sim.Type("traffic");
    const size_t at = traffic.find("to_radio_frames=");
    return at == std::string::npos ? 0 : std::stoul(traffic.substr(at + 16));
}

bool Shown(const WindowFixture& f, const std::string& start)
{
    for (const MessageBoxRequest& box : f.boxes)
        if (box.text.rfind(start, 0) == 0)
            return true;
    return false;
}

}  // namespace

TEST(MemorySync, EachDecisionOfTheTable)
{
    SyncFixture s;
    ASSERT_FALSE(s.sim.Device().empty()) << "radiosim did not start";
    // 1 blank on both sides; 2 only in the list; 3 only in the radio; 4 on both, differing;
    // 5 only in the radio; 6 only in the list.
    testing_support::PutFile(s.f.folder / "MemRTX.Dat", Row(2, "Two", "7.050.000", "LSB")
                                                            + Row(4, "Four", "14.250.000", "USB")
                                                            + Row(6, "Six", "21.300.000", "USB"));
    s.sim.Type("channel 3 145500000 FM tone");
    s.sim.Type("channel 4 14200000 USB");
    s.sim.Type("channel 5 3700000 LSB");
    const bool ran = s.Run([&](CCorvaneDlg&, CDlgMemRadio& m) {
        // Radio to program where both hold a channel; blank entries are written, blank radio
        // channels copied.
        Synchronize(m, {1, 4, lists::SyncChoice::kToProgram, false, false});
        EXPECT_EQ(s.Line(1), "01 ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ");
        EXPECT_NE(s.sim.Type("channel 1").find("used=0"), std::string::npos);
        EXPECT_NE(s.sim.Type("channel 2").find("used=1 frequency=7050000 mode=0"),
                  std::string::npos);
        EXPECT_EQ(s.Line(3).find("03 ~ Mem.03 ~ 145.500.000 ~ FM ~ OFF ~ 0 ~"), 0u) << s.Line(3);
        // Another channel than the entry held: its tone settings are not the radio's to give.
        EXPECT_NE(s.Line(3).find("NOSPLIT ~ NODUP ~ ~ ~ ~ "), std::string::npos) << s.Line(3);
        EXPECT_EQ(s.Line(4).find("04 ~ Mem.04 ~ 14.200.000 ~ USB"), 0u) << s.Line(4);
        // Program to radio where both hold one; a blank entry clears the radio's channel.
        Synchronize(m, {4, 5, lists::SyncChoice::kToRadio, true, false});
        EXPECT_NE(s.sim.Type("channel 5").find("used=0"), std::string::npos);
        // A channel blank in the radio removes its entry when asked.
        Synchronize(m, {6, 6, lists::SyncChoice::kNothing, false, true});
        EXPECT_EQ(s.Line(6), "06 ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ");
        EXPECT_NE(s.sim.Type("channel 6").find("used=0"), std::string::npos);
        // The radio's VFO is back where it was.
        EXPECT_NE(s.sim.Type("state").find("memory=0"), std::string::npos);
    });
    EXPECT_TRUE(ran);
}

TEST(MemorySync, ASilentRadioIsAskedAgainUntilItAnswersAndNoEntryIsTakenForBlank)
{
    SyncFixture s;
    ASSERT_FALSE(s.sim.Device().empty()) << "radiosim did not start";
    std::string rows;
    for (int n = 5; n <= 8; ++n) {
        rows += Row(n, "Net " + std::to_string(n), "14.30" + std::to_string(n) + ".000", "USB");
        s.sim.Type("channel " + std::to_string(n) + " 705" + std::to_string(n) + "000 LSB");
    }
    testing_support::PutFile(s.f.folder / "MemRTX.Dat", rows);
    const bool ran = s.Run([&](CCorvaneDlg&, CDlgMemRadio& m) {
        // Silent from the first channel on, until the radio heard a dozen more frames: the run
        // of old would have stopped after three tries.
        QTimer silence;
        size_t heard = 0;
        const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        QObject::connect(&silence, &QTimer::timeout, [&] {
            if (std::chrono::steady_clock::now() > hang)
                s.sim.Type("fault clear");
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<CWorkProgressDlg*>(top); p && p->isVisible() && !heard) {
                    s.sim.Type("fault silence 08");
                    heard = Heard(s.sim);
                }
            if (heard != 0 && Heard(s.sim) >= heard + 12) {
                silence.stop();
                s.sim.Type("fault clear");
            }
        });
        silence.start(1);
        Synchronize(m, {5, 8, lists::SyncChoice::kToProgram, false, true});
        EXPECT_FALSE(silence.isActive()) << "still silent when the run ended";
        EXPECT_LT(std::chrono::steady_clock::now(), hang);
        s.sim.Type("fault clear");
        EXPECT_FALSE(Shown(s.f, "The RTX did not answer"));
        for (int n = 5; n <= 8; ++n)
            EXPECT_EQ(s.Line(n).find("0" + std::to_string(n) + " ~ Mem.0" + std::to_string(n)
                                     + " ~ 7.05" + std::to_string(n) + ".000 ~ LSB"),
                      0u)
                << s.Line(n);
    });
    EXPECT_TRUE(ran);
}

TEST(MemorySync, AChannelTakesOnlyWhatTheRadioReportsAndGoesBackWithEverySwitch)
{
    SyncFixture s;
    ASSERT_FALSE(s.sim.Device().empty()) << "radiosim did not start";
    // The entry names the channel the radio holds, with no tone settings.
    testing_support::PutFile(s.f.folder / "MemRTX.Dat",
                             Row(7, "Repeater", "145.600.000", "FM", "DUP-", "", ""));
    s.sim.Type("channel 7 145600000 FM dup- 600000 tone tsql");
    const bool ran = s.Run([&](CCorvaneDlg&, CDlgMemRadio& m) {
        // The radio reports no direction and no tone: the name stays, the direction goes.
        Synchronize(m, {7, 7, lists::SyncChoice::kToProgram, false, false});
        EXPECT_NE(s.Line(7).find("Repeater ~ 145.600.000 ~ FM"), std::string::npos) << s.Line(7);
        EXPECT_NE(s.Line(7).find("NOSPLIT ~ NODUP ~ ~ ~ ~ "), std::string::npos) << s.Line(7);
        // Written back over the channel: simplex, tone and tone squelch off.
        Synchronize(m, {7, 7, lists::SyncChoice::kToRadio, false, false});
        const std::string channel = s.sim.Type("channel 7");
        EXPECT_NE(channel.find("used=1 frequency=145600000 mode=5"), std::string::npos) << channel;
        EXPECT_NE(channel.find("duplex=0"), std::string::npos) << channel;
        EXPECT_NE(channel.find("tone=0 tsql=0"), std::string::npos) << channel;
    });
    EXPECT_TRUE(ran);
}
