// The work of the main window's one-second timer that needs no window: watching the driver
// connection and the sked check, and once per minute of local time the local and UTC clocks, the
// periodic update check and the usage counter. The window calls OnTimer every second (while its
// timer runs), then does its tool windows' per-second work. GUI thread only.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "Clock.h"

class CIni;

namespace mainwnd {

// Identifiers of the clock fields.
constexpr int kLocalClockField = 1143;
constexpr int kUtcClockField = 1144;
// What the frequency field shows while the driver has lost the radio.
inline constexpr const char* kOffLineText = "OFF LINE";
// Setup/"UTCOffset" = "AUTO": UTC comes from the system clock.
constexpr int kUtcOffsetAuto = 127;

// What the timer asks of and shows through the main window.
class ITimerHost {
public:
    virtual ~ITimerHost() = default;
    // Whether the link goes through the driver library, and whether the driver still has it.
    virtual bool UsesDriver() = 0;
    virtual bool IsRadioConnected() = 0;
    virtual bool IsOffLine() = 0;
    // Sets the off-line flag, shows kOffLineText in the frequency field and stops the worker.
    virtual void GoOffLine() = 0;
    virtual void ShowClock(int fieldId, const std::string& text) = 0;
    // The information page shows the new usage time.
    virtual void ShowUsageTime(int minutes) = 0;
};

// The skeds page: fires what is due at this UTC minute (each minute value once).
class ISkedCheck {
public:
    virtual ~ISkedCheck() = default;
    // utcMinute 0..59, or -1 when the date could not be converted; key "%Y%m%d%H%M" in UTC.
    virtual void CheckDueSked(int utcMinute, const std::string& key) = 0;
};

// Starts the update launcher.
class IUpdateLauncher {
public:
    virtual ~IUpdateLauncher() = default;
    virtual void RunUpdateCheck(bool run) = 0;
};

class CMainTimer {
public:
    // The settings and the host must outlive the timer; the clock too.
    CMainTimer(CIni& ini, ITimerHost& host, const IClock& clock);

    // The clock captions (language strings "Local" and "UTC").
    void SetCaptions(const std::string& local, const std::string& utc);
    // Hours added to local time to give UTC, or kUtcOffsetAuto.
    void SetUtcOffset(int hours) { utcOffset_ = hours; }
    void SetSkedCheck(ISkedCheck* skeds) { skeds_ = skeds; }
    void SetUpdateLauncher(IUpdateLauncher* launcher) { launcher_ = launcher; }

    // The one-second work.
    void OnTimer();

    const std::string& LocalClockText() const { return localText_; }
    const std::string& UtcClockText() const { return utcText_; }

private:
    void MinuteWork(std::time_t now, const std::tm& local);
    std::string ClockText(const std::string& caption, const std::tm& t) const;
    bool UtcFromLocal(std::time_t now, const std::tm& local, std::tm& utc) const;
    void CheckForUpdate(std::time_t now);
    void CountUsage();

    CIni& ini_;
    ITimerHost& host_;
    const IClock& clock_;
    ISkedCheck* skeds_ = nullptr;
    IUpdateLauncher* launcher_ = nullptr;
    std::string localCaption_ = "Local";
    std::string utcCaption_ = "UTC";
    int utcOffset_ = kUtcOffsetAuto;
    int minute_ = 0;               // the local minute of the last minute work
    int64_t lastUpdateCheck_ = 0;  // kept too, so an unwritable INI does not repeat the check
    std::string localText_;
    std::string utcText_;
};

// Setup/"UltimoCheckUpd" as stored (8 bytes, least significant first) and back.
int64_t UpdateTimeFromBytes(const unsigned char bytes[8]);
void UpdateTimeToBytes(int64_t seconds, unsigned char bytes[8]);

}  // namespace mainwnd
