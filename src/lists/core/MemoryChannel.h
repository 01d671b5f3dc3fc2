// The two memory records of the list files: a PC memory channel (one row of the memories window,
// 20 columns) and a radio memory channel (one row of the radio memories window, 13 columns), with
// the texts their coded columns take.
#pragma once

#include "ChannelFunctions.h"
#include "ChannelTuning.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

namespace pcmem {
enum Column : int {
    kDescription,
    kVfoA,
    kModeA,
    kFilterA,
    kVfoB,
    kModeB,
    kFilterB,
    kSplit,
    kActiveVfo,
    kDuplex,
    kDuplexValue,
    kAttPre,
    kAgc,
    kNoiseBlanker,
    kTone,
    kToneSquelch,
    kVox,
    kBreakIn,
    kCompressor,
    kToneHz,
};
inline constexpr int kColumnCount = 20;
inline constexpr int kFirstTitleId = 500;  // column c is titled by string 500 + c
}  // namespace pcmem

namespace radiomem {
enum Column : int {
    kNumber,
    kDescription,
    kVfoA,
    kModeA,
    kFilterA,
    kVfoB,
    kModeB,
    kFilterB,
    kSplit,
    kDuplex,
    kTone,
    kToneSquelch,
    kToneHz,
};
inline constexpr int kColumnCount = 13;
inline constexpr int kFirstTitleId = 550;
inline constexpr int kChannels = 99;  // rows "01" to "99", always all of them
}  // namespace radiomem

// Coded cell texts.
inline constexpr std::string_view kOn = "ON";
inline constexpr std::string_view kOff = "OFF";
inline constexpr std::string_view kSplitOn = "SPLIT";
inline constexpr std::string_view kSplitOff = "NOSPLIT";
inline constexpr std::string_view kVfoAText = "VFO A";
inline constexpr std::string_view kVfoBText = "VFO B";
inline constexpr std::string_view kNoDuplex = "NODUP";
inline constexpr std::string_view kDuplexPlusText = "DUP+";
inline constexpr std::string_view kDuplexMinusText = "DUP-";
inline constexpr std::string_view kDefaultOffset = "DEF";
inline constexpr std::string_view kAttText = "ATT";
inline constexpr std::string_view kPreText = "PRE";
inline constexpr std::string_view kNoTone = "NO";

// One PC memory channel as the editor holds it.
struct MemoryChannel {
    std::string description;
    ChannelTuning tuning;
    ChannelFunctions functions;
    int toneTenths = 0;  // the repeater tone in tenths of a Hz, 0 for none

    // The 20 cells of its row.
    std::vector<std::string> Cells() const;
    // Read back from cells (missing ones count as empty); numbers from their digits only.
    static MemoryChannel FromCells(const std::vector<std::string>& cells);
};

// One channel of the radio's memory as its editor holds it.
struct RadioMemoryChannel {
    int number = 0;  // 1 to 99
    std::string description;
    ChannelTuning tuning;  // activeB unused: the radio's channel has no active VFO
    bool duplexPlus = false;
    bool duplexMinus = false;
    bool tone = false;
    bool toneSquelch = false;
    int toneTenths = 0;

    // The 13 cells of its row ("01" in the first).
    std::vector<std::string> Cells() const;
    static RadioMemoryChannel FromCells(const std::vector<std::string>& cells);
};

// The texts a coded column of the radio list offers; empty for a column edited as text.
std::vector<std::string> RadioMemoryChoices(int column);

// A number as the program's number fields show it: "." between groups of three digits.
std::string GroupedDigits(int64_t value);
// The number formed by the digits of a text, every other character ignored; clamped, so a long
// run of digits never overflows.
int64_t DigitsValue(std::string_view text);
// Tenths from a text with "," before the decimal ("88,5" is 885).
int TenthsValue(std::string_view text);

// The texts a coded column of the PC list offers; empty for a column edited as text.
std::vector<std::string> PcMemoryChoices(int column);

}  // namespace lists
