// The recorder bar on the test device: "AUTO" names every recording afresh, recording and
// playback refuse each other for every caller, a caller's playback leaves the bar's file and the
// recording format alone, and with "Record only if SQL OFF" the squelch pauses and resumes a
// recording.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>

#include <sys/stat.h>

#include "AudioRecorder.h"
#include "CustomControls.h"
#include "FormatTable.h"
#include "Ini.h"
#include "MessagePump.h"
#include "Profile.h"
#include "TempDir.h"
#include "TestWaveSystem.h"
#include "WindowMessages.h"

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "recorder_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        // The bar's flat check buttons are the program's own class, as in the program.
        RegisterCustomControls();
        return a;
    }();
    return *app;
}

struct Host : IRecorderHost {
    bool DriverAudio() const override { return false; }
    bool ExtendedFunctions() const override { return true; }
    void PauseDriverAudio(bool) override {}
    bool RunAudioSettings(QWidget*) override { return false; }
};

struct Bar {
    testing_support::TempDir dir{"corvane-recorder"};
    Host host;
    CIni ini;
    Profile registry{dir / "registry.ini"};
    std::shared_ptr<audio::TestWaveSystem> devices = std::make_shared<audio::TestWaveSystem>();
    std::unique_ptr<CAudioRecorder> bar;

    Bar()
    {
        App();
        ini.SetPath((dir / "Corvane.ini").c_str());
        registry.Write(settings::reg::AudioFolder, dir.path);
        bar = std::make_unique<CAudioRecorder>(host, ini, registry, devices);
        bar->Create(CAudioRecorder::kTemplateId, nullptr);
        bar->SetClock([] { return std::time_t{1700000000}; });
    }
    void Pump(int n = 20)
    {
        for (int i = 0; i < n; ++i)
            platform::PumpMessages();
    }
    // Records a little through the record button and stops.
    std::string RecordOnce()
    {
        EXPECT_EQ(bar->PressRecord(true), 0);
        Pump();
        EXPECT_EQ(bar->PressRecord(false), 0);
        Pump();
        return bar->RecordedPath();
    }
    static bool Exists(const std::string& path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && st.st_size > 44;
    }
};

}  // namespace

TEST(RecorderBar, AutoGivesEveryRecordingAFreshName)
{
    Bar b;
    const std::string first = b.RecordOnce();
    const std::string second = b.RecordOnce();
    EXPECT_NE(first, second);
    EXPECT_TRUE(Bar::Exists(first));
    EXPECT_TRUE(Bar::Exists(second));
    // A typed name is used as it stands, with the extension it lacked.
    b.bar->SetDlgItemText(CAudioRecorder::kFile, "mine");
    const std::string typed = b.RecordOnce();
    EXPECT_EQ(typed, b.dir / "mine.WAV");
    EXPECT_TRUE(Bar::Exists(typed));
}

TEST(RecorderBar, RecordingAndPlaybackRefuseEachOtherForEveryCaller)
{
    audio::TestClock clock;  // outlives the devices that use it
    Bar b;
    const std::string file = b.RecordOnce();
    ASSERT_TRUE(Bar::Exists(file));
    const std::string name = file.substr(file.rfind('/') + 1);

    // A paced output keeps the playback running.
    b.devices->SetClock(&clock);
    ASSERT_EQ(b.bar->TogglePlayback(std::nullopt, true, name, b.dir.path), 0);
    EXPECT_EQ(b.bar->ToggleRecording(true, "other.wav", b.dir.path, false),
              CAudioRecorder::kAlreadyRecording);
    EXPECT_NE(b.bar->PressRecord(true), 0);
    EXPECT_TRUE(b.bar->Playing());
    EXPECT_FALSE(Bar::Exists(b.dir / "other.wav"));
    b.bar->TogglePlayback(std::nullopt, false, {}, {});
    b.Pump();

    ASSERT_EQ(b.bar->ToggleRecording(true, "rec.wav", b.dir.path, false), 0);
    EXPECT_EQ(b.bar->TogglePlayback(std::nullopt, true, name, b.dir.path),
              CAudioRecorder::kAlreadyPlaying);
    EXPECT_NE(b.bar->PressPlay(true), 0);
    EXPECT_TRUE(b.bar->Recording());
    b.bar->ToggleRecording(false, {}, {}, false);
}

TEST(RecorderBar, ACallersPlaybackLeavesTheBarsFileAndFormat)
{
    Bar b;
    const audio::WaveFormat format = audio::MakeFormat(audio::Coding::Pcm16, 1, 8000);
    ASSERT_TRUE(b.bar->Engine().SetFormat(format));
    // A phrase in another format, played by another part.
    {
        ASSERT_EQ(b.bar->ToggleRecording(true, "phrase.wav", b.dir.path, false), 0);
        b.Pump();
        b.bar->ToggleRecording(false, {}, {}, false);
        b.Pump();
    }
    ASSERT_TRUE(b.bar->Engine().SetFormat(audio::MakeFormat(audio::Coding::Mulaw, 1, 11025)));
    const std::string fileBefore = b.bar->FileName();
    const std::string folderBefore = b.bar->Folder();
    ASSERT_EQ(b.bar->TogglePlayback(b.bar->Poster(), true, "phrase.wav", b.dir.path), 0);
    b.Pump(200);
    EXPECT_FALSE(b.bar->Playing());
    EXPECT_EQ(b.bar->FileName(), fileBefore);
    EXPECT_EQ(b.bar->Folder(), folderBefore);
    EXPECT_EQ(b.bar->Engine().Format(), audio::MakeFormat(audio::Coding::Mulaw, 1, 11025));
}

TEST(RecorderBar, TheSquelchPausesARecordingOnlyWithRecordOnlyIfSqlOff)
{
    audio::TestClock clock;
    Bar b;
    b.devices->SetClock(&clock);
    ASSERT_EQ(b.bar->PressRecord(true), 0);
    b.bar->Poster().Post(msg::kSquelchClosed, 0, 0);
    b.Pump();
    EXPECT_FALSE(b.bar->Paused());

    b.bar->GetDlgItemAs<QCheckBox>(CAudioRecorder::kRecSql)->setChecked(true);
    b.bar->Poster().Post(msg::kSquelchClosed, 0, 0);
    b.Pump();
    EXPECT_TRUE(b.bar->Paused());
    EXPECT_TRUE(b.bar->Engine().RecordingPaused());
    b.bar->Poster().Post(msg::kSquelchOpened, 0, 0);
    b.Pump();
    EXPECT_FALSE(b.bar->Paused());
    EXPECT_FALSE(b.bar->Engine().RecordingPaused());
    b.bar->PressRecord(false);
    b.Pump();
}
