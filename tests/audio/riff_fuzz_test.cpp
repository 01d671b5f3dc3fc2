// The RIFF reader and the player on random, truncated and mutated files: no crash, no hang, and
// whatever is accepted stays inside the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "EngineHarness.h"
#include "FormatTable.h"
#include "WaveBytes.h"
#include "WaveFile.h"

namespace {

using audio_test::Bytes;

int Parse(const Bytes& file, audio::WaveLayout& layout)
{
    return audio::ParseWave(
        [&](std::uint64_t offset, std::uint8_t* out, std::size_t n) -> std::size_t {
            if (offset >= file.size())
                return 0;
            const std::size_t got = std::min<std::size_t>(n, file.size() - offset);
            std::memcpy(out, file.data() + offset, got);
            return got;
        },
        file.size(), layout);
}

// Seeds: a file of each coding, with extra chunks before and after the data.
std::vector<Bytes> Seeds()
{
    std::vector<Bytes> seeds;
    for (auto coding : {audio::Coding::Pcm8, audio::Coding::Pcm16, audio::Coding::Alaw,
                        audio::Coding::Mulaw, audio::Coding::ImaAdpcm}) {
        const auto format = audio::MakeFormat(coding, 2, 11025);
        Bytes data(3 * format.blockAlign + 7);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::uint8_t>(i * 31);
        Bytes trailer;
        audio_test::AppendChunk(trailer, "LIST", Bytes(9, 'x'), 9);
        seeds.push_back(
            audio_test::MakeWave(audio::FormatBytes(format), data, UINT32_MAX, trailer));
    }
    return seeds;
}

void CheckLayout(int result, const audio::WaveLayout& layout, std::size_t size)
{
    ASSERT_GE(result, 0);
    ASSERT_LE(result, 6);
    if (result != 0)
        return;
    EXPECT_TRUE(audio::IsValid(layout.format));
    EXPECT_LE(std::uint64_t{layout.dataStart} + layout.dataSize, size);
}

TEST(RiffReader, RandomTruncatedAndMutatedInput)
{
    std::mt19937 rng(1234);
    audio::WaveLayout layout;
    for (int i = 0; i < 2000; ++i) {
        Bytes noise(rng() % 300);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(rng());
        if (i % 2 && noise.size() >= 12)
            std::memcpy(noise.data(), "RIFF\xff\xff\xff\x7fWAVE", 12);
        CheckLayout(Parse(noise, layout), layout, noise.size());
    }
    for (const Bytes& seed : Seeds()) {
        ASSERT_EQ(Parse(seed, layout), 0);
        for (std::size_t cut = 0; cut < seed.size(); ++cut) {
            const Bytes part(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(cut));
            CheckLayout(Parse(part, layout), layout, part.size());
        }
        for (int m = 0; m < 3000; ++m) {
            Bytes mutated = seed;
            const int flips = 1 + static_cast<int>(rng() % 4);
            for (int f = 0; f < flips; ++f)
                mutated[rng() % std::min<std::size_t>(mutated.size(), 80)] =
                    static_cast<std::uint8_t>(rng());
            CheckLayout(Parse(mutated, layout), layout, mutated.size());
        }
    }
}

TEST(RiffReader, DamagedFilesPlayToTheirEndOrAreRefused)
{
    audio_test::EngineHarness h;
    std::mt19937 rng(99);
    const std::string path = h.Path("fuzz.wav");
    int played = 0;
    for (const Bytes& seed : Seeds()) {
        for (int m = 0; m < 60; ++m) {
            Bytes mutated = seed;
            mutated.resize(seed.size() - rng() % 40);
            for (int f = 0; f < 3; ++f)
                mutated[rng() % std::min<std::size_t>(mutated.size(), 64)] =
                    static_cast<std::uint8_t>(rng());
            testing_support::PutFile(path, audio_test::AsString(mutated));
            h.events.clear();
            const int result = h.engine.StartPlay(0, path, h.window.Poster(), 0);
            if (result != 0) {
                EXPECT_FALSE(h.engine.DeviceOpen());
                continue;
            }
            ++played;
            ASSERT_TRUE(
                h.PumpUntil([&] { return h.Saw(audio::WaveEngine::Event::PlaybackEnded); }, 5000));
            EXPECT_LE(h.devices.Output(-1).bytes.size(),
                      64 * 1024 * static_cast<std::size_t>(played));
        }
    }
    EXPECT_GT(played, 0);
}

}  // namespace
