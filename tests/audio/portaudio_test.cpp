// PortAudio opens and runs over ALSA's null device (ALSA_CONFIG_PATH names tests/audio/
// alsa-null.conf): a recording through the engine, then its playback, the buffers arriving on
// the GUI thread in order.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <chrono>

#include "EngineHarness.h"
#include "FormatTable.h"
#include "PortAudioSystem.h"
#include "WaveFile.h"

namespace {

using Event = audio::WaveEngine::Event;

TEST(PortAudioDevices, RecordAndPlayOverTheNullDevice)
{
    audio_test::App();
    audio::PortAudioSystem devices;
    ASSERT_TRUE(devices.Ready()) << devices.Problem();
    if (devices.InputNames().empty() && devices.OutputNames().empty())
        GTEST_SKIP() << "PortAudio finds no sound device at all, not even ALSA's null device";
    ASSERT_FALSE(devices.InputNames().empty());
    ASSERT_FALSE(devices.OutputNames().empty());

    testing_support::TempDir dir;
    Profile settings(dir / "registry.ini");
    audio::WaveEngine engine(devices, settings);
    std::vector<Event> events;
    std::vector<bool> onGuiThread;
    platform::MessageTarget window([&](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        onGuiThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
        events.push_back(engine.OnDeviceMessage(msg, w, l));
    });
    auto pumpUntil = [&](auto done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < end)
            platform::WaitPumpingMessages(5);
        return done();
    };
    auto saw = [&](Event e) { return std::find(events.begin(), events.end(), e) != events.end(); };

    ASSERT_EQ(engine.Open(), 0);
    const auto format = audio::MakeFormat(audio::Coding::Pcm16, 1, 22050);
    ASSERT_TRUE(engine.InputDevice().CanOpenInput(format));
    ASSERT_TRUE(engine.SetFormat(format));
    const std::string path = dir / "null.wav";
    ASSERT_EQ(engine.StartRecording(window.Poster(), path, false), 0);
    ASSERT_TRUE(pumpUntil([&] { return engine.GetPositionBytes() >= 58 + 64000; }))
        << "two buffers recorded";
    engine.StopInput();
    ASSERT_TRUE(pumpUntil([&] { return saw(Event::RecordingClosed); }));
    EXPECT_EQ(events.back(), Event::RecordingClosed);

    audio::WaveLayout layout;
    ASSERT_EQ(audio::ReadWaveLayout(path, layout), 0);
    EXPECT_EQ(layout.format, format);
    EXPECT_GE(layout.dataSize, 64000u);
    EXPECT_EQ(layout.dataSize % 2, 0u);

    events.clear();
    ASSERT_EQ(engine.StartPlay(0, path, window.Poster(), 0), 0);
    ASSERT_TRUE(pumpUntil([&] { return saw(Event::PlaybackEnded); }));
    EXPECT_EQ(engine.State(), audio::WaveEngine::kIdle);
    ASSERT_TRUE(pumpUntil([&] { return saw(Event::OutputClosed); }));
    for (bool gui : onGuiThread)
        EXPECT_TRUE(gui);

    // A pause holds the position; a reset gives back the queued buffers at once.
    events.clear();
    ASSERT_EQ(engine.StartPlay(0, path, window.Poster(), 0), 0);
    EXPECT_EQ(engine.PausePlay(true), 0);
    platform::WaitPumpingMessages(50);
    const auto held = engine.GetPositionBytes();
    platform::WaitPumpingMessages(50);
    EXPECT_EQ(engine.GetPositionBytes(), held);
    EXPECT_EQ(engine.PausePlay(false), 0);
    engine.StopPlay();
    EXPECT_FALSE(engine.DeviceOpen());
}

}  // namespace
