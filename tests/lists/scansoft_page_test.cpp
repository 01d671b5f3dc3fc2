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
#include "WaveEngine.h"
#include "RadioController.h"
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

void Prepare(WindowFixture& f)
{
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.WriteInt("ScannerSoft", "FrStart", kStart);
    ini.WriteInt("ScannerSoft", "FrStop", kEnd);
    ini.WriteInt("ScannerSoft", "TimeSQL1", 0);
    ini.WriteInt("Setup", "DelayCommand", 100);
    ini.WriteInt("AudioRecorder", "Abilitato", 1);
    ini.WriteString("ScannerSoft", "Modo", "USB");
    ini.WriteString("ScannerSoft", "Step", "5 KHz");
}

bool Ready(CCorvaneDlg& w)
{
    return PumpUntil([&] { return w.Controller().State().frequencyKnown; });
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
        s.ScanOnePass();
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
        QTimer::singleShot(200, [&] {
            auto* log = qobject_cast<CDlgLogSQL*>(QApplication::activeModalWidget());
            if (log == nullptr)
                return;
            log->SetCurrentRow(1);
            playEnabled = log->PlayEnabled();
            log->GetDlgItemAs<QAbstractButton>(CDlgLogSQL::kPlay)->click();
            const audio::WaveEngine& engine =
                qobject_cast<CAudioRecorder*>(w.ToolWindow(CAudioRecorder::kTemplateId))->Engine();
            offset = engine.StartOffset();
            length = engine.BytesToPlay();
            log->close();
        });
        s.Button(CScanSoft::kViewLog)->click();
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

// Pause 1 = 0, Pause 2 = 2000: a signal that drops out for a second is one event.
TEST(ScanSoftPage, DropOutShorterThanPause2IsOneEvent)
{
    WindowFixture f;
    Prepare(f);
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        SoftScan s(f, w);
        ASSERT_TRUE(Ready(w));
        s.Sim("squelch 100");
        s.Sim("signal 7049000 7051000 200");
        s.Set({.pause1 = "0", .pause2 = "2000"});
        using Clock = std::chrono::steady_clock;
        std::optional<Clock::time_point> opened;
        int phase = 0;
        const int64_t first = s.Page()->StepsDone();
        s.ScanOnePass([&] {
            if (!opened && s.OpenAtSignal(first))
                opened = Clock::now();
            if (!opened)
                return;
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *opened)
                    .count();
            if (phase == 0 && ms > 500) {
                s.Sim("signals clear");
                ++phase;
            } else if (phase == 1 && ms > 1500) {
                s.Sim("signal 7049000 7051000 200");
                ++phase;
            } else if (phase == 2 && ms > 2000) {
                s.Sim("signals clear");
                ++phase;
            }
        });
        EXPECT_EQ(phase, 3);
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
