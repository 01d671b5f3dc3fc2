// The wave engine on the test device: offsets, damaged files, buffers, append, one operation at
// a time, seeks, driver audio.
#include <gtest/gtest.h>

#include <filesystem>

#include "EngineHarness.h"
#include "FormatTable.h"
#include "FullDisk.h"
#include "WaveBytes.h"
#include "WaveFile.h"

namespace {

using audio::Coding;
using audio::MakeFormat;
using audio::WaveEngine;
using audio::WaveFormat;
using audio_test::Bytes;
using audio_test::EngineHarness;
using audio_test::MakeWave;
using Event = WaveEngine::Event;

constexpr std::uint32_t kHeader16 = 12 + 8 + 16 + 8;        // data start with a 16-byte "fmt "
constexpr std::uint32_t kOurHeader = 12 + 8 + 18 + 12 + 8;  // ours: "fmt " of 18, "fact"

Bytes Fmt16(const WaveFormat& f)
{
    Bytes b = audio::FormatBytes(f);
    b.resize(16);
    return b;
}

Bytes Ramp(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return b;
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(to));
}

std::string Put(EngineHarness& h, const std::string& name, const Bytes& file)
{
    testing_support::PutFile(h.Path(name), audio_test::AsString(file));
    return h.Path(name);
}

audio::WaveLayout Layout(const std::string& path)
{
    audio::WaveLayout layout;
    EXPECT_EQ(audio::ReadWaveLayout(path, layout), 0) << path;
    return layout;
}

std::uint32_t FactOf(const std::string& path)
{
    const std::string file = testing_support::GetFile(path);
    const auto at = file.find("fact");
    return at == std::string::npos
               ? 0
               : audio::ReadLe32(reinterpret_cast<const std::uint8_t*>(file.data() + at + 8));
}

TEST(WaveEngine, PlaybackOffsetsAreFileOffsetsWithinTheData)
{
    EngineHarness h;
    const WaveFormat stereo16 = MakeFormat(Coding::Pcm16, 2, 8000);  // blocks of 4 bytes
    const Bytes data = Ramp(4000);
    const std::string path = Put(h, "ramp.wav", MakeWave(Fmt16(stereo16), data));
    const auto& out = h.devices.Output(-1);

    ASSERT_EQ(h.Play(path, 0), 0);
    EXPECT_EQ(out.bytes, data);
    h.devices.ClearOutputs();
    ASSERT_EQ(h.Play(path, 10), 0) << "an offset inside the header plays from the data start";
    EXPECT_EQ(out.bytes, data);
    h.devices.ClearOutputs();
    ASSERT_EQ(h.Play(path, kHeader16 + 103), 0) << "rounded down to the block";
    EXPECT_EQ(out.bytes, Slice(data, 100, 4000));
    h.devices.ClearOutputs();
    ASSERT_EQ(h.Play(path, kHeader16 + 400, 800), 0);
    EXPECT_EQ(out.bytes, Slice(data, 400, 1200));
    EXPECT_EQ(out.formats.back(), stereo16);

    EXPECT_EQ(h.Play(path, kHeader16 + 4000), 18) << "at the data end";
    EXPECT_EQ(h.Play(path, kHeader16 + 90000), 18);
    EXPECT_EQ(h.engine.State(), WaveEngine::kIdle);
    EXPECT_FALSE(h.engine.DeviceOpen());

    // The position counts from the file offset where playing started.
    audio::TestClock clock;
    h.devices.SetClock(&clock);
    const std::string longer = Put(h, "long.wav", MakeWave(Fmt16(stereo16), Ramp(40000)));
    ASSERT_EQ(h.engine.StartPlay(kHeader16 + 1000, longer, h.window.Poster(), 0), 0);
    clock.Advance(100);
    EXPECT_EQ(h.engine.GetPositionBytes(), kHeader16 + 1000 + 800 * 4);
    EXPECT_EQ(h.engine.StartOffset(), kHeader16 + 1000);
    h.engine.StopPlay();
}

TEST(WaveEngine, DamagedFilesEndOrAreRefusedNeverLoop)
{
    EngineHarness h;
    const WaveFormat mono8 = MakeFormat(Coding::Pcm8, 1, 8000);
    const auto& out = h.devices.Output(-1);

    // The header promises far more than the file holds: what is there plays once.
    ASSERT_EQ(h.Play(Put(h, "short.wav", MakeWave(audio::FormatBytes(mono8), Ramp(3000), 100000))),
              0);
    EXPECT_TRUE(h.Saw(Event::PlaybackEnded));
    EXPECT_EQ(out.bytes, Ramp(3000));

    EXPECT_EQ(h.Play(Put(h, "empty.wav", MakeWave(audio::FormatBytes(mono8), {}))), 17);
    EXPECT_EQ(h.Play(h.Path("missing.wav")), 11);
    testing_support::PutFile(h.Path("text.wav"), "RIFF....WAVx");
    EXPECT_EQ(h.Play(h.Path("text.wav")), 12);

    // Formats that would divide by zero, and one longer than a block.
    auto bad = [&](auto change) {
        Bytes fmt = audio::FormatBytes(mono8);
        change(fmt);
        return h.Play(Put(h, "bad.wav", MakeWave(fmt, Ramp(100))));
    };
    EXPECT_EQ(bad([](Bytes& f) { f[12] = f[13] = 0; }), 15) << "block alignment 0";
    EXPECT_EQ(bad([](Bytes& f) { f[2] = f[3] = 0; }), 15) << "no channels";
    EXPECT_EQ(bad([](Bytes& f) { f[4] = f[5] = f[6] = f[7] = 0; }), 15) << "rate 0";
    EXPECT_EQ(bad([](Bytes& f) { f[8] = f[9] = f[10] = f[11] = 0; }), 15) << "no bytes a second";
    EXPECT_EQ(bad([](Bytes& f) { f[16] = 40; }), 15) << "extra bytes beyond the chunk";
    EXPECT_EQ(bad([](Bytes& f) { f.resize(300); }), 14) << "larger than a format block";
    EXPECT_EQ(bad([](Bytes& f) { f.resize(14); }), 15) << "shorter than a format head";
    EXPECT_TRUE(out.bytes == Ramp(3000)) << "nothing of the refused files was played";

    // The same checks hold for blocks from the settings and the driver.
    const WaveFormat before = h.engine.Format();
    Bytes block = audio::FormatBytes(mono8);
    block[12] = 0;
    EXPECT_FALSE(h.engine.SetFormatData(block.data(), block.size()));
    EXPECT_EQ(h.engine.TakeDriverFormat(block.data(), block.size()), 5);
    EXPECT_FALSE(h.engine.SetFormatData(block.data(), 10));
    EXPECT_EQ(h.engine.Format(), before);
    const Bytes driver = audio::FormatBytes(MakeFormat(Coding::Pcm16, 1, 8000));
    EXPECT_EQ(h.engine.TakeDriverFormat(driver.data(), driver.size()), 0);
    EXPECT_EQ(h.engine.Format(), MakeFormat(Coding::Pcm16, 1, 8000));
}

TEST(WaveEngine, StoppingWritesWhatTheDeviceReturnsThenNothing)
{
    EngineHarness h;
    audio::TestClock clock;
    h.devices.SetClock(&clock);
    ASSERT_EQ(h.engine.Open(), 0);  // the default format: PCM 8 bit mono 11025
    const std::string path = h.Path("rec.wav");
    ASSERT_EQ(h.engine.StartRecording(h.window.Poster(), path, false), 0);
    for (int ms = 0; ms < 3500; ms += 100) {
        clock.Advance(100);
        platform::PumpMessages();
    }
    EXPECT_EQ(h.engine.GetPositionText(), "0:00:03");
    EXPECT_EQ(h.engine.GetPositionBytes(), kOurHeader + 32000) << "one full buffer written so far";
    h.engine.StopInput();
    ASSERT_TRUE(h.PumpUntil([&] { return h.Saw(Event::RecordingClosed); }));
    clock.Advance(5000);
    platform::PumpMessages();

    const auto layout = Layout(path);
    const std::uint32_t frames = 3500 * 11025 / 1000;
    EXPECT_EQ(layout.dataSize, frames) << "the part-filled buffer was written too";
    EXPECT_EQ(FactOf(path), frames);
    EXPECT_EQ(layout.format, MakeFormat(Coding::Pcm8, 1, 11025));
    EXPECT_EQ(h.engine.State(), WaveEngine::kIdle);
    EXPECT_FALSE(h.engine.DeviceOpen());
    EXPECT_TRUE(h.engine.InputClosing());

    // Pausing returns the buffers; the pause is the place a later append would start from.
    h.events.clear();
    ASSERT_EQ(h.engine.StartRecording(h.window.Poster(), h.Path("paused.wav"), false), 0);
    clock.Advance(1000);
    EXPECT_EQ(h.engine.PauseRecording(true), 0);
    platform::PumpMessages();
    clock.Advance(3000);  // nothing is captured while paused
    EXPECT_EQ(h.engine.PauseRecording(false), 0);
    clock.Advance(1000);
    h.engine.StopInput();
    ASSERT_TRUE(h.PumpUntil([&] { return h.Saw(Event::RecordingClosed); }));
    EXPECT_EQ(Layout(h.Path("paused.wav")).dataSize, 2 * 11025u);
}

TEST(WaveEngine, AppendRecordsInTheFilesOwnFormat)
{
    EngineHarness h;
    const WaveFormat pcm16 = MakeFormat(Coding::Pcm16, 1, 8000);
    ASSERT_TRUE(h.engine.SetFormat(pcm16));
    const std::string path = h.Path("log.wav");
    ASSERT_EQ(h.Record(path, 1000), 0);
    const auto first = Layout(path);

    const WaveFormat alaw = MakeFormat(Coding::Alaw, 2, 22050);
    ASSERT_TRUE(h.engine.SetFormat(alaw));
    ASSERT_EQ(h.Record(path, 1000, true), 0);
    EXPECT_EQ(h.devices.LastInputFormat(), pcm16) << "the device delivered the file's format";
    EXPECT_EQ(h.engine.Format(), alaw) << "the format in force stays";
    const auto both = Layout(path);
    EXPECT_EQ(both.format, pcm16);
    EXPECT_GT(both.dataSize, first.dataSize);
    EXPECT_EQ(FactOf(path), both.dataSize / 2);
    EXPECT_EQ(both.fileSize, both.dataStart + both.dataSize);
    // The old samples are still at their offsets, the new ones follow from the first frame.
    const std::string file = testing_support::GetFile(path);
    const auto sampleAt = [&](std::uint32_t dataOffset) {
        return static_cast<std::int16_t>(audio::ReadLe16(
            reinterpret_cast<const std::uint8_t*>(file.data()) + both.dataStart + dataOffset));
    };
    EXPECT_EQ(sampleAt(0), 0);
    EXPECT_EQ(sampleAt(first.dataSize), 0) << "a new recording starts its signal again";
    EXPECT_EQ(sampleAt(4), sampleAt(first.dataSize + 4));

    // A chunk after the data, a format the input cannot deliver, a missing file: refused, and
    // the file stays as it was.
    Bytes listed = MakeWave(Fmt16(pcm16), Ramp(200));
    audio_test::AppendChunk(listed, "LIST", Ramp(10), 10);
    const std::string withList = Put(h, "list.wav", listed);
    EXPECT_EQ(h.Record(withList, 100, true), 19);
    EXPECT_EQ(testing_support::GetFile(withList), audio_test::AsString(listed));
    h.devices.SetAccepts(
        [](bool input, int, const WaveFormat& f) { return !input || f.bitsPerSample != 16; });
    EXPECT_EQ(h.Record(path, 100, true), 1);
    EXPECT_EQ(testing_support::GetFile(path), file);
    EXPECT_EQ(h.Record(h.Path("nothing.wav"), 100, true), 11);
    EXPECT_FALSE(std::filesystem::exists(h.Path("nothing.wav")));
}

TEST(WaveEngine, OneOperationAtATimeAndPlayingChangesNoRecordingFormat)
{
    EngineHarness h;
    audio::TestClock clock;
    h.devices.SetClock(&clock);
    const WaveFormat recording = MakeFormat(Coding::Mulaw, 1, 11025);
    ASSERT_TRUE(h.engine.SetFormat(recording));
    const std::string file =
        Put(h, "stereo.wav", MakeWave(Fmt16(MakeFormat(Coding::Pcm16, 2, 44100)), Ramp(8000)));

    ASSERT_EQ(h.engine.StartPlay(0, file, h.window.Poster(), 0), 0);
    EXPECT_EQ(h.engine.Format(), recording);
    EXPECT_EQ(h.engine.GetFormatTagName(), "CCITT u-Law");
    EXPECT_EQ(h.engine.StartRecording(h.window.Poster(), h.Path("r.wav"), false), 52);
    EXPECT_EQ(h.engine.StartPlay(0, file, h.window.Poster(), 0), 1);
    h.engine.StopPlay();

    ASSERT_EQ(h.engine.StartRecording(h.window.Poster(), h.Path("r.wav"), false), 0);
    EXPECT_EQ(h.engine.StartPlay(0, file, h.window.Poster(), 0), 1);
    EXPECT_EQ(h.engine.StartRecording(h.window.Poster(), h.Path("s.wav"), false), 52);
    EXPECT_EQ(h.engine.SeekPlay(100), 23);
    h.engine.StopInput();
    ASSERT_TRUE(h.PumpUntil([&] { return h.Saw(Event::RecordingClosed); }));
    EXPECT_EQ(Layout(h.Path("r.wav")).format, recording);

    // Held busy between two transmissions of the voice keyer.
    h.engine.HoldBusy(true);
    EXPECT_EQ(h.engine.StartRecording(h.window.Poster(), h.Path("t.wav"), false), 52);
    EXPECT_EQ(h.engine.StartPlay(0, file, h.window.Poster(), 0), 1);
    h.engine.HoldBusy(false);
    EXPECT_EQ(h.engine.SeekPlay(100), 21);
}

TEST(WaveEngine, SeeksAreCheckedAgainstTheWholeDataAndKeepTheSegmentEnd)
{
    EngineHarness h;
    audio::TestClock clock;
    h.devices.SetClock(&clock);
    const Bytes data = Ramp(40000);
    const std::string path =
        Put(h, "five.wav", MakeWave(Fmt16(MakeFormat(Coding::Pcm8, 1, 8000)), data));
    const auto& out = h.devices.Output(-1);

    ASSERT_EQ(h.engine.StartPlay(kHeader16 + 8000, path, h.window.Poster(), 8000), 0);
    clock.Advance(200);
    platform::PumpMessages();
    ASSERT_EQ(h.engine.SeekPlay(kHeader16 + 12000), 0);
    ASSERT_TRUE(h.PumpUntil([&] {
        clock.Advance(20);
        return h.Saw(Event::PlaybackEnded);
    }));
    EXPECT_EQ(out.frames.size(), 1600u + 4000u) << "200 ms, then from the seek to the segment end";
    EXPECT_EQ(Slice(out.bytes, out.bytes.size() - 4000, out.bytes.size()),
              Slice(data, 12000, 16000));

    // Past the data end: refused, and the playback ends.
    ASSERT_EQ(h.engine.StartPlay(0, path, h.window.Poster(), 0), 0);
    EXPECT_EQ(h.engine.SeekPlay(kHeader16 + 40000), 20);
    EXPECT_EQ(h.engine.State(), WaveEngine::kIdle);
    EXPECT_FALSE(h.engine.DeviceOpen());
    // Beyond a segment's end the seek plays on to the data end.
    h.devices.ClearOutputs();
    ASSERT_EQ(h.engine.StartPlay(kHeader16, path, h.window.Poster(), 1000), 0);
    ASSERT_EQ(h.engine.SeekPlay(kHeader16 + 39000), 0);
    ASSERT_TRUE(h.PumpUntil([&] {
        clock.Advance(20);
        return h.engine.State() == WaveEngine::kIdle;
    }));
    EXPECT_EQ(Slice(out.bytes, out.bytes.size() - 1000, out.bytes.size()),
              Slice(data, 39000, 40000));
}

TEST(WaveEngine, DriverAudioIsWrittenAsItComesAndDroppedWhilePaused)
{
    EngineHarness h;
    h.engine.SetDriverAudio([] { return true; });
    const Bytes format = audio::FormatBytes(MakeFormat(Coding::Pcm16, 1, 8000));
    ASSERT_EQ(h.engine.TakeDriverFormat(format.data(), format.size()), 0);
    const std::string path = h.Path("driver.wav");
    ASSERT_EQ(h.engine.StartRecording(h.window.Poster(), path, false), 0);
    EXPECT_EQ(h.devices.InputOpenings(), 0);
    const Bytes block = Ramp(320);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(h.engine.WriteBytes(320, block.data()), 0);
    EXPECT_EQ(h.engine.PauseRecording(true), 0);
    EXPECT_EQ(h.engine.WriteBytes(320, block.data()), 0);
    EXPECT_EQ(h.engine.WriteBytes(320, block.data()), 0);
    EXPECT_EQ(h.engine.PauseRecording(false), 0);
    EXPECT_EQ(h.engine.WriteBytes(320, block.data()), 0);
    const Bytes other = audio::FormatBytes(MakeFormat(Coding::Pcm8, 1, 8000));
    EXPECT_EQ(h.engine.TakeDriverFormat(other.data(), other.size()), 1);
    EXPECT_EQ(h.engine.TakeDriverFormat(format.data(), format.size()), 0);
    h.engine.StopInput();
    EXPECT_EQ(h.engine.State(), WaveEngine::kIdle);
    EXPECT_EQ(Layout(path).dataSize, 4 * 320u);
    EXPECT_EQ(FactOf(path), 4 * 160u);
    EXPECT_FALSE(h.engine.RecordingFailed());
}

TEST(WaveDevice, NamesSettingsBuffersAndTimes)
{
    EngineHarness h;
    audio::TestWaveSystem devices({"Mic", "Line", "Mic"}, {"Speaker"});
    audio::CWaveDevice input(devices);
    EXPECT_EQ(input.SetDeviceByName(true, "Mic"), 0);
    EXPECT_EQ(input.SetDeviceByName(true, "Line"), 1);
    EXPECT_EQ(input.SetDeviceByName(true, "line"), -1);
    EXPECT_EQ(input.SetDeviceByName(true, "  Default"), -1);
    EXPECT_EQ(input.SetDeviceByName(false, "Speaker"), 0);
    h.settings.WriteProfileString("AudioRecorder", "AudioInput", "Line");
    EXPECT_EQ(input.GetDeviceIdFromSettings(true, h.settings), 1);
    EXPECT_EQ(input.GetDeviceIdFromSettings(false, h.settings), -1);
    EXPECT_EQ(input.GetInputDeviceName(2), "Mic");
    EXPECT_EQ(input.GetInputDeviceName(3), "");

    EXPECT_EQ(WaveEngine::PositionText(59999), "0:00:59");
    EXPECT_EQ(WaveEngine::PositionText(3725000), "1:02:05");
    EXPECT_EQ(WaveEngine::PositionText(900), "0:00:00");

    WaveFormat threeBytes = MakeFormat(Coding::Pcm8, 3, 8000);
    ASSERT_TRUE(h.engine.SetFormat(threeBytes));
    ASSERT_EQ(h.engine.Open(), 0);
    EXPECT_EQ(h.engine.BufferLength(), 31998u);
    audio::TestWaveSystem none({}, {"Speaker"});
    audio::WaveEngine silent(none, h.settings);
    EXPECT_EQ(silent.Open(), 1);
    WaveFormat noCodec = threeBytes;
    noCodec.tag = 0x0055;
    const std::string file = h.Path("p.wav");
    testing_support::PutFile(file, audio_test::AsString(MakeWave(Fmt16(noCodec), Ramp(30))));
    EXPECT_EQ(silent.StartPlay(0, file, h.window.Poster(), 0), 2) << "no codec for it";
    testing_support::PutFile(
        file, audio_test::AsString(
                  MakeWave(audio::FormatBytes(MakeFormat(Coding::Pcm8, 1, 8000)), Ramp(30))));
    EXPECT_EQ(silent.StartPlay(0, file, h.window.Poster(), 0), 0) << "playing needs no input";
    silent.StopPlay();
}

TEST(WaveFile, AFullDiskLeavesTheOldFileOrAValidShorterOne)
{
    testing_support::TempDir dir;
    const std::string path = dir / "phrase.wav";
    const Bytes old = MakeWave(audio::FormatBytes(MakeFormat(Coding::Pcm8, 1, 8000)), Ramp(100));
    testing_support::PutFile(path, audio_test::AsString(old));
    const WaveFormat f = MakeFormat(Coding::Pcm16, 1, 8000);

    EXPECT_TRUE(testing_support::OnFullDisk(30, [&] {
        audio::WaveFileWriter writer;
        return writer.Create(path, f) == 12;
    }));
    EXPECT_EQ(testing_support::GetFile(path), audio_test::AsString(old));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);

    EXPECT_TRUE(testing_support::OnFullDisk(10000, [&] {
        audio::WaveFileWriter writer;
        if (writer.Create(path, f) != 0)
            return false;
        const Bytes chunk = Ramp(3000);
        while (writer.Write(chunk.data(), chunk.size())) {
        }
        return writer.DataBytes() == 9000 && writer.Finish();
    }));
    const auto layout = Layout(path);
    EXPECT_EQ(layout.format, f);
    EXPECT_EQ(layout.dataSize, 9000u);
    EXPECT_EQ(FactOf(path), 4500u);
}

}  // namespace
