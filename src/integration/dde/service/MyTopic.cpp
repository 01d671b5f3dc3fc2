#include "MyTopic.h"

#include "AsciiCase.h"
#include "DdeWindow.h"
#include "Numbers.h"

#include <cmath>
#include <optional>

namespace dde {
namespace {

using platform::AsciiIEquals;
using platform::AsciiIStartsWith;

constexpr std::string_view kFreqMode = "000xcvrfreqmode";
constexpr std::string_view kSetSplit = "000setsplit";
constexpr std::string_view kSetVfo = "000setvfo";
constexpr std::size_t kFilterPrefix = 12;  // the length of "000setfilter"

// atoi's reading of a length; saturates instead of overflowing.
int Length(std::string_view text)
{
    return platform::ParseIntPrefix(text);
}

}  // namespace

bool CMyTopic::Exec(std::string_view data)
{
    const std::string command(UpToZero(data));
    return command.compare(0, 3, "000") == 0 && DispatchCommand(command);
}

bool CMyTopic::DispatchCommand(const std::string& command)
{
    // Keying needs no answer from the radio; everything else is refused while the radio cannot
    // take it, rather than carried out long after the client was told.
    if (AsciiIEquals(command, "000transmit")) {
        window_.SetPtt(true);
        return true;
    }
    if (AsciiIEquals(command, "000receive")) {
        window_.SetPtt(false);
        return true;
    }
    if (!window_.TakesRadioChanges())
        return false;
    if (command.find('<') != std::string::npos)
        return ParseFreqMode(command);
    if (AsciiIEquals(command, "000setvboequal")) {
        window_.OnVfoEqual();
        return true;
    }
    if (AsciiIStartsWith(command, kSetSplit)) {
        const std::string_view arg = std::string_view(command).substr(kSetSplit.size());
        const bool on = AsciiIEquals(arg, "on");
        if (!on && !AsciiIEquals(arg, "off"))
            return false;
        if (on != window_.IsSplitOn())
            window_.OnSplit();
        return true;
    }
    if (AsciiIStartsWith(command, kSetVfo)) {
        const char last = command.back();
        if (last == 'a' || last == 'A')
            window_.SelectVfoA();
        else if (last == 'b' || last == 'B')
            window_.SelectVfoB();
        else
            return false;
        return true;
    }
    // Anything else is read as a filter command.
    if (command.size() <= kFilterPrefix)
        return false;
    const std::string_view filter = std::string_view(command).substr(kFilterPrefix);
    if (AsciiIEquals(filter, "wide") || AsciiIEquals(filter, "normal"))
        window_.SetFilter(false);
    else if (AsciiIEquals(filter, "narrow"))
        window_.SetFilter(true);
    else
        return false;
    return true;
}

bool CMyTopic::ParseFreqMode(const std::string& t)
{
    if (!AsciiIStartsWith(t, kFreqMode))
        return false;
    const std::size_t open = t.find('<');
    const std::size_t colon = t.find(':');
    if (open == std::string::npos || colon == std::string::npos || open >= colon)
        return false;
    const std::size_t close = t.find('>');
    if (close == std::string::npos || colon >= close || close - colon < 2)
        return false;
    const int n = Length(std::string_view(t).substr(colon + 1, close - colon - 1));
    if (n < 1)
        return false;
    const std::size_t freqLength = static_cast<std::size_t>(n);
    const std::optional<int64_t> hz = FrequencyFromText(t.substr(close + 1, freqLength));
    if (!hz)
        return false;

    // One answer for the whole command: both parts are checked before either is carried out,
    // so a refusal leaves the radio as it was. The rest starts after the frequency and the '<'
    // of the mode tag; the test is written so that no length can overflow it.
    std::optional<int> mode;
    const std::size_t after = t.size() - close;  // at least 1
    if (after > 2 && freqLength < after - 2) {
        mode = ModeFromTag(t.substr(close + freqLength + 2));
        if (!mode)
            return false;
    }
    if (!window_.SetFrequency(*hz))
        return false;
    return !mode || window_.SetModeIndex(*mode);
}

std::optional<int> CMyTopic::ModeFromTag(const std::string& rest) const
{
    const std::size_t colon = rest.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= rest.size())
        return std::nullopt;
    const int m = Length(std::string_view(rest).substr(colon + 1));
    if (m < 1)
        return std::nullopt;
    std::size_t close = rest.find('>');
    if (close == std::string::npos)
        close = 0;
    // The rest must hold the '>' and M characters after it: a longer mode length sets no mode.
    if (static_cast<std::size_t>(m) > rest.size() - close - 1)
        return std::nullopt;
    return ModeFromText(rest.substr(close + 1, static_cast<std::size_t>(m)));
}

std::optional<int64_t> CMyTopic::FrequencyFromText(const std::string& text) const
{
    if (text.empty())
        return std::nullopt;
    std::string number;
    for (char c : text) {
        if (c == '.')
            continue;
        number += c == ',' ? '.' : c;
    }
    const double hz = platform::ParseDoublePrefix(number) * 1000.0;
    if (!std::isfinite(hz) || hz < static_cast<double>(window_.LowerLimit())
        || hz > static_cast<double>(window_.UpperLimit()))
        return std::nullopt;
    return std::llround(hz);
}

std::optional<int> CMyTopic::ModeFromText(const std::string& text) const
{
    static constexpr struct {
        const char* name;
        int mode;
    } kModes[] = {{"LSB", 0},  {"USB", 1},    {"AM", 2}, {"CW", 3}, {"CW-R", 3},
                  {"RTTY", 4}, {"RTTY-R", 4}, {"FM", 5}, {"WFM", 6}};
    for (const auto& m : kModes)
        if (AsciiIEquals(text, m.name))
            return m.mode < window_.ModeCount() ? std::optional<int>(m.mode) : std::nullopt;
    return std::nullopt;
}

}  // namespace dde
