// Every code of the protocol through the library against the running program: the answer that
// comes back, and what reached the simulated radio's driver because of it.
#include "CorvaneProgram.h"

#include <cstring>

using namespace ext_test;

namespace {

// Lines in the order they must appear in the trace, other lines (the polling) between them.
testing::AssertionResult InOrder(const std::string& trace, const std::vector<std::string>& lines)
{
    std::size_t at = 0;
    for (const std::string& line : lines) {
        const std::size_t found = trace.find(line, at);
        if (found == std::string::npos)
            return testing::AssertionFailure()
                   << "\"" << line << "\" not found after offset " << at << " in\n"
                   << trace;
        at = found + line.size();
    }
    return testing::AssertionSuccess();
}

// The line argument of ExtSetDTR and ExtSetRTS: 0 the auxiliary port's, 1 the CAT port's.
constexpr int kAuxiliaryLine = 0;

}  // namespace

TEST(CorvaneEveryCode, EachCodeIsAnsweredAndActsOnTheRadio)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();

    Client client([&program](Library& l, const Client::Link& out) {
        std::size_t heard = 0;
        out.Say("init", l.ExtInit());
        out.Say("pid", l.ExtGethWnd());
        out.Say("language", std::strcmp(l.ExtGetLanguage(), "English.lng") == 0 ? 1 : 0);
        out.Say("0", l.ExtGetFrequency() > 0 ? 1 : 0);
        out.Say("1", l.ExtSetFrequency(14250000));
        out.Say("0=", Settled(l.ExtGetFrequency, 14250000));
        out.Say("3", l.ExtSetMode(2));
        out.Say("2", Settled(l.ExtGetMode, 2));
        program.WaitHeard("FE FE 58 E0 06 01", heard);
        out.Say("5", l.ExtSetFilter(1));
        program.WaitHeard("FE FE 58 E0 06 01 02 FD", heard);
        out.Say("4", l.ExtGetFilter());
        out.Say("5off", l.ExtSetFilter(0));
        out.Say("4off", l.ExtGetFilter());
        out.Say("7", l.ExtSetSplit(1));
        out.Say("6", Settled(l.ExtGetSplit, 1));
        program.WaitHeard("FE FE 58 E0 0F 01 FD", heard);
        out.Say("7off", l.ExtSetSplit(0));
        out.Say("6off", Settled(l.ExtGetSplit, 0));
        out.Say("9", l.ExtSelectVFOB());
        out.Say("8", l.ExtSelectVFOA());
        out.Say("10", l.ExtSetVFOAB());
        out.Say("12", l.ExtIfPTT());
        out.Say("13", l.ExtIfAudio());
        out.Say("14", l.ExtPTT(1));
        out.Say("14off", l.ExtPTT(0));
        out.Say("15", l.ExtRecord(1));
        out.Say("16", l.ExtPause(1));
        out.Say("17", l.ExtPlay(1));
        out.Say("18", l.ExtIfExtensionG());
        out.Say("19", l.ExtGetSignal());
        out.Say("20", l.ExtGetSQL());
        // The function switches: each set on, read, set off, read. (A poll answered while the
        // attenuator waits for the preamp to go off may show the old state for a moment.)
        int32_t (*const gets[])() = {l.ExtGetAtt, l.ExtGetPre,  l.ExtGetAGC,
                                     l.ExtGetNB,  l.ExtGetTone, l.ExtGetTSQL,
                                     l.ExtGetVox, l.ExtGetBkIn, l.ExtGetComp};
        int32_t (*const sets[])(int32_t) = {l.ExtSetAtt, l.ExtSetPre,  l.ExtSetAGC,
                                            l.ExtSetNB,  l.ExtSetTone, l.ExtSetTSQL,
                                            l.ExtSetVox, l.ExtSetBkIn, l.ExtSetComp};
        const char* const on[] = {"11 20",    "16 02 01", "16 12 01", "16 22 01", "16 42 01",
                                  "16 43 01", "16 46 01", "16 47 01", "16 44 01"};
        for (int i = 0; i < 9; ++i) {
            const std::string set = std::to_string(22 + 2 * i);
            const std::string get = std::to_string(21 + 2 * i);
            out.Say(set, sets[i](1));
            out.Say(get, Settled(gets[i], 1));
            program.WaitHeard(std::string("FE FE 58 E0 ") + on[i] + " FD", heard);
            out.Say(set + "off", sets[i](0));
            out.Say(get + "off", Settled(gets[i], 0));
        }
        // Duplex works in FM only.
        out.Say("3fm", l.ExtSetMode(6));
        out.Say("2fm", Settled(l.ExtGetMode, 6));
        out.Say("39", l.ExtSetDupP(1));
        out.Say("40", l.ExtSetDupM(1));
        out.Say("40off", l.ExtSetDupM(0));
        out.Say("42", l.ExtSetDup(600));
        out.Say("41", l.ExtGetDup());
        out.Say("42bad", l.ExtSetDup(10000));
        out.Say("43", l.ExtGetCom());
        out.Say("44", l.ExtGetComPTT());
        out.Say("45", l.ExtOpenCom(3));
        out.Say("45again", l.ExtOpenCom(4));
        out.Say("47", l.ExtSetDTR(kAuxiliaryLine, 1));
        out.Say("48", l.ExtSetRTS(kAuxiliaryLine, 0));
        out.Say("46", l.ExtCloseCom());
        out.Say("49", l.ExtGetVersionPrg());
        out.Say("50", l.ExtGetSystem());
        out.Say("51", l.ExtSetHwnd(77));
        // The program answers a change before the radio has it: code 11 waits until it has.
        out.Say("ready", 1);
        out.Hold();
        out.Say("11", l.ExtExit(0));
    });
    const pid_t pid = program.Pid();
    std::vector<std::pair<std::string, long long>> lines;
    for (auto line = client.Next(); !line.first.empty() && line.first != "ready";
         line = client.Next())
        lines.push_back(line);
    EXPECT_TRUE(WaitFor([&] { return program.Saw("FE FE 58 E0 0D"); })) << program.Trace();
    int status = -1;
    for (const auto& line : client.Finish(&status))
        lines.push_back(line);
    EXPECT_EQ(status, 0);
    std::map<std::string, long long> got = AsMap(lines);
    // The program ends on code 11, cleanly.
    EXPECT_EQ(program.process->WaitExit(), 0);

    const std::map<std::string, long long> expected = {
        {"loaded", 1}, {"init", 1},    {"language", 1},
        {"0", 1},      {"1", 0},       {"0=", 14250000},
        {"3", 0},      {"2", 2},       {"5", 0},
        {"4", 1},      {"5off", 0},    {"4off", 0},
        {"7", 0},      {"6", 1},       {"7off", 0},
        {"6off", 0},   {"9", 0},       {"8", 0},
        {"10", 0},     {"12", 1},  // the driver keys the transmitter
        {"13", 0},  // the recorder is off in the first-run settings, so are its codes
        {"14", 0},     {"14off", 0},   {"15", -1},
        {"16", -1},    {"17", -1},     {"18", 1},
        {"19", -3},  // the simulated radio hears nothing: the reading below S0

        {"22", 0},     {"21", 1},      {"22off", 0},
        {"21off", 0},  {"24", 0},      {"23", 1},
        {"24off", 0},  {"23off", 0},   {"26", 0},
        {"25", 1},     {"26off", 0},   {"25off", 0},
        {"28", 0},     {"27", 1},      {"28off", 0},
        {"27off", 0},  {"30", 0},      {"29", 1},
        {"30off", 0},  {"29off", 0},   {"32", 0},
        {"31", 1},     {"32off", 0},   {"31off", 0},
        {"34", 0},     {"33", 1},      {"34off", 0},
        {"33off", 0},  {"36", 0},      {"35", 1},
        {"36off", 0},  {"35off", 0},   {"38", 0},
        {"37", 1},     {"38off", 0},   {"37off", 0},
        {"3fm", 0},    {"2fm", 6},     {"39", 0},
        {"40", 0},     {"40off", 0},   {"42", 0},
        {"41", 600},   {"42bad", -1},  {"43", 0},
        {"44", 0},  // the settings' CAT port (0: the driver) and PTT port (none)
        {"45", 0},     {"45again", 3}, {"47", 0},
        {"48", 0},     {"46", 0},      {"50", 1},
        {"51", 0},     {"11", 0},
    };
    for (const auto& [key, value] : expected) {
        ASSERT_TRUE(got.count(key)) << key;
        EXPECT_EQ(got.at(key), value) << "code " << key;
    }
    EXPECT_EQ(got["pid"], pid);
    EXPECT_GT(got["49"], 0);
    EXPECT_TRUE(got["20"] == 0 || got["20"] == 1) << got["20"];

    // The frames, in the order asked; the driver's own calls come at once, past the queue.
    const std::string trace = program.Trace();
    EXPECT_TRUE(InOrder(trace, {
                                   "FE FE 58 E0 05 00 00 25 14 00 FD",  // 14.250 MHz
                                   "FE FE 58 E0 06 01",                 // USB
                                   "FE FE 58 E0 06 01 02 FD",           // narrow filter
                                   "FE FE 58 E0 06 01 01 FD",           // normal filter
                                   "FE FE 58 E0 0F 01 FD",
                                   "FE FE 58 E0 0F 00 FD",
                                   "FE FE 58 E0 07 01 FD",
                                   "FE FE 58 E0 07 00 FD",
                                   "FE FE 58 E0 07 A0 FD",
                                   "FE FE 58 E0 11 20 FD",
                                   "FE FE 58 E0 11 00 FD",
                                   "FE FE 58 E0 16 02 01 FD",
                                   "FE FE 58 E0 16 02 00 FD",
                                   "FE FE 58 E0 16 12 01 FD",
                                   "FE FE 58 E0 16 12 02 FD",
                                   "FE FE 58 E0 16 22 01 FD",
                                   "FE FE 58 E0 16 22 00 FD",
                                   "FE FE 58 E0 16 42 01 FD",
                                   "FE FE 58 E0 16 42 00 FD",
                                   "FE FE 58 E0 16 43 01 FD",
                                   "FE FE 58 E0 16 43 00 FD",
                                   "FE FE 58 E0 16 46 01 FD",
                                   "FE FE 58 E0 16 46 00 FD",
                                   "FE FE 58 E0 16 47 01 FD",
                                   "FE FE 58 E0 16 47 00 FD",
                                   "FE FE 58 E0 16 44 01 FD",
                                   "FE FE 58 E0 16 44 00 FD",
                                   "FE FE 58 E0 06 05",  // FM
                                   "FE FE 58 E0 0F 12 FD",
                                   "FE FE 58 E0 0F 11 FD",
                                   "FE FE 58 E0 0F 10 FD",
                                   "FE FE 58 E0 0D",  // the 600 kHz offset
                               }));
    EXPECT_TRUE(InOrder(trace, {"PTT 1", "PTT 0"}));
    // The auxiliary port's lines go to the driver with the whole argument (line and state).
    EXPECT_TRUE(InOrder(trace, {"OPEN COM3", "DTR 65536 1", "RTS 0 0", "CLOSE COM3"}));
    // Keyed and unkeyed through the driver: the program did not leave the transmitter on.
    EXPECT_FALSE(program.Saw("STOPPED WHILE KEYED"));
}
