// Random and truncated input for the DDE frame decoder and the Execute parser: no crash, no
// hang, and a good message still decodes after any garbage is cut off.
#include "DdeMessages.h"
#include "DdeTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace dde;

TEST(DdeFuzz, FramesOfAnyShapeDecodeOrAreRefused)
{
    std::mt19937 rng(22);
    DdeMessage good;
    good.type = DdeMessageType::Poke;
    good.id = 9;
    good.format = CF_TEXT;
    good.name1 = "FreqDisplay";
    good.data = std::string("14074,000\0", 10);
    std::string wire;
    ASSERT_TRUE(AppendDdeMessage(wire, good));

    for (int round = 0; round < 20000; ++round) {
        std::string bytes = wire.substr(0, rng() % (wire.size() + 1));
        if (round % 2 == 0)
            for (std::size_t i = 0; i < bytes.size(); ++i)
                if (rng() % 8 == 0)
                    bytes[i] = static_cast<char>(rng());
        if (round % 5 == 0)
            for (int i = rng() % 64; i > 0; --i)
                bytes.push_back(static_cast<char>(rng()));
        platform::ipc::FrameReader reader;
        reader.Feed(bytes.data(), bytes.size());
        platform::ipc::Frame frame;
        for (int n = 0; n < 8 && reader.Next(frame) == platform::ipc::FrameReader::Result::Frame;
             ++n)
            if (const auto m = DecodeDdeMessage(frame)) {
                EXPECT_LE(m->name1.size(), kMaxName);
                EXPECT_LE(m->name2.size(), kMaxName);
            }
        platform::ipc::Frame raw{static_cast<std::uint8_t>(rng()), bytes};
        DecodeDdeMessage(raw);
    }

    platform::ipc::FrameReader reader;
    reader.Feed(wire.data(), wire.size());
    platform::ipc::Frame frame;
    ASSERT_EQ(reader.Next(frame), platform::ipc::FrameReader::Result::Frame);
    const auto back = DecodeDdeMessage(frame);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name1, good.name1);
    EXPECT_EQ(back->data, good.data);
    EXPECT_EQ(back->id, 9u);
}

TEST(DdeFuzz, RandomExecuteTextsOnlyEverTuneWithinTheLimits)
{
    dde_test::Service s;
    std::mt19937 rng(5);
    const std::string pieces[] = {"000xcvrfreqmode",
                                  "<xcvrfreq:",
                                  "<xcvrmode:",
                                  ">",
                                  ":",
                                  "<",
                                  "14195,000",
                                  "USB",
                                  "2147483647",
                                  "99999999999",
                                  "-",
                                  ".",
                                  ",",
                                  "0",
                                  "9",
                                  "000setvfo",
                                  "000setsplit",
                                  "narrow",
                                  std::string(1, '\0')};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int i = rng() % 9; i > 0; --i)
            text += rng() % 4 == 0 ? std::string(1, static_cast<char>(rng()))
                                   : pieces[rng() % std::size(pieces)];
        s.window.calls.clear();
        const std::uintptr_t answer = s.Send(XTYP_EXECUTE, "DDEServer", {}, text).value;
        // Acknowledged or not, nothing else; a text not starting "000" is never a command.
        EXPECT_TRUE(answer == DDE_FACK || answer == 0);
        if (text.compare(0, 3, "000") != 0) {
            EXPECT_EQ(answer, 0u);
            EXPECT_TRUE(s.window.calls.empty());
        }
        for (const std::string& call : s.window.calls)
            if (call.rfind("freq ", 0) == 0) {
                const long long hz = std::stoll(call.substr(5));
                EXPECT_GE(hz, 30000);
                EXPECT_LE(hz, 199999999);
            }
    }
}
