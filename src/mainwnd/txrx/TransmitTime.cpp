#include "TransmitTime.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "Ini.h"
#include "SettingsKeys.h"

namespace txrx {

namespace {

// The stored hours are an int: the total never grows past what the file can hold.
constexpr int64_t kMaxSeconds = static_cast<int64_t>(INT_MAX) * 3600 + 3599;

}  // namespace

std::string Duration::Text() const
{
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(hours), minutes,
                  seconds);
    return text;
}

Duration Duration::FromSeconds(int64_t seconds)
{
    Duration d;
    seconds = std::max<int64_t>(0, seconds);
    d.hours = seconds / 3600;
    d.minutes = static_cast<int>(seconds / 60 % 60);
    d.seconds = static_cast<int>(seconds % 60);
    return d;
}

CTransmitTime::CTransmitTime(Clock clock) : clock_(std::move(clock)) {}

void CTransmitTime::Load(const CIni& ini)
{
    namespace t = settings::txrx;
    // Negative parts count as 0; large minutes and seconds carry into the hours.
    const int64_t hours = std::max(0, ini.GetInt(t::TotalTimeO));
    const int64_t minutes = std::max(0, ini.GetInt(t::TotalTimeM));
    const int64_t seconds = std::max(0, ini.GetInt(t::TotalTimeS));
    total_ = std::min(kMaxSeconds, (hours * 60 + minutes) * 60 + seconds);
}

bool CTransmitTime::Save(CIni& ini) const
{
    namespace t = settings::txrx;
    const Duration d = Total();
    CIni::Batch batch(ini);
    bool ok = ini.WriteInt(t::TotalTimeS, d.seconds);
    ok = ini.WriteInt(t::TotalTimeM, d.minutes) && ok;
    ok = ini.WriteInt(t::TotalTimeO, static_cast<int>(d.hours)) && ok;
    return batch.Commit() && ok;
}

void CTransmitTime::SetKeyed(bool on)
{
    if (on == keyed_)
        return;
    if (on)
        countedUpToMs_ = clock_();
    else
        Count();
    keyed_ = on;
}

void CTransmitTime::Tick()
{
    if (keyed_)
        Count();
}

void CTransmitTime::Count()
{
    const int64_t now = clock_();
    if (now <= countedUpToMs_)
        return;
    const int64_t seconds = (now - countedUpToMs_) / 1000;
    countedUpToMs_ += seconds * 1000;
    partial_ = std::min(kMaxSeconds, partial_ + seconds);
    total_ = std::min(kMaxSeconds, total_ + seconds);
}

}  // namespace txrx
