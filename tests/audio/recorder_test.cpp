// The recorder bar on the test device: "AUTO" names every recording afresh, recording and
// playback refuse each other for every caller, a caller's playback leaves the bar's file and the
// recording format alone, with "Record only if SQL OFF" the squelch pauses and resumes a
// recording, the driver's audio records with no sound card and a start that cannot run says
// why, a click on the slider plays on from the place chosen, and a hidden bar keeps its place;
// the audio settings dialog refuses what it cannot use and writes only on OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QStyleFactory>

#include <sys/stat.h>

#include "AudioRecorder.h"
#include "AudioSet.h"
#include "CustomControls.h"
#include "FlatButton.h"
#include "FormatTable.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "MessagePump.h"
#include "Profile.h"
#include "SkinSlider.h"
#include "TempDir.h"
#include "TestWaveSystem.h"
#include "WaveFile.h"
#include "WindowMessages.h"
#include "widgets_support.h"

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
    bool driverAudio = false;
    bool DriverAudio() const override { return driverAudio; }
    bool ExtendedFunctions() const override { return true; }
    void PauseDriverAudio(bool) override {}
    bool RunAudioSettings(QWidget*) override { return false; }
};

struct Bar {
    testing_support::TempDir dir{"corvane-recorder"};
    Host host;
    CIni ini;
    Profile registry{dir / "registry.ini"};
    CLanguage language;
    std::vector<MessageBoxRequest> boxes;
    std::shared_ptr<audio::TestWaveSystem> devices;
    std::unique_ptr<CAudioRecorder> bar;

    explicit Bar(
        std::shared_ptr<audio::TestWaveSystem> system = std::make_shared<audio::TestWaveSystem>())
        : devices(std::move(system))
    {
        App();
        language.SetMessageBoxSink([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return mb::kIdOk;
        });
        framework::SetLanguage(&language);
        ini.SetPath((dir / "Corvane.ini").c_str());
        registry.Write(settings::reg::AudioFolder, dir.path);
        bar = std::make_unique<CAudioRecorder>(host, ini, registry, devices);
        bar->Create(CAudioRecorder::kTemplateId, nullptr);
        bar->SetClock([] { return std::time_t{1700000000}; });
    }
    ~Bar()
    {
        bar.reset();
        framework::SetLanguage(nullptr);
    }
    // The user's click on one of the bar's buttons.
    void Click(int id) { bar->GetDlgItemAs<CFlatButton>(id)->click(); }
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

TEST(RecorderBar, TheDriversAudioRecordsWithNoSoundCardAndAStartThatCannotRunSaysWhy)
{
    Bar b(std::make_shared<audio::TestWaveSystem>(std::vector<std::string>{},
                                                  std::vector<std::string>{}));
    b.host.driverAudio = true;
    b.Click(CAudioRecorder::kRecord);
    ASSERT_TRUE(b.bar->Recording());
    EXPECT_TRUE(b.boxes.empty());
    // Two seconds of the driver's samples in the default format (11025 bytes a second).
    const std::vector<std::uint8_t> second(11025, 0x40);
    b.bar->WriteDriverAudio(static_cast<std::uint32_t>(second.size()), second.data());
    b.bar->WriteDriverAudio(static_cast<std::uint32_t>(second.size()), second.data());
    b.bar->OnTimerUpdate();
    EXPECT_EQ(b.bar->GetDlgItemText(CAudioRecorder::kTime), "0:00:02");
    b.Click(CAudioRecorder::kRecord);
    b.Pump();
    ASSERT_FALSE(b.bar->Recording());
    audio::WaveLayout layout;
    ASSERT_EQ(audio::ReadWaveLayout(b.bar->RecordedPath(), layout), 0);
    EXPECT_EQ(layout.dataSize, 2 * second.size());

    // Without the driver's audio this machine has nothing to record from.
    b.host.driverAudio = false;
    b.Click(CAudioRecorder::kRecord);
    EXPECT_FALSE(b.bar->Recording());
    EXPECT_FALSE(b.bar->GetDlgItemAs<CFlatButton>(CAudioRecorder::kRecord)->GetCheck());
    ASSERT_EQ(b.boxes.size(), 1u);
    EXPECT_EQ(b.boxes[0].text,
              "Error 1 from audio device\nthe default sound input device cannot "
              "record: there is no sound input device");

    // A folder that cannot take the file: the file and the cause are named.
    b.host.driverAudio = true;
    const std::string missing = b.dir / "gone";
    b.registry.Write(settings::reg::AudioFolder, missing);
    b.bar->LoadSettings();
    b.Click(CAudioRecorder::kRecord);
    EXPECT_FALSE(b.bar->Recording());
    ASSERT_EQ(b.boxes.size(), 2u);
    EXPECT_NE(b.boxes[1].text.find("Error 21 from audio device\nthe file \"" + missing + "/"),
              std::string::npos)
        << b.boxes[1].text;
    EXPECT_NE(b.boxes[1].text.find("No such file or directory"), std::string::npos);

    // So does a playback of a file that is not there.
    b.bar->SetDlgItemText(CAudioRecorder::kFile, "absent.wav");
    b.Click(CAudioRecorder::kPlay);
    EXPECT_FALSE(b.bar->Playing());
    ASSERT_EQ(b.boxes.size(), 3u);
    EXPECT_EQ(b.boxes[2].text, "Error 1 from audio device\nthe file \"" + missing
                                   + "/absent.wav\" cannot be opened: No such file or directory");
}

TEST(RecorderBar, AClickOnTheSliderPlaysOnFromThePlaceChosen)
{
    audio::TestClock clock;
    Bar b;
    // The style whose track click is a page step that neither presses nor releases the thumb.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    const std::string file = b.RecordOnce();
    ASSERT_TRUE(Bar::Exists(file));
    b.devices->SetClock(&clock);
    b.bar->resize(600, b.bar->height());
    b.bar->show();
    b.Click(CAudioRecorder::kPlay);
    ASSERT_TRUE(b.bar->Playing());
    auto* slider = b.bar->GetDlgItemAs<CMySlider>(CAudioRecorder::kSlider);
    const double end = slider->maximum();
    const int y = slider->height() / 2;
    const auto place = [&] { return b.bar->Engine().GetPositionBytes() / end; };

    // A click on the track, three quarters along.
    ctltest::Click(slider, Qt::LeftButton, {slider->width() * 3 / 4, y});
    b.Pump();
    EXPECT_TRUE(b.bar->Playing());
    EXPECT_FALSE(b.bar->Paused());
    EXPECT_NEAR(place(), 0.75, 0.1);
    const std::int64_t from = b.bar->Engine().GetPositionBytes();
    clock.Advance(200);
    b.Pump();
    EXPECT_GT(b.bar->Engine().GetPositionBytes(), from);

    // The thumb dragged back to a quarter.
    const QPoint thumb(static_cast<int>(slider->width() * place()), y);
    ctltest::Mouse(slider, QEvent::MouseButtonPress, Qt::LeftButton, thumb);
    b.Pump();
    EXPECT_TRUE(b.bar->Paused());
    ctltest::Mouse(slider, QEvent::MouseMove, Qt::LeftButton, {slider->width() / 4, y});
    ctltest::Mouse(slider, QEvent::MouseButtonRelease, Qt::LeftButton, {slider->width() / 4, y});
    b.Pump();
    EXPECT_TRUE(b.bar->Playing());
    EXPECT_FALSE(b.bar->Paused());
    EXPECT_NEAR(place(), 0.25, 0.1);
    b.Click(CAudioRecorder::kPlay);
    EXPECT_FALSE(b.bar->Playing());
}

TEST(RecorderBar, AHiddenBarKeepsThePlaceItHad)
{
    Bar b;
    // Never shown: no place to keep.
    b.bar->SaveWindowPos();
    EXPECT_FALSE(b.registry.GetRect(settings::reg::AudioRecorderRect));
    b.bar->show();
    b.bar->move(140, 90);
    b.Pump();
    b.registry.DeleteRect(settings::reg::AudioRecorderRect);
    b.bar->hide();
    const auto rect = b.registry.GetRect(settings::reg::AudioRecorderRect);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, b.bar->frameGeometry().left());
    EXPECT_EQ(rect->top, b.bar->frameGeometry().top());
}

TEST(AudioSettings, RefusesWhatItCannotUseAndWithSupportOffWritesOnlyThatItIsOff)
{
    Bar b;
    audio::TestWaveSystem devices({"Mic A", "Mic B"}, {"Speaker"});
    // "Mic B" records nothing of the formats we have.
    devices.SetAccepts(
        [](bool input, int id, const audio::WaveFormat&) { return !input || id != 1; });
    b.registry.Write(settings::reg::AudioInput, std::string("Mic gone"));
    std::vector<std::string> shownInputs;
    const auto run = [&](const std::function<void(CAudioSet&)>& steps) {
        CAudioSet dialog(b.ini, b.registry, devices);
        QTimer::singleShot(0, &dialog, [&] { steps(dialog); });
        return dialog.DoModal();
    };
    const auto ok = [](CAudioSet& d) { d.GetDlgItemAs<QPushButton>(ctl::kIdOk)->click(); };

    const int first = run([&](CAudioSet& d) {
        auto* input = d.GetDlgItemAs<QComboBox>(CAudioSet::kInput);
        for (int i = 0; i < input->count(); ++i)
            shownInputs.push_back(input->itemText(i).toStdString());
        // A device that has gone is shown as the default one.
        EXPECT_EQ(d.GetDlgItemText(CAudioSet::kInput), "  Default");
        // Under two characters names no folder, empty included.
        for (const char* folder : {"x", ""}) {
            d.SetDlgItemText(CAudioSet::kFolder, folder);
            ok(d);
            EXPECT_EQ(b.boxes.back().text, "Folder for audio files not valid");
        }
        ASSERT_EQ(b.boxes.size(), 2u);
        d.SetDlgItemText(CAudioSet::kFolder, b.dir / "rec");
        input->setCurrentIndex(2);
        ok(d);
        ASSERT_EQ(b.boxes.size(), 3u);
        EXPECT_EQ(b.boxes[2].text, "This audio format is not supported by Mic B");
        EXPECT_TRUE(d.isVisible());
        input->setCurrentIndex(1);
        ok(d);
    });
    EXPECT_EQ(first, ctl::kIdOk);
    EXPECT_EQ(shownInputs, (std::vector<std::string>{"  Default", "Mic A", "Mic B"}));
    EXPECT_EQ(b.boxes.size(), 3u);
    EXPECT_EQ(b.registry.Get(settings::reg::AudioInput), "Mic A");
    EXPECT_EQ(b.registry.Get(settings::reg::AudioFolder), b.dir / "rec");
    EXPECT_EQ(b.ini.GetInt(settings::audiorecorder::Abilitato), 1);

    // Support switched off: "Abilitato" = 0 and nothing else, whatever the fields hold.
    const std::string registryBefore = testing_support::GetFile(b.dir / "registry.ini");
    const std::string fileBefore = b.ini.GetString(settings::audiorecorder::AudioFile);
    const int second = run([&](CAudioSet& d) {
        d.GetDlgItemAs<QCheckBox>(CAudioSet::kEnable)->click();
        d.SetDlgItemText(CAudioSet::kFolder, "y");
        d.SetDlgItemText(CAudioSet::kFile, "other.wav");
        d.GetDlgItemAs<QComboBox>(CAudioSet::kInput)->setCurrentIndex(2);
        ok(d);
    });
    EXPECT_EQ(second, ctl::kIdOk);
    EXPECT_EQ(b.boxes.size(), 3u);
    EXPECT_EQ(b.ini.GetInt(settings::audiorecorder::Abilitato), 0);
    EXPECT_EQ(b.ini.GetString(settings::audiorecorder::AudioFile), fileBefore);
    EXPECT_EQ(testing_support::GetFile(b.dir / "registry.ini"), registryBefore);
}
