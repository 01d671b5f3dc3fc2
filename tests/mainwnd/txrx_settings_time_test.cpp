// The PTT settings as the INI holds them, and the transmit time with a clock the test moves.
#include <gtest/gtest.h>

#include "Ini.h"
#include "PttSettings.h"
#include "TempDir.h"
#include "TransmitTime.h"

using namespace txrx;

namespace {

struct IniFile {
    IniFile() { ini.SetPath((dir / "Corvane.ini").c_str()); }
    testing_support::TempDir dir{"txrx-settings"};
    CIni ini;
};

}  // namespace

TEST(PttSettings, StoredValuesAreReadWithTheirClampsAndWrittenBack)
{
    IniFile f;
    PttSettings d = ReadPttSettings(f.ini);
    EXPECT_EQ(d.port, 0);
    EXPECT_EQ(d.copyOn, "@[on]@");
    EXPECT_EQ(d.copyOff, "@[off]@");
    EXPECT_TRUE(d.front);
    EXPECT_EQ(d.tuneSeconds, 5);

    f.ini.WriteInt("TxRx", "TuneSec", 100000);
    f.ini.WriteInt("Setup", "PTTPorta", 4096);
    f.ini.WriteInt("Setup", "PTTPin", 7);
    EXPECT_EQ(ReadPttSettings(f.ini).tuneSeconds, 600);
    EXPECT_EQ(ReadPttSettings(f.ini).port, 0);
    EXPECT_EQ(ReadPttSettings(f.ini).pin, kPinRts);
    f.ini.WriteInt("TxRx", "TuneSec", -3);
    EXPECT_EQ(ReadPttSettings(f.ini).tuneSeconds, 0);

    PttSettings s;
    s.port = PortFromText("COM12");
    s.pin = kPinDtr;
    s.key = KeyFromText("ALT GR");
    s.copyOn = "<on>";
    s.copyOff = "";
    s.front = false;
    s.tuneSeconds = 601;
    ASSERT_TRUE(WritePttSettings(f.ini, s));
    EXPECT_EQ(f.ini.GetInt("Setup", "PTTPorta", -1), 12);
    EXPECT_EQ(f.ini.GetInt("Setup", "PTTKey", -1), 18);
    EXPECT_EQ(f.ini.GetInt("TxRx", "TuneSec", -1), 600);
    const PttSettings back = ReadPttSettings(f.ini);
    EXPECT_EQ(back.pin, kPinDtr);
    EXPECT_EQ(back.copyOn, "<on>");
    EXPECT_EQ(back.copyOff, "");
    EXPECT_FALSE(back.front);

    // A value the file cannot hold is a failure, not a silent half-write.
    s.copyOn = "two\nlines";
    EXPECT_FALSE(WritePttSettings(f.ini, s));
}

TEST(PttSettings, PortAndKeyTextsConvertBothWays)
{
    EXPECT_EQ(PortText(0), "OFF");
    EXPECT_EQ(PortText(40), "COM40");
    EXPECT_EQ(PortFromText("OFF"), 0);
    EXPECT_EQ(PortFromText("COM1"), 1);
    EXPECT_EQ(PortFromText("COM123"), 123);
    EXPECT_EQ(PortFromText("COMx"), 0);
    EXPECT_EQ(KeyText(123), "F12");
    EXPECT_EQ(KeyText(65), "NONE");
    EXPECT_EQ(KeyFromText("F11"), 122);
    EXPECT_EQ(KeyFromText("SHIFT"), 0);
    EXPECT_EQ(KeyName(17), "CTRL");
    EXPECT_EQ(KeyName(0), " ");
    EXPECT_EQ(KeyName(65), " ");
}

TEST(TransmitTime, CountsKeyedSecondsWithCarriesAndKeepsTheTotal)
{
    IniFile f;
    int64_t now = 1000000;
    CTransmitTime t([&now] { return now; });
    f.ini.WriteInt("TxRx", "TotalTimeO", 2);
    f.ini.WriteInt("TxRx", "TotalTimeM", 59);
    f.ini.WriteInt("TxRx", "TotalTimeS", 59);
    t.Load(f.ini);
    EXPECT_EQ(t.Total().Text(), "2:59:59");

    // Unkeyed time does not count; a tick that comes late loses nothing.
    now += 5000;
    t.Tick();
    EXPECT_EQ(t.Partial().Text(), "0:00:00");
    t.SetKeyed(true);
    now += 1000;
    t.Tick();
    EXPECT_EQ(t.Total().Text(), "3:00:00");
    now += 59500;
    t.Tick();
    now += 600;
    t.SetKeyed(false);
    EXPECT_EQ(t.Partial().Text(), "0:01:01");
    now += 3600000;
    t.Tick();
    EXPECT_EQ(t.Partial().Text(), "0:01:01");

    ASSERT_TRUE(t.Save(f.ini));
    EXPECT_EQ(f.ini.GetInt("TxRx", "TotalTimeO", -1), 3);
    EXPECT_EQ(f.ini.GetInt("TxRx", "TotalTimeM", -1), 1);
    EXPECT_EQ(f.ini.GetInt("TxRx", "TotalTimeS", -1), 0);

    t.ResetPartial();
    EXPECT_EQ(t.Partial().Text(), "0:00:00");
    EXPECT_EQ(t.Total().Text(), "3:01:00");
    t.ResetTotal();
    EXPECT_EQ(t.Total().TotalSeconds(), 0);

    // Stored parts out of range carry or count as nothing.
    f.ini.WriteInt("TxRx", "TotalTimeO", -5);
    f.ini.WriteInt("TxRx", "TotalTimeM", 61);
    f.ini.WriteInt("TxRx", "TotalTimeS", 3600);
    t.Load(f.ini);
    EXPECT_EQ(t.Total().Text(), "2:01:00");
}
