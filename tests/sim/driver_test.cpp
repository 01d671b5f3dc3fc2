// Drivers/SimRadio.so loaded with dlopen, as the program loads a radio driver.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "SimRadioControl.h"
#include "VekDriverApi.h"

namespace {

using Bytes = std::vector<uint8_t>;
const std::string kDriverPath = std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so";
constexpr unsigned kMsgRx = 0x414;

struct Posted {
    unsigned message;
    uintptr_t length;
    intptr_t handle;
};

// What the driver posted, from whichever thread it posted on.
struct Inbox {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Posted> posted;
    std::atomic<int> calls{0};

    static void Post(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
    {
        auto* self = static_cast<Inbox*>(context);
        std::lock_guard<std::mutex> lock(self->mutex);
        self->posted.push_back(Posted{message, wParam, lParam});
        ++self->calls;
        self->changed.notify_all();
    }
    bool WaitFor(size_t count, int timeoutMs = 10000)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return posted.size() >= count; });
    }
    std::vector<Posted> Take()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(posted, {});
    }
};

class SimRadioDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle_ = dlopen(kDriverPath.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        Bind(init_, "DrvInit");
        Bind(send_, "DrvSendCommand");
        Bind(getRx_, "DrvGetBuffRx");
        Bind(connected_, "DrvIsConnected");
        Bind(stop_, "DrvStop");
        Bind(control_, "SimRadioControl");
        Bind(ptt_, "DrvPTT");
        unsetenv("SIMRADIO_MODEL");
        unsetenv("SIMRADIO_ADDRESS");
        unsetenv("SIMRADIO_TRACE");
        setenv("SIMRADIO_LATENCY", "0", 1);
    }
    void TearDown() override
    {
        if (stop_)
            stop_();
        if (handle_)
            dlclose(handle_);
    }
    template <class F>
    void Bind(F*& fn, const char* name)
    {
        fn = reinterpret_cast<F*>(dlsym(handle_, name));
        ASSERT_NE(fn, nullptr) << name;
    }
    int Send(const Bytes& frame) { return send_(frame.data(), static_cast<int>(frame.size())); }
    Bytes Frame(const Posted& p)
    {
        const unsigned char* bytes = getRx_(p.handle);
        return bytes ? Bytes(bytes, bytes + p.length) : Bytes{};
    }
    std::string Control(const std::string& command)
    {
        char reply[512];
        const int result = control_(command.c_str(), reply, sizeof reply);
        return std::to_string(result) + " " + reply;
    }

    void* handle_ = nullptr;
    decltype(&DrvInit) init_ = nullptr;
    decltype(&DrvSendCommand) send_ = nullptr;
    decltype(&DrvGetBuffRx) getRx_ = nullptr;
    decltype(&DrvIsConnected) connected_ = nullptr;
    decltype(&DrvStop) stop_ = nullptr;
    decltype(&SimRadioControl) control_ = nullptr;
    decltype(&DrvPTT) ptt_ = nullptr;
    Inbox inbox_;
};

const Bytes kReadFrequency{0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
const Bytes kFrequencyAnswer{0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};

// The bytes of an ELF64 file's section, found by name from the section headers.
std::string ElfSection(const std::string& path, const std::string& name)
{
    std::ifstream in(path, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < sizeof(Elf64_Ehdr))
        return "";
    Elf64_Ehdr eh;
    std::memcpy(&eh, file.data(), sizeof eh);
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64)
        return "";
    auto header = [&](size_t i, Elf64_Shdr& sh) {
        const size_t at = eh.e_shoff + i * sizeof(Elf64_Shdr);
        if (at + sizeof sh > file.size())
            return false;
        std::memcpy(&sh, file.data() + at, sizeof sh);
        return true;
    };
    Elf64_Shdr names;
    if (!header(eh.e_shstrndx, names))
        return "";
    for (size_t i = 0; i < eh.e_shnum; ++i) {
        Elf64_Shdr sh;
        if (!header(i, sh) || names.sh_offset + sh.sh_name >= file.size())
            continue;
        if (name != file.c_str() + names.sh_offset + sh.sh_name)
            continue;
        if (sh.sh_offset + sh.sh_size > file.size())
            return "";
        return file.substr(sh.sh_offset, sh.sh_size);
    }
    return "";
}

TEST(SimRadioDriverFile, CarriesVersionSectionAndEveryExport)
{
    const std::string section = ElfSection(kDriverPath, ".corvane_version");
    EXPECT_EQ(section.rfind("CORVANE-VERSION 1\n", 0), 0u) << section;
    for (const char* line :
         {"FixedFileVersion=1.2.0.5\n", "FixedProductVersion=1.2.0.5\n",
          "FileDescription=Simulated CI-V radio\n", "FileVersion=1.2.0.5\n",
          "ProductVersion=1.2.0.5\n", "CompanyName=Dravik\n", "ProductName=", "Comments="})
        EXPECT_NE(section.find(line), std::string::npos) << line;

    void* handle = dlopen(kDriverPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    for (const char* name :
         {"DrvInit", "DrvIsSupportAudio", "DrvIsSupportPTT", "DrvSendCommand", "DrvGetBuffRx",
          "DrvGetBuffAudio", "DrvIsConnected", "DrvPTT", "DrvAudioStart", "DrvAudioStop",
          "DrvAudioPause", "DrvOpenCom", "DrvCloseCom", "DrvSetDTR", "DrvSetRTS", "DrvSetup",
          "DrvStop", "SimRadioControl"})
        EXPECT_NE(dlsym(handle, name), nullptr) << name;
    // The simulated radio inside stays private.
    EXPECT_EQ(dlsym(handle, "_ZN3sim14SimulatedRadio5WriteEPKhm"), nullptr);
    auto audio = reinterpret_cast<decltype(&DrvIsSupportAudio)>(dlsym(handle, "DrvIsSupportAudio"));
    auto ptt = reinterpret_cast<decltype(&DrvIsSupportPTT)>(dlsym(handle, "DrvIsSupportPTT"));
    auto buffAudio = reinterpret_cast<decltype(&DrvGetBuffAudio)>(dlsym(handle, "DrvGetBuffAudio"));
    auto openCom = reinterpret_cast<decltype(&DrvOpenCom)>(dlsym(handle, "DrvOpenCom"));
    auto setDtr = reinterpret_cast<decltype(&DrvSetDTR)>(dlsym(handle, "DrvSetDTR"));
    EXPECT_EQ(audio(), 1);
    EXPECT_EQ(ptt(), 1);
    EXPECT_EQ(buffAudio(1), nullptr);
    EXPECT_EQ(openCom(3), 1);
    EXPECT_EQ(openCom(0), 0);
    EXPECT_EQ(setDtr(3, 1), 1);
    dlclose(handle);
}

TEST_F(SimRadioDriver, AnswersThroughTheCallbackAndTracesWhatItWasSent)
{
    char tracePath[] = "/tmp/simradio_trace_XXXXXX";
    const int traceFd = mkstemp(tracePath);
    ASSERT_GE(traceFd, 0);
    close(traceFd);
    setenv("SIMRADIO_TRACE", tracePath, 1);

    EXPECT_EQ(connected_(), 0);
    EXPECT_EQ(Control("state").substr(0, 2), "-1");
    ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, kMsgRx + 1, kMsgRx + 2), 1);
    EXPECT_EQ(connected_(), 1);
    EXPECT_EQ(Send(kReadFrequency), 1);
    ASSERT_TRUE(inbox_.WaitFor(1));
    EXPECT_EQ(Send({0xFE, 0xFE, 0x58, 0xE0, 0x19, 0x00, 0xFD}), 1);
    ASSERT_TRUE(inbox_.WaitFor(2));
    const std::vector<Posted> posted = inbox_.Take();
    ASSERT_EQ(posted.size(), 2u);  // answers only: no echo
    EXPECT_EQ(posted[0].message, kMsgRx);
    EXPECT_EQ(posted[0].length, kFrequencyAnswer.size());
    EXPECT_EQ(Frame(posted[0]), kFrequencyAnswer);
    EXPECT_EQ(Frame(posted[1]), (Bytes{0xFE, 0xFE, 0xE0, 0x58, 0x19, 0x00, 0x58, 0xFD}));
    EXPECT_EQ(getRx_(0), nullptr);
    EXPECT_EQ(getRx_(posted[1].handle + 1000), nullptr);
    // Refused without reaching the radio.
    EXPECT_EQ(send_(nullptr, 6), 0);
    EXPECT_EQ(send_(kReadFrequency.data(), 0), 0);
    EXPECT_EQ(send_(kReadFrequency.data(), 257), 0);
    stop_();

    std::ifstream trace(tracePath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"FE FE 58 E0 03 FD", "FE FE 58 E0 19 00 FD"}));
    unlink(tracePath);
}

TEST_F(SimRadioDriver, TraceNotesAStopWhileKeyed)
{
    char tracePath[] = "/tmp/simradio_keyed_XXXXXX";
    const int traceFd = mkstemp(tracePath);
    ASSERT_GE(traceFd, 0);
    close(traceFd);
    setenv("SIMRADIO_TRACE", tracePath, 1);
    const auto trace = [&] {
        std::ifstream in(tracePath);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, 0, 0), 1);
    ptt_(1);
    ptt_(0);
    stop_();
    EXPECT_EQ(trace(), "PTT 1\nPTT 0\n");
    ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, 0, 0), 1);
    ptt_(1);
    stop_();
    EXPECT_EQ(trace(), "PTT 1\nPTT 0\nPTT 1\nSTOPPED WHILE KEYED\n");
    unlink(tracePath);
}

TEST_F(SimRadioDriver, ModelAndAddressComeFromTheEnvironment)
{
    setenv("SIMRADIO_MODEL", "ic718", 1);
    setenv("SIMRADIO_ADDRESS", "6a", 1);
    ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, 0, 0), 1);
    EXPECT_EQ(Send({0xFE, 0xFE, 0x6A, 0xE0, 0x02, 0xFD}), 1);
    ASSERT_TRUE(inbox_.WaitFor(1));
    const auto posted = inbox_.Take();
    EXPECT_EQ(Frame(posted[0]), (Bytes{0xFE, 0xFE, 0xE0, 0x6A, 0x02, 0x00, 0x00, 0x03, 0x00, 0x00,
                                       0x2D, 0x99, 0x99, 0x99, 0x29, 0x00, 0xFD}));
    auto setup = reinterpret_cast<decltype(&DrvSetup)>(dlsym(handle_, "DrvSetup"));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(setup(nullptr, 0), 1);
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("IC718"), std::string::npos) << shown;
    EXPECT_NE(shown.find("6A"), std::string::npos) << shown;
}

TEST_F(SimRadioDriver, HandlesStayGoodForTheLast256Frames)
{
    ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, 0, 0), 1);
    constexpr size_t kCount = 300;
    for (size_t i = 0; i < kCount; ++i)
        Send(kReadFrequency);
    ASSERT_TRUE(inbox_.WaitFor(kCount, 30000));
    const auto posted = inbox_.Take();
    ASSERT_EQ(posted.size(), kCount);
    for (size_t i = kCount - 256; i < kCount; ++i)
        EXPECT_EQ(Frame(posted[i]), kFrequencyAnswer) << i;
    EXPECT_EQ(getRx_(posted[0].handle), nullptr);  // overwritten
    EXPECT_EQ(getRx_(posted[kCount - 257].handle), nullptr);
}

TEST_F(SimRadioDriver, ControlReachesTheRadioHooks)
{
    ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, 0, 0), 1);
    EXPECT_EQ(Control("knob 1"), "1 ok");  // a transceive frame to address 00
    ASSERT_TRUE(inbox_.WaitFor(1));
    EXPECT_EQ(Frame(inbox_.Take()[0]),
              (Bytes{0xFE, 0xFE, 0x00, 0x58, 0x00, 0x00, 0x50, 0x07, 0x14, 0x00, 0xFD}));
    EXPECT_EQ(Control("bogus"), "0 unknown command: bogus");
    EXPECT_EQ(ptt_(1), 1);
    EXPECT_NE(Control("state").find("transmitting=1"), std::string::npos);
    EXPECT_EQ(ptt_(0), 1);

    EXPECT_EQ(Control("link down"), "1 ok");
    EXPECT_EQ(connected_(), 0);
    inbox_.Take();
    Send(kReadFrequency);
    EXPECT_FALSE(inbox_.WaitFor(1, 300));
    EXPECT_EQ(Control("link up"), "1 ok");
    EXPECT_EQ(connected_(), 1);
    Send(kReadFrequency);
    EXPECT_TRUE(inbox_.WaitFor(1));
}

TEST_F(SimRadioDriver, NoCallbackAfterStopReturns)
{
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(init_(&Inbox::Post, &inbox_, kMsgRx, 0, 0), 1);
        std::atomic<bool> sending{true};
        std::thread worker([&] {
            while (sending)
                Send(kReadFrequency);
        });
        ASSERT_TRUE(inbox_.WaitFor(3));
        stop_();
        const int after = inbox_.calls.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(inbox_.calls.load(), after);
        EXPECT_EQ(connected_(), 0);
        EXPECT_EQ(Send(kReadFrequency), 0);
        sending = false;
        worker.join();
        inbox_.Take();
    }
}

}  // namespace
