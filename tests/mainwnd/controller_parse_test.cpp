// The parse table: every reply the controller follows, with valid, short and garbled frames.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "CivNumbers.h"
#include "ControllerTestSupport.h"

using namespace ctltest;
using radio::RadioFunction;

namespace {

class ParseTest : public ::testing::Test {
protected:
    ParseTest()
    {
        EnsureApp();
        ini.SetPath((dir / "Corvane.ini").c_str());
        log.Open(dir / "trace.log");
        controller.SetLog(&log);
        controller.SetClients(&clients);
        ctltest::MutableState(controller).address = 0x58;
        ctltest::MutableState(controller).model = radio::kIC706MKIIG;
    }

    // FE FE E0 58 body FD
    bool Parse(std::initializer_list<uint8_t> body)
    {
        Bytes f = {0xFE, 0xFE, 0xE0, 0x58};
        for (uint8_t b : body)
            f.push_back(b);
        f.push_back(0xFD);
        return controller.ParseFrame(f.data(), static_cast<int>(f.size()));
    }
    std::string LogText() { return testing_support::GetFile(dir / "trace.log"); }
    radio::RadioState& S() { return ctltest::MutableState(controller); }

    testing_support::TempDir dir{"ctrl-parse"};
    CIni ini;
    CLanguage language;
    FakeView view;
    FakeClients clients;
    cat::CTraceLog log;
    radio::CRadioController controller{view, ini, language};
};

}  // namespace

TEST_F(ParseTest, FrequencyReplyAndTransceiveFrame)
{
    EXPECT_TRUE(Parse({0x03, 0x00, 0x00, 0x25, 0x14, 0x00}));
    EXPECT_EQ(view.frequency, 14250000.0);
    EXPECT_TRUE(clients.Has(0, 14250000));
    EXPECT_EQ(clients.ddeFrequency, 14250000);
    EXPECT_FALSE(S().noAnswer);

    // The same value again changes nothing and tells nobody.
    clients.notes.clear();
    EXPECT_TRUE(Parse({0x00, 0x00, 0x00, 0x25, 0x14, 0x00}));
    EXPECT_TRUE(clients.notes.empty());

    EXPECT_TRUE(Parse({0x00, 0x00, 0x50, 0x07, 0x07, 0x00}));
    EXPECT_EQ(view.frequency, 7075000.0);

    // A transceive frame is ignored while a frequency step or a link test runs, or at start-up.
    for (bool* flag : {&S().frequencyStepRunning, &S().linkTest, &S().startingUp}) {
        *flag = true;
        EXPECT_FALSE(Parse({0x00, 0x00, 0x00, 0x10, 0x14, 0x00}));
        EXPECT_EQ(view.frequency, 7075000.0);
        *flag = false;
    }
    // A read asked for at start-up still lands.
    S().startingUp = true;
    EXPECT_TRUE(Parse({0x03, 0x00, 0x00, 0x10, 0x14, 0x00}));
    EXPECT_EQ(view.frequency, 14100000.0);
}

TEST_F(ParseTest, NoFrequencyBlanksTheDisplayAndFlagsNoAnswer)
{
    EXPECT_TRUE(Parse({0x03, 0xFF}));
    EXPECT_TRUE(view.blank);
    EXPECT_TRUE(S().noAnswer);
    EXPECT_TRUE(Parse({0x03, 0x00, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(view.blank);
    EXPECT_TRUE(Parse({0x03, 0x00, 0x00, 0x25, 0x14, 0x00}));
    EXPECT_FALSE(view.blank);
    EXPECT_FALSE(S().noAnswer);
}

TEST_F(ParseTest, ShortOrGarbledFrequencyIsIgnoredAndLogged)
{
    view.frequency = 3500000;
    EXPECT_FALSE(Parse({0x03, 0x00, 0x25, 0x14, 0x00}));        // four bytes
    EXPECT_FALSE(Parse({0x00, 0x00}));                          // transceive, one byte
    EXPECT_FALSE(Parse({0x03, 0x0A, 0x00, 0x25, 0x14, 0x00}));  // A is no digit
    EXPECT_FALSE(Parse({0x03, 0x00, 0x00, 0x25, 0x14, 0xF0}));
    EXPECT_FALSE(Parse({0x03, 0x90, 0x78, 0x56, 0x34, 0x12}));  // ten digits: more than shown
    EXPECT_EQ(view.frequency, 3500000.0);
    EXPECT_NE(S().frequencyHz, 1234567890);
    EXPECT_TRUE(clients.notes.empty());
    EXPECT_NE(LogText().find("RX ignored (not BCD):FEFEE0580300002514F0FD\r\n"), std::string::npos);
    EXPECT_NE(LogText().find("RX ignored (short)"), std::string::npos);
}

TEST_F(ParseTest, ModeReply)
{
    EXPECT_TRUE(Parse({0x04, 0x03, 0x02}));
    EXPECT_EQ(S().mode, radio::kCw);
    EXPECT_EQ(view.modeText, "CW");
    EXPECT_TRUE(clients.Has(2, 4));
    EXPECT_TRUE(view.Button(radio::ctl::kFilter));
    EXPECT_TRUE(clients.Has(4, 1));
    EXPECT_TRUE(clients.Has(39, 0));
    EXPECT_TRUE(clients.Has(40, 0));
    EXPECT_EQ(view.status, " N");

    EXPECT_TRUE(Parse({0x01, 0x01, 0x01}));  // transceive
    EXPECT_EQ(view.modeText, "USB");
    EXPECT_FALSE(view.Button(radio::ctl::kFilter));

    // FM brings back the remembered duplex direction.
    S().duplexMinusRemembered = true;
    EXPECT_TRUE(Parse({0x04, 0x05, 0x01}));
    EXPECT_TRUE(S().duplexMinus);
    EXPECT_TRUE(view.Button(radio::ctl::kDupMinus));
    EXPECT_TRUE(Parse({0x04, 0x01, 0x01}));
    EXPECT_FALSE(S().duplexMinus);
}

TEST_F(ParseTest, ModeOutsideTheListOrGarbledIsIgnored)
{
    EXPECT_TRUE(Parse({0x04, 0x01, 0x02}));
    // An unknown mode leaves the mode; its filter byte is still read.
    EXPECT_TRUE(Parse({0x04, 0x07, 0x01}));
    EXPECT_EQ(S().mode, radio::kUsb);
    EXPECT_FALSE(view.Button(radio::ctl::kFilter));
    EXPECT_FALSE(Parse({0x04, 0x02}));  // short
    EXPECT_FALSE(Parse({0x04}));
    EXPECT_EQ(S().mode, radio::kUsb);

    // Any filter byte but 1 is narrow, 00 included: the mode is taken.
    EXPECT_TRUE(Parse({0x04, 0x00, 0x00}));
    EXPECT_EQ(S().mode, radio::kLsb);
    EXPECT_EQ(view.modeText, "LSB");
    EXPECT_TRUE(view.Button(radio::ctl::kFilter));
    EXPECT_TRUE(Parse({0x04, 0x01, 0x01}));

    // The IC-718's list has no FM and WFM.
    S().model = radio::kIC718;
    controller.FillModeList();
    EXPECT_EQ(view.modeList.size(), 5u);
    EXPECT_TRUE(Parse({0x04, 0x05, 0x01}));
    EXPECT_EQ(S().mode, radio::kUsb);
}

TEST_F(ParseTest, BandEdgesSetAndStoreTheLimits)
{
    // 30 kHz - 199.999.999 Hz, least significant pair first.
    EXPECT_TRUE(Parse({0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x99, 0x01}));
    EXPECT_EQ(S().lowerLimit, 30000);
    EXPECT_EQ(S().upperLimit, 199999999);
    EXPECT_EQ(ini.GetInt(settings::setup::LimiteInferiore), 30000);
    EXPECT_EQ(ini.GetInt(settings::setup::LimiteSuperiore), 199999999);
    EXPECT_EQ(view.texts[radio::ctl::kRange], "Range:30.000 Hz\n199.999.999 Hz");
    EXPECT_FALSE(view.bandMenu[radio::ctl::kMenu70cm]);
    EXPECT_TRUE(view.bandMenu[radio::ctl::kMenu2m]);
    EXPECT_TRUE(view.bandMenu[radio::ctl::kMenu6m]);
}

TEST_F(ParseTest, MalformedBandEdgesChangeNothing)
{
    const int64_t lower = S().lowerLimit, upper = S().upperLimit;
    EXPECT_FALSE(Parse({0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x99}));
    EXPECT_FALSE(Parse({0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2E, 0x99, 0x99, 0x99, 0x99, 0x01}));
    EXPECT_FALSE(Parse({0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x9A, 0x99, 0x99, 0x01}));
    // Lower above upper.
    EXPECT_FALSE(Parse({0x02, 0x00, 0x00, 0x00, 0x00, 0x02, 0x2D, 0x00, 0x00, 0x03, 0x00, 0x00}));
    // An upper edge of ten digits (1.300.000.000 Hz): no nine-digit field could show or edit it.
    EXPECT_FALSE(Parse({0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x00, 0x30, 0x13}));
    S().linkTest = true;
    EXPECT_FALSE(Parse({0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x2D, 0x99, 0x99, 0x99, 0x99, 0x01}));
    EXPECT_EQ(S().lowerLimit, lower);
    EXPECT_EQ(S().upperLimit, upper);
    EXPECT_EQ(ini.GetInt(settings::setup::LimiteSuperiore), 0);
}

TEST_F(ParseTest, DuplexOffsetAttenuatorAndSquelch)
{
    EXPECT_TRUE(Parse({0x0C, 0x00, 0x60, 0x00}));
    EXPECT_EQ(view.offset, 600.0);
    EXPECT_TRUE(clients.Has(41, 600));
    EXPECT_FALSE(Parse({0x0C, 0x00, 0x60}));
    EXPECT_FALSE(Parse({0x0C, 0x00, 0xB0, 0x00}));
    EXPECT_EQ(S().duplexOffsetKHz, 600);

    EXPECT_TRUE(Parse({0x11, 0x20}));
    EXPECT_TRUE(view.Button(radio::ctl::kAtt));
    EXPECT_TRUE(clients.Has(21, 1));
    EXPECT_FALSE(Parse({0x11, 0x05}));
    EXPECT_FALSE(Parse({0x11}));
    EXPECT_TRUE(view.Button(radio::ctl::kAtt));
    EXPECT_TRUE(Parse({0x11, 0x00}));
    EXPECT_FALSE(view.Button(radio::ctl::kAtt));

    EXPECT_TRUE(Parse({0x15, 0x01, 0x00}));
    EXPECT_TRUE(view.shown[radio::ctl::kSquelch]);
    EXPECT_FALSE(S().squelchOpen);
    EXPECT_TRUE(clients.Has(20, 1));
    EXPECT_TRUE(Parse({0x15, 0x01, 0x01}));
    EXPECT_FALSE(view.shown[radio::ctl::kSquelch]);
    EXPECT_TRUE(S().squelchOpen);
    EXPECT_FALSE(Parse({0x15, 0x01}));
    EXPECT_FALSE(Parse({0x15, 0x01, 0x07}));
}

TEST_F(ParseTest, SMeterReading)
{
    EXPECT_TRUE(Parse({0x15, 0x02, 0x01, 0x20}));  // (120 - 38) / 10
    EXPECT_EQ(S().sValue, 8);
    EXPECT_EQ(view.texts[radio::ctl::kSText], "S 8");
    EXPECT_EQ(view.peak, 8);
    EXPECT_TRUE(clients.Has(19, 8));
    EXPECT_TRUE(Parse({0x15, 0x02, 0x01, 0x60}));
    EXPECT_EQ(view.texts[radio::ctl::kSText], "S 9+30");
    EXPECT_TRUE(Parse({0x15, 0x02, 0x00, 0x10}));  // below the lower reading
    EXPECT_EQ(S().sValue, -2);
    // A quiet band is only a reading (the view has nothing a reading could key).
    EXPECT_EQ(view.texts[radio::ctl::kSText], "S -2");
    EXPECT_TRUE(clients.Has(19, -2));

    EXPECT_FALSE(Parse({0x15, 0x02, 0x03, 0x00}));  // high byte above 2
    EXPECT_FALSE(Parse({0x15, 0x02, 0x01, 0x2A}));
    EXPECT_FALSE(Parse({0x15, 0x02, 0x01}));
    EXPECT_EQ(S().sValue, -2);

    S().sMeterDivisor = 0;  // never divides by zero
    EXPECT_TRUE(Parse({0x15, 0x02, 0x00, 0x48}));
    EXPECT_EQ(S().sValue, 10);

    // Extreme scalings from a hand-edited settings file neither overflow nor flip the sign.
    S().sMeterDivisor = 1;
    S().sMeterLower = INT_MIN;
    EXPECT_TRUE(Parse({0x15, 0x02, 0x01, 0x20}));
    EXPECT_EQ(S().sValue, INT_MAX);
    EXPECT_EQ(view.texts[radio::ctl::kSText], "S 9+21474836380");
    S().sMeterLower = INT_MAX;
    EXPECT_TRUE(Parse({0x15, 0x02, 0x00, 0x00}));
    EXPECT_EQ(S().sValue, -INT_MAX);
    EXPECT_EQ(view.texts[radio::ctl::kSText], "S -2147483647");
}

TEST_F(ParseTest, FunctionRepliesSetTheirButtons)
{
    struct Case {
        uint8_t sub;
        RadioFunction f;
        int code;
    } cases[] = {{0x02, RadioFunction::Preamp, 23},      {0x22, RadioFunction::NoiseBlanker, 27},
                 {0x42, RadioFunction::Tone, 29},        {0x40, RadioFunction::Tone, 29},
                 {0x43, RadioFunction::ToneSquelch, 31}, {0x41, RadioFunction::ToneSquelch, 31},
                 {0x44, RadioFunction::Compressor, 37},  {0x46, RadioFunction::Vox, 33},
                 {0x47, RadioFunction::BreakIn, 35}};
    for (const Case& c : cases) {
        const int id = radio::FunctionInfo(c.f).controlId;
        clients.notes.clear();
        EXPECT_TRUE(Parse({0x16, c.sub, 0x01}));
        EXPECT_TRUE(S().Function(c.f));
        EXPECT_TRUE(view.Button(id));
        EXPECT_TRUE(clients.Has(c.code, 1));
        EXPECT_TRUE(Parse({0x16, c.sub, 0x00}));
        EXPECT_FALSE(view.Button(id));
        EXPECT_TRUE(clients.Has(c.code, 0));
    }
    // AGC: 01 fast (down), 02 slow (up).
    EXPECT_TRUE(Parse({0x16, 0x12, 0x01}));
    EXPECT_TRUE(view.Button(radio::ctl::kAgc));
    EXPECT_TRUE(Parse({0x16, 0x12, 0x02}));
    EXPECT_FALSE(view.Button(radio::ctl::kAgc));
    EXPECT_FALSE(Parse({0x16, 0x12, 0x00}));
    // Full break-in is on.
    EXPECT_TRUE(Parse({0x16, 0x47, 0x02}));
    EXPECT_TRUE(view.Button(radio::ctl::kBkin));

    EXPECT_FALSE(Parse({0x16, 0x02, 0x05}));
    EXPECT_FALSE(Parse({0x16, 0x02}));
    EXPECT_FALSE(Parse({0x16, 0x99, 0x01}));
}

TEST_F(ParseTest, IdReplyOnlyEverSwitchesExtendedFunctionsOn)
{
    S().extendedFunctions = false;
    EXPECT_TRUE(Parse({0x19, 0x00, 0x4E}));
    EXPECT_FALSE(S().extendedFunctions);
    EXPECT_TRUE(Parse({0x19, 0x00, 0x58}));
    EXPECT_TRUE(S().extendedFunctions);
    EXPECT_TRUE(Parse({0x19, 0x00, 0x5E}));
    EXPECT_TRUE(S().extendedFunctions);
    EXPECT_FALSE(Parse({0x19, 0x00}));
}

TEST_F(ParseTest, NonFramesAndUnknownCommandsAreIgnored)
{
    const Bytes noEnd = {0xFE, 0xFE, 0xE0, 0x58, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0x00};
    EXPECT_FALSE(controller.ParseFrame(noEnd.data(), static_cast<int>(noEnd.size())));
    EXPECT_FALSE(controller.ParseFrame(noEnd.data(), 3));
    EXPECT_FALSE(controller.ParseFrame(nullptr, 10));
    EXPECT_FALSE(Parse({0xFB}));
    EXPECT_FALSE(Parse({0x1A, 0x01}));
    EXPECT_TRUE(clients.notes.empty());
}

TEST_F(ParseTest, RangeInfoFallsBackByModel)
{
    struct Case {
        int model;
        int64_t upper;
    } cases[] = {{radio::kIC706, 199999999},
                 {radio::kIC706MKII, 199999999},
                 {radio::kIC706MKIIG, 469999999},
                 {radio::kIC718, 29999999},
                 {radio::kModelOther, 469999999}};
    for (const Case& c : cases) {
        S().model = c.model;
        controller.UpdateRangeInfo();
        EXPECT_EQ(S().lowerLimit, 30000);
        EXPECT_EQ(S().upperLimit, c.upper);
    }
    // IC-718: no FM/WFM, no duplex controls, NR and ANF.
    EXPECT_EQ(view.modeMenu.size(), 7u);
    S().model = radio::kIC718;
    controller.UpdateRangeInfo();
    EXPECT_EQ(view.modeMenu.size(), 5u);
    EXPECT_FALSE(view.duplexShown);
    EXPECT_EQ(view.texts[radio::ctl::kTone], "NR");
    EXPECT_EQ(view.texts[radio::ctl::kTsql], "ANF");
    EXPECT_EQ(view.tips[radio::ctl::kTone], 1302);
    EXPECT_EQ(view.tips[radio::ctl::kTsql], 1301);
    EXPECT_FALSE(view.bandMenu[radio::ctl::kMenu6m]);

    // Stored limits win over the fallback.
    ini.WriteInt(settings::setup::LimiteInferiore, 100000);
    ini.WriteInt(settings::setup::LimiteSuperiore, 60000000);
    controller.UpdateRangeInfo();
    EXPECT_EQ(S().lowerLimit, 100000);
    EXPECT_EQ(S().upperLimit, 60000000);
    EXPECT_TRUE(view.bandMenu[radio::ctl::kMenu6m]);
    EXPECT_FALSE(view.bandMenu[radio::ctl::kMenu2m]);
}

// Random and truncated input: no crash, nothing read past the end, the state stays sane.
TEST_F(ParseTest, FuzzRandomAndTruncatedFrames)
{
    std::mt19937 rng(4711);
    std::uniform_int_distribution<int> byte(0, 255), small(0, 9), length(0, 24);
    const uint8_t commands[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x0C, 0x11, 0x15, 0x16, 0x19};
    for (int round = 0; round < 20000; ++round) {
        const int n = length(rng);
        // Exactly n bytes on the heap, so a read past the end is caught by the sanitizers.
        std::unique_ptr<uint8_t[]> f(new uint8_t[static_cast<size_t>(std::max(n, 1))]);
        for (int i = 0; i < n; ++i) {
            const int s = small(rng);
            f[size_t(i)] = s < 3    ? static_cast<uint8_t>(s)
                           : s == 3 ? 0x2D
                           : s == 4 ? 0xFF
                                    : static_cast<uint8_t>(byte(rng));
        }
        if (n >= 5) {
            f[0] = f[1] = 0xFE;
            f[2] = 0xE0;
            f[3] = 0x58;
            f[4] = commands[size_t(byte(rng)) % sizeof commands];
            if (round % 3 != 0)
                f[size_t(n - 1)] = 0xFD;
        }
        controller.ParseFrame(f.get(), n);
        controller.OnSerialBlock(f.get(), n);
        ASSERT_GE(S().mode, -1);
        ASSERT_LT(S().mode, radio::kModeCount);
        ASSERT_LT(S().lowerLimit, S().upperLimit);
        ASSERT_GE(view.frequency, 0.0);
        ASSERT_LT(view.frequency, 1e10);
    }
}
