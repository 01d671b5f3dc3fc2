// The whole program on a machine without a sound card, against the simulated radio's driver. When
// the driver delivers the receiver audio, the recorder bar's Record button records it, its counter
// runs and the file is there when it stops; when it does not, the start's audio error says what
// is missing.
#include "WindowTestSupport.h"

#include "AudioRecorder.h"
#include "FlatButton.h"
#include "Ini.h"
#include "SettingsKeys.h"
#include "WaveFile.h"

namespace {

void EnableAudio(const wndtest::WindowFixture& f)
{
    CIni ini;
    ini.SetPath((f.folder / "Corvane.ini").c_str());
    ini.WriteInt("AudioRecorder", "Abilitato", 1);
    ini.WriteString("AudioRecorder", "AudioFile", "radio.wav");
}

TEST(DriverRecording, TheRecordButtonRecordsTheDriversAudioWithoutASoundCard)
{
    wndtest::WindowFixture f;
    EnableAudio(f);
    f.profile->Write(settings::reg::AudioFolder, f.folder.path);
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* bar = qobject_cast<CAudioRecorder*>(w.ToolWindow(CAudioRecorder::kTemplateId));
        ASSERT_NE(bar, nullptr);
        auto* record = bar->GetDlgItemAs<CFlatButton>(CAudioRecorder::kRecord);
        record->click();
        EXPECT_TRUE(bar->Recording());
        // The counter runs on the driver's samples.
        EXPECT_TRUE(wndtest::PumpUntil([&] {
            const std::string time = bar->GetDlgItemText(CAudioRecorder::kTime);
            return !time.empty() && time != "0:00:00" && time != "0:00:01";
        })) << bar->GetDlgItemText(CAudioRecorder::kTime);
        record->click();
        EXPECT_FALSE(bar->Recording());
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
    for (const MessageBoxRequest& box : f.boxes)
        ADD_FAILURE() << "message: " << box.text;
    audio::WaveLayout layout;
    ASSERT_EQ(audio::ReadWaveLayout(f.folder / "radio.wav", layout), 0);
    EXPECT_EQ(layout.format.samplesPerSec, 8000u);
    EXPECT_EQ(layout.format.bitsPerSample, 16u);
    EXPECT_GE(layout.dataSize, 2u * 16000u);
}

TEST(DriverRecording, WithoutTheDriversAudioTheStartSaysThereIsNoSoundInput)
{
    wndtest::WindowFixture f;
    EnableAudio(f);
    ::setenv("SIMRADIO_AUDIO", "0", 1);
    const bool ran = f.Run([&](CCorvaneDlg& w) { w.CloseProgram(); });
    ::unsetenv("SIMRADIO_AUDIO");
    EXPECT_TRUE(ran);
    ASSERT_FALSE(f.boxes.empty());
    // Asked whether to change the settings; No leaves the audio off for this run.
    EXPECT_EQ(f.boxes[0].text.substr(0, f.boxes[0].text.find('\n', 0) + 1),
              "Error 1 in the initialization of the audio support.\n");
    EXPECT_NE(f.boxes[0].text.find("\nthe default sound input device cannot record: there is no "
                                   "sound input device"),
              std::string::npos)
        << f.boxes[0].text;
}

}  // namespace
