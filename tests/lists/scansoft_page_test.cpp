// The software scan in the real main window against the simulated radio's driver, recording
// through the program's recorder bar: what reaches "LogSQL.Dat" and "LogScan.Wav" for a signal
// at one position of the range, the two pauses, and a link that drops during a hold.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "AudioRecorder.h"
#include "DlgLogSQL.h"
#include "Ini.h"
#include "MainWindowIds.h"
#include "ModalDialog.h"
#include "NumEdit.h"
#include "WaveEngine.h"
#include "WaveFile.h"
#include "RadioController.h"
#include "ScanFiles.h"
#include "ScanSoftPage.h"
#include "SkedsPage.h"
#include "SkedsTestSupport.h"
#include "TildeTextRecord.h"

using namespace wndtest;

namespace {

constexpr int64_t kStart = 7040000;
constexpr int64_t kEnd = 7060000;  // five positions at 5 KHz
constexpr int64_t kSignal = 7050000;

struct LogLine {
    int64_t position = 0;
    int64_t audio = 0;
    int64_t bytes = 0;
};

std::vector<LogLine> ReadLog(const std::string& path)
{
    std::vector<LogLine> lines;
    std::istringstream in(testing_support::GetFile(path));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        for (std::size_t at = 0, next; (next = line.find(" ~ ", at)) != std::string::npos;
             at = next + 3)
            fields.push_back(line.substr(at, next - at));
        if (fields.size() != 8) {
            ADD_FAILURE() << "log line with " << fields.size() << " fields: " << line;
            continue;
        }
        lines.push_back({std::stoll(fields[4]), std::stoll(fields[6]), std::stoll(fields[7])});
    }
    return lines;
}

struct ScanCase {
    std::string pause1 = "300";
    std::string pause2 = "0";
    bool log = true;
    bool record = false;
};

class SoftScan {
public:
    SoftScan(WindowFixture& f, CCorvaneDlg& w)
        : f_(f), w_(w), page_(qobject_cast<CScanSoft*>(w.Page(CScanSoft::kTemplateId)))
    {
    }
    CScanSoft* Page() const { return page_; }
    std::string Sim(const std::string& command) const
    {
        char reply[512] = {};
        const WindowFixture::SimControl control = f_.SimRadioControl();
        if (control == nullptr || control(command.c_str(), reply, sizeof reply) != 1)
            ADD_FAILURE() << command << " refused: " << reply;
        return reply;
    }
    void Set(const ScanCase& c)
    {
        page_->SetDlgItemText(CScanSoft::kPause, "300");
        page_->SetDlgItemText(CScanSoft::kPause1, c.pause1);
        page_->SetDlgItemText(CScanSoft::kPause2, c.pause2);
        // Clicked as the user does: "Record" follows "Log".
        Button(CScanSoft::kLog)->setChecked(!c.log);
        Button(CScanSoft::kLog)->click();
        Button(CScanSoft::kRecord)->setChecked(c.record);
    }
    QAbstractButton* Button(int id) const { return page_->GetDlgItemAs<QAbstractButton>(id); }
    // Runs the scan with `tick` called every 20 ms; the scan stops when `tick` says so.
    void Scan(const std::function<bool()>& tick)
    {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (page_->Running() && tick()) {
                timer.stop();
                Button(CScanSoft::kScanning)->click();
            }
        });
        timer.start(20);
        Button(CScanSoft::kScanning)->click();  // returns when the scan has stopped
    }
    // Stops after one pass over the five positions.
    void ScanOnePass(const std::function<void()>& tick = {})
    {
        const int64_t first = page_->StepsDone();
        Scan([&] {
            if (tick)
                tick();
            return page_->StepsDone() - first >= 6;
        });
    }
    // The scan has tuned the signal's position (the third) and the radio said it is open.
    bool OpenAtSignal(int64_t first) const
    {
        return page_->StepsDone() - first == 3 && w_.Controller().State().squelchOpen;
    }
    std::string LogPath() const { return f_.folder / "LogSQL.Dat"; }

private:
    WindowFixture& f_;
    CCorvaneDlg& w_;
    CScanSoft* page_;
};

void Prepare(WindowFixture& f, bool audio = true)
{
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.WriteInt("ScannerSoft", "FrStart", kStart);
    ini.WriteInt("ScannerSoft", "FrStop", kEnd);
    ini.WriteInt("ScannerSoft", "TimeSQL1", 0);
    ini.WriteInt("Setup", "DelayCommand", 100);
    ini.WriteInt("AudioRecorder", "Abilitato", audio ? 1 : 0);
    ini.WriteString("ScannerSoft", "Modo", "USB");
    ini.WriteString("ScannerSoft", "Step", "5 KHz");
}

bool Ready(CCorvaneDlg& w)
{
    return PumpUntil([&] { return w.Controller().State().frequencyKnown; });
}

// The channels selected (08 00 cc) and the frequencies set (05 ...) from `from` on, in order, as
// "ch 03" and "05 00 00 04 07 00".
std::vector<std::string> ScanFrames(const std::string& trace, std::size_t from)
{
    std::vector<std::string> frames;
    std::istringstream lines(trace.substr(std::min(from, trace.size())));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("FE FE 58 E0 08 00 ", 0) == 0 && line.size() >= 20)
            frames.push_back("ch " + line.substr(18, 2));
        else if (line.rfind("FE FE 58 E0 05 ", 0) == 0 && line.size() > 15)
            frames.push_back(line.substr(12, line.size() - 15));
    }
    return frames;
}

// A program with audio support off and the page ready to scan without signal handling or log;
// `steps` end it.
void RunPlainScans(const std::function<void(WindowFixture&, CCorvaneDlg&, SoftScan&)>& steps)
{
    WindowFixture f;
    Prepare(f, false);
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        SoftScan s(f, w);
        ASSERT_TRUE(Ready(w));
        s.Set({.pause1 = "-1", .log = false});
        steps(f, w, s);
        w.CloseProgram();
    }));
}

// Presses `button` (which runs the scan until it stops) and stops the scan after `steps`
// positions, calling `atStop` while it still runs.
void ScanSteps(SoftScan& s, int button, int steps, const std::function<void()>& atStop = {})
{
    const int64_t first = s.Page()->StepsDone();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (s.Page()->Running() && s.Page()->StepsDone() - first >= steps) {
            timer.stop();
            if (atStop)
                atStop();
            s.Button(CScanSoft::kScanning)->click();
        }
    });
    timer.start(20);
    s.Button(button)->click();
}

}  // namespace

// A signal at one position with "Log" and "Record": one line there whose audio lies in the WAV;
// with Pause 1 = -1 the same signal logs nothing.
TEST(ScanSoftPage, SignalLoggedAndRecordedOnceAndNothingWithoutSignalHandling)
{
    WindowFixture f;
    Prepare(f);
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        SoftScan s(f, w);
        ASSERT_NE(s.Page(), nullptr);
        ASSERT_TRUE(Ready(w));
        s.Sim("squelch 100");
        s.Sim("signal 7049000 7051000 200");
        s.Set({.pause1 = "300", .record = true});
        ASSERT_TRUE(s.Button(CScanSoft::kRecord)->isEnabled());
        auto* bar = qobject_cast<CAudioRecorder*>(w.ToolWindow(CAudioRecorder::kTemplateId));
        ASSERT_NE(bar, nullptr);
        // Between events the scan pauses the recording for itself: the bar's pause button is
        // not left pressed (and blinking), and it is up again after the scan.
        bool pausedBetween = false;
        bool pressed = false;
        s.ScanOnePass([&] {
            pressed = pressed || bar->Paused();
            pausedBetween = pausedBetween || bar->Engine().RecordingPaused();
        });
        EXPECT_TRUE(pausedBetween);
        EXPECT_FALSE(pressed);
        EXPECT_FALSE(bar->Recording());
        EXPECT_FALSE(bar->Paused());
        const std::vector<LogLine> lines = ReadLog(s.LogPath());
        ASSERT_EQ(lines.size(), 1u) << testing_support::GetFile(s.LogPath());
        EXPECT_EQ(lines[0].position, kSignal);
        EXPECT_GE(lines[0].audio, 0);
        EXPECT_GT(lines[0].bytes, 0);
        const std::string wav = f.folder / "LogScan.Wav";
        ASSERT_TRUE(std::filesystem::exists(wav));
        EXPECT_GE(static_cast<int64_t>(std::filesystem::file_size(wav)),
                  lines[0].audio + lines[0].bytes);

        // The scan log plays exactly the event's bytes of the recording.
        bool playEnabled = false;
        int64_t offset = -1;
        int64_t length = -1;
        EXPECT_TRUE(testing_support::WithModal<CDlgLogSQL>(
            [&] { s.Button(CScanSoft::kViewLog)->click(); },
            [&](CDlgLogSQL* log) {
                log->SetCurrentRow(1);
                playEnabled = log->PlayEnabled();
                log->GetDlgItemAs<QAbstractButton>(CDlgLogSQL::kPlay)->click();
                offset = bar->Engine().StartOffset();
                length = bar->Engine().BytesToPlay();
                log->close();
            }));
        EXPECT_TRUE(playEnabled);
        EXPECT_EQ(offset, lines[0].audio);
        EXPECT_EQ(length, lines[0].bytes);

        s.Set({.pause1 = "-1"});
        s.ScanOnePass();
        // Not even opened: the first scan's line stays, nothing joins it.
        EXPECT_EQ(ReadLog(s.LogPath()).size(), 1u) << testing_support::GetFile(s.LogPath());
        for (const MessageBoxRequest& box : f.boxes)
            ADD_FAILURE() << "message: " << box.text;
        w.CloseProgram();
    }));
}

// Pause 1 = 0: a signal that drops out for less than Pause 2 is one event. The drop-out lasts
// as long as the scan takes to read the squelch closed and then open again, far below Pause 2.
TEST(ScanSoftPage, DropOutShorterThanPause2IsOneEvent)
{
    WindowFixture f;
    Prepare(f);
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        SoftScan s(f, w);
        ASSERT_TRUE(Ready(w));
        s.Sim("squelch 100");
        s.Sim("signal 7049000 7051000 200");
        s.Set({.pause1 = "0", .pause2 = "60000"});
        const radio::RadioState& st = w.Controller().State();
        int phase = 0;
        std::size_t dropped = 0;
        const int64_t first = s.Page()->StepsDone();
        s.Scan([&] {
            if (phase == 0 && s.OpenAtSignal(first)) {
                s.Sim("signals clear");
                dropped = f.Trace().size();
                ++phase;
            } else if (phase == 1 && !st.squelchOpen) {
                s.Sim("signal 7049000 7051000 200");
                ++phase;
            } else if (phase == 2 && st.squelchOpen) {
                ++phase;
            }
            return phase == 3;  // the scan held through the drop-out: stop it there
        });
        EXPECT_EQ(phase, 3);
        // Never tuned away from the signal.
        EXPECT_TRUE(ScanFrames(f.Trace(), dropped).empty()) << f.Trace().substr(dropped);
        const std::vector<LogLine> lines = ReadLog(s.LogPath());
        ASSERT_EQ(lines.size(), 1u) << testing_support::GetFile(s.LogPath());
        EXPECT_EQ(lines[0].position, kSignal);
        EXPECT_EQ(lines[0].audio, -1);
        EXPECT_EQ(lines[0].bytes, 0);
        w.CloseProgram();
    }));
}

// The link drops while the scan holds on a signal: the scan stops by itself, says so, and every
// control is usable again.
TEST(ScanSoftPage, LinkDroppedDuringHoldStopsWithControlsBack)
{
    WindowFixture f;
    Prepare(f);
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        SoftScan s(f, w);
        ASSERT_TRUE(Ready(w));
        s.Sim("squelch 100");
        s.Sim("signal 7049000 7051000 200");
        s.Set({.pause1 = "0", .pause2 = "500"});
        bool dropped = false;
        const auto started = std::chrono::steady_clock::now();
        const int64_t first = s.Page()->StepsDone();
        s.Scan([&] {
            if (!dropped && s.OpenAtSignal(first)) {
                s.Sim("link off");
                dropped = true;
            }
            // Only a scan that never stops by itself is stopped here.
            return std::chrono::steady_clock::now() - started > std::chrono::seconds(40);
        });
        EXPECT_TRUE(dropped);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(40));
        EXPECT_FALSE(s.Page()->Running());
        for (int id : {CScanSoft::kStart, CScanSoft::kEnd, CScanSoft::kPause, CScanSoft::kMode,
                       CScanSoft::kStep, CScanSoft::kFilter, CScanSoft::kResume, CScanSoft::kPause1,
                       CScanSoft::kPause2, CScanSoft::kLog, CScanSoft::kViewLog,
                       CScanSoft::kMemoryMode, CScanSoft::kPreset, CScanSoft::kScanning})
            EXPECT_TRUE(s.Page()->GetDlgItem(id)->isEnabled()) << "control " << id;
        EXPECT_TRUE(w.GetDlgItem(radio::ctl::kExit)->isEnabled());
        EXPECT_EQ(s.Page()->GetDlgItemText(CScanSoft::kScanning), "Scanning");
        EXPECT_FALSE(w.Controller().State().displayNotReady);
        bool told = false;
        for (const MessageBoxRequest& box : f.boxes)
            told = told || box.text == "RTX not answering";
        EXPECT_TRUE(told);
        // The event held when the link went is still logged.
        EXPECT_EQ(ReadLog(s.LogPath()).size(), 1u);
        s.Sim("link on");
        w.CloseProgram();
    }));
}

// A sked that comes due while the scan runs ends the scan as "Stop" does, then fires: its
// frequency reaches the radio after the scan's last frame.
TEST(ScanSoftPage, DueSkedStopsTheScanThenFires)
{
    WindowFixture f;
    Prepare(f);
    testing_support::PutFile(f.folder / "Skeds.Dat", skedtest::SkedText("203001011200", "Net"));
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        SoftScan s(f, w);
        auto* skeds = qobject_cast<CSkeds*>(w.Page(CSkeds::kTemplateId));
        ASSERT_NE(skeds, nullptr);
        ASSERT_TRUE(Ready(w));
        skeds->SetCountdownStep(10);
        s.Set({.pause1 = "-1", .log = false});
        const int64_t first = s.Page()->StepsDone();
        bool due = false;
        s.Scan([&] {
            if (!due && s.Page()->StepsDone() - first >= 2) {
                due = true;
                // Minute 61 is never the clock's, which the page's own timer may have taken.
                skeds->CheckDueSked(61, "203001011200");
            }
            return false;  // only the sked stops it
        });
        EXPECT_TRUE(due);
        EXPECT_FALSE(s.Page()->Running());
        EXPECT_TRUE(s.Button(CScanSoft::kResume)->isEnabled());
        const std::size_t stopped = f.Trace().size();
        EXPECT_TRUE(PumpUntil([&] {
            return f.Trace().find("FE FE 58 E0 05 00 40 07 07 00 FD", stopped) != std::string::npos;
        })) << f.Trace().substr(stopped);
        w.CloseProgram();
    }));
}

// In memory mode the scan counts channels one by one from the start and wraps to it after the
// end; each channel is selected, made the VFO and read back.
TEST(ScanSoftPage, MemoryModeScansTheChannelsInTurn)
{
    RunPlainScans([](WindowFixture& f, CCorvaneDlg&, SoftScan& s) {
        s.Button(CScanSoft::kMemoryMode)->click();
        EXPECT_EQ(s.Page()->GetDlgItemText(CScanSoft::kStartCaption), "Start memory :");
        EXPECT_EQ(s.Page()->GetDlgItemText(CScanSoft::kMemoryMode), "Frequency Mode");
        for (int id : {CScanSoft::kMode, CScanSoft::kStep, CScanSoft::kFilter, CScanSoft::kPreset})
            EXPECT_FALSE(s.Page()->GetDlgItem(id)->isEnabled()) << "control " << id;
        s.Page()->GetDlgItemAs<CNumEdit>(CScanSoft::kStart)->SetValue(3);
        s.Page()->GetDlgItemAs<CNumEdit>(CScanSoft::kEnd)->SetValue(5);
        const std::size_t mark = f.Trace().size();
        ScanSteps(s, CScanSoft::kScanning, 5);
        std::vector<std::string> frames = ScanFrames(f.Trace(), mark);
        ASSERT_GE(frames.size(), 5u) << f.Trace().substr(mark);
        frames.resize(5);
        EXPECT_EQ(frames, (std::vector<std::string>{"ch 03", "ch 04", "ch 05", "ch 03", "ch 04"}));
        // Each selection: memory mode, memory to VFO, the frequency read.
        const std::string trace = f.Trace();
        const std::size_t at = trace.find("FE FE 58 E0 08 00 04 FD", mark);
        ASSERT_NE(at, std::string::npos);
        std::istringstream after(trace.substr(at));
        std::vector<std::string> next;
        // The polls in between left out.
        for (std::string line; next.size() < 4 && std::getline(after, line);)
            if (line.rfind("FE FE 58 E0 08 ", 0) == 0 || line == "FE FE 58 E0 0A FD"
                || line == "FE FE 58 E0 03 FD")
                next.push_back(line);
        EXPECT_EQ(next, (std::vector<std::string>{"FE FE 58 E0 08 00 04 FD", "FE FE 58 E0 08 FD",
                                                  "FE FE 58 E0 0A FD", "FE FE 58 E0 03 FD"}));
        // Back in frequency mode the range is the frequencies again.
        s.Button(CScanSoft::kMemoryMode)->click();
        EXPECT_EQ(s.Page()->GetDlgItemText(CScanSoft::kStartCaption), "Start frequency :");
        EXPECT_EQ(
            static_cast<int64_t>(s.Page()->GetDlgItemAs<CNumEdit>(CScanSoft::kStart)->GetValue()),
            kStart);
    });
}

// "Resume Scan." goes on where the radio is when that lies in the range, from the start when it
// does not, and in memory mode from the last channel scanned.
TEST(ScanSoftPage, ResumeScanGoesOnWhereTheScanWas)
{
    RunPlainScans([](WindowFixture& f, CCorvaneDlg& w, SoftScan& s) {
        radio::CRadioController& c = w.Controller();
        const struct {
            int64_t tuned;
            const char* first;
        } cases[] = {{kSignal, "05 00 00 05 07 00"}, {14200000, "05 00 00 04 07 00"}};
        const auto band = [&] { return w.GetDlgItemText(mainwnd::kBand); };
        for (const auto& k : cases) {
            c.SetFrequency(k.tuned);
            ASSERT_TRUE(c.WaitForIdle(5000));
            const std::size_t mark = f.Trace().size();
            // The band button follows the scan.
            std::string scanned;
            ScanSteps(s, CScanSoft::kResume, 2, [&] { scanned = band(); });
            EXPECT_EQ(scanned, "40 mt 7MHz") << k.tuned;
            const std::vector<std::string> frames = ScanFrames(f.Trace(), mark);
            ASSERT_FALSE(frames.empty()) << k.tuned;
            EXPECT_EQ(frames[0], k.first) << k.tuned;
        }

        s.Button(CScanSoft::kMemoryMode)->click();
        s.Page()->GetDlgItemAs<CNumEdit>(CScanSoft::kStart)->SetValue(10);
        s.Page()->GetDlgItemAs<CNumEdit>(CScanSoft::kEnd)->SetValue(20);
        ScanSteps(s, CScanSoft::kScanning, 3);
        std::size_t mark = f.Trace().size();
        const std::string trace = f.Trace();
        const std::size_t last = trace.rfind("FE FE 58 E0 08 00 ");
        ASSERT_NE(last, std::string::npos);
        const std::string lastChannel = "ch " + trace.substr(last + 18, 2);
        ScanSteps(s, CScanSoft::kResume, 2);
        const std::vector<std::string> frames = ScanFrames(f.Trace(), mark);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames[0], lastChannel);
        EXPECT_NE(lastChannel, "ch 10");

        // Audio support is off: the log does not play an event that is in the recording.
        {
            audio::WaveFileWriter writer;
            ASSERT_EQ(writer.Create(f.folder / "LogScan.Wav", audio::WaveFormat{}), 0);
            const std::vector<std::uint8_t> data(1000, 0x80);
            ASSERT_TRUE(writer.Write(data.data(), data.size()) && writer.Finish());
        }
        testing_support::PutFile(
            s.LogPath(), lists::ScanLogLineText(10, 12, 2026, 9, 30, 0, kSignal, "S9", 100, 500));
        bool playable = true;
        EXPECT_TRUE(testing_support::WithModal<CDlgLogSQL>(
            [&] { s.Button(CScanSoft::kViewLog)->click(); },
            [&](CDlgLogSQL* log) {
                playable = log->GetDlgItem(CDlgLogSQL::kPlay)->isEnabled();
                log->close();
            }));
        EXPECT_FALSE(playable);
        EXPECT_FALSE(s.Button(CScanSoft::kRecord)->isEnabled());
    });
}
