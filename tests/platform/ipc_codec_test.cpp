#include "IpcFrame.h"
#include "IpcMessages.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace platform::ipc;

namespace {

std::vector<Message> SampleMessages()
{
    return {
        Message::Hello(7),
        Message::HelloAnswer(8, 4242, "Corvane Icom 706 Control - 1.0"),
        Message::HelloAnswer(9, 1, ""),
        Message::Request(10, 51, -1),
        Message::Request(0xFFFFFFFFu, INT32_MIN, INT32_MAX),
        Message::Answer(11, -1),
        Message::Register(12, 0xFEDCBA9876543210ull),
        Message::Notification(0x1122334455667788ull, 0, 14070000),
    };
}

std::string Encode(const std::vector<Message>& messages)
{
    std::string bytes;
    for (const Message& m : messages)
        AppendMessage(bytes, m);
    return bytes;
}

// Feeds bytes in pieces of the given sizes and decodes every frame; stops at a malformed one.
struct Decoded {
    std::vector<Message> messages;
    int undecodable = 0;
    bool malformed = false;
};

Decoded FeedInPieces(const std::string& bytes, std::mt19937& rng, std::size_t maxPiece)
{
    Decoded out;
    FrameReader reader;
    std::size_t pos = 0;
    std::uniform_int_distribution<std::size_t> piece(1, maxPiece);
    while (pos < bytes.size() && !out.malformed) {
        const std::size_t n = std::min(piece(rng), bytes.size() - pos);
        reader.Feed(bytes.data() + pos, n);
        pos += n;
        Frame frame;
        for (;;) {
            const auto r = reader.Next(frame);
            if (r == FrameReader::Result::NeedMore)
                break;
            if (r == FrameReader::Result::Malformed) {
                out.malformed = true;
                break;
            }
            if (auto m = DecodeMessage(frame))
                out.messages.push_back(*m);
            else
                ++out.undecodable;
        }
    }
    return out;
}

void ExpectSame(const Message& a, const Message& b)
{
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.value, b.value);
    EXPECT_EQ(a.token, b.token);
    EXPECT_EQ(a.pid, b.pid);
    EXPECT_EQ(a.title, b.title);
}

}  // namespace

TEST(IpcCodec, MessagesSurviveAnySplitOfTheStream)
{
    const auto sent = SampleMessages();
    const std::string bytes = Encode(sent);
    std::mt19937 rng(1);
    for (std::size_t maxPiece : {1u, 3u, 7u, 64u, 4096u}) {
        const Decoded got = FeedInPieces(bytes, rng, maxPiece);
        EXPECT_FALSE(got.malformed);
        EXPECT_EQ(got.undecodable, 0);
        ASSERT_EQ(got.messages.size(), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i)
            ExpectSame(got.messages[i], sent[i]);
    }
}

TEST(IpcCodec, IntegersAreLittleEndianOnTheWire)
{
    std::string bytes;
    AppendMessage(bytes, Message::Request(0x01020304, 0x784, -2));
    const std::string expected(
        "\x0d\x00\x00\x00\x03"
        "\x04\x03\x02\x01"
        "\x84\x07\x00\x00"
        "\xfe\xff\xff\xff",
        17);
    EXPECT_EQ(bytes, expected);
}

TEST(IpcCodec, LengthsOutsideTheCapAreMalformed)
{
    for (std::uint32_t len : {0u, std::uint32_t(kMaxFrameBody + 1), 0xFFFFFFFFu}) {
        FrameReader reader;
        const char header[4] = {char(len & 0xFF), char((len >> 8) & 0xFF), char((len >> 16) & 0xFF),
                                char((len >> 24) & 0xFF)};
        reader.Feed(header, 4);  // refused from the header alone, without waiting for a body
        Frame frame;
        EXPECT_EQ(reader.Next(frame), FrameReader::Result::Malformed) << len;
        reader.Feed("\x05\x00", 2);
        EXPECT_EQ(reader.Next(frame), FrameReader::Result::Malformed) << "stays malformed";
        reader.Reset();
        EXPECT_EQ(reader.Next(frame), FrameReader::Result::NeedMore);
    }
    std::string out;
    EXPECT_TRUE(AppendFrame(out, 1, std::string(kMaxFrameBody - 1, 'x')));
    EXPECT_FALSE(AppendFrame(out, 1, std::string(kMaxFrameBody, 'x')));
    FrameReader reader;
    reader.Feed(out.data(), out.size());
    Frame frame;
    ASSERT_EQ(reader.Next(frame), FrameReader::Result::Frame);
    EXPECT_EQ(frame.payload.size(), kMaxFrameBody - 1);
    EXPECT_EQ(reader.Next(frame), FrameReader::Result::NeedMore);
}

TEST(IpcCodec, WrongSizesAndUnknownTypesDoNotDecode)
{
    for (const Message& m : SampleMessages()) {
        std::string bytes;
        AppendMessage(bytes, m);
        Frame frame{static_cast<std::uint8_t>(bytes[4]), bytes.substr(5)};
        ASSERT_TRUE(DecodeMessage(frame));
        if (m.type == MessageType::HelloAnswer) {
            frame.payload.resize(7);  // cut into the fixed fields
            EXPECT_FALSE(DecodeMessage(frame));
            continue;
        }
        Frame longer = frame;
        longer.payload.push_back('\0');
        EXPECT_FALSE(DecodeMessage(longer)) << int(frame.type);
        frame.payload.pop_back();
        EXPECT_FALSE(DecodeMessage(frame)) << int(frame.type);
    }
    for (int type : {0, 7, 15, 200, 255})
        EXPECT_FALSE(DecodeMessage(Frame{std::uint8_t(type), std::string(16, '\0')}));
    EXPECT_FALSE(DecodeMessage(Frame{2, std::string(8 + kMaxTitle + 1, 'a')}));
}

TEST(IpcCodec, LongTitlesAreCut)
{
    std::string bytes;
    AppendMessage(bytes, Message::HelloAnswer(1, 2, std::string(kMaxTitle + 100, 'T')));
    FrameReader reader;
    reader.Feed(bytes.data(), bytes.size());
    Frame frame;
    ASSERT_EQ(reader.Next(frame), FrameReader::Result::Frame);
    auto m = DecodeMessage(frame);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->title.size(), kMaxTitle);
}

// Random bytes, valid streams with flipped bytes and truncated streams: the reader and decoder
// never crash, never read past their input and always finish.
TEST(IpcCodec, FuzzedInputNeverCrashesOrHangs)
{
    std::mt19937 rng(20261209);
    const std::string valid = Encode(SampleMessages());
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        switch (round % 3) {
        case 0: {
            std::uniform_int_distribution<int> len(0, 300), byte(0, 255);
            bytes.resize(len(rng));
            for (char& c : bytes)
                c = static_cast<char>(byte(rng));
            // Small lengths now and then, so that random bodies reach the decoder.
            if (bytes.size() > 4 && round % 2)
                bytes[1] = bytes[2] = bytes[3] = 0;
            break;
        }
        case 1: {
            bytes = valid;
            std::uniform_int_distribution<std::size_t> at(0, bytes.size() - 1);
            std::uniform_int_distribution<int> byte(0, 255);
            for (int i = 0; i < 3; ++i)
                bytes[at(rng)] = static_cast<char>(byte(rng));
            break;
        }
        default: {
            std::uniform_int_distribution<std::size_t> cut(0, valid.size());
            bytes = valid.substr(0, cut(rng));
            break;
        }
        }
        const Decoded got = FeedInPieces(bytes, rng, 50);
        EXPECT_LE(got.messages.size(), bytes.size() / 5);
    }
}
