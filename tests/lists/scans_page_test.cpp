// The scans in the real main window against the simulated radio's driver: what the radio-scan
// page sends and what the radio then does, the preset dialog through to its file, and the scan
// log's playback guard and print.
#include "WindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "DataGrid.h"
#include "DlgLogSQL.h"
#include "FlatButton.h"
#include "NumEdit.h"
#include "PrintDialogs.h"
#include "ProgramFolder.h"
#include "RadioController.h"
#include "ScanPage.h"
#include "ScanPresetDlg.h"
#include "ScansPart.h"
#include "TuningPart.h"
#include "WaveFile.h"
#include "AudioRecorder.h"
#include "AudioRecorderPart.h"
#include "ScanFiles.h"
#include "TestWaveSystem.h"

using namespace wndtest;

namespace {

// The frames the program sent from `from` on, without FE FE, addresses and FD, leaving out the
// reads that polling sends on its own.
std::vector<std::string> SentFrames(const std::string& trace, std::size_t from)
{
    std::vector<std::string> frames;
    std::istringstream lines(trace.substr(std::min(from, trace.size())));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("FE FE 58 E0 ", 0) != 0 || line.size() < 17)
            continue;
        const std::string body = line.substr(12, line.size() - 12 - 3);
        const std::string command = body.substr(0, 2);
        if (command == "03" || command == "04" || command == "15" || command == "02"
            || command == "19" || command == "16" || command == "11" || command == "0C")
            continue;
        frames.push_back(body);
    }
    return frames;
}

struct ScanRun {
    WindowFixture& f;
    CCorvaneDlg& w;
    CScan* page;

    ScanRun(WindowFixture& fixture, CCorvaneDlg& window)
        : f(fixture), w(window), page(w.findChild<CScan*>())
    {
    }
    void Range(double start, double end, const char* mode, const char* step)
    {
        page->GetDlgItemAs<CNumEdit>(CScan::kStart)->SetValue(start);
        page->GetDlgItemAs<CNumEdit>(CScan::kEnd)->SetValue(end);
        auto* modes = page->GetDlgItemAs<QComboBox>(CScan::kMode);
        modes->setCurrentIndex(modes->findText(mode));
        auto* steps = page->GetDlgItemAs<QComboBox>(CScan::kStep);
        steps->setCurrentIndex(steps->findText(step));
    }
    void Click(int id) { page->GetDlgItemAs<QPushButton>(id)->click(); }
    bool Enabled(int id) { return page->GetDlgItem(id)->isEnabled(); }
    void Sim(const std::string& line)
    {
        char reply[256];
        ASSERT_EQ(f.SimRadioControl()(line.c_str(), reply, sizeof reply), 1) << line;
    }
};

// Runs `steps` on the modal dialog of type T as soon as it is up.
template <class T>
void OnModal(std::function<void(T&)> steps)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        steps(*dialog);
    });
    poll->start();
}

// Past the size any list file is read up to.
constexpr std::uintmax_t kOverCap = 68u << 20;

}  // namespace

TEST(ScanPage, BandScanProgramsTheEdgesAndTheRadioStopsOnASignal)
{
    WindowFixture f;
    std::size_t closing = 0;
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            ScanRun run(f, w);
            ASSERT_NE(run.page, nullptr);
            radio::CRadioController& c = w.Controller();
            ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
            ASSERT_TRUE(c.WaitForIdle(5000));

            // Refused ranges send nothing and leave every control as it was.
            run.Range(7100000, 7000000, "LSB", "1 KHz");
            std::size_t from = f.Trace().size();
            run.Click(CScan::kScanning);
            EXPECT_EQ(f.boxes.size(), 1u);
            EXPECT_TRUE(run.Enabled(CScan::kScanning));
            EXPECT_TRUE(run.Enabled(CScan::kResume));
            EXPECT_FALSE(run.Enabled(CScan::kStop));
            run.Range(7000000, 7000000, "LSB", "1 KHz");
            run.Click(CScan::kScanning);
            run.Range(10000, 7000000, "LSB", "1 KHz");
            run.Click(CScan::kScanning);
            ASSERT_EQ(f.boxes.size(), 3u);
            EXPECT_EQ(f.boxes[1].text, "The end scan must be higher than the start scan");
            EXPECT_EQ(f.boxes[2].text, "Scan start out of limits : 30000Hz - 469999999Hz");
            EXPECT_TRUE(c.WaitForIdle(3000));
            EXPECT_EQ(SentFrames(f.Trace(), from), std::vector<std::string>{});

            run.Sim("signal 7050000 7050000 120");
            run.Range(7000000, 7100000, "LSB", "1 KHz");
            from = f.Trace().size();
            run.Click(CScan::kScanning);
            ASSERT_TRUE(c.WaitForIdle(5000));
            const std::vector<std::string> expected{
                "08",   "08 01 00", "06 00 01", "05 00 00 00 07 00", "0B",
                "09",   "08 01 01", "06 00 01", "05 00 00 10 07 00", "0B",
                "09",   "07",       "06 00 01", "05 00 00 00 07 00", "10 02",
                "0E 01"};
            EXPECT_EQ(SentFrames(f.Trace(), from), expected);
            EXPECT_FALSE(run.Enabled(CScan::kScanning));
            EXPECT_FALSE(run.Enabled(CScan::kResume));
            EXPECT_TRUE(run.Enabled(CScan::kStop));

            // The radio scans on its own and stops where the squelch opens.
            char state[512];
            ASSERT_TRUE(PumpUntil([&] {
                f.SimRadioControl()("state", state, sizeof state);
                return std::string(state).find("scanning=0") != std::string::npos;
            }));
            EXPECT_NE(std::string(state).find("7050000"), std::string::npos) << state;
            run.Click(CScan::kStop);
            EXPECT_TRUE(PumpUntil([&] { return c.State().frequencyHz == 7050000; }));
            EXPECT_TRUE(run.Enabled(CScan::kScanning));
            EXPECT_TRUE(run.Enabled(CScan::kResume));
            EXPECT_FALSE(run.Enabled(CScan::kStop));

            // A memory scan only switches to the channels, sets the step and starts.
            ASSERT_TRUE(c.WaitForIdle(5000));
            run.page->GetDlgItemAs<QCheckBox>(CScan::kMemories)->click();
            EXPECT_FALSE(run.Enabled(CScan::kStart));
            EXPECT_FALSE(run.Enabled(CScan::kPreset));
            run.Range(0, 0, "LSB", "1 KHz");
            from = f.Trace().size();
            run.Click(CScan::kScanning);
            ASSERT_TRUE(c.WaitForIdle(5000));
            const std::vector<std::string> memory{"08", "10 02", "0E 01"};
            EXPECT_EQ(SentFrames(f.Trace(), from), memory);
            EXPECT_EQ(f.boxes.size(), 3u);

            // The program ends while the radio scans a band: the scan is stopped first. WFM
            // goes out with the wide filter whatever the filter button showed.
            run.page->GetDlgItemAs<QCheckBox>(CScan::kMemories)->click();
            auto* filter = run.page->GetDlgItemAs<COnOffButton>(CScan::kFilter);
            filter->SetOn(true);
            run.Range(88000000, 88500000, "WFM", "100 KHz");
            from = f.Trace().size();
            run.Click(CScan::kScanning);
            ASSERT_TRUE(c.WaitForIdle(5000));
            const std::vector<std::string> sent = SentFrames(f.Trace(), from);
            EXPECT_EQ(std::count(sent.begin(), sent.end(), "06 06 01"), 3) << sent.size();
            EXPECT_FALSE(filter->IsOn());
            EXPECT_TRUE(run.Enabled(CScan::kStop));
            closing = f.Trace().size();
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeScansPart});
    EXPECT_TRUE(ran);
    EXPECT_EQ(SentFrames(f.Trace(), closing), std::vector<std::string>{"0E 00"});
}

TEST(ScanPresets, TheTableItsSortAndItsFile)
{
    WindowFixture f;
    const std::string file = f.folder / "ScanPreset.Dat";
    testing_support::PutFile(file,
                             "Forty ~ 7000000 ~ 7100000 ~ LSB ~ OFF ~ 10 KHz ~ \n"
                             "Fine ~ 7000000 ~ 7010000 ~ CW ~ ON ~ 10 Hz ~ \r\n"
                             "Mid ~ 14000000 ~ 14100000 ~ USB ~ OFF ~ 100 Hz ~ \n");
    // A stored sort column that is none of the six sorts by the start.
    testing_support::PutFile(f.folder / "Corvane.ini",
                             f.Ini() + "\n[Scanner]\nPresetColonnaOrdinamento=9\n");
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            std::optional<scans::ScanPresetChoice> choice;
            OnModal<CScanPreset>([&](CScanPreset& d) {
                std::vector<lists::ScanPresetCells> rows = d.Rows();
                ASSERT_EQ(rows.size(), 3u);
                EXPECT_EQ(rows[2][0], "Mid");  // by start: 14 MHz last
                EXPECT_EQ(d.SelectedRow(), 1);
                // Steps sort by their hertz, not their digits.
                d.SortByColumn(5, 1);
                rows = d.Rows();
                EXPECT_EQ(rows[0][5], "10 Hz");
                EXPECT_EQ(rows[1][5], "100 Hz");
                EXPECT_EQ(rows[2][5], "10 KHz");

                // Save replaces the preset whose description differs only in case.
                d.SetDlgItemText(CScanPreset::kDescription, "  FORTY~M ");
                d.GetDlgItemAs<CNumEdit>(CScanPreset::kStart)->SetValue(7000000);
                d.GetDlgItemAs<CNumEdit>(CScanPreset::kEnd)->SetValue(7200000);
                d.GetDlgItemAs<QPushButton>(CScanPreset::kSave)->click();
                EXPECT_EQ(d.Rows().size(), 4u);  // "FORTY M" is a new one
                d.SetDlgItemText(CScanPreset::kDescription, "FORTY");
                d.GetDlgItemAs<QPushButton>(CScanPreset::kSave)->click();
                rows = d.Rows();
                ASSERT_EQ(rows.size(), 4u);
                int forty = 0;
                for (const auto& r : rows)
                    if (r[0] == "FORTY") {
                        ++forty;
                        EXPECT_EQ(r[2], "7.200.000");
                    }
                EXPECT_EQ(forty, 1);
                // An end below the start is refused and changes nothing.
                d.GetDlgItemAs<CNumEdit>(CScanPreset::kEnd)->SetValue(6000000);
                d.GetDlgItemAs<QPushButton>(CScanPreset::kSave)->click();
                EXPECT_EQ(f.boxes.back().text, "The end scan must be higher than the start scan");
                d.GetDlgItemAs<CNumEdit>(CScanPreset::kEnd)->SetValue(7200000);
                d.GetDlgItemAs<QPushButton>(CScanPreset::kSelect)->click();
            });
            choice = scans::RunScanPresetDialog(w, &w, file);
            ASSERT_TRUE(choice.has_value());
            EXPECT_EQ(choice->start, 7000000);
            EXPECT_EQ(choice->end, 7200000);
            const std::string text = testing_support::GetFile(file);
            EXPECT_NE(text.find("FORTY M ~ 7.000.000 ~ 7.200.000 ~ "), std::string::npos) << text;
            EXPECT_EQ(text.find("Forty"), std::string::npos) << text;
            EXPECT_NE(f.Ini().find("PresetColonnaOrdinamento=5"), std::string::npos);

            // An empty table selects nothing; Esc writes nothing.
            const std::string noRow = "no separator here\r\n\n";
            testing_support::PutFile(file, noRow);
            OnModal<CScanPreset>([&](CScanPreset& d) {
                EXPECT_EQ(d.SelectedRow(), -1);
                EXPECT_EQ(d.Rows().size(), 0u);
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&d, &esc);
            });
            EXPECT_FALSE(scans::RunScanPresetDialog(w, &w, file).has_value());
            EXPECT_EQ(testing_support::GetFile(file), noRow);

            // A change is written at Abort; a row without description and the lines that are
            // no row stay.
            testing_support::PutFile(file, noRow + " ~ 1 ~ 2 ~ FM ~ OFF ~ 5 KHz ~ \n"
                                               + "Short ~ 7000000 ~ 7100000 ~ \n");
            OnModal<CScanPreset>([&](CScanPreset& d) {
                ASSERT_EQ(d.Rows().size(), 2u);
                d.SetDlgItemText(CScanPreset::kDescription, "Short");
                d.GetDlgItemAs<QPushButton>(CScanPreset::kDelete)->click();
                d.GetDlgItemAs<QPushButton>(CScanPreset::kAbort)->click();
            });
            EXPECT_FALSE(scans::RunScanPresetDialog(w, &w, file).has_value());
            EXPECT_EQ(testing_support::GetFile(file),
                      " ~ 1 ~ 2 ~ FM ~ OFF ~ 5 KHz ~ \nno separator here\n");

            // Too large to read: told at opening and again when a change cannot be saved; the
            // file stays as it was.
            const std::string head = "Forty ~ 7000000 ~ 7100000 ~ LSB ~ OFF ~ 10 KHz ~ \n";
            testing_support::PutFile(file, head);
            fs::resize_file(file, kOverCap);
            f.boxes.clear();
            OnModal<CScanPreset>([&](CScanPreset& d) {
                EXPECT_EQ(d.Rows().size(), 0u);
                d.SetDlgItemText(CScanPreset::kDescription, "Forty");
                d.GetDlgItemAs<CNumEdit>(CScanPreset::kStart)->SetValue(7000000);
                d.GetDlgItemAs<CNumEdit>(CScanPreset::kEnd)->SetValue(7100000);
                d.GetDlgItemAs<QPushButton>(CScanPreset::kSave)->click();
                EXPECT_EQ(d.Rows().size(), 1u);
                d.GetDlgItemAs<QPushButton>(CScanPreset::kSelect)->click();
            });
            EXPECT_TRUE(scans::RunScanPresetDialog(w, &w, file).has_value());
            const std::string told =
                "Unable to save the file : " + file + ": The file is too large";
            ASSERT_EQ(f.boxes.size(), 2u);
            for (const MessageBoxRequest& box : f.boxes)
                EXPECT_EQ(box.text.rfind(told, 0), 0u) << box.text;
            EXPECT_EQ(fs::file_size(file), kOverCap);
            EXPECT_TRUE(testing_support::GetFile(file)
                        == head + std::string(kOverCap - head.size(), '\0'));
            w.CloseProgram();
        },
        {}, {MakeTuningPart, MakeScansPart});
    EXPECT_TRUE(ran);
}

TEST(ScanLog, PlayOnlyWithinTheRecordingAndThePrintHoldsTheTitle)
{
    audio::TestClock clock;  // outlives the devices that use it
    WindowFixture f;
    // A WAV of 1000 data bytes after its 44-byte header.
    {
        audio::WaveFileWriter writer;
        audio::WaveFormat format;
        ASSERT_EQ(writer.Create(f.folder / "LogScan.Wav", format), 0);
        std::vector<std::uint8_t> data(1000, 0x80);
        ASSERT_TRUE(writer.Write(data.data(), data.size()));
        ASSERT_TRUE(writer.Finish());
    }
    audio::WaveLayout layout;
    ASSERT_EQ(audio::ReadWaveLayout(f.folder / "LogScan.Wav", layout), 0);
    const long long start = layout.dataStart;
    const std::string log = f.folder / "LogSQL.Dat";
    testing_support::PutFile(
        log, lists::ScanLogLineText(10, 12, 2026, 9, 30, 0, 7050000, "S9", start, 500)
                 + lists::ScanLogLineText(10, 12, 2026, 9, 31, 0, 7060000, "S5", start + 600, 500)
                 + lists::ScanLogLineText(10, 12, 2026, 9, 32, 0, 12, "S3", -1, 0)
                 + "garbage without separator\n");
    audio::TestWaveSystem* devices = nullptr;
    MainWindowPartList parts{MakeTuningPart, MakeScansPart, [&](IMainWindowServices& s) {
                                 auto owned = std::make_unique<audio::TestWaveSystem>();
                                 devices = owned.get();
                                 return MakeAudioRecorderPartOver(s, std::move(owned));
                             }};
    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            CAudioRecorder* recorder = scans::FindAudioRecorder(w);
            ASSERT_NE(recorder, nullptr);
            CDlgLogSQL dialog(w, log, f.folder / "LogScan.Wav", {0, false}, recorder);
            dialog.SetOwner(&w);
            QTimer::singleShot(50, [&] {
                CDataGrid& g = dialog.Grid();
                ASSERT_EQ(g.GetRowCount(), 4);
                EXPECT_EQ(g.GetItemText(1, CDlgLogSQL::kPosition), "7.050.000");
                EXPECT_EQ(g.GetItemText(1, CDlgLogSQL::kSignal), "S9");
                // Read-only: the cells feed the playback offsets.
                g.SetFocusCell(1, CDlgLogSQL::kAudio);
                EXPECT_FALSE(g.IsCellEditable(1, CDlgLogSQL::kAudio));

                // Inside the data plays, past its end or unrecorded does not.
                EXPECT_TRUE(dialog.PlayEnabled());
                dialog.SetCurrentRow(2);
                EXPECT_FALSE(dialog.PlayEnabled());
                EXPECT_FALSE(dialog.GetDlgItem(CDlgLogSQL::kPlay)->isEnabled());
                dialog.SetCurrentRow(3);
                EXPECT_FALSE(dialog.PlayEnabled());
                dialog.SetCurrentRow(1);
                dialog.GetDlgItemAs<QPushButton>(CDlgLogSQL::kPlay)->click();
                EXPECT_TRUE(PumpUntil([&] {
                    return dialog.GetDlgItemText(CDlgLogSQL::kPlay) == "Play"
                           && !recorder->Playing();
                }));
                EXPECT_EQ(devices->Output(-1).bytes.size(), 500u);

                const std::string pdf = f.folder / "log.pdf";
                {
                    testing_support::PrintDialogs dialogs([&](const std::string&) { return pdf; });
                    dialog.GetDlgItemAs<QPushButton>(CDlgLogSQL::kPrint)->click();
                    ASSERT_EQ(dialogs.Offered().size(), 1u);
                    EXPECT_EQ(platform::BaseName(dialogs.Offered()[0]), "LogSQL.pdf");
                }
                const std::string txt = f.folder / "log.txt";
                ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + txt + "'").c_str()), 0);
                const std::string printed = testing_support::GetFile(txt);
                EXPECT_EQ(dialog.PrintTitle(), w.windowTitle().toStdString() + "  ----  ScanLog");
                // The text extraction folds runs of blanks.
                const auto fold = [](std::string t) {
                    std::string out;
                    for (char ch : t)
                        if (ch != ' ' || out.empty() || out.back() != ' ')
                            out += ch;
                    return out;
                };
                EXPECT_NE(printed.find(fold(dialog.PrintTitle())), std::string::npos) << printed;
                EXPECT_NE(printed.find("7.060.000"), std::string::npos);

                // A playback the recorder runs for itself: the log's Play stops it, so does Close.
                devices->SetClock(&clock);
                const auto playOwn = [&] {
                    return recorder->TogglePlayback(std::nullopt, true, "LogScan.Wav",
                                                    f.folder.path);
                };
                EXPECT_EQ(playOwn(), 0);
                dialog.GetDlgItemAs<QPushButton>(CDlgLogSQL::kPlay)->click();
                EXPECT_FALSE(recorder->Playing());
                EXPECT_EQ(dialog.GetDlgItemText(CDlgLogSQL::kPlay), "Play");
                EXPECT_EQ(playOwn(), 0);
                EXPECT_TRUE(recorder->Playing());
                dialog.GetDlgItemAs<QPushButton>(ctl::kIdCancel)->click();
                EXPECT_FALSE(recorder->Playing());
            });
            dialog.DoModal();
            w.CloseProgram();
        },
        {}, parts);
    EXPECT_TRUE(ran);
}
