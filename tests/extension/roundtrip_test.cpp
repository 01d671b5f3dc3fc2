// Every export against a running stand-in program: the code and argument it sends, the answer it
// returns, and what the exports do when no program can be reached.
#include "ExtensionTestSupport.h"

#include <functional>

using namespace ext_test;

namespace {

const char* kTitle = "Corvane Icom 706 Control - 1.0  -  RTX: IC706";

struct Case {
    const char* name;
    std::function<std::int64_t(Library&)> call;
    int code;
    int argument;
    std::int64_t answer;  // the stand-in's
};

// In protocol order; the stand-in answers Get codes 1000 + code and Set codes 0, and a Set changes
// what its Get answers next.
std::vector<Case> Cases()
{
    return {
        {"ExtGetFrequency", [](Library& l) { return l.ExtGetFrequency(); }, 0, 0, 1000},
        {"ExtSetFrequency", [](Library& l) { return l.ExtSetFrequency(469999999); }, 1, 469999999,
         0},
        {"ExtGetFrequency", [](Library& l) { return l.ExtGetFrequency(); }, 0, 0, 469999999},
        {"ExtGetMode", [](Library& l) { return l.ExtGetMode(); }, 2, 0, 1002},
        {"ExtSetMode", [](Library& l) { return l.ExtSetMode(4); }, 3, 4, 0},
        {"ExtGetMode", [](Library& l) { return l.ExtGetMode(); }, 2, 0, 4},
        {"ExtGetFilter", [](Library& l) { return l.ExtGetFilter(); }, 4, 0, 1004},
        {"ExtSetFilter", [](Library& l) { return l.ExtSetFilter(1); }, 5, 1, 0},
        {"ExtGetSplit", [](Library& l) { return l.ExtGetSplit(); }, 6, 0, 1006},
        {"ExtSetSplit", [](Library& l) { return l.ExtSetSplit(-7); }, 7, -7, 0},
        {"ExtSelectVFOA", [](Library& l) { return l.ExtSelectVFOA(); }, 8, 0, 1008},
        {"ExtSelectVFOB", [](Library& l) { return l.ExtSelectVFOB(); }, 9, 0, 1009},
        {"ExtSetVFOAB", [](Library& l) { return l.ExtSetVFOAB(); }, 10, 0, 1010},
        {"ExtIfPTT", [](Library& l) { return l.ExtIfPTT(); }, 12, 0, 1012},
        {"ExtIfAudio", [](Library& l) { return l.ExtIfAudio(); }, 13, 0, 1013},
        {"ExtPTT", [](Library& l) { return l.ExtPTT(1); }, 14, 1, 1014},
        {"ExtRecord", [](Library& l) { return l.ExtRecord(2); }, 15, 2, 1015},
        {"ExtPause", [](Library& l) { return l.ExtPause(3); }, 16, 3, 1016},
        {"ExtPlay", [](Library& l) { return l.ExtPlay(4); }, 17, 4, 1017},
        {"ExtIfExtensionG", [](Library& l) { return l.ExtIfExtensionG(); }, 18, 0, 1018},
        {"ExtGetSignal", [](Library& l) { return l.ExtGetSignal(); }, 19, 0, 1019},
        {"ExtGetSQL", [](Library& l) { return l.ExtGetSQL(); }, 20, 0, 1020},
        {"ExtGetAtt", [](Library& l) { return l.ExtGetAtt(); }, 21, 0, 1021},
        {"ExtSetAtt", [](Library& l) { return l.ExtSetAtt(1); }, 22, 1, 0},
        {"ExtGetPre", [](Library& l) { return l.ExtGetPre(); }, 23, 0, 1023},
        {"ExtSetPre", [](Library& l) { return l.ExtSetPre(1); }, 24, 1, 0},
        {"ExtGetAGC", [](Library& l) { return l.ExtGetAGC(); }, 25, 0, 1025},
        {"ExtSetAGC", [](Library& l) { return l.ExtSetAGC(1); }, 26, 1, 0},
        {"ExtGetNB", [](Library& l) { return l.ExtGetNB(); }, 27, 0, 1027},
        {"ExtSetNB", [](Library& l) { return l.ExtSetNB(1); }, 28, 1, 0},
        {"ExtGetTone", [](Library& l) { return l.ExtGetTone(); }, 29, 0, 1029},
        {"ExtSetTone", [](Library& l) { return l.ExtSetTone(1); }, 30, 1, 0},
        {"ExtGetTSQL", [](Library& l) { return l.ExtGetTSQL(); }, 31, 0, 1031},
        {"ExtSetTSQL", [](Library& l) { return l.ExtSetTSQL(1); }, 32, 1, 0},
        {"ExtGetVox", [](Library& l) { return l.ExtGetVox(); }, 33, 0, 1033},
        {"ExtSetVox", [](Library& l) { return l.ExtSetVox(1); }, 34, 1, 0},
        {"ExtGetBkIn", [](Library& l) { return l.ExtGetBkIn(); }, 35, 0, 1035},
        {"ExtSetBkIn", [](Library& l) { return l.ExtSetBkIn(1); }, 36, 1, 0},
        {"ExtGetComp", [](Library& l) { return l.ExtGetComp(); }, 37, 0, 1037},
        {"ExtSetComp", [](Library& l) { return l.ExtSetComp(1); }, 38, 1, 0},
        {"ExtGetComp", [](Library& l) { return l.ExtGetComp(); }, 37, 0, 1},
        {"ExtSetDupP", [](Library& l) { return l.ExtSetDupP(1); }, 39, 1, 1039},
        {"ExtSetDupM", [](Library& l) { return l.ExtSetDupM(0); }, 40, 0, 1040},
        {"ExtGetDup", [](Library& l) { return l.ExtGetDup(); }, 41, 0, 1041},
        {"ExtSetDup", [](Library& l) { return l.ExtSetDup(-600); }, 42, -600, 0},
        {"ExtGetDup", [](Library& l) { return l.ExtGetDup(); }, 41, 0, -600},
        {"ExtGetCom", [](Library& l) { return l.ExtGetCom(); }, 43, 0, 1043},
        {"ExtGetComPTT", [](Library& l) { return l.ExtGetComPTT(); }, 44, 0, 1044},
        {"ExtOpenCom", [](Library& l) { return l.ExtOpenCom(3); }, 45, 3, 1045},
        {"ExtCloseCom", [](Library& l) { return l.ExtCloseCom(); }, 46, 0, 1046},
        {"ExtSetDTR", [](Library& l) { return l.ExtSetDTR(1, 1); }, 47, 0x00010001, 1047},
        {"ExtSetRTS", [](Library& l) { return l.ExtSetRTS(0x12345, 2); }, 48, 0x00022345, 1048},
        {"ExtSetDTR", [](Library& l) { return l.ExtSetDTR(-1, -1); }, 47, -1, 1047},
        {"ExtSetRTS", [](Library& l) { return l.ExtSetRTS(0, 0x10001); }, 48, 0x00010000, 1048},
        {"ExtGetVersionPrg", [](Library& l) { return l.ExtGetVersionPrg(); }, 49, 0, 1049},
        {"ExtGetSystem", [](Library& l) { return l.ExtGetSystem(); }, 50, 0, 1},
        {"ExtExit", [](Library& l) { return l.ExtExit(5); }, 11, 5, 0},
    };
}

}  // namespace

TEST(ExtensionExports, EveryExportIsFoundByNameAndTheLibraryVersionNeedsNoProgram)
{
    Library& l = Library::Get();
    ASSERT_TRUE(l.missing.empty()) << l.missing.front();
    EXPECT_EQ(l.ExtGetVersionDLL(), 1110);
}

TEST(ExtensionRoundTrip, EveryCodeReachesTheProgramAndItsAnswerComesBack)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    ASSERT_EQ(l.ExtInit(), 1);
    EXPECT_EQ(l.ExtGethWnd(), program.Pid());
    EXPECT_EQ(l.ExtGetVersionDLL(), 1110);

    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(l), c.answer);
        EXPECT_EQ(program.NextRequest(), std::to_string(c.code) + " " + std::to_string(c.argument));
    }
    // ExtExit came last: the program ends.
    EXPECT_EQ(program.WaitExit(), 0);
    EXPECT_EQ(l.ExtGetFrequency(), -1);
}

TEST(ExtensionRoundTrip, GetSystemReducesTheAnswerToOneOrZero)
{
    Library& l = Library::Get();
    ClearRegistry();
    for (const auto& [answer, expected] : {std::pair{0, 0}, std::pair{7, 1}, std::pair{-1, 1}}) {
        MainProgramProcess program(
            StandInArgs(kTitle, {"--answer", "50=" + std::to_string(answer)}));
        ASSERT_TRUE(program.WaitReady());
        ASSERT_EQ(l.ExtInit(), 1);
        EXPECT_EQ(l.ExtGetSystem(), expected) << answer;
    }
}

TEST(ExtensionUnreachable, EverySendingExportAnswersMinusOneWhenNothingRuns)
{
    Library& l = Library::Get();
    ClearRegistry();
    EXPECT_EQ(l.ExtInit(), 0);
    EXPECT_EQ(l.ExtGethWnd(), 0);
    for (const Case& c : Cases())
        EXPECT_EQ(c.call(l), -1) << c.name;
    EXPECT_EQ(l.ExtGetSystem(), -1);
    EXPECT_EQ(l.ExtSetHwnd(1), -1);
    EXPECT_EQ(l.ExtDispatchNotifications(nullptr, nullptr), -1);
    EXPECT_EQ(l.ExtGetVersionDLL(), 1110);
}

TEST(ExtensionUnreachable, AProgramThatHasGoneAnswersMinusOneUntilFoundAgain)
{
    Library& l = Library::Get();
    ClearRegistry();
    {
        MainProgramProcess program(StandInArgs(kTitle));
        ASSERT_TRUE(program.WaitReady());
        ASSERT_EQ(l.ExtInit(), 1);
        ASSERT_EQ(l.ExtGetFrequency(), 1000);
        program.Kill();
    }
    EXPECT_EQ(l.ExtGetFrequency(), -1);
    EXPECT_EQ(l.ExtGetSystem(), -1);

    MainProgramProcess next(StandInArgs(kTitle, {"--answer", "0=3500000"}));
    ASSERT_TRUE(next.WaitReady());
    EXPECT_EQ(l.ExtGetFrequency(), -1);  // no search of its own
    ASSERT_EQ(l.ExtInit(), 1);
    EXPECT_EQ(l.ExtGetFrequency(), 3500000);
    EXPECT_EQ(l.ExtGethWnd(), next.Pid());
}
