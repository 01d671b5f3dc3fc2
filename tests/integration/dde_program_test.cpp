// The DDE service of the running program, driven from outside with ddeclient: Corvane offscreen
// with the simulated radio's driver, which records what it is asked in its trace.
#include "CorvaneProgram.h"
#include "DdeClient.h"
#include "DdeItemNode.h"

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
    // `withErrors`: its standard error comes in the same lines.
    explicit DdeClientRun(const std::vector<std::string>& args, bool withErrors = false)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            if (withErrors)
                ::dup2(out[1], STDERR_FILENO);
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

// The whole output (with the errors when asked) and the exit status of one run.
std::pair<std::string, int> RunClient(const std::vector<std::string>& args, bool withErrors = false)
{
    DdeClientRun run(args, withErrors);
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
    EXPECT_EQ(RunClient({"--service", "Other", "topics"}, true),
              std::make_pair(std::string("ddeclient: no service Other runs\n"), 2));
    // A name no DDE client can send is said to be one, not taken for a missing service.
    const std::string longTopic(256, 't');
    EXPECT_EQ(
        RunClient({"request", longTopic, "Topics"}, true),
        std::make_pair(std::string("ddeclient: the topic name is 256 bytes long; a DDE name has at "
                                   "most 255\n"),
                       64));
    EXPECT_EQ(RunClient({"request", std::string(255, 't'), "Topics"}).second, 1);
    // The items are the program's: no client changes what the others read.
    EXPECT_EQ(RunClient({"poke", "System", "Topics", "x"}).second, 1);
    EXPECT_EQ(RunClient({"poke", "RAZ_AradezovoUI", "FreqDisplay", "7000,000"}).second, 1);
    EXPECT_EQ(Request("RAZ_AradezovoUI", "FreqDisplay"), "14074,000\n");

    std::size_t from = 0;
    EXPECT_EQ(
        RunClient({"execute", "DDEServer", "000xcvrfreqmode<xcvrfreq:9>14195,000<xcvrmode:3>USB"})
            .second,
        0);
    program.WaitHeard("E0 05 00 50 19 14 00 FD", from);
    program.WaitHeard("E0 06 01", from);
    EXPECT_EQ(Settled("DDEServer", "RadioMode", "USB\n"), "USB\n");
    EXPECT_EQ(Settled("DDEServer", "RcvFreq", "14195,000\n"), "14195,000\n");

    // A frequency the radio cannot take changes nothing, and nonsense does nothing: neither is
    // acknowledged.
    EXPECT_EQ(RunClient({"execute", "DDEServer", "000xcvrfreqmode<xcvrfreq:6>-14195"}, true),
              std::make_pair(std::string("ddeclient: execute refused\n"), 1));
    EXPECT_EQ(RunClient({"execute", "DDEServer", "hello"}).second, 1);
    EXPECT_EQ(RunClient({"execute", "DDEServer", "000setfilterpurple"}).second, 1);
    EXPECT_EQ(Request("RAZ_AradezovoUI", "FreqDisplay"), "14195,000\n");

    EXPECT_EQ(RunClient({"execute", "RAZ_AradezovoUI", "000transmit"}).second, 0);
    EXPECT_TRUE(WaitFor([&] { return program.Saw("PTT 1"); })) << program.Trace();
    EXPECT_EQ(Settled("DDEServer", "RadioState", "trasmit\n"), "trasmit\n");
    EXPECT_EQ(RunClient({"execute", "DDEServer", "000receive"}).second, 0);
    EXPECT_TRUE(WaitFor([&] { return program.Saw("PTT 0"); }));
    EXPECT_EQ(Settled("DDEServer", "RadioState", "receive\n"), "receive\n");
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(DdeProgram, SwitchesActOnTheRadioAndItsItemsFollow)
{
    // A signal at 7.105 MHz and none at 14.074 MHz, so the S-meter has something to change.
    ::setenv("SIMRADIO_SIGNALS", "7100000-7110000:148", 1);
    Corvane program;
    ::unsetenv("SIMRADIO_SIGNALS");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(DdeServing());
    const auto execute = [](const std::string& command) {
        return RunClient({"execute", "DDEServer", command}).second;
    };
    std::size_t from = 0;

    // Split on, on again (already on: nothing sent), then off.
    EXPECT_EQ(Settled("DDEServer", "RadioSplit", "0\n"), "0\n");
    EXPECT_EQ(execute("000setsplitON"), 0);
    ASSERT_TRUE(program.WaitHeard("E0 0F 01 FD", from));
    EXPECT_EQ(Settled("DDEServer", "RadioSplit", "1\n"), "1\n");
    EXPECT_EQ(execute("000setsplitOn"), 0);
    EXPECT_EQ(execute("000setsplitoff"), 0);
    program.WaitHeard("E0 0F 00 FD", from);
    const std::string trace = program.Trace();
    std::size_t splitsOn = 0;
    for (std::size_t at = trace.find("E0 0F 01 FD"); at != std::string::npos;
         at = trace.find("E0 0F 01 FD", at + 1))
        ++splitsOn;
    EXPECT_EQ(splitsOn, 1u) << trace;
    EXPECT_EQ(Settled("DDEServer", "RadioSplit", "0\n"), "0\n");

    // VFO B, then back to A: the radio switches, RadioVFO follows, and the other VFO's
    // frequency is AltFreqDisplay.
    EXPECT_EQ(execute("000setvfoB"), 0);
    program.WaitHeard("E0 07 01 FD", from);
    EXPECT_EQ(Settled("DDEServer", "RadioVFO", "1\n"), "1\n");
    EXPECT_EQ(execute("000setvfo A"), 0);
    program.WaitHeard("E0 07 00 FD", from);
    EXPECT_EQ(Settled("DDEServer", "RadioVFO", "0\n"), "0\n");
    EXPECT_EQ(Settled("RAZ_AradezovoUI", "AltFreqDisplay", "14074,000\n"), "14074,000\n");

    // VFO A moves to the signal: the S-meter shows it. "VFO A=B" copies A into B.
    EXPECT_EQ(execute("000xcvrfreqmode<xcvrfreq:8>7105,000"), 0);
    EXPECT_EQ(Settled("RAZ_AradezovoUI", "FreqDisplay", "7105,000\n"), "7105,000\n");
    EXPECT_EQ(Settled("RAZ_AradezovoUI", "SMeterValue", "S 9+20\n"), "S 9+20\n");
    EXPECT_EQ(Request("RAZ_AradezovoUI", "AltFreqDisplay"), "14074,000\n");
    EXPECT_EQ(execute("000setvboequal"), 0);
    program.WaitHeard("E0 07 A0 FD", from);
    EXPECT_EQ(Settled("RAZ_AradezovoUI", "AltFreqDisplay", "7105,000\n"), "7105,000\n");

    // The narrow filter, then the wide one, sent with the mode (USB).
    EXPECT_EQ(execute("000setfilternarrow"), 0);
    program.WaitHeard("E0 06 01 02 FD", from);
    EXPECT_EQ(execute("000setfilterwide"), 0);
    program.WaitHeard("E0 06 01 01 FD", from);
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(DdeProgram, AdviseLoopsHearOfChangesOnlyAndEndWithTheProgram)
{
    ::setenv("SIMRADIO_SIGNALS", "7100000-7110000:148", 1);
    Corvane program;
    ::unsetenv("SIMRADIO_SIGNALS");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(DdeServing());
    Settled("RAZ_AradezovoUI", "FreqDisplay", "14074,000\n");
    std::string quiet;
    ASSERT_TRUE(WaitFor([&] {
        quiet = Request("RAZ_AradezovoUI", "SMeterValue");
        return quiet.size() > 1;
    }));
    quiet.pop_back();
    ASSERT_NE(quiet, "S 9+20");

    // ddeclient's loop stands once it has heard the transmitter switch.
    DdeClientRun ending({"advise", "DDEServer", "RadioState"});
    bool heard = false;
    for (int i = 0; i < 200 && !heard; ++i) {
        ASSERT_EQ(RunClient({"execute", "DDEServer", i % 2 ? "000receive" : "000transmit"}).second,
                  0);
        heard = !ending.Next(100).empty();
    }
    ASSERT_TRUE(heard);
    ASSERT_EQ(RunClient({"execute", "DDEServer", "000receive"}).second, 0);
    ASSERT_EQ(Settled("DDEServer", "RadioState", "receive\n"), "receive\n");

    const auto sockets = dde::ListDdeSockets(platform::ipc::RuntimeFolder().path);
    ASSERT_EQ(sockets.size(), 1u);
    dde::CDdeClient hot, warm, meter;
    for (dde::CDdeClient* c : {&hot, &warm, &meter})
        ASSERT_EQ(c->Connect(sockets[0], "RA-Z Aradezovo", "RAZ_AradezovoUI", 5000),
                  dde::CDdeClient::Connected::Yes);
    ASSERT_TRUE(hot.AdviseStart("FreqDisplay", true, 5000));
    ASSERT_TRUE(warm.AdviseStart("freqdisplay", false, 5000));
    ASSERT_TRUE(meter.AdviseStart("SMeterValue", true, 5000));

    const std::vector<std::string> retunes{"7105,000", "3573,500", "21074,000"};
    for (const std::string& khz : retunes) {
        const std::string command =
            "000xcvrfreqmode<xcvrfreq:" + std::to_string(khz.size()) + ">" + khz;
        EXPECT_EQ(RunClient({"execute", "DDEServer", command}).second, 0);
        EXPECT_EQ(Settled("RAZ_AradezovoUI", "FreqDisplay", khz + "\n"), khz + "\n");
        const std::string meterText = khz == "7105,000" ? "S 9+20" : quiet;
        EXPECT_EQ(Settled("RAZ_AradezovoUI", "SMeterValue", meterText + "\n"), meterText + "\n");
    }
    // What a loop heard up to `last`: the warm loop is told without the text and asks for it.
    const auto heardUpTo = [](dde::CDdeClient& c, bool asks, const std::string& last) {
        std::vector<std::string> lines;
        bool ended = false;
        while (lines.size() < 50 && (lines.empty() || lines.back() != last)) {
            const auto a = c.NextAdvise(30000, ended);
            if (!a)
                break;
            const auto text = asks ? c.Request(a->name2, true, 5000) : a->data;
            lines.push_back(text ? std::string(dde::UpToZero(*text)) : "<none>");
        }
        return lines;
    };
    // Each change is heard, in order, though the radio reports the same text many times a
    // second: never the same text twice running.
    const auto changesOnly = [](const std::vector<std::string>& lines) {
        return std::adjacent_find(lines.begin(), lines.end()) == lines.end();
    };
    const auto inOrder = [](const std::vector<std::string>& lines,
                            const std::vector<std::string>& wanted) {
        std::size_t next = 0;
        for (const std::string& l : lines)
            if (next < wanted.size() && l == wanted[next])
                ++next;
        return next == wanted.size();
    };
    const std::vector<std::string> hotLines = heardUpTo(hot, false, retunes.back());
    EXPECT_TRUE(inOrder(hotLines, retunes) && changesOnly(hotLines))
        << testing::PrintToString(hotLines);
    const std::vector<std::string> warmLines = heardUpTo(warm, true, retunes.back());
    EXPECT_TRUE(!warmLines.empty() && warmLines.back() == retunes.back())
        << testing::PrintToString(warmLines);
    const std::vector<std::string> meterLines = heardUpTo(meter, false, quiet);
    EXPECT_TRUE(inOrder(meterLines, {"S 9+20", quiet}) && changesOnly(meterLines))
        << testing::PrintToString(meterLines);
    // Nothing more while the program reads the same frequency and S-meter on.
    std::size_t polls = program.Trace().size();
    for (int i = 0; i < 5; ++i)
        program.WaitHeard("E0 15 02 FD", polls);
    bool ended = false;
    for (dde::CDdeClient* c : {&hot, &meter})
        EXPECT_FALSE(c->NextAdvise(200, ended));

    // SIGTERM ends the conversations: the clients are told and end by themselves.
    EXPECT_EQ(program.Terminate(), 0);
    for (dde::CDdeClient* c : {&hot, &warm, &meter}) {
        ended = false;
        while (!ended && c->NextAdvise(30000, ended)) {
        }
        EXPECT_TRUE(ended);
    }
    for (std::string line = ending.Next(); !line.empty(); line = ending.Next()) {
    }
    EXPECT_EQ(ending.Status(), 0);
}

TEST(DdeProgram, IdleAndHalfSentConnectionsLockNoClientOut)
{
    Corvane program;
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(DdeServing());
    const auto sockets = dde::ListDdeSockets(platform::ipc::RuntimeFolder().path);
    ASSERT_EQ(sockets.size(), 1u);

    // A client that only listens, in its advise loop once it has heard a retune.
    DdeClientRun listening({"advise", "RAZ_AradezovoUI", "FreqDisplay"});
    const auto retune = [](const std::string& khz) {
        return RunClient({"execute", "DDEServer",
                          "000xcvrfreqmode<xcvrfreq:" + std::to_string(khz.size()) + ">" + khz})
            .second;
    };
    bool heard = false;
    for (int i = 0; i < 200 && !heard; ++i) {
        ASSERT_EQ(retune(i % 2 ? "14074,000" : "7105,000"), 0);
        heard = !listening.Next(100).empty();
    }
    ASSERT_TRUE(heard);

    // Every place taken, and taken again: idle connections, conversations that went quiet, and
    // frames cut off in the middle. The listener keeps its place.
    std::vector<platform::ipc::UniqueFd> idle;
    for (int i = 0; i < 70; ++i)
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
    ASSERT_EQ(retune("3573,500"), 0);
    std::string line;
    for (int i = 0; i < 50 && line != "3573,500"; ++i)
        line = listening.Next();
    EXPECT_EQ(line, "3573,500");
    EXPECT_EQ(program.Terminate(), 0);
    while (!listening.Next().empty()) {
    }
    EXPECT_EQ(listening.Status(), 0);
}
