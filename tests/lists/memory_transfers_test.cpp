// "Read mem." and "Write mem." of the PC memories window in the running program, against the
// simulated radio's driver: a read stores the programmed channels only (and says so when all
// are empty), measures an FM repeater's duplex by keying (and unkeys after an Abort too), asks a
// silent channel again until it answers, and holds the main window disabled; a write takes the
// channel from each description, skips the rows that name none or fail the limits; the VFOs
// and split are put back after each run.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>

#include "CommandCodes.h"
#include "GridWidget.h"
#include "MemoriesWindow.h"
#include "NumEdit.h"
#include "RadioView.h"
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

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
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

        // "NB" clicked on the main window while channel 2 is read: the window is held disabled,
        // so nothing reaches the radio, and the restore has nothing to undo.
        bool clicked = false;
        QTimer click;
        QObject::connect(&click, &QTimer::timeout, [&] {
            if (f.Trace().find("FE FE 58 E0 08 00 02 FD") == std::string::npos)
                return;
            click.stop();
            QWidget* nb = w.GetDlgItem(radio::ctl::kNb);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent e(type, QPointF(5, 5), nb->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
                QApplication::sendEvent(nb, &e);
            }
            clicked = true;
        });
        click.start(1);
        const size_t from = f.Trace().size();
        ClickWithRange(m, M::kReadMem, 1, 99, true);
        EXPECT_TRUE(clicked);
        EXPECT_EQ(f.Trace().find("E0 16 22 01 FD", from), std::string::npos) << "NB went out";
        EXPECT_TRUE(w.isEnabled());
        // A channel on the wire: selected, into the VFO, its frequency and mode each asked twice,
        // then VFO B between two exchanges.
        const std::string read = f.Trace().substr(f.Trace().find("E0 08 00 01 FD", from));
        size_t at = 0;
        for (const char* frame : {"0A FD", "03 FD", "03 FD", "04 FD", "04 FD", "07 B0 FD", "03 FD",
                                  "03 FD", "07 B0 FD", "08 00 02 FD"}) {
            at = read.find(std::string("FE FE 58 E0 ") + frame, at + 1);
            ASSERT_NE(at, std::string::npos) << frame << " in\n" << read.substr(0, 2000);
        }
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

TEST(MemoryTransfers, AChannelLeftUnansweredIsAskedAgainUntilItAnswers)
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
        // From channel 2 on, memory to VFO goes unheard, until channel 2 was asked five times.
        QTimer silence;
        bool silent = false;
        const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        QObject::connect(&silence, &QTimer::timeout, [&] {
            if (std::chrono::steady_clock::now() > hang)
                FrontPanel(f, "fault clear");
            const size_t tries = Count(f.Trace(), "E0 08 00 02 FD");
            if (!silent && tries > 0) {
                silent = true;
                FrontPanel(f, "fault silence 0A");
            } else if (silent && tries >= 5) {
                silence.stop();
                FrontPanel(f, "fault clear");
            }
        });
        silence.start(1);
        ClickWithRange(m, M::kReadMem, 1, 3, false);
        EXPECT_FALSE(silence.isActive()) << "channel 2 was not asked again";
        EXPECT_LT(std::chrono::steady_clock::now(), hang);
        FrontPanel(f, "fault clear");
        EXPECT_FALSE(Shown(f, "The RTX did not answer"));
        CDataGrid& g = m.Grid();
        ASSERT_EQ(g.GetRowCount(), 4);
        EXPECT_EQ(g.GetItemText(RowOf(g, "Mem. 02"), lists::pcmem::kVfoA), "14.200.002");
        EXPECT_EQ(g.GetItemText(RowOf(g, "Mem. 03"), lists::pcmem::kVfoA), "14.200.003");
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
        // Over empty channels only, the read says that it found nothing.
        const int rows = g.GetRowCount();
        ClickWithRange(m, M::kReadMem, 20, 22, false);
        EXPECT_EQ(f.boxes.back().text, "No memory read: the RTX memories from 20 to 22 are empty.");
        EXPECT_EQ(g.GetRowCount(), rows);
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
