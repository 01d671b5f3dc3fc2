#include "MemoryChannel.h"

#include "AsciiCase.h"

#include <algorithm>

namespace lists {

namespace {

// Far above any frequency in Hz, far below what an int64_t holds.
constexpr int64_t kDigitsCap = 999'999'999'999'999;

std::string OnOff(bool on)
{
    return std::string(on ? kOn : kOff);
}

bool IsOn(std::string_view text)
{
    return platform::AsciiIEquals(text, kOn);
}

const std::string& CellOf(const std::vector<std::string>& cells, int col)
{
    static const std::string kEmpty;
    return col < static_cast<int>(cells.size()) ? cells[col] : kEmpty;
}

std::string ToneText(int tenths, std::string_view none)
{
    return tenths <= 0 ? std::string(none)
                       : GroupedDigits(tenths / 10) + ',' + static_cast<char>('0' + tenths % 10);
}

std::string DuplexText(bool plus, bool minus)
{
    return std::string(plus ? kDuplexPlusText : minus ? kDuplexMinusText : kNoDuplex);
}

}  // namespace

std::string GroupedDigits(int64_t value)
{
    const std::string digits = std::to_string(value < 0 ? 0 : value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += '.';
        out += digits[i];
    }
    return out;
}

int64_t DigitsValue(std::string_view text)
{
    int64_t value = 0;
    for (char c : text)
        if (c >= '0' && c <= '9')
            value = std::min(kDigitsCap, value * 10 + (c - '0'));
    return value;
}

int TenthsValue(std::string_view text)
{
    const std::size_t comma = text.find(',');
    const int64_t whole = std::min<int64_t>(DigitsValue(text.substr(0, comma)), 99'999'999);
    int tenth = 0;
    if (comma != std::string_view::npos)
        for (char c : text.substr(comma + 1))
            if (c >= '0' && c <= '9') {
                tenth = c - '0';
                break;
            }
    return static_cast<int>(whole * 10 + tenth);
}

std::vector<std::string> MemoryChannel::Cells() const
{
    using namespace pcmem;
    std::vector<std::string> c(kColumnCount);
    c[kDescription] = description;
    std::replace(c[kDescription].begin(), c[kDescription].end(), '~', ' ');
    c[kVfoA] = GroupedDigits(tuning.a.hz);
    c[kModeA] = tuning.a.mode;
    c[kFilterA] = OnOff(tuning.a.narrow);
    c[kVfoB] = GroupedDigits(tuning.b.hz);
    c[kModeB] = tuning.b.mode;
    c[kFilterB] = OnOff(tuning.b.narrow);
    c[kSplit] = tuning.split ? kSplitOn : kSplitOff;
    c[kActiveVfo] = tuning.activeB ? kVfoBText : kVfoAText;
    c[kDuplex] = DuplexText(functions.duplexPlus, functions.duplexMinus);
    c[kDuplexValue] =
        functions.duplexKHz == 0 ? std::string(kDefaultOffset) : GroupedDigits(functions.duplexKHz);
    c[kAttPre] = functions.attenuator ? kAttText : functions.preamp ? kPreText : kOff;
    c[kAgc] = OnOff(functions.agcFast);
    c[kNoiseBlanker] = OnOff(functions.noiseBlanker);
    c[kTone] = OnOff(functions.tone);
    c[kToneSquelch] = OnOff(functions.toneSquelch);
    c[kVox] = OnOff(functions.vox);
    c[kBreakIn] = OnOff(functions.breakIn);
    c[kCompressor] = OnOff(functions.compressor);
    c[kToneHz] = ToneText(toneTenths, kNoTone);
    return c;
}

MemoryChannel MemoryChannel::FromCells(const std::vector<std::string>& cells)
{
    using namespace pcmem;
    const auto cell = [&cells](int col) -> const std::string& { return CellOf(cells, col); };
    MemoryChannel m;
    m.description = cell(kDescription);
    m.tuning.a = {DigitsValue(cell(kVfoA)), cell(kModeA), IsOn(cell(kFilterA))};
    m.tuning.b = {DigitsValue(cell(kVfoB)), cell(kModeB), IsOn(cell(kFilterB))};
    m.tuning.split = platform::AsciiIEquals(cell(kSplit), kSplitOn);
    m.tuning.activeB = !platform::AsciiIEquals(cell(kActiveVfo), kVfoAText);
    ChannelFunctions& f = m.functions;
    f.duplexPlus = platform::AsciiIEquals(cell(kDuplex), kDuplexPlusText);
    f.duplexMinus = platform::AsciiIEquals(cell(kDuplex), kDuplexMinusText);
    f.duplexKHz = static_cast<int>(std::min<int64_t>(DigitsValue(cell(kDuplexValue)), 99'999'999));
    f.attenuator = platform::AsciiIEquals(cell(kAttPre), kAttText);
    f.preamp = platform::AsciiIEquals(cell(kAttPre), kPreText);
    f.agcFast = IsOn(cell(kAgc));
    f.noiseBlanker = IsOn(cell(kNoiseBlanker));
    f.tone = IsOn(cell(kTone));
    f.toneSquelch = IsOn(cell(kToneSquelch));
    f.vox = IsOn(cell(kVox));
    f.breakIn = IsOn(cell(kBreakIn));
    f.compressor = IsOn(cell(kCompressor));
    m.toneTenths = TenthsValue(cell(kToneHz));
    return m;
}

std::vector<std::string> RadioMemoryChannel::Cells() const
{
    using namespace radiomem;
    std::vector<std::string> c(kColumnCount);
    const int n = std::clamp(number, 0, kChannels);
    c[kNumber] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    c[kDescription] = description;
    std::replace(c[kDescription].begin(), c[kDescription].end(), '~', ' ');
    c[kVfoA] = GroupedDigits(tuning.a.hz);
    c[kModeA] = tuning.a.mode;
    c[kFilterA] = OnOff(tuning.a.narrow);
    c[kVfoB] = GroupedDigits(tuning.b.hz);
    c[kModeB] = tuning.b.mode;
    c[kFilterB] = OnOff(tuning.b.narrow);
    c[kSplit] = tuning.split ? kSplitOn : kSplitOff;
    c[kDuplex] = DuplexText(duplexPlus, duplexMinus);
    c[kTone] = OnOff(tone);
    c[kToneSquelch] = OnOff(toneSquelch);
    c[kToneHz] = ToneText(toneTenths, " ");
    return c;
}

RadioMemoryChannel RadioMemoryChannel::FromCells(const std::vector<std::string>& cells)
{
    using namespace radiomem;
    const auto cell = [&cells](int col) -> const std::string& { return CellOf(cells, col); };
    RadioMemoryChannel m;
    m.number = static_cast<int>(std::min<int64_t>(DigitsValue(cell(kNumber)), kChannels));
    m.description = cell(kDescription);
    m.tuning.a = {DigitsValue(cell(kVfoA)), cell(kModeA), IsOn(cell(kFilterA))};
    m.tuning.b = {DigitsValue(cell(kVfoB)), cell(kModeB), IsOn(cell(kFilterB))};
    m.tuning.split = platform::AsciiIEquals(cell(kSplit), kSplitOn);
    m.duplexPlus = platform::AsciiIEquals(cell(kDuplex), kDuplexPlusText);
    m.duplexMinus = platform::AsciiIEquals(cell(kDuplex), kDuplexMinusText);
    m.tone = IsOn(cell(kTone));
    m.toneSquelch = IsOn(cell(kToneSquelch));
    m.toneTenths = TenthsValue(cell(kToneHz));
    return m;
}

std::vector<std::string> RadioMemoryChoices(int column)
{
    using namespace radiomem;
    switch (column) {
    case kModeA: return PcMemoryChoices(pcmem::kModeA);
    case kModeB: return PcMemoryChoices(pcmem::kModeB);
    case kSplit: return PcMemoryChoices(pcmem::kSplit);
    case kDuplex: return PcMemoryChoices(pcmem::kDuplex);
    case kFilterA:
    case kFilterB:
    case kTone:
    case kToneSquelch: return PcMemoryChoices(pcmem::kAgc);
    default: return {};
    }
}

std::vector<std::string> PcMemoryChoices(int column)
{
    using namespace pcmem;
    switch (column) {
    case kModeA:
    case kModeB: return {"LSB", "USB", "AM", "CW", "RTTY", "FM", "WFM"};
    case kSplit: return {std::string(kSplitOn), std::string(kSplitOff)};
    case kDuplex:
        return {std::string(kNoDuplex), std::string(kDuplexPlusText),
                std::string(kDuplexMinusText)};
    // Its values are three: an "ON" here would read as neither.
    case kAttPre: return {std::string(kOff), std::string(kAttText), std::string(kPreText)};
    case kFilterA:
    case kFilterB:
    case kAgc:
    case kNoiseBlanker:
    case kTone:
    case kToneSquelch:
    case kVox:
    case kBreakIn:
    case kCompressor: return {std::string(kOff), std::string(kOn)};
    default: return {};
    }
}

}  // namespace lists
