// The recorder in the real window against the simulated radio's driver, in process: its receiver
// audio reaches the bar, and with "Record only if SQL OFF" the file holds the tone of the open
// squelch and (almost) none of the noise while it is closed.
#include "WindowTestSupport.h"

#include "AudioRecorder.h"
#include "Ini.h"
#include "Profile.h"
#include "RadioModes.h"
#include "RemoteCodes.h"
#include "WaveFile.h"

#include <QCheckBox>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace wndtest;

namespace {

using ControlFn = WindowFixture::SimControl;

// The 20 ms blocks of a 8000 Hz 16-bit mono file, as tone (loud) or noise (quiet).
struct BlockCount {
    int tone = 0;
    int noise = 0;
};

BlockCount CountBlocks(const std::string& path, const audio::WaveLayout& layout)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    BlockCount count;
    constexpr std::size_t kBlockBytes = 320;
    for (std::size_t at = layout.dataStart; at + kBlockBytes <= layout.dataStart + layout.dataSize;
         at += kBlockBytes) {
        int peak = 0;
        for (std::size_t i = at; i + 1 < at + kBlockBytes; i += 2) {
            const auto sample =
                static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i])
                                          | (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        ++(peak > 5000 ? count.tone : count.noise);
    }
    return count;
}

}  // namespace

TEST(WindowAudio, RecordOnlyIfSqlOffRecordsTheToneOnlyWhileTheSquelchIsOpen)
{
    WindowFixture f;
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("AudioRecorder", "Abilitato", 1);
        ini.WriteInt("AudioRecorder", "RecSQL", 1);
        ini.WriteString("AudioRecorder", "AudioFile", "sql.wav");
        f.profile->Write(settings::reg::AudioFolder, f.folder.path);
    }
    std::string recorded;
    int noiseBeforePause = 0;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* bar = qobject_cast<CAudioRecorder*>(w.ToolWindow(CAudioRecorder::kTemplateId));
        ControlFn control = f.SimRadioControl();
        ASSERT_NE(bar, nullptr);
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(bar->GetDlgItemAs<QCheckBox>(CAudioRecorder::kRecSql)->isChecked());
        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz > 0; }));
        const std::int64_t hz = w.Controller().State().frequencyHz;
        char signal[80];
        std::snprintf(signal, sizeof signal, "signal %lld %lld 120",
                      static_cast<long long>(hz - 100000), static_cast<long long>(hz + 100000));
        ASSERT_EQ(control("mode FM", nullptr, 0), 1);
        ASSERT_EQ(control(signal, nullptr, 0), 1);
        auto squelchIs = [&](bool open) {
            return PumpUntil([&] {
                return w.Controller().State().squelchOpen == open
                       && w.Controller().State().mode == radio::kFm;
            });
        };
        ASSERT_TRUE(squelchIs(true));

        ASSERT_EQ(w.RemoteCommand(remote::kRecord, 1), 0);
        // Waits for whole blocks, however late a busy machine delivers them.
        constexpr std::int64_t kBlock = 320;
        const auto recordedAtLeast = [&](std::int64_t blocks) {
            const std::int64_t from = bar->Engine().GetPositionBytes();
            return PumpUntil(
                [&] { return bar->Engine().GetPositionBytes() - from >= blocks * kBlock; });
        };
        ASSERT_TRUE(recordedAtLeast(30));
        const std::int64_t beforeClear = bar->Engine().GetPositionBytes();
        ASSERT_EQ(control("signals clear", nullptr, 0), 1);
        ASSERT_TRUE(squelchIs(false));
        EXPECT_TRUE(PumpUntil([&] { return bar->Paused(); }));
        const std::int64_t atPause = bar->Engine().GetPositionBytes();
        noiseBeforePause = static_cast<int>((atPause - beforeClear) / kBlock);
        platform::WaitPumpingMessages(800);
        // A block already on its way may still land; nothing more while paused.
        EXPECT_LE(bar->Engine().GetPositionBytes() - atPause, 2 * kBlock);
        ASSERT_EQ(control(signal, nullptr, 0), 1);
        ASSERT_TRUE(squelchIs(true));
        EXPECT_TRUE(PumpUntil([&] { return !bar->Paused(); }));
        ASSERT_TRUE(recordedAtLeast(30));
        EXPECT_EQ(w.RemoteCommand(remote::kRecord, 0), 0);
        EXPECT_TRUE(PumpUntil([&] { return !bar->Recording(); }));
        recorded = bar->RecordedPath();
        w.PostClose();
    });
    ASSERT_TRUE(ran);
    ASSERT_EQ(recorded, f.folder / "sql.wav");
    audio::WaveLayout layout;
    ASSERT_EQ(audio::ReadWaveLayout(recorded, layout), 0);
    EXPECT_EQ(layout.format.samplesPerSec, 8000u);
    EXPECT_EQ(layout.format.bitsPerSample, 16u);
    const BlockCount blocks = CountBlocks(recorded, layout);
    // At least 1.2 s of tone; of the closed squelch only what came before the poll noticed it.
    EXPECT_GE(blocks.tone, 58);
    EXPECT_LE(blocks.noise, noiseBeforePause + 2) << "tone blocks " << blocks.tone;
}
