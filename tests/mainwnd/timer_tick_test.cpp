// The main window's one-second work with a fixed clock: the clock texts with every UTC offset
// rule, the minute edge that drives the sked check, the usage counter, the update schedule and
// the driver's off-line detection.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <utility>
#include <vector>

#include "Ini.h"
#include "MainTimer.h"
#include "TempDir.h"

using namespace mainwnd;

namespace {

// 2026-03-14 21:37:05 UTC.
constexpr std::time_t kSaturdayEvening = 1773524225;
constexpr std::time_t kDay = 86400;

class FixedClock : public IClock {
public:
    std::time_t Now() const override { return now; }
    std::optional<std::tm> Local(std::time_t t) const override
    {
        const std::time_t shifted = t + localOffsetHours * 3600;
        std::tm out{};
        ::gmtime_r(&shifted, &out);
        return out;
    }
    std::optional<std::tm> Utc(std::time_t t) const override
    {
        std::tm out{};
        ::gmtime_r(&t, &out);
        return out;
    }
    std::string FormatDate(const std::tm& date) const override
    {
        char text[32];
        std::strftime(text, sizeof text, "%d/%m/%Y", &date);
        return text;
    }

    std::time_t now = kSaturdayEvening;
    int localOffsetHours = 1;
};

class RecordingHost : public ITimerHost {
public:
    bool UsesDriver() override { return usesDriver; }
    bool IsRadioConnected() override
    {
        ++connectionChecks;
        return connected;
    }
    bool IsOffLine() override { return offLine; }
    void GoOffLine() override
    {
        offLine = true;
        ++offLineCalls;
    }
    void ShowClock(int id, const std::string& text) override { clocks[id] = text; }
    void ShowUsageTime(int minutes) override { usage.push_back(minutes); }

    bool usesDriver = false;
    bool connected = true;
    bool offLine = false;
    int connectionChecks = 0;
    int offLineCalls = 0;
    std::map<int, std::string> clocks;
    std::vector<int> usage;
};

class RecordingSkeds : public ISkedCheck {
public:
    void CheckDueSked(int minute, const std::string& key) override
    {
        calls.emplace_back(minute, key);
        // A tick arriving while a sked warning waits (one level deep).
        if (CMainTimer* timer = std::exchange(nested, nullptr)) {
            timer->OnTimer();
            nested = timer;
        }
    }
    std::vector<std::pair<int, std::string>> calls;
    CMainTimer* nested = nullptr;
};

class RecordingLauncher : public IUpdateLauncher {
public:
    void RunUpdateCheck(bool run) override { runs.push_back(run); }
    std::vector<bool> runs;
};

class TimerTest : public ::testing::Test {
protected:
    TimerTest()
    {
        ini.SetPath((dir / "Corvane.INI").c_str());
        timer.SetSkedCheck(&skeds);
        timer.SetUpdateLauncher(&launcher);
        timer.SetCaptions("Locale", "UTC");
    }
    // One tick at the given moment.
    void TickAt(std::time_t t)
    {
        clock.now = t;
        timer.OnTimer();
    }

    testing_support::TempDir dir{"corvane-timer"};
    CIni ini;
    FixedClock clock;
    RecordingHost host;
    RecordingSkeds skeds;
    RecordingLauncher launcher;
    CMainTimer timer{ini, host, clock};
};

}  // namespace

TEST_F(TimerTest, ClockTextsWithEachOffsetRule)
{
    // AUTO: UTC from the system clock.
    TickAt(kSaturdayEvening);
    EXPECT_EQ(host.clocks[kLocalClockField], "Locale --> 22:37  -  14/03/2026");
    EXPECT_EQ(host.clocks[kUtcClockField], "UTC --> 21:37  -  14/03/2026");
    EXPECT_EQ(timer.UtcClockText(), host.clocks[kUtcClockField]);

    // A station at UTC+1 stores -1: the same UTC.
    timer.SetUtcOffset(-1);
    TickAt(kSaturdayEvening + 60);
    EXPECT_EQ(host.clocks[kUtcClockField], "UTC --> 21:38  -  14/03/2026");

    // A wrong offset is taken as given, across midnight.
    timer.SetUtcOffset(3);
    TickAt(kSaturdayEvening + 120);
    EXPECT_EQ(host.clocks[kLocalClockField], "Locale --> 22:39  -  14/03/2026");
    EXPECT_EQ(host.clocks[kUtcClockField], "UTC --> 01:39  -  15/03/2026");
    EXPECT_EQ(skeds.calls.back(), std::make_pair(39, std::string("202603150139")));

    // Offset 0 equals AUTO only where local time is UTC.
    clock.localOffsetHours = 0;
    timer.SetUtcOffset(0);
    TickAt(kSaturdayEvening + 180);
    const std::string withZero = host.clocks[kUtcClockField];
    timer.SetUtcOffset(kUtcOffsetAuto);
    TickAt(kSaturdayEvening + 240);
    EXPECT_EQ(withZero, "UTC --> 21:40  -  14/03/2026");
    EXPECT_EQ(host.clocks[kUtcClockField], "UTC --> 21:41  -  14/03/2026");
}

TEST_F(TimerTest, MinuteWorkRunsOncePerLocalMinuteChange)
{
    // Started during minute 0: the first drawing waits for the next minute.
    const std::time_t minuteZero = kSaturdayEvening - 37 * 60 + 30;  // local 22:00:35
    for (int s = 0; s < 20; ++s)
        TickAt(minuteZero + s);
    EXPECT_TRUE(host.clocks.empty());
    EXPECT_TRUE(host.usage.empty());
    // The sked check is asked every second, also in the minute the program started in.
    ASSERT_EQ(skeds.calls.size(), 20u);
    EXPECT_EQ(skeds.calls.front(), std::make_pair(0, std::string("202603142100")));
    skeds.calls.clear();

    // A tick inside the sked check asks it again but sees the minute work already done.
    skeds.nested = &timer;
    for (int s = 25; s < 25 + 3 * 60; ++s)
        TickAt(minuteZero + s);
    EXPECT_EQ(skeds.calls.size(), 2u * 3 * 60);
    std::vector<std::pair<int, std::string>> minutes;
    for (const auto& call : skeds.calls)
        if (minutes.empty() || minutes.back() != call)
            minutes.push_back(call);
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "202603142101"}, {2, "202603142102"}, {3, "202603142103"}};
    EXPECT_EQ(minutes, expected);
    EXPECT_EQ(host.usage, (std::vector<int>{1, 2, 3}));
}

TEST_F(TimerTest, UsageCounterIsStoredEveryMinute)
{
    ini.WriteInt("CurrentSet", "Vita", 41);
    for (int m = 0; m < 5; ++m)
        for (int s = 0; s < 60; s += 15)
            TickAt(kSaturdayEvening + m * 60 + s);
    EXPECT_EQ(ini.GetInt("CurrentSet", "Vita", 0), 46);
    EXPECT_EQ(host.usage.back(), 46);

    // The count stops at its largest value instead of turning negative.
    ini.WriteInt("CurrentSet", "Vita", INT_MAX);
    TickAt(kSaturdayEvening + 10 * 60);
    EXPECT_EQ(ini.GetInt("CurrentSet", "Vita", 0), INT_MAX);
}

TEST_F(TimerTest, UpdateCheckFollowsItsIntervalInDays)
{
    // Never checked: at the first minute, and the time is stored as 8 bytes in memory order.
    TickAt(kSaturdayEvening);
    EXPECT_EQ(launcher.runs, std::vector<bool>{true});
    EXPECT_EQ(ini.GetString("Setup", "UltimoCheckUpd", ""), "01D5B56900000000");
    unsigned char bytes[8];
    ASSERT_EQ(ini.GetSetupBytes("UltimoCheckUpd", bytes), 8);
    EXPECT_EQ(UpdateTimeFromBytes(bytes), kSaturdayEvening);

    // 29 whole days later: not yet; 30: again.
    TickAt(kSaturdayEvening + 29 * kDay + 60);
    TickAt(kSaturdayEvening + 30 * kDay - 60);
    EXPECT_EQ(launcher.runs.size(), 1u);
    TickAt(kSaturdayEvening + 30 * kDay);
    EXPECT_EQ(launcher.runs.size(), 2u);

    // 0 switches the check off; so does a negative interval.
    for (int days : {0, -3}) {
        ini.WriteInt("Setup", "GiorniUpd", days);
        TickAt(kSaturdayEvening + 400 * kDay + days * 60);
    }
    EXPECT_EQ(launcher.runs.size(), 2u);
    ini.WriteInt("Setup", "GiorniUpd", 1);
    TickAt(kSaturdayEvening + 401 * kDay);
    EXPECT_EQ(launcher.runs.size(), 3u);
}

TEST_F(TimerTest, AnUnwritableSettingsFileDoesNotRepeatTheUpdateCheck)
{
    ini.SetPath((dir / "missing-folder/Corvane.INI").c_str());
    for (int m = 0; m < 5; ++m)
        TickAt(kSaturdayEvening + m * 60);
    EXPECT_EQ(launcher.runs.size(), 1u);
}

TEST_F(TimerTest, LostDriverGoesOffLineAndOnlySyncBringsItBack)
{
    TickAt(kSaturdayEvening);
    EXPECT_EQ(host.connectionChecks, 0);  // a serial link is not asked

    host.usesDriver = true;
    TickAt(kSaturdayEvening + 1);
    EXPECT_EQ(host.offLineCalls, 0);
    host.connected = false;
    TickAt(kSaturdayEvening + 2);
    TickAt(kSaturdayEvening + 3);
    EXPECT_EQ(host.offLineCalls, 1);
    EXPECT_TRUE(host.offLine);

    // The driver has the radio again, but the worker is still stopped: the state stays.
    host.connected = true;
    TickAt(kSaturdayEvening + 4);
    EXPECT_TRUE(host.offLine);
    // After a Sync the next loss is noticed again.
    host.offLine = false;
    host.connected = false;
    TickAt(kSaturdayEvening + 5);
    EXPECT_EQ(host.offLineCalls, 2);
    EXPECT_STREQ(kOffLineText, "OFF LINE");
}

TEST(SystemClockTest, GivesTheDateInTheUsersFormat)
{
    SystemClock clock;
    const std::optional<std::tm> utc = clock.Utc(kSaturdayEvening);
    ASSERT_TRUE(utc);
    EXPECT_EQ(utc->tm_hour, 21);
    const std::string date = clock.FormatDate(*utc);
    EXPECT_NE(date.find("14"), std::string::npos) << date;
    EXPECT_EQ(date.find(':'), std::string::npos) << date;
}

TEST(SystemClockTest, ATestClockTakesEveryUtcTimeAndRefusesWhatIsNone)
{
    EXPECT_EQ(ParseUtcTime("1970-01-01T00:00:00Z"), std::optional<std::time_t>(0));
    // The second before 1970 is a time like any other, not an error.
    EXPECT_EQ(ParseUtcTime("1969-12-31T23:59:59Z"), std::optional<std::time_t>(-1));
    EXPECT_EQ(ParseUtcTime("2026-03-14T21:37:05Z"), std::optional<std::time_t>(kSaturdayEvening));
    EXPECT_EQ(ParseUtcTime("2000-02-29T00:00:00Z"), std::optional<std::time_t>(951782400));
    for (const char* bad : {"2026-02-29T00:00:00Z", "2100-02-29T00:00:00Z", "2026-04-31T00:00:00Z",
                            "2026-00-10T00:00:00Z", "2026-13-10T00:00:00Z", "2026-01-00T00:00:00Z",
                            "2026-01-01T24:00:00Z", "2026-01-01T00:60:00Z", "2026-01-01 00:00:00Z",
                            "2026-01-01T00:00:00", ""})
        EXPECT_FALSE(ParseUtcTime(bad).has_value()) << bad;
}
