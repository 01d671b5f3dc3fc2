// radiosim as a real process on a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const std::string kRadiosim = std::string(CORVANE_BIN_DIR) + "/radiosim";

class Radiosim {
public:
    explicit Radiosim(std::vector<std::string> args)
    {
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        args.insert(args.begin(), kRadiosim);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, kRadiosim.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        close(err[1]);
        stdin_ = in[1];
        stdout_ = out[0];
        stderr_ = err[0];
    }
    ~Radiosim()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (int fd : {stdin_, stdout_, stderr_})
            if (fd >= 0)
                close(fd);
    }

    bool Started() const { return pid_ > 0; }

    // One line of standard output (without the newline), or "" after the time-out.
    std::string ReadLine(int timeoutMs = 10000)
    {
        std::string line;
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char c;
        while (Clock::now() < end) {
            pollfd pfd{stdout_, POLLIN, 0};
            if (poll(&pfd, 1, 100) <= 0)
                continue;
            if (read(stdout_, &c, 1) != 1)
                break;
            if (c == '\n')
                return line;
            line += c;
        }
        return "";
    }
    std::string ReadAllStderr()
    {
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = read(stderr_, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<size_t>(n));
        return text;
    }
    void Type(const std::string& line)
    {
        const std::string text = line + "\n";
        ASSERT_EQ(write(stdin_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void Signal(int sig) { kill(pid_, sig); }
    // The exit code, or -1 when it did not end in time or ended by a signal.
    int WaitExit(int timeoutMs = 20000)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int stdin_ = -1, stdout_ = -1, stderr_ = -1;
};

int OpenDevice(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fd;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// Reads until `count` bytes came or the time-out passed.
Bytes ReadBytes(int fd, size_t count, int timeoutMs = 10000)
{
    Bytes got;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count && Clock::now() < end) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, 100) <= 0)
            continue;
        uint8_t buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

const Bytes kReadFrequency{0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
const Bytes kEchoAndAnswer{0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD, 0xFE, 0xFE, 0xE0,
                           0x58, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};

TEST(Radiosim, ServesTheDeviceAcrossReopensUntilSigterm)
{
    Radiosim sim({});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.ReadLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;

    for (int round = 0; round < 3; ++round) {
        const int fd = OpenDevice(path);
        ASSERT_GE(fd, 0) << path;
        ASSERT_EQ(write(fd, kReadFrequency.data(), kReadFrequency.size()),
                  static_cast<ssize_t>(kReadFrequency.size()));
        EXPECT_EQ(ReadBytes(fd, kEchoAndAnswer.size()), kEchoAndAnswer) << "round " << round;
        close(fd);
    }

    // The front panel on standard input: a new frequency goes out as a transceive frame.
    const int fd = OpenDevice(path);
    ASSERT_GE(fd, 0);
    sim.Type("frequency 7050000");
    EXPECT_EQ(sim.ReadLine(), "ok");
    EXPECT_EQ(ReadBytes(fd, 11),
              (Bytes{0xFE, 0xFE, 0x00, 0x58, 0x00, 0x00, 0x00, 0x05, 0x07, 0x00, 0xFD}));
    // One command silenced: the line carries only its echo; the others are answered.
    sim.Type("fault silence 16 02");
    EXPECT_EQ(sim.ReadLine(), "ok");
    const Bytes preamp{0xFE, 0xFE, 0x58, 0xE0, 0x16, 0x02, 0xFD};
    ASSERT_EQ(write(fd, preamp.data(), preamp.size()), static_cast<ssize_t>(preamp.size()));
    ASSERT_EQ(write(fd, kReadFrequency.data(), kReadFrequency.size()),
              static_cast<ssize_t>(kReadFrequency.size()));
    Bytes expected = preamp;
    expected.insert(expected.end(), kReadFrequency.begin(), kReadFrequency.end());
    for (uint8_t b : {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x00, 0x05, 0x07, 0x00, 0xFD})
        expected.push_back(b);
    EXPECT_EQ(ReadBytes(fd, expected.size()), expected);
    sim.Type("fault clear");
    EXPECT_EQ(sim.ReadLine(), "ok");
    ASSERT_EQ(write(fd, preamp.data(), preamp.size()), static_cast<ssize_t>(preamp.size()));
    EXPECT_EQ(ReadBytes(fd, 7 + 8), (Bytes{0xFE, 0xFE, 0x58, 0xE0, 0x16, 0x02, 0xFD, 0xFE, 0xFE,
                                           0xE0, 0x58, 0x16, 0x02, 0x00, 0xFD}));
    sim.Type("warp 9");
    EXPECT_EQ(sim.ReadLine(), "unknown command: warp");
    close(fd);

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.WaitExit(), 0);
}

TEST(Radiosim, OptionsChooseModelAddressAndEcho)
{
    Radiosim sim({"--model", "IC718", "--address", "0x62", "--latency", "0", "--baud", "9600",
                  "--no-echo", "--frequency", "7000000"});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.ReadLine();
    const int fd = OpenDevice(path);
    ASSERT_GE(fd, 0) << path;
    const Bytes ask{0xFE, 0xFE, 0x62, 0xE0, 0x03, 0xFD, 0xFE, 0xFE, 0x62, 0xE0, 0x02, 0xFD};
    ASSERT_EQ(write(fd, ask.data(), ask.size()), static_cast<ssize_t>(ask.size()));
    const Bytes expected{0xFE, 0xFE, 0xE0, 0x62, 0x03, 0x00, 0x00, 0x00, 0x07, 0x00,
                         0xFD, 0xFE, 0xFE, 0xE0, 0x62, 0x02, 0x00, 0x00, 0x03, 0x00,
                         0x00, 0x2D, 0x99, 0x99, 0x99, 0x29, 0x00, 0xFD};
    EXPECT_EQ(ReadBytes(fd, expected.size()), expected);
    close(fd);
    sim.Signal(SIGINT);
    EXPECT_EQ(sim.WaitExit(), 0);
}

TEST(Radiosim, BadArgumentsExitWithTwoAndSayWhy)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--model", "IC9700"}, {"--address", "zz"}, {"--address", "FE"},
        {"--latency", "-1"},   {"--baud", "0"},     {"--frequency", "500000000"},
        {"--latency"},         {"--loud"}};
    for (const auto& args : bad) {
        Radiosim sim(args);
        ASSERT_TRUE(sim.Started());
        EXPECT_EQ(sim.WaitExit(), 2) << args[0];
        const std::string err = sim.ReadAllStderr();
        EXPECT_NE(err.find("radiosim: "), std::string::npos) << err;
        EXPECT_NE(err.find("usage:"), std::string::npos) << err;
    }
    Radiosim help({"--help"});
    EXPECT_NE(help.ReadLine().find("usage: radiosim"), std::string::npos);
    EXPECT_EQ(help.WaitExit(), 0);
}

}  // namespace
