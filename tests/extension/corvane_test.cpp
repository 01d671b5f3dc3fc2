// The extension library against the real program: Corvane started in a temporary program folder
// with the simulated radio's driver, offscreen, and clients that load the library with dlopen in
// processes of their own, as other programs do.
#include "CorvaneProgram.h"
#include "Process.h"

using namespace ext_test;

TEST(CorvaneExtension, AnswersTheRadioFunctionsAndDrivesTheRadio)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();

    Client client([&program](Library& l, const Client::Link& out) {
        std::size_t heard = 0;
        out.Say("init", l.ExtInit());
        out.Say("pid", l.ExtGethWnd());
        out.Say("extended", l.ExtIfExtensionG());
        out.Say("system", l.ExtGetSystem());
        out.Say("versionPrg", l.ExtGetVersionPrg());
        out.Say("setFrequency", l.ExtSetFrequency(7050000));
        out.Say("frequency", Settled(l.ExtGetFrequency, 7050000));
        out.Say("setMode", l.ExtSetMode(4));
        out.Say("mode", Settled(l.ExtGetMode, 4));
        program.WaitHeard("FE FE 58 E0 06 03", heard);
        out.Say("setMode2", l.ExtSetMode(2));
        out.Say("mode2", Settled(l.ExtGetMode, 2));
        out.Say("selectB", l.ExtSelectVFOB());
        out.Say("selectA", l.ExtSelectVFOA());
        out.Say("setSplit", l.ExtSetSplit(1));
        out.Say("split", Settled(l.ExtGetSplit, 1));
        program.WaitHeard("FE FE 58 E0 0F 01 FD", heard);
        out.Say("setSplitOff", l.ExtSetSplit(0));
        out.Say("splitOff", Settled(l.ExtGetSplit, 0));
        out.Say("setAtt", l.ExtSetAtt(1));
        out.Say("att", Settled(l.ExtGetAtt, 1));
        program.WaitHeard("FE FE 58 E0 11 20 FD", heard);
        out.Say("setAttOff", l.ExtSetAtt(0));
        out.Say("attOff", Settled(l.ExtGetAtt, 0));
        out.Say("badCode", l.ExtSetMode(99));
    });
    int status = -1;
    std::map<std::string, long long> got = AsMap(client.Finish(&status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(got["loaded"], 1);
    EXPECT_EQ(got["init"], 1);
    EXPECT_EQ(got["pid"], program.Pid());
    EXPECT_EQ(got["extended"], 1);  // IC706MKIIG
    EXPECT_EQ(got["system"], 1);
    EXPECT_GT(got["versionPrg"], 0);
    EXPECT_EQ(got["setFrequency"], 0);
    EXPECT_EQ(got["frequency"], 7050000);
    EXPECT_EQ(got["setMode"], 0);
    EXPECT_EQ(got["mode"], 4);
    EXPECT_EQ(got["setMode2"], 0);
    EXPECT_EQ(got["mode2"], 2);
    EXPECT_EQ(got["selectB"], 0);
    EXPECT_EQ(got["selectA"], 0);
    EXPECT_EQ(got["setSplit"], 0);
    EXPECT_EQ(got["split"], 1);
    EXPECT_EQ(got["setSplitOff"], 0);
    EXPECT_EQ(got["splitOff"], 0);
    EXPECT_EQ(got["setAtt"], 0);
    EXPECT_EQ(got["att"], 1);
    EXPECT_EQ(got["setAttOff"], 0);
    EXPECT_EQ(got["attOff"], 0);
    EXPECT_EQ(got["badCode"], -1);

    // The simulated radio was told (the program sends after answering): frequency, CW, VFO B
    // then A, split on and off, attenuator on and off.
    for (const char* frame :
         {"FE FE 58 E0 05 00 00 05 07 00 FD", "FE FE 58 E0 06 03", "FE FE 58 E0 07 01 FD",
          "FE FE 58 E0 07 00 FD", "FE FE 58 E0 0F 01 FD", "FE FE 58 E0 0F 00 FD",
          "FE FE 58 E0 11 20 FD", "FE FE 58 E0 11 00 FD"})
        EXPECT_TRUE(WaitFor([&] { return program.Saw(frame); })) << frame;

    // A client that keyed the transmitter and ends without unkeying, by exit or by kill -9,
    // takes its transmission with it.
    for (const bool killed : {false, true}) {
        std::size_t from = program.Trace().size();
        Client keyer([killed](Library& l, const Client::Link& out) {
            out.Say("ptt", l.ExtInit() ? l.ExtPTT(1) : -2);
            if (killed)
                out.Hold();
        });
        EXPECT_EQ(keyer.Next(), std::make_pair(std::string("loaded"), 1LL));
        EXPECT_EQ(keyer.Next(), std::make_pair(std::string("ptt"), 0LL));
        EXPECT_TRUE(program.WaitHeard("PTT 1", from));
        if (killed)
            keyer.Kill();
        EXPECT_TRUE(program.WaitHeard("PTT 0", from)) << killed;
    }
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(CorvaneExtension, TellsRegisteredClientsInOrderAndAStalledClientStallsNothing)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();

    // Registers as many tokens as a connection may hold, so that every change queues hundreds
    // of notifications for it, and then reads none of them until released.
    Client stalled([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        int registered = 0;
        for (std::uint64_t token = 1; token <= 256; ++token)
            registered += l.ExtSetHwnd(token) == 0 ? 1 : 0;
        out.Say("registered", registered);
        out.Say("ready", 1);
        out.Hold();
        // The program dropped it for what it left unread: its descriptor ends.
        std::vector<Told> told;
        out.Say("descriptor", DispatchUntil(l, Collect, &told, [] { return false; }));
    });
    ASSERT_EQ(stalled.Next(), std::make_pair(std::string("loaded"), 1LL));
    ASSERT_EQ(stalled.Next(), std::make_pair(std::string("init"), 1LL));
    ASSERT_EQ(stalled.Next(), std::make_pair(std::string("registered"), 256LL));
    ASSERT_EQ(stalled.Next(), std::make_pair(std::string("ready"), 1LL));

    constexpr int kChanges = 200;
    Client listener([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("register", l.ExtSetHwnd(706));
        std::vector<Told> told;
        l.ExtDispatchNotifications(Collect, &told);
        int answered = 0;
        for (int i = 1; i <= kChanges; ++i)
            answered += l.ExtSetFrequency(7000000 + i * 100) == 0 ? 1 : 0;
        out.Say("answered", answered);
        ReceiveUntilFrequency(l, 7000000 + kChanges * 100, told);
        for (const Told& t : told)
            if (t.first == 0)
                out.Say("told", t.second);
        out.Say("frequency", l.ExtGetFrequency());
    });
    int status = -1;
    const std::vector<std::pair<std::string, long long>> lines = listener.Finish(&status);
    EXPECT_EQ(status, 0);
    const std::map<std::string, long long> got = AsMap(lines);
    EXPECT_EQ(got.at("init"), 1);
    EXPECT_EQ(got.at("register"), 0);
    EXPECT_EQ(got.at("answered"), kChanges);
    EXPECT_EQ(got.at("frequency"), 7000000 + kChanges * 100);
    // Each change announced, in the order made. The polling may announce a value again, and
    // may announce the radio's own frequency read before the queued change reached the radio.
    const auto wasMade = [](long long v) { return v > 7000000 && v <= 7000000 + kChanges * 100; };
    std::vector<long long> told;
    for (const auto& [key, value] : lines)
        if (key == "told" && wasMade(value) && (told.empty() || told.back() != value))
            told.push_back(value);
    std::vector<long long> made;
    for (int i = 1; i <= kChanges; ++i)
        made.push_back(7000000 + i * 100);
    EXPECT_EQ(told.size(), made.size());
    for (std::size_t i = 0; i < told.size() && i < made.size(); ++i)
        if (told[i] != made[i]) {
            ADD_FAILURE() << "announcement " << i << ": " << told[i] << ", the change made "
                          << made[i]
                          << (i > 0 ? ", the one before " + std::to_string(told[i - 1]) : "");
            break;
        }

    // The radio ends on the last change.
    EXPECT_TRUE(WaitFor([&] { return program.Saw("FE FE 58 E0 05 00 00 02 07 00 FD"); }));

    stalled.Release();
    EXPECT_EQ(stalled.Next(), std::make_pair(std::string("descriptor"), -1LL));

    // Another client, after all that, is still answered by the same program.
    Client other([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("frequency", l.ExtGetFrequency());
    });
    const std::map<std::string, long long> answers = AsMap(other.Finish());
    EXPECT_EQ(answers.count("init") ? answers.at("init") : -2, 1);
    EXPECT_EQ(answers.count("frequency") ? answers.at("frequency") : -2, 7000000 + kChanges * 100);
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(CorvaneExtension, ABurstOfSetsIsAnsweredAndTheRadioEndsOnTheLast)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();
    constexpr int kSets = 1500;
    Client client([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        int answered = 0;
        for (int i = 1; i <= kSets; ++i)
            answered += l.ExtSetFrequency(7000000 + i * 10) == 0 ? 1 : 0;
        out.Say("answered", answered);
    });
    const std::map<std::string, long long> got = AsMap(client.Finish());
    EXPECT_EQ(got.count("answered") ? got.at("answered") : -1, kSets);
    // 7.015 MHz, the last one asked, reaches the radio, and no older set comes after it.
    const std::string last = "FE FE 58 E0 05 00 50 01 07 00 FD";
    ASSERT_TRUE(WaitFor([&] { return program.Saw(last); })) << program.Trace().substr(0, 2000);
    const std::string trace = program.Trace();
    EXPECT_EQ(trace.substr(trace.rfind("FE FE 58 E0 05 "), last.size()), last);
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(CorvaneExtension, TheExampleClientSetsReadsBackAndIsTold)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();
    const platform::RunResult run = platform::SpawnAndWait(
        {TestBinary("extension_example_client"), CORVANE_BIN_DIR "/libVekExtension.so", "14070000"},
        {}, 60000);
    EXPECT_TRUE(run.Succeeded()) << run.exitCode;
    EXPECT_TRUE(WaitFor([&] { return program.Saw("FE FE 58 E0 05 00 00 07 14 00 FD"); }))
        << program.Trace();
    EXPECT_EQ(program.Terminate(), 0);
}

TEST(CorvaneExtension, AfterTheTerminationSignalEveryExportAnswersNotAvailable)
{
    Corvane program;
    ASSERT_TRUE(program.Started()) << program.Trace();
    Client client([](Library& l, const Client::Link& out) {
        out.Say("init", l.ExtInit());
        out.Say("register", l.ExtSetHwnd(5));
        out.Say("frequency", l.ExtGetFrequency() > 0 ? 1 : 0);
        out.Say("ready", 1);
        out.Hold();
        // The shutdown announcement, then the descriptor ends.
        std::vector<Told> told;
        out.Say("descriptor", DispatchUntil(l, Collect, &told, [] { return false; }));
        bool shutdownTold = false;
        for (const Told& t : told)
            shutdownTold = shutdownTold || t.first == 11;
        out.Say("shutdownTold", shutdownTold ? 1 : 0);
        // ExtInit is left out: it would search anew, and may start the program again.
// clang-format off
#define VEK_AFTER(name, ...) out.Say(#name, l.name(__VA_ARGS__));
        VEK_AFTER(ExtGetFrequency) VEK_AFTER(ExtSetFrequency, 7050000) VEK_AFTER(ExtGetMode)
        VEK_AFTER(ExtSetMode, 2) VEK_AFTER(ExtGetFilter) VEK_AFTER(ExtSetFilter, 1) VEK_AFTER(ExtGetSplit)
        VEK_AFTER(ExtSetSplit, 1) VEK_AFTER(ExtSelectVFOA) VEK_AFTER(ExtSelectVFOB) VEK_AFTER(ExtSetVFOAB)
        VEK_AFTER(ExtExit, 0) VEK_AFTER(ExtIfPTT) VEK_AFTER(ExtIfAudio) VEK_AFTER(ExtPTT, 0)
        VEK_AFTER(ExtRecord, 0) VEK_AFTER(ExtPause, 0) VEK_AFTER(ExtPlay, 0) VEK_AFTER(ExtIfExtensionG)
        VEK_AFTER(ExtGetSignal) VEK_AFTER(ExtGetSQL) VEK_AFTER(ExtGetAtt) VEK_AFTER(ExtSetAtt, 1)
        VEK_AFTER(ExtGetPre) VEK_AFTER(ExtSetPre, 1) VEK_AFTER(ExtGetAGC) VEK_AFTER(ExtSetAGC, 1)
        VEK_AFTER(ExtGetNB) VEK_AFTER(ExtSetNB, 1) VEK_AFTER(ExtGetTone) VEK_AFTER(ExtSetTone, 1)
        VEK_AFTER(ExtGetTSQL) VEK_AFTER(ExtSetTSQL, 1) VEK_AFTER(ExtGetVox) VEK_AFTER(ExtSetVox, 1)
        VEK_AFTER(ExtGetBkIn) VEK_AFTER(ExtSetBkIn, 1) VEK_AFTER(ExtGetComp) VEK_AFTER(ExtSetComp, 1)
        VEK_AFTER(ExtSetDupP, 1) VEK_AFTER(ExtSetDupM, 1) VEK_AFTER(ExtGetDup) VEK_AFTER(ExtSetDup, 600)
        VEK_AFTER(ExtGetCom) VEK_AFTER(ExtGetComPTT) VEK_AFTER(ExtOpenCom, 1) VEK_AFTER(ExtCloseCom)
        VEK_AFTER(ExtSetDTR, 0, 1) VEK_AFTER(ExtSetRTS, 0, 1) VEK_AFTER(ExtGetVersionPrg)
        VEK_AFTER(ExtGetSystem) VEK_AFTER(ExtSetHwnd, 6) VEK_AFTER(ExtDispatchNotifications, nullptr, nullptr)
#undef VEK_AFTER
            // clang-format on
            out.Say("versionDll", l.ExtGetVersionDLL());
    });
    ASSERT_EQ(client.Next(), std::make_pair(std::string("loaded"), 1LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("init"), 1LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("register"), 0LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("frequency"), 1LL));
    ASSERT_EQ(client.Next(), std::make_pair(std::string("ready"), 1LL));

    EXPECT_EQ(program.Terminate(), 0);
    int status = -1;
    const std::vector<std::pair<std::string, long long>> lines = client.Finish(&status);
    EXPECT_EQ(status, 0);
    ASSERT_GT(lines.size(), 40u);
    for (const auto& [key, value] : lines) {
        if (key == "shutdownTold")
            EXPECT_EQ(value, 1);
        else if (key == "versionDll")
            EXPECT_EQ(value, 1110);
        else
            EXPECT_EQ(value, -1) << key;
    }
}
