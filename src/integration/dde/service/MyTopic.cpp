#include "MyTopic.h"

#include "AsciiCase.h"
#include "DdeWindow.h"
#include "Numbers.h"

#include <cmath>

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
    if (command.find('<') != std::string::npos)
        return ParseFreqMode(command);
    if (AsciiIEquals(command, "000transmit")) {
        window_.SetPtt(true);
        return true;
    }
    if (AsciiIEquals(command, "000receive")) {
        window_.SetPtt(false);
        return true;
    }
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
    const std::string frequency = t.substr(close + 1, freqLength);
    if (frequency.empty())
        return false;
    // The mode is still set after a refused frequency, as the command asks for both.
    const bool tuned = SetFrequencyText(frequency);

    // The rest starts after the frequency and the '<' of the mode tag; the test is written so
    // that no length can overflow it.
    const std::size_t after = t.size() - close;  // at least 1
    if (after <= 2 || freqLength >= after - 2)
        return tuned;
    // A mode tag that is there but cannot be read leaves the command half done.
    const std::string rest = t.substr(close + freqLength + 2);
    const std::size_t colon2 = rest.find(':');
    if (colon2 == std::string::npos || colon2 == 0 || colon2 + 1 >= rest.size())
        return false;
    const int m = Length(std::string_view(rest).substr(colon2 + 1));
    if (m < 1)
        return false;
    std::size_t close2 = rest.find('>');
    if (close2 == std::string::npos)
        close2 = 0;
    // R must hold g2 + M + 1 characters: a longer mode length sets no mode.
    if (static_cast<std::size_t>(m) > rest.size() - close2 - 1)
        return false;
    const std::string mode = rest.substr(close2 + 1, static_cast<std::size_t>(m));
    const bool moded = !mode.empty() && SetModeText(mode);
    return tuned && moded;
}

bool CMyTopic::SetFrequencyText(const std::string& text)
{
    std::string number;
    for (char c : text) {
        if (c == '.')
            continue;
        number += c == ',' ? '.' : c;
    }
    const double hz = platform::ParseDoublePrefix(number) * 1000.0;
    // Checked before anything changes: a refused value leaves the field and the radio alone.
    if (!std::isfinite(hz) || hz < static_cast<double>(window_.LowerLimit())
        || hz > static_cast<double>(window_.UpperLimit()))
        return false;
    return window_.SetFrequency(std::llround(hz));
}

bool CMyTopic::SetModeText(const std::string& text)
{
    static constexpr struct {
        const char* name;
        int mode;
    } kModes[] = {{"LSB", 0},  {"USB", 1},    {"AM", 2}, {"CW", 3}, {"CW-R", 3},
                  {"RTTY", 4}, {"RTTY-R", 4}, {"FM", 5}, {"WFM", 6}};
    for (const auto& m : kModes) {
        if (!AsciiIEquals(text, m.name))
            continue;
        return m.mode < window_.ModeCount() && window_.SetModeIndex(m.mode);
    }
    return false;
}

}  // namespace dde
