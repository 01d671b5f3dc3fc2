// Our files against an independent reader and writer (libsndfile): it reads what we record in
// every coding with the right format, length and samples, and what it writes plays through the
// engine as it reads it itself.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>

#include "EngineHarness.h"
#include "FormatTable.h"
#include "WaveFile.h"

namespace {

using audio::Coding;

struct Case {
    Coding coding;
    int subtype;
};

const Case kCases[] = {{Coding::Pcm8, SF_FORMAT_PCM_U8},
                       {Coding::Pcm16, SF_FORMAT_PCM_16},
                       {Coding::Alaw, SF_FORMAT_ALAW},
                       {Coding::Mulaw, SF_FORMAT_ULAW},
                       {Coding::ImaAdpcm, SF_FORMAT_IMA_ADPCM}};
const unsigned kRates[] = {8000, 22050, 44100};

std::int16_t Signal(std::uint64_t frame, unsigned channel, unsigned rate)
{
    const double hz = 440.0 + 660.0 * channel;
    return static_cast<std::int16_t>(12000.0 * std::sin(2.0 * M_PI * hz * frame / rate));
}

std::string Describe(const Case& c, unsigned channels, unsigned rate)
{
    return audio::CodingKey(c.coding) + " " + std::to_string(channels) + " ch "
           + std::to_string(rate) + " Hz";
}

struct SndFile {
    SF_INFO info{};
    std::vector<short> samples;
    bool Read(const std::string& path)
    {
        SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
        if (!f)
            return false;
        samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
        const sf_count_t got = sf_readf_short(f, samples.data(), info.frames);
        sf_close(f);
        return got == info.frames;
    }
};

// How far a decoded sample may be from the original for each coding.
void ExpectClose(Coding coding, const std::vector<short>& got,
                 const std::vector<std::int16_t>& want, const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    double signal = 0;
    double noise = 0;
    int bad = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        const int s = want[i];
        const int d = got[i] - s;
        signal += double(s) * s;
        noise += double(d) * d;
        switch (coding) {
        case Coding::Pcm16: bad += d != 0; break;
        case Coding::Pcm8: bad += got[i] != (s >> 8) * 256; break;
        case Coding::Alaw:
        case Coding::Mulaw: bad += std::abs(d) > std::abs(s) / 20 + 40; break;
        case Coding::ImaAdpcm: break;
        }
    }
    EXPECT_EQ(bad, 0) << what;
    EXPECT_GT(10.0 * std::log10(signal / std::max(noise, 1.0)),
              coding == Coding::ImaAdpcm ? 20.0 : 30.0)
        << what;
}

TEST(IndependentReader, ReadsWhatWeRecordInEveryFormat)
{
    audio_test::EngineHarness h;
    for (const Case& c : kCases)
        for (unsigned channels : {1u, 2u})
            for (unsigned rate : kRates) {
                const std::string what = Describe(c, channels, rate);
                const auto format = audio::MakeFormat(c.coding, channels, rate);
                h.devices.SetSignal(
                    [rate](std::uint64_t frame, unsigned ch) { return Signal(frame, ch, rate); });
                ASSERT_TRUE(h.engine.SetFormat(format)) << what;
                const std::string path = h.Path(audio::CodingKey(c.coding) + ".wav");
                ASSERT_EQ(h.Record(path, 40000), 0) << what;

                audio::WaveLayout layout;
                ASSERT_EQ(audio::ReadWaveLayout(path, layout), 0) << what;
                SndFile file;
                ASSERT_TRUE(file.Read(path)) << what << ": " << sf_strerror(nullptr);
                EXPECT_EQ(file.info.format, SF_FORMAT_WAV | c.subtype) << what;
                EXPECT_EQ(file.info.channels, static_cast<int>(channels)) << what;
                EXPECT_EQ(file.info.samplerate, static_cast<int>(rate)) << what;
                const auto frames = audio::FramesInBytes(format, layout.dataSize);
                EXPECT_EQ(static_cast<std::uint64_t>(file.info.frames), frames) << what;
                EXPECT_GE(layout.dataSize, 40000u) << what;

                std::vector<std::int16_t> want(file.samples.size());
                for (std::size_t i = 0; i < want.size(); ++i)
                    want[i] = Signal(i / channels, static_cast<unsigned>(i % channels), rate);
                ExpectClose(c.coding, file.samples, want, what);
            }
}

TEST(IndependentWriter, ItsFilesPlayThroughTheEngineAsItReadsThem)
{
    audio_test::EngineHarness h;
    for (const Case& c : kCases)
        for (unsigned channels : {1u, 2u})
            for (unsigned rate : kRates) {
                const std::string what = Describe(c, channels, rate);
                const std::string path = h.Path("theirs.wav");
                SF_INFO info{};
                info.samplerate = static_cast<int>(rate);
                info.channels = static_cast<int>(channels);
                info.format = SF_FORMAT_WAV | c.subtype;
                SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
                ASSERT_NE(out, nullptr) << what << ": " << sf_strerror(nullptr);
                const std::size_t frames = rate * 3 / 2 + 17;
                std::vector<short> samples(frames * channels);
                for (std::size_t i = 0; i < samples.size(); ++i)
                    samples[i] = Signal(i / channels, static_cast<unsigned>(i % channels), rate);
                ASSERT_EQ(sf_writef_short(out, samples.data(), static_cast<sf_count_t>(frames)),
                          static_cast<sf_count_t>(frames));
                sf_close(out);

                SndFile theirs;
                ASSERT_TRUE(theirs.Read(path)) << what;
                h.devices.ClearOutputs();
                ASSERT_EQ(h.Play(path), 0) << what;
                const auto& played = h.devices.Output(-1);
                ASSERT_EQ(played.formats.size(), 1u) << what;
                const auto expected = audio::MakeFormat(c.coding, channels, rate);
                EXPECT_EQ(played.formats[0].tag, expected.tag) << what;
                EXPECT_EQ(played.formats[0].channels, channels) << what;
                EXPECT_EQ(played.formats[0].samplesPerSec, rate) << what;
                // A block codec fills its last block; the frames it really holds come first.
                ASSERT_GE(played.frames.size(), theirs.samples.size()) << what;
                EXPECT_LT(played.frames.size() - theirs.samples.size(), 2048u * channels) << what;
                const std::vector<short> ours(
                    played.frames.begin(),
                    played.frames.begin() + static_cast<std::ptrdiff_t>(theirs.samples.size()));
                EXPECT_EQ(ours, theirs.samples) << what;
            }
}

}  // namespace
