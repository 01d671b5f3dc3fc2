// The band table: 12 amateur bands from 160 m to 70 cm and a "General" row, each with its limits,
// per-mode segments, the last frequency, mode and filter used in it and three band-stacking
// registers. Stored in the INI section "Banda" under keys formed from the row's name.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ModelCaps.h"
#include "RadioModes.h"

class CIni;

namespace bands {

inline constexpr int kBandCount = 13;
inline constexpr int kAmateurBandCount = 12;
inline constexpr int kGeneralRow = 12;
inline constexpr int kRegisterCount = 3;
inline constexpr int kModeCount = radio::kModeCount;
// Menu command of row 0; row i is kBandMenuFirst + i.
inline constexpr int kBandMenuFirst = 32785;
inline constexpr int kBandMenuLast = kBandMenuFirst + kBandCount - 1;
inline constexpr const char* kSection = "Banda";

// Filter codes as sent with command 06.
inline constexpr int kFilterNarrow = civ::kFilterNarrow;
inline constexpr int kFilterWide = civ::kFilterWide;

// Segments in field order of a row.
enum Segment : int { kSegCw = 0, kSegLsb = 1, kSegUsb = 2, kSegFm = 3, kSegRtty = 4 };
inline constexpr int kSegmentCount = 5;

struct Range {
    int upper = 0;
    int lower = 0;
    bool operator==(const Range&) const = default;
};

struct StackRegister {
    int frequency = 0;
    int mode = 0;
    bool operator==(const StackRegister&) const = default;
};

struct BandRow {
    int upper = 0;
    int lower = 0;
    int frequency = 0;
    int mode = 0;
    int filter = kFilterNarrow;
    std::array<Range, kSegmentCount> segments{};  // 0/0: no segment for that mode
    std::array<StackRegister, kRegisterCount> registers{};

    bool Contains(int64_t hz) const { return lower <= hz && hz <= upper; }
    bool operator==(const BandRow&) const = default;
};

// Built-in rows; the name is also the stem of the row's keys.
const BandRow& DefaultRow(int row);
// "160" ... "70", "General"; null outside 0..12.
const char* BandName(int row);
// The band menu's item text ("160 mt 1.8MHz" ... "General"); empty outside 0..12.
std::string BandMenuText(int row);
// "<name><suffix>", e.g. "20_freq".
std::string BandKey(int row, const char* suffix);
// "<name>_C<n>_freq" and "<name>_C<n>_modo", n = 1..3.
std::string RegisterFrequencyKey(int row, int n);
std::string RegisterModeKey(int row, int n);

class CBandTable {
public:
    // Starts with the built-in rows.
    CBandTable();

    // Reads every key of the 13 rows; absent keys give the built-in values. Values that cannot
    // be used (a mode outside the mode list, a range whose top is below its bottom) are replaced
    // by the built-in ones, so nothing read indexes anything unchecked.
    void Load(const CIni& ini);
    // Frequency, mode, filter and band limits of the 12 amateur rows ("General" is not written).
    bool SaveState(CIni& ini) const;
    // The 12 limit keys of every row.
    bool WriteLimits(CIni& ini) const;
    // Built-in limits into every row and the 12 limit keys removed.
    void RestoreDefaultLimits(CIni& ini);
    // Register n (1..3) of a row, written at once.
    bool WriteRegister(CIni& ini, int row, int n) const;

    // The first amateur row (0..11) holding the frequency, or -1.
    int FindBand(int64_t hz) const;

    BandRow& Row(int row) { return rows_.at(static_cast<size_t>(row)); }
    const BandRow& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }
    static bool IsRow(int row) { return row >= 0 && row < kBandCount; }

private:
    std::array<BandRow, kBandCount> rows_;
};

}  // namespace bands
