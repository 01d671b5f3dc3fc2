// CPU to record (encode and write) and to play (read and decode) one minute of 11025 Hz mono in
// each coding, on the unpaced test device; the median of five runs, scaled to exactly a minute.
// With the main window built: the squelch-to-recording time of "Record only if SQL OFF".
#ifdef CORVANE_BENCH_WINDOW
#include <QApplication>

#include "CustomControls.h"
#include "SqlToRecord.h"
#else
#include <QCoreApplication>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <stdlib.h>

#include "FormatTable.h"
#include "MessagePump.h"
#include "MessageTarget.h"
#include "Profile.h"
#include "TestWaveSystem.h"
#include "WaveEngine.h"
#include "WaveFile.h"

namespace {

constexpr unsigned kRate = 11025;
constexpr std::uint64_t kMinuteFrames = kRate * 60ull;

double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Bench {
    audio::TestWaveSystem devices;
    Profile settings;
    audio::WaveEngine engine;
    bool closed = false;
    bool ended = false;
    platform::MessageTarget window{[this](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        const auto e = engine.OnDeviceMessage(msg, w, l);
        closed |= e == audio::WaveEngine::Event::RecordingClosed;
        ended |= e == audio::WaveEngine::Event::PlaybackEnded;
    }};

    explicit Bench(const std::string& registry) : settings(registry), engine(devices, settings)
    {
        // A table lookup: the signal itself should cost next to nothing.
        std::vector<std::int16_t> tone(kRate);
        for (unsigned i = 0; i < kRate; ++i)
            tone[i] = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 1000.0 * i / kRate));
        devices.SetSignal([tone](std::uint64_t frame, unsigned) { return tone[frame % kRate]; });
    }

    // CPU milliseconds per minute of sound, or a negative value on failure.
    double Record(const audio::WaveFormat& format, const std::string& path)
    {
        engine.SetFormat(format);
        closed = false;
        const double start = CpuMs();
        if (engine.StartRecording(window.Poster(), path, false) != 0)
            return -1;
        const auto wanted = static_cast<std::int64_t>(audio::BytesForFrames(format, kMinuteFrames));
        const std::int64_t first = engine.GetPositionBytes();
        while (engine.GetPositionBytes() - first < wanted)
            platform::PumpMessages();
        engine.StopInput();
        while (!closed)
            platform::PumpMessages();
        const double used = CpuMs() - start;
        audio::WaveLayout layout;
        if (audio::ReadWaveLayout(path, layout) != 0)
            return -1;
        return used * kMinuteFrames / audio::FramesInBytes(format, layout.dataSize);
    }

    double Play(const audio::WaveFormat& format, const std::string& path)
    {
        ended = false;
        devices.ClearOutputs();
        const double start = CpuMs();
        if (engine.StartPlay(0, path, window.Poster(), 0) != 0)
            return -1;
        while (!ended)
            platform::PumpMessages();
        const double used = CpuMs() - start;
        const std::size_t frames = devices.Output(-1).frames.size() / format.channels;
        return frames ? used * kMinuteFrames / frames : -1;
    }
};

}  // namespace

int main(int argc, char** argv)
{
#ifdef CORVANE_BENCH_WINDOW
    // Runs as the other benchmarks do: no display needed.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterCustomControls();
#else
    QCoreApplication app(argc, argv);
#endif
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_audio-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Bench bench((dir / "registry.ini").string());
    for (auto coding : {audio::Coding::Pcm8, audio::Coding::Pcm16, audio::Coding::Alaw,
                        audio::Coding::Mulaw, audio::Coding::ImaAdpcm}) {
        const auto format = audio::MakeFormat(coding, 1, kRate);
        const std::string key = audio::CodingKey(coding);
        const std::string path = (dir / (key + ".wav")).string();
        std::vector<double> record;
        std::vector<double> play;
        for (int run = 0; run < 5; ++run) {
            record.push_back(bench.Record(format, path));
            play.push_back(bench.Play(format, path));
        }
        std::printf("audio_record_cpu_ms_per_min_%s: %.1f ms\n", key.c_str(), Median(record));
        std::printf("audio_play_cpu_ms_per_min_%s: %.1f ms\n", key.c_str(), Median(play));
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
#ifdef CORVANE_BENCH_WINDOW
    const auto sql = MeasureSqlToRecordMs(CORVANE_BIN_DIR, CORVANE_FIRST_RUN, 20);
    if (!sql) {
        std::fprintf(stderr, "sql_to_record_ms: the measurement did not run\n");
    } else {
        // Its parts: the squelch read, the recorder's resume, the first block written.
        std::printf("sql_to_record_heard_ms: %.1f ms\n", sql->heardMs);
        std::printf("sql_to_record_resumed_ms: %.1f ms\n", sql->resumedMs);
        std::printf("sql_to_record_ms: %.1f ms\n", sql->writtenMs);
    }
#endif
    return 0;
}
