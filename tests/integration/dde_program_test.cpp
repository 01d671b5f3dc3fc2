// The DDE service of the running program, driven from outside with ddeclient: Corvane offscreen
// with the simulated radio's driver, which records what it is asked in its trace.
#include "CorvaneProgram.h"
#include "DdeClient.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstring>

namespace {

using ext_test::Corvane;
using ext_test::WaitFor;

// ddeclient started with `args`; its output read line by line; its exit status at the end.
class DdeClientRun {
public:
    explicit DdeClientRun(const std::vector<std::string>& args)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<std::string> argv{std::string(CORVANE_BIN_DIR) + "/ddeclient"};
            argv.insert(argv.end(), args.begin(), args.end());
            std::vector<char*> p;
            for (std::string& a : argv)
                p.push_back(a.data());
            p.push_back(nullptr);
            ::execv(p[0], p.data());
            ::_exit(127);
        }
        ::close(out[1]);
        fd_ = out[0];
    }
    ~DdeClientRun()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0)
            ::close(fd_);
    }
    DdeClientRun(const DdeClientRun&) = delete;
    DdeClientRun& operator=(const DdeClientRun&) = delete;

    // The next line; "" at the end of the output or when none comes within timeoutMs.
    std::string Next(int timeoutMs = 30000)
    {
        for (;;) {
            if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            pollfd p{fd_, POLLIN, 0};
            char chunk[512];
            if (fd_ < 0 || ::poll(&p, 1, timeoutMs) <= 0)
                return {};
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n <= 0)
                return {};
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }
    pid_t Pid() const { return pid_; }
    int Status()
    {
        int s = 0;
        ::waitpid(pid_, &s, 0);
        pid_ = -1;
        return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string buffer_;
};

// The whole output and the exit status of one run.
std::pair<std::string, int> RunClient(const std::vector<std::string>& args)
{
    DdeClientRun run(args);
    std::string out;
    for (std::string line = run.Next(); !line.empty(); line = run.Next())
        out += line + "\n";
    return {out, run.Status()};
}

std::string Request(const std::string& topic, const std::string& item)
{
    return RunClient({"request", topic, item}).first;
}

// The item once it has read `wanted` (a stale radio report may change it again), or its last
// text.
std::string Settled(const std::string& topic, const std::string& item, const std::string& wanted)
{
    std::string text;
    for (int i = 0; i < 300 && (text = Request(topic, item)) != wanted; ++i)
        ::usleep(20000);
    return text;
}

bool DdeServing()
{
    return WaitFor([] { return RunClient({"services"}).second == 0; });
}

}  // namespace

TEST(DdeProgram, ClientsReadTuneKeyAndAreRefusedWhatTheServiceLacks)
{
    EXPECT_EQ(RunClient({"request", "DDEServer", "RadioState"}).second, 2);  // no program yet

    Corvane program;
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(DdeServing());
    EXPECT_EQ(RunClient({"services"}).first, "RA-Z Aradezovo\n");
    EXPECT_EQ(RunClient({"topics"}).first, "System\nDDEServer\nRAZ_AradezovoUI\n");
    EXPECT_EQ(Settled("RAZ_AradezovoUI", "FreqDisplay", "14074,000\n"), "14074,000\n");
    EXPECT_EQ(Request("ddeserver", "RadioModel"), "IC-706\n");
    EXPECT_EQ(RunClient({"request", "Nowhere", "Topics"}).second, 1);
    EXPECT_EQ(RunClient({"request", "DDEServer", "Nothing"}).second, 1);
    EXPECT_EQ(RunClient({"--service", "Other", "request", "System", "Topics"}).second, 2);
    EXPECT_EQ(RunClient({"poke", "System", "Topics", "x"}).second, 1);

    std::size_t from = 0;
    EXPECT_EQ(
        RunClient({"execute", "DDEServer", "000xcvrfreqmode<xcvrfreq:9>14195,000<xcvrmode:3>USB"})
            .second,
        0);
    program.WaitHeard("E0 05 00 50 19 14 00 FD", from);
    EXPECT_NE(from, 0u) << program.Trace();
    program.WaitHeard("E0 06 01", from);
    EXPECT_EQ(Settled("DDEServer", "RadioMode", "USB\n"), "USB\n");
    EXPECT_EQ(Settled("DDEServer", "RcvFreq", "14195,000\n"), "14195,000\n");

    // A frequency the radio cannot take changes nothing, and is still acknowledged.
    EXPECT_EQ(RunClient({"execute", "DDEServer", "000xcvrfreqmode<xcvrfreq:6>-14195"}).second, 0);
    EXPECT_EQ(Request("RAZ_AradezovoUI", "FreqDisplay"), "14195,000\n");

    EXPECT_EQ(RunClient({"execute", "RAZ_AradezovoUI", "000transmit"}).second, 0);
    EXPECT_TRUE(WaitFor([&] { return program.Saw("PTT 1"); })) << program.Trace();
    EXPECT_EQ(Settled("DDEServer", "RadioState", "trasmit\n"), "trasmit\n");
    EXPECT_EQ(RunClient({"execute", "DDEServer", "000receive"}).second, 0);
    EXPECT_TRUE(WaitFor([&] { return program.Saw("PTT 0"); }));
    EXPECT_EQ(Settled("DDEServer", "RadioState", "receive\n"), "receive\n");
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(DdeProgram, AdviseLoopsFollowEveryRetuneAndEndWithTheProgram)
{
    Corvane program;
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(DdeServing());
    Settled("RAZ_AradezovoUI", "FreqDisplay", "14074,000\n");

    // A client that stops reading while big pokes are advised to it: the program goes on
    // serving, and drops it once its queue is full.
    const auto sockets = dde::ListDdeSockets(platform::ipc::RuntimeFolder().path);
    ASSERT_EQ(sockets.size(), 1u);
    dde::CDdeClient stalled, poker;
    ASSERT_EQ(stalled.Connect(sockets[0], "RA-Z Aradezovo", "DDEServer", 5000),
              dde::CDdeClient::Connected::Yes);
    ASSERT_TRUE(stalled.AdviseStart("DDECommand", true, 5000));
    ASSERT_EQ(poker.Connect(sockets[0], "", "DDEServer", 5000), dde::CDdeClient::Connected::Yes);
    const std::string big(60000, 'x');
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(poker.Poke("DDECommand", big, 5000)) << i;
    int advised = 0;
    bool ended = false;
    while (!ended && stalled.NextAdvise(5000, ended))
        ++advised;
    EXPECT_TRUE(ended);
    EXPECT_LT(advised, 30);

    DdeClientRun hot({"advise", "RAZ_AradezovoUI", "FreqDisplay"});
    DdeClientRun warm({"advise", "--warm", "RAZ_AradezovoUI", "freqdisplay"});
    // The links stand once a poke of the item reaches both.
    bool hotPrimed = false, warmPrimed = false;
    for (int i = 0; i < 100 && !(hotPrimed && warmPrimed); ++i) {
        ASSERT_EQ(RunClient({"poke", "RAZ_AradezovoUI", "FreqDisplay", "primed"}).second, 0);
        hotPrimed = hotPrimed || hot.Next(200) == "primed";
        warmPrimed = warmPrimed || warm.Next(200) == "primed";
    }
    ASSERT_TRUE(hotPrimed && warmPrimed);
    std::vector<std::string> hotLines, warmLines;
    const char* tunes[] = {"7050,000", "3573,500", "21074,000"};
    for (const char* khz : tunes) {
        const std::string command =
            std::string("000xcvrfreqmode<xcvrfreq:") + std::to_string(std::strlen(khz)) + ">" + khz;
        EXPECT_EQ(RunClient({"execute", "DDEServer", command}).second, 0);
        EXPECT_EQ(Settled("RAZ_AradezovoUI", "FreqDisplay", std::string(khz) + "\n"),
                  std::string(khz) + "\n");
    }
    for (std::string line = hot.Next(); !line.empty(); line = hot.Next()) {
        hotLines.push_back(line);
        if (line == "21074,000")
            break;
    }
    for (std::string line = warm.Next(); !line.empty() && line != "21074,000"; line = warm.Next())
        warmLines.push_back(line);
    warmLines.push_back("21074,000");
    // Each retune in order; the radio's reports republish the frequency in force, so one may
    // repeat, or come once more from a read that was answered just before a retune.
    const std::vector<std::string> retunes{"7050,000", "3573,500", "21074,000"};
    const auto inOrder = [&](const std::vector<std::string>& lines) {
        std::size_t next = 0;
        for (const std::string& l : lines) {
            if (l != "primed" && l != "14074,000"
                && std::find(retunes.begin(), retunes.end(), l) == retunes.end())
                return false;
            if (next < retunes.size() && l == retunes[next])
                ++next;
        }
        return next == retunes.size();
    };
    EXPECT_TRUE(inOrder(hotLines)) << testing::PrintToString(hotLines);
    EXPECT_TRUE(inOrder(warmLines)) << testing::PrintToString(warmLines);

    // SIGTERM ends the conversations: the clients are told and end by themselves.
    EXPECT_EQ(program.Terminate(), 0);
    for (std::string line = hot.Next(); !line.empty(); line = hot.Next()) {
    }
    for (std::string line = warm.Next(); !line.empty(); line = warm.Next()) {
    }
    EXPECT_EQ(hot.Status(), 0);
    EXPECT_EQ(warm.Status(), 0);
}

TEST(DdeProgram, IdleAndHalfSentConnectionsLockNoClientOut)
{
    Corvane program;
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(DdeServing());
    const auto sockets = dde::ListDdeSockets(platform::ipc::RuntimeFolder().path);
    ASSERT_EQ(sockets.size(), 1u);

    // Every place taken: idle connections, conversations that went quiet, and frames cut off
    // in the middle.
    std::vector<platform::ipc::UniqueFd> idle;
    for (int i = 0; i < 40; ++i)
        idle.push_back(platform::ipc::ConnectTo(sockets[0], 5000));
    std::vector<dde::CDdeClient> quiet(12);
    for (dde::CDdeClient& c : quiet)
        ASSERT_EQ(c.Connect(sockets[0], "RA-Z Aradezovo", "DDEServer", 5000),
                  dde::CDdeClient::Connected::Yes);
    for (int i = 0; i < 12; ++i) {
        idle.push_back(platform::ipc::ConnectTo(sockets[0], 5000));
        const char half[] = {0x40, 0x00, 0x00, 0x00, 0x01};
        ASSERT_EQ(platform::ipc::SendSome(idle.back().Get(), half, sizeof half), 5);
    }
    for (const auto& fd : idle)
        ASSERT_TRUE(fd.Valid());

    for (int round = 0; round < 3; ++round)
        EXPECT_EQ(RunClient({"request", "DDEServer", "RadioModel"}),
                  std::make_pair(std::string("IC-706\n"), 0));
    EXPECT_EQ(program.Terminate(), 0);
}
