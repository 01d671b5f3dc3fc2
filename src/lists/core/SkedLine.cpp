#include "SkedLine.h"

#include <algorithm>
#include <vector>

#include "Numbers.h"
#include "TildeTextRecord.h"

namespace lists {

namespace {

constexpr std::string_view kOn = "ON";
constexpr std::string_view kOff = "OFF";
constexpr std::string_view kSplit = "SPLIT";
constexpr std::string_view kNoSplit = "NOSPLIT";
constexpr std::string_view kVfoA = "VFO A";
constexpr std::string_view kVfoB = "VFO B";
constexpr std::size_t kFieldCount = 10;
// More digits than any radio tunes, and fewer than overflow an int64.
constexpr std::size_t kMaxFrequencyDigits = 15;

int Digits(std::string_view text)
{
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

}  // namespace

std::optional<std::tm> ParseSkedKey(std::string_view key)
{
    if (key.size() != 12
        || !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::tm t{};
    const int year = Digits(key.substr(0, 4));
    t.tm_mon = Digits(key.substr(4, 2)) - 1;
    t.tm_mday = Digits(key.substr(6, 2));
    t.tm_hour = Digits(key.substr(8, 2));
    t.tm_min = Digits(key.substr(10, 2));
    if (year < 1900 || t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1 || t.tm_mday > 31
        || t.tm_hour > 23 || t.tm_min > 59)
        return std::nullopt;
    t.tm_year = year - 1900;
    return t;
}

bool IsSkedKey(std::string_view key)
{
    return ParseSkedKey(key).has_value();
}

std::string SkedKeyOf(const std::tm& utc)
{
    char text[32] = {};
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d%H%M", &utc);
    return std::string(text, n);
}

std::optional<SkedLine> ParseSkedLine(std::string_view line)
{
    if (std::count(line.begin(), line.end(), '~') < 2)
        return std::nullopt;
    std::vector<std::string> f = SplitTildeLine(line, kFieldCount);
    f.resize(kFieldCount);
    SkedLine sked;
    // The key stands at the start of the line; blanks around it are no part of it.
    sked.key = std::string(TrimBlanks(f[0]));
    sked.description = f[1];
    sked.frequencyA = f[2];
    sked.modeA = f[3];
    sked.narrowA = f[4] == kOn;
    sked.frequencyB = f[5];
    sked.modeB = f[6];
    sked.narrowB = f[7] == kOn;
    sked.split = f[8] == kSplit;
    sked.activeB = f[9] != kVfoA;
    return sked;
}

std::string JoinSkedLine(const SkedLine& s)
{
    auto word = [](bool on, std::string_view yes, std::string_view no) {
        return std::string(on ? yes : no);
    };
    return JoinTildeLine({s.key, s.description, s.frequencyA, s.modeA, word(s.narrowA, kOn, kOff),
                          s.frequencyB, s.modeB, word(s.narrowB, kOn, kOff),
                          word(s.split, kSplit, kNoSplit), word(s.activeB, kVfoB, kVfoA)});
}

int64_t SkedFrequency(std::string_view text)
{
    std::string digits;
    for (char c : TrimBlanks(text))
        if (c != '.')
            digits += c;
    if (digits.empty() || digits.size() > kMaxFrequencyDigits
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return platform::ParseInt64(digits).value_or(0);
}

ChannelTuning SkedTuning(const SkedLine& s)
{
    ChannelTuning channel;
    channel.a = {SkedFrequency(s.frequencyA), s.modeA, s.narrowA};
    channel.b = {SkedFrequency(s.frequencyB), s.modeB, s.narrowB};
    channel.split = s.split;
    channel.activeB = s.activeB;
    return channel;
}

}  // namespace lists
