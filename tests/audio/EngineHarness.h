// A wave engine on the test device, with a window (MessageTarget) that hands the device
// messages to the engine as the recorder's window does, and waits that pump them.
#pragma once

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "MessageTarget.h"
#include "Profile.h"
#include "TempDir.h"
#include "TestWaveSystem.h"
#include "WaveEngine.h"
#include "WindowMessages.h"

namespace audio_test {

inline QCoreApplication& App()
{
    static int argc = 1;
    static char name[] = "audio_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QCoreApplication(argc, argv);
    return *app;
}

struct EngineHarness {
    testing_support::TempDir dir{"corvane-audio"};
    audio::TestWaveSystem devices;
    Profile settings{dir / "registry.ini"};
    audio::WaveEngine engine{devices, settings};
    std::vector<audio::WaveEngine::Event> events;
    platform::MessageTarget window{[this](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        events.push_back(engine.OnDeviceMessage(msg, w, l));
    }};

    EngineHarness() { App(); }

    std::string Path(const std::string& name) const { return dir / name; }
    bool Saw(audio::WaveEngine::Event e) const
    {
        for (auto seen : events)
            if (seen == e)
                return true;
        return false;
    }
    // Pumps until the condition holds; false after the time-out.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            platform::PumpMessages();
        }
        return true;
    }
    // Records on the unpaced device until at least `dataBytes` are in the file, then stops and
    // waits for the file to be closed. The engine's answer to StartRecording.
    int Record(const std::string& path, std::uint64_t dataBytes, bool append = false)
    {
        events.clear();
        const int result = engine.StartRecording(window.Poster(), path, append);
        if (result != 0)
            return result;
        const std::int64_t start = engine.GetPositionBytes();
        PumpUntil([&] {
            return static_cast<std::uint64_t>(engine.GetPositionBytes() - start) >= dataBytes;
        });
        engine.StopInput();
        PumpUntil([&] { return Saw(audio::WaveEngine::Event::RecordingClosed); });
        return 0;
    }
    // Plays to the end; the engine's answer to StartPlay.
    int Play(const std::string& path, std::uint32_t offset = 0, std::uint32_t length = 0)
    {
        events.clear();
        const int result = engine.StartPlay(offset, path, window.Poster(), length);
        if (result != 0)
            return result;
        PumpUntil([&] { return Saw(audio::WaveEngine::Event::PlaybackEnded); });
        return 0;
    }
};

}  // namespace audio_test
