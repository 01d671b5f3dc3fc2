#include <gtest/gtest.h>

#include <vector>

#include "FrameAssembler.h"

using cat::CFrameAssembler;
using Bytes = std::vector<uint8_t>;

namespace {

struct Collector {
    CFrameAssembler assembler{[this](const uint8_t* f, int n) { frames.emplace_back(f, f + n); }};
    std::vector<Bytes> frames;

    void Feed(const Bytes& bytes) { assembler.Feed(bytes.data(), bytes.size()); }
};

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes kFreqReply = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
const Bytes kOk = {0xFE, 0xFE, 0xE0, 0x58, 0xFB, 0xFD};
const Bytes kEcho = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};

}  // namespace

TEST(FrameAssembler, SameFramesWhateverTheSplit)
{
    const Bytes stream = Concat({{0x00, 0x13}, kEcho, kFreqReply, {0x77}, kOk});
    for (size_t cut1 = 0; cut1 <= stream.size(); ++cut1) {
        for (size_t cut2 = cut1; cut2 <= stream.size(); ++cut2) {
            Collector c;
            c.Feed(Bytes(stream.begin(), stream.begin() + cut1));
            c.Feed(Bytes(stream.begin() + cut1, stream.begin() + cut2));
            c.Feed(Bytes(stream.begin() + cut2, stream.end()));
            ASSERT_EQ(c.frames.size(), 3u) << cut1 << "/" << cut2;
            EXPECT_EQ(c.frames[0], kEcho);
            EXPECT_EQ(c.frames[1], kFreqReply);
            EXPECT_EQ(c.frames[2], kOk);
        }
    }
    Collector oneByOne;
    for (uint8_t b : stream)
        oneByOne.assembler.FeedByte(b);
    EXPECT_EQ(oneByOne.frames.size(), 3u);
}

TEST(FrameAssembler, DropsGarbageCollisionsAndCutOffFrames)
{
    Collector c;
    // Noise, a lone end byte, a lone preamble byte before a frame.
    c.Feed(Concat({{0x00, 0xFD, 0x12, 0xFE, 0x34, 0xFD}, kFreqReply}));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], kFreqReply);

    // A collision garbles the frame under assembly; the next one comes through.
    c.frames.clear();
    c.Feed(Concat({{0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0xFC, 0xFC, 0xFC, 0x00, 0xFD}, kOk}));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], kOk);

    // A preamble inside a frame starts it again.
    c.frames.clear();
    c.Feed(Concat({{0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00}, kOk}));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], kOk);

    // Extra preamble bytes are one preamble.
    c.frames.clear();
    c.Feed({0xFE, 0xFE, 0xFE, 0xFE, 0xE0, 0x58, 0xFB, 0xFD});
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], kOk);
    EXPECT_GE(c.assembler.DiscardedCount(), 2u);
}

TEST(FrameAssembler, LimitsFramesTo256Bytes)
{
    Collector c;
    // 300 bytes after FE FE without an end byte: dropped, then the next frame is found.
    Bytes runaway = {0xFE, 0xFE};
    runaway.insert(runaway.end(), 300, 0x42);
    c.Feed(Concat({runaway, {0xFD}, kOk}));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], kOk);

    // Exactly 256 bytes pass, 257 do not.
    Bytes longest = {0xFE, 0xFE};
    longest.insert(longest.end(), 253, 0x01);
    longest.push_back(0xFD);
    ASSERT_EQ(longest.size(), 256u);
    Bytes tooLong = {0xFE, 0xFE};
    tooLong.insert(tooLong.end(), 254, 0x01);
    tooLong.push_back(0xFD);
    c.frames.clear();
    c.Feed(Concat({longest, tooLong, kEcho}));
    ASSERT_EQ(c.frames.size(), 2u);
    EXPECT_EQ(c.frames[0], longest);
    EXPECT_EQ(c.frames[1], kEcho);
}
