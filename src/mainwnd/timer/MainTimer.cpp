#include "MainTimer.h"

#include <algorithm>
#include <climits>

#include "Ini.h"

namespace mainwnd {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

std::string Format(const char* format, const std::tm& t)
{
    char text[64] = {};
    const size_t n = std::strftime(text, sizeof text, format, &t);
    return std::string(text, n);
}

}  // namespace

int64_t UpdateTimeFromBytes(const unsigned char bytes[8])
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return static_cast<int64_t>(value);
}

void UpdateTimeToBytes(int64_t seconds, unsigned char bytes[8])
{
    uint64_t value = static_cast<uint64_t>(seconds);
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<unsigned char>(value & 0xFF);
        value >>= 8;
    }
}

CMainTimer::CMainTimer(CIni& ini, ITimerHost& host, const IClock& clock)
    : ini_(ini), host_(host), clock_(clock)
{
}

void CMainTimer::SetCaptions(const std::string& local, const std::string& utc)
{
    localCaption_ = local;
    utcCaption_ = utc;
}

void CMainTimer::OnTimer()
{
    // Only a successful Sync, which restarts the worker, ends the off-line state.
    if (host_.UsesDriver() && !host_.IsRadioConnected() && !host_.IsOffLine())
        host_.GoOffLine();

    const std::time_t now = clock_.Now();
    const std::optional<std::tm> local = clock_.Local(now);
    if (local && local->tm_min != minute_)
        MinuteWork(now, *local);
    // Every second, so a sked at the minute the program starts in is not missed; the skeds
    // page handles each minute value once.
    if (skeds_ != nullptr) {
        std::tm utc{};
        const bool haveUtc = local && UtcFromLocal(now, *local, utc);
        skeds_->CheckDueSked(haveUtc ? utc.tm_min : -1, haveUtc ? Format("%Y%m%d%H%M", utc) : "");
    }
}

void CMainTimer::MinuteWork(std::time_t now, const std::tm& local)
{
    // First, so that a tick arriving inside the waits below does not repeat the minute.
    minute_ = local.tm_min;

    localText_ = ClockText(localCaption_, local);
    host_.ShowClock(kLocalClockField, localText_);

    std::tm utc{};
    const bool haveUtc = UtcFromLocal(now, local, utc);
    if (haveUtc) {
        utcText_ = ClockText(utcCaption_, utc);
        host_.ShowClock(kUtcClockField, utcText_);
    }

    CheckForUpdate(now);
    CountUsage();
}

std::string CMainTimer::ClockText(const std::string& caption, const std::tm& t) const
{
    return caption + " --> " + Format("%H:%M", t) + "  -  " + clock_.FormatDate(t);
}

bool CMainTimer::UtcFromLocal(std::time_t now, const std::tm& local, std::tm& utc) const
{
    if (utcOffset_ == kUtcOffsetAuto) {
        const std::optional<std::tm> t = clock_.Utc(now);
        if (!t)
            return false;
        utc = *t;
        return true;
    }
    // The local date and time read as if they were UTC, moved by the offset.
    std::tm fields = local;
    fields.tm_isdst = 0;
    const std::time_t asUtc = ::timegm(&fields);
    if (asUtc == static_cast<std::time_t>(-1))
        return false;
    const std::time_t moved = asUtc + static_cast<std::time_t>(utcOffset_) * 3600;
    return ::gmtime_r(&moved, &utc) != nullptr;
}

void CMainTimer::CheckForUpdate(std::time_t now)
{
    const int days = ini_.GetInt(settings::setup::GiorniUpd);
    // 0 switches the check off; a negative interval would run it every minute.
    if (days <= 0 || launcher_ == nullptr)
        return;
    unsigned char bytes[8] = {};
    ini_.GetSetupBytes(settings::setup::UltimoCheckUpd, bytes);
    const int64_t last = std::max(UpdateTimeFromBytes(bytes), lastUpdateCheck_);
    const int64_t current = static_cast<int64_t>(now);
    if ((current - last) / kSecondsPerDay < days)
        return;
    lastUpdateCheck_ = current;
    UpdateTimeToBytes(current, bytes);
    ini_.WriteSetupBytes(settings::setup::UltimoCheckUpd, bytes);
    launcher_->RunUpdateCheck(true);
}

void CMainTimer::CountUsage()
{
    int minutes = ini_.GetInt(settings::currentset::Vita);
    if (minutes < INT_MAX)
        ++minutes;
    ini_.WriteInt(settings::currentset::Vita, minutes);
    host_.ShowUsageTime(minutes);
}

}  // namespace mainwnd
