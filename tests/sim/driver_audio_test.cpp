// Drivers/SimRadio.so delivers receiver audio: a format block, then 20 ms blocks at real pace,
// a tone while its squelch is open and quiet noise while it is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SimRadioControl.h"
#include "VekDriverApi.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::string kDriverPath = std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so";
constexpr unsigned kMsgRx = 0x414;
constexpr unsigned kMsgAudio = 0x415;

struct Block {
    Clock::time_point at;
    std::vector<unsigned char> bytes;
};

// The audio blocks, copied as they are announced (the driver keeps only the latest ones).
struct AudioInbox {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Block> blocks;
    decltype(&DrvGetBuffAudio) get = nullptr;

    static void Post(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
    {
        auto* self = static_cast<AudioInbox*>(context);
        if (message != kMsgAudio)
            return;
        const unsigned char* bytes = self->get(lParam);
        std::lock_guard<std::mutex> lock(self->mutex);
        self->blocks.push_back(
            {Clock::now(), bytes ? std::vector<unsigned char>(bytes, bytes + wParam)
                                 : std::vector<unsigned char>{}});
        self->changed.notify_all();
    }
    std::vector<Block> WaitFor(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(10), [&] { return blocks.size() >= count; });
        return std::exchange(blocks, {});
    }
};

std::vector<int> Samples(const Block& b)
{
    std::vector<int> s;
    for (std::size_t i = 1; i + 1 < b.bytes.size(); i += 2)
        s.push_back(static_cast<int16_t>(b.bytes[i] | (b.bytes[i + 1] << 8)));
    return s;
}

double Rms(const std::vector<int>& s)
{
    double sum = 0;
    for (int v : s)
        sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / s.size());
}

// Sign changes per second: 2000 for a 1 kHz tone.
double Crossings(const std::vector<int>& s)
{
    int n = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        n += (s[i - 1] < 0) != (s[i] < 0);
    return n * 8000.0 / s.size();
}

class SimRadioAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SIMRADIO_LATENCY", "0", 1);
        handle_ = dlopen(kDriverPath.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        init_ = reinterpret_cast<decltype(&DrvInit)>(dlsym(handle_, "DrvInit"));
        supports_ =
            reinterpret_cast<decltype(&DrvIsSupportAudio)>(dlsym(handle_, "DrvIsSupportAudio"));
        start_ = reinterpret_cast<decltype(&DrvAudioStart)>(dlsym(handle_, "DrvAudioStart"));
        pause_ = reinterpret_cast<decltype(&DrvAudioPause)>(dlsym(handle_, "DrvAudioPause"));
        stopAudio_ = reinterpret_cast<decltype(&DrvAudioStop)>(dlsym(handle_, "DrvAudioStop"));
        stop_ = reinterpret_cast<decltype(&DrvStop)>(dlsym(handle_, "DrvStop"));
        control_ = reinterpret_cast<decltype(&SimRadioControl)>(dlsym(handle_, "SimRadioControl"));
        inbox_.get =
            reinterpret_cast<decltype(&DrvGetBuffAudio)>(dlsym(handle_, "DrvGetBuffAudio"));
        ASSERT_TRUE(init_ && supports_ && start_ && pause_ && stopAudio_ && stop_ && control_
                    && inbox_.get);
    }
    void TearDown() override
    {
        if (stop_)
            stop_();
        if (handle_)
            dlclose(handle_);
        unsetenv("SIMRADIO_AUDIO");
        unsetenv("SIMRADIO_LATENCY");
    }
    void Control(const char* command) { ASSERT_EQ(control_(command, nullptr, 0), 1) << command; }

    void* handle_ = nullptr;
    decltype(&DrvInit) init_ = nullptr;
    decltype(&DrvIsSupportAudio) supports_ = nullptr;
    decltype(&DrvAudioStart) start_ = nullptr;
    decltype(&DrvAudioPause) pause_ = nullptr;
    decltype(&DrvAudioStop) stopAudio_ = nullptr;
    decltype(&DrvStop) stop_ = nullptr;
    decltype(&SimRadioControl) control_ = nullptr;
    AudioInbox inbox_;
};

TEST_F(SimRadioAudio, BlocksFollowTheSquelchAtRealPace)
{
    ASSERT_EQ(init_(&AudioInbox::Post, &inbox_, kMsgRx, kMsgAudio, 0x416), 1);
    EXPECT_EQ(supports_(), 1);
    Control("frequency 14074000");
    Control("signals clear");
    const auto started = Clock::now();
    ASSERT_EQ(start_(), 1);

    auto blocks = inbox_.WaitFor(11);
    ASSERT_GE(blocks.size(), 11u);
    const std::vector<unsigned char> format{1,    1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80,
                                            0x3E, 0, 0, 2, 0, 16,   0,    0, 0};
    EXPECT_EQ(blocks[0].bytes, format) << "PCM, mono, 8000 Hz, 16000 bytes/s, 2, 16 bit, no extra";
    for (std::size_t i = 1; i < blocks.size(); ++i) {
        ASSERT_EQ(blocks[i].bytes.size(), 321u);
        EXPECT_EQ(blocks[i].bytes[0], 0);
        const auto s = Samples(blocks[i]);
        EXPECT_LT(Rms(s), 300) << "quiet noise while the squelch is closed";
        EXPECT_GT(Rms(s), 10);
    }
    const double ms = std::chrono::duration<double, std::milli>(blocks.back().at - started).count();
    // Not faster than real time; a busy machine may only make them later.
    EXPECT_GT(ms, 180) << "ten blocks of 20 ms";

    // A signal above the squelch level opens it: the tone comes.
    Control("signal 14000000 14100000 120");
    inbox_.WaitFor(3);  // blocks made before the change
    blocks = inbox_.WaitFor(10);
    std::vector<int> tone;
    for (const Block& b : blocks) {
        const auto s = Samples(b);
        tone.insert(tone.end(), s.begin(), s.end());
    }
    EXPECT_GT(Rms(tone), 5000);
    EXPECT_NEAR(Crossings(tone), 2000, 100);

    // Closed again: back to noise. Paused: nothing comes; stopped: nothing comes.
    Control("signals clear");
    inbox_.WaitFor(3);
    for (const Block& b : inbox_.WaitFor(5))
        EXPECT_LT(Rms(Samples(b)), 300);
    ASSERT_EQ(pause_(1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    inbox_.WaitFor(0);  // a block that was on its way
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(inbox_.WaitFor(0).empty());
    ASSERT_EQ(pause_(0), 1);
    EXPECT_FALSE(inbox_.WaitFor(2).empty());
    ASSERT_EQ(stopAudio_(), 1);
    inbox_.WaitFor(0);  // once it returns nothing more comes
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(inbox_.WaitFor(0).empty());
}

TEST_F(SimRadioAudio, SwitchedOffItSupportsNoAudioAndSendsNone)
{
    setenv("SIMRADIO_AUDIO", "0", 1);
    ASSERT_EQ(init_(&AudioInbox::Post, &inbox_, kMsgRx, kMsgAudio, 0x416), 1);
    EXPECT_EQ(supports_(), 0);
    EXPECT_EQ(start_(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(inbox_.WaitFor(0).empty());
}

}  // namespace
