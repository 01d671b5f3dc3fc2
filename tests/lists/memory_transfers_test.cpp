// "Read mem." and "Write mem." of the PC memories window in the running program, against the
// simulated radio's driver: a read stores the programmed channels only, measures an FM
// repeater's duplex by keying (and unkeys after an Abort too), stops at a channel the radio
// leaves unanswered; a write takes the channel from each description, skips the rows that name
// none or fail the limits; the VFOs and split are put back after each run.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>

#include "CommandCodes.h"
#include "GridWidget.h"
#include "MemoriesWindow.h"
#include "NumEdit.h"
#include "ReadMemoriesDlg.h"
#include "WorkProgressDlg.h"

using namespace wndtest;
using M = CDlgMem;

namespace {

// A line of the simulated radio's control language; its reply.
std::string FrontPanel(const WindowFixture& f, const std::string& command)
{
    const WindowFixture::SimControl control = f.SimRadioControl();
    if (control == nullptr)
        return "no driver";
    char reply[512] = {};
    if (control == nullptr || control(command.c_str(), reply, sizeof reply) != 1)
        return std::string("refused: ") + reply;
    return reply;
}

CDlgMem& Mem(CCorvaneDlg& w)
{
    w.ShowToolWindow(M::kTemplateId);
    auto* m = qobject_cast<CDlgMem*>(w.ToolWindow(M::kTemplateId));
    EXPECT_NE(m, nullptr);
    return *m;
}

// Answers the range dialog (the PTT check as asked) as soon as the button opened it; the click
// returns when the run has ended.
void ClickWithRange(CDlgMem& m, int button, int first, int last, bool usePtt)
{
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* d = qobject_cast<CLeggiMem*>(QApplication::activeModalWidget());
        if (d == nullptr)
            return;
        watch.stop();
        d->GetDlgItemAs<CNumEdit>(CLeggiMem::kFirst)->SetValue(first);
        d->GetDlgItemAs<CNumEdit>(CLeggiMem::kLast)->SetValue(last);
        auto* ptt = d->GetDlgItemAs<QAbstractButton>(CLeggiMem::kUsePtt);
        if (ptt->isChecked() != usePtt)
            ptt->click();
        d->GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
    });
    watch.start(1);
    m.GetDlgItemAs<QAbstractButton>(button)->click();
    EXPECT_FALSE(watch.isActive()) << "the range was never asked";
}

// The row of a description, -1 when none.
int RowOf(CDataGrid& g, const std::string& description)
{
    for (int row = 1; row < g.GetRowCount(); ++row)
        if (g.GetItemText(row, lists::pcmem::kDescription) == description)
            return row;
    return -1;
}

bool Shown(const WindowFixture& f, const std::string& start)
{
    for (const MessageBoxRequest& box : f.boxes)
        if (box.text.rfind(start, 0) == 0)
            return true;
    return false;
}

// VFO B 7.000 MHz LSB, VFO A 14.200 MHz USB, split on, VFO A current.
void SetUpVfos(const WindowFixture& f, radio::CRadioController& c)
{
    c.SelectVfoB();
    c.SetFrequency(7000000);
    c.SetMode(radio::kLsb);
    c.SelectVfoA();
    c.SetFrequency(14200000);
    c.SetMode(radio::kUsb);
    c.SetSplit(true);
    c.SelectVfoA();
    EXPECT_TRUE(PumpUntil([&] {
        return c.WaitForIdle(1) && FrontPanel(f, "state").find("split=1") != std::string::npos;
    }));
}

// The radio as the VFOs were set up: split on, VFO A current on 14.200 MHz, B on 7.000 MHz.
void ExpectVfosRestored(const WindowFixture& f)
{
    const std::string state = FrontPanel(f, "state");
    EXPECT_NE(state.find("frequency=14200000 mode=1"), std::string::npos) << state;
    EXPECT_NE(state.find("vfo=A memory=0"), std::string::npos) << state;
    EXPECT_NE(state.find("split=1"), std::string::npos) << state;
    EXPECT_NE(state.find("transmitting=0"), std::string::npos) << state;
    FrontPanel(f, "vfo B");
    EXPECT_NE(FrontPanel(f, "state").find("frequency=7000000 mode=0"), std::string::npos);
    FrontPanel(f, "vfo A");
}

std::string LastPtt(const std::string& trace)
{
    const size_t at = trace.rfind("PTT ");
    return at == std::string::npos ? "" : trace.substr(at, 5);
}

}  // namespace

TEST(MemoryTransfers, ReadStoresTheProgrammedChannelsAndMeasuresTheRepeater)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    // A row of a read name is replaced without a question.
    testing_support::PutFile(f.folder / "MemPC.Dat",
                             "Mem. 02 ~ 3.500.000 ~ CW ~ OFF ~ 0 ~ USB ~ OFF ~ NOSPLIT ~ VFO A ~ "
                             "NODUP ~ 0 ~ NO ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ 0 ~ \n");
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        EXPECT_EQ(FrontPanel(f, "channel 1 14074000 USB tone"), "ok");
        EXPECT_EQ(FrontPanel(f, "channel 2 7050000 LSB split 7150000 LSB"), "ok");
        EXPECT_EQ(FrontPanel(f, "channel 3 145600000 FM dup- 600000 tsql"), "ok");
        SetUpVfos(f, c);
        CDlgMem& m = Mem(w);
        CDataGrid& g = m.Grid();

        ClickWithRange(m, M::kReadMem, 1, 99, true);
        EXPECT_TRUE(Shown(f, "ATTENTION, during the reading of memories the RTX will transmit"));
        ASSERT_EQ(g.GetRowCount(), 4) << "only the three programmed channels";
        const int one = RowOf(g, "Mem. 01");
        const int two = RowOf(g, "Mem. 02");
        const int three = RowOf(g, "Mem. 03");
        ASSERT_GT(one, 0);
        ASSERT_GT(two, 0);
        ASSERT_GT(three, 0);
        EXPECT_EQ(g.GetItemText(one, lists::pcmem::kVfoA), "14.074.000");
        EXPECT_EQ(g.GetItemText(one, lists::pcmem::kSplit), "NOSPLIT");
        EXPECT_EQ(g.GetItemText(one, lists::pcmem::kVfoB), "0");
        // An unused VFO B names the mode list's first entry, as the editor shows it.
        EXPECT_EQ(g.GetItemText(one, lists::pcmem::kModeB), "LSB");
        EXPECT_EQ(g.GetItemText(one, lists::pcmem::kTone), "ON");
        EXPECT_EQ(g.GetItemText(two, lists::pcmem::kVfoA), "7.050.000");
        EXPECT_EQ(g.GetItemText(two, lists::pcmem::kModeA), "LSB");
        EXPECT_EQ(g.GetItemText(two, lists::pcmem::kVfoB), "7.150.000");
        EXPECT_EQ(g.GetItemText(two, lists::pcmem::kSplit), "SPLIT");
        EXPECT_EQ(g.GetItemText(three, lists::pcmem::kModeA), "FM");
        EXPECT_EQ(g.GetItemText(three, lists::pcmem::kDuplex), "DUP-");
        EXPECT_EQ(g.GetItemText(three, lists::pcmem::kDuplexValue), "600");
        EXPECT_EQ(g.GetItemText(three, lists::pcmem::kToneSquelch), "ON");
        // Only the FM channel keyed the transmitter, and it was unkeyed.
        const std::string trace = f.Trace();
        EXPECT_EQ(trace.find("PTT 1"), trace.rfind("PTT 1"));
        EXPECT_EQ(LastPtt(trace), "PTT 0");
        ExpectVfosRestored(f);
        EXPECT_TRUE(c.IsPollingEnabled());
        EXPECT_FALSE(c.InLongOperation());
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
    // The list went to the file at the end of the read.
    EXPECT_NE(testing_support::GetFile(f.folder / "MemPC.Dat").find("Mem. 03 ~ 145.600.000 ~ FM"),
              std::string::npos);
}

TEST(MemoryTransfers, AbortWhileMeasuringAsksAndLeavesTheTransmitterUnkeyed)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        for (int n = 1; n <= 4; ++n)
            FrontPanel(f, "channel " + std::to_string(n) + " 14560000" + std::to_string(n)
                              + " FM dup+ 600000");
        SetUpVfos(f, c);
        CDlgMem& m = Mem(w);
        // Abort as soon as the first channel keys.
        QTimer abort;
        QObject::connect(&abort, &QTimer::timeout, [&] {
            if (f.Trace().find("PTT 1") == std::string::npos)
                return;
            abort.stop();
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<CWorkProgressDlg*>(top); p && p->isVisible())
                    p->GetDlgItemAs<QAbstractButton>(ctl::kIdCancel)->click();
        });
        abort.start(5);
        ClickWithRange(m, M::kReadMem, 1, 4, true);
        EXPECT_FALSE(abort.isActive()) << "never keyed";
        EXPECT_TRUE(Shown(f, "Abort reading the memories?"));
        EXPECT_EQ(LastPtt(f.Trace()), "PTT 0");
        // The channels done are kept; the run stopped before the last one.
        CDataGrid& g = m.Grid();
        EXPECT_GE(g.GetRowCount(), 2);
        EXPECT_LT(g.GetRowCount(), 5);
        EXPECT_EQ(g.GetItemText(1, lists::pcmem::kDuplex), "DUP+");
        ExpectVfosRestored(f);
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
}

TEST(MemoryTransfers, AChannelLeftUnansweredStopsTheReadWithAMessage)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        for (int n = 1; n <= 3; ++n)
            FrontPanel(f, "channel " + std::to_string(n) + " 1420000" + std::to_string(n) + " USB");
        SetUpVfos(f, c);
        CDlgMem& m = Mem(w);
        // From channel 2 on, memory to VFO goes unheard.
        QTimer silence;
        QObject::connect(&silence, &QTimer::timeout, [&] {
            if (f.Trace().find("FE FE 58 E0 08 00 02 FD") == std::string::npos)
                return;
            silence.stop();
            FrontPanel(f, "fault silence 0A");
        });
        silence.start(1);
        ClickWithRange(m, M::kReadMem, 1, 3, false);
        FrontPanel(f, "fault clear");
        EXPECT_TRUE(Shown(f, "The RTX did not answer at memory 2: the reading stopped there."));
        CDataGrid& g = m.Grid();
        ASSERT_EQ(g.GetRowCount(), 2) << "channel 1 kept, 2 and 3 untouched";
        EXPECT_EQ(g.GetItemText(1, lists::pcmem::kDescription), "Mem. 01");
        // Channel 2 was tried three times.
        const std::string trace = f.Trace();
        size_t tries = 0;
        for (size_t at = trace.find("08 00 02 FD"); at != std::string::npos;
             at = trace.find("08 00 02 FD", at + 1))
            ++tries;
        EXPECT_EQ(tries, 3u);
        ExpectVfosRestored(f);
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
}

TEST(MemoryTransfers, WriteTakesTheChannelFromEachDescriptionAndSkipsTheRest)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    const auto row = [](const std::string& description, const std::string& hz,
                        const std::string& mode, const std::string& hzB = "0") {
        return description + " ~ " + hz + " ~ " + mode + " ~ OFF ~ " + hzB
               + " ~ USB ~ OFF ~ NOSPLIT ~ VFO A ~ NODUP ~ 0 ~ NO ~ OFF ~ OFF ~ OFF ~ "
                 "OFF ~ OFF ~ OFF ~ OFF ~ 0 ~ \n";
    };
    testing_support::PutFile(
        f.folder / "MemPC.Dat",
        row("Mem. 07", "14.100.000", "USB", "3.600.000") + row("MEM.08", "7.100.000", "LSB")
            + row("Mem.9 home", "3.700.000", "LSB") + row("Mem.100", "21.100.000", "USB")
            + row("Mem. 05", "500.000.000", "USB") + row("Mem.ab", "28.100.000", "USB")
            + row("Mem.00", "28.200.000", "USB"));
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        SetUpVfos(f, c);
        CDlgMem& m = Mem(w);
        const size_t from = f.Trace().size();
        m.GetDlgItemAs<QAbstractButton>(M::kWriteMem)->click();
        const std::string trace = f.Trace().substr(from);
        // The out-of-limits row was refused with its message and sent nothing.
        EXPECT_TRUE(Shown(f, "The values of VFO-A and VFO-B are out of limits"));
        EXPECT_EQ(trace.find("08 00 05 FD"), std::string::npos) << trace;
        EXPECT_EQ(trace.find("08 00 10 FD"), std::string::npos) << "Mem.100 is no channel 10";
        EXPECT_EQ(trace.find("08 00 00 FD"), std::string::npos) << trace;
        size_t writes = 0;
        for (size_t at = trace.find("E0 09 FD"); at != std::string::npos;
             at = trace.find("E0 09 FD", at + 1))
            ++writes;
        EXPECT_EQ(writes, 3u) << trace;
        ExpectVfosRestored(f);
        // The other VFO's display as the radio has it, though the run left VFO B in USB.
        const auto otherVfo = [&] { return w.GetDlgItemText(radio::ctl::kStatus2); };
        EXPECT_EQ(otherVfo(), "7.000.000 LSB");

        // What the radio holds now, read back: channels 7, 8 and 9 and nothing around them.
        ClickWithRange(m, M::kReadMem, 5, 10, false);
        CDataGrid& g = m.Grid();
        EXPECT_EQ(g.GetItemText(RowOf(g, "Mem. 07"), lists::pcmem::kVfoA), "14.100.000");
        EXPECT_EQ(g.GetItemText(RowOf(g, "Mem. 08"), lists::pcmem::kVfoA), "7.100.000");
        EXPECT_EQ(g.GetItemText(RowOf(g, "Mem. 09"), lists::pcmem::kModeA), "LSB");
        EXPECT_EQ(RowOf(g, "Mem. 06"), -1);
        EXPECT_EQ(RowOf(g, "Mem. 10"), -1);
        EXPECT_EQ(otherVfo(), "7.000.000 LSB");
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
}

TEST(MemoryTransfers, ClosingTheProgramDuringAReadStopsItWithoutBlamingTheRadio)
{
    WindowFixture f;
    f.yesNoAnswer = mb::kIdYes;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        for (int n = 1; n <= 20; ++n)
            FrontPanel(f, "channel " + std::to_string(n) + " 14200000 USB");
        SetUpVfos(f, c);
        CDlgMem& m = Mem(w);
        // The program is told to end (as by the termination signal) at channel 10.
        QTimer end;
        QObject::connect(&end, &QTimer::timeout, [&] {
            if (f.Trace().find("FE FE 58 E0 08 00 10 FD") == std::string::npos)
                return;
            end.stop();
            w.CloseProgram();
        });
        end.start(1);
        ClickWithRange(m, M::kReadMem, 1, 20, false);
        EXPECT_FALSE(end.isActive()) << "the read reached channel 10";
        for (const MessageBoxRequest& box : f.boxes)
            EXPECT_EQ(box.text.find("did not answer"), std::string::npos) << box.text;
        EXPECT_EQ(f.Trace().find("FE FE 58 E0 08 00 12 FD"), std::string::npos);
    });
    EXPECT_TRUE(ran);
}
