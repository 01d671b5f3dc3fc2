#include "BandTable.h"

#include "Ini.h"

namespace bands {
namespace {

using radio::kAm, radio::kCw, radio::kFm, radio::kLsb, radio::kUsb;

struct Builtin {
    const char* name;
    const char* menuText;
    BandRow row;
};

// Segments are {upper, lower} in the order CW, LSB, USB, FM, RTTY.
BandRow MakeRow(int lower, int upper, int frequency, int mode, Range cw, Range lsb, Range usb,
                Range fm, Range rtty)
{
    BandRow r;
    r.upper = upper;
    r.lower = lower;
    r.frequency = frequency;
    r.mode = mode;
    r.filter = kFilterNarrow;
    r.segments = {cw, lsb, usb, fm, rtty};
    return r;
}

const std::array<Builtin, kBandCount>& Builtins()
{
    static const std::array<Builtin, kBandCount> table = {{
        {"160", "160 mt 1.8MHz",
         MakeRow(1800000, 2000000, 1830000, kCw, {1838000, 1800000}, {2000000, 1838001}, {}, {},
                 {1834000, 1830000})},
        {"80", "80 mt 3.5MHz",
         MakeRow(3500000, 4000000, 3650000, kLsb, {3580000, 3500000}, {4000000, 3580001}, {}, {},
                 {3610000, 3590000})},
        {"40", "40 mt 7MHz",
         MakeRow(7000000, 7300000, 7050000, kLsb, {7035000, 7000000}, {7300000, 7040001}, {}, {},
                 {7040000, 7035001})},
        {"30", "30 mt 10MHz",
         MakeRow(10100000, 10150000, 10125000, kCw, {10140000, 10100000}, {}, {}, {},
                 {10150000, 10140001})},
        {"20", "20 mt 14MHz",
         MakeRow(14000000, 14350000, 14175000, kUsb, {14090000, 14000000}, {}, {14350000, 14100001},
                 {}, {14100000, 14090001})},
        {"17", "17 mt 18MHz",
         MakeRow(18068000, 18168000, 18118000, kUsb, {18100000, 18068000}, {}, {18168000, 18109001},
                 {}, {18109000, 18100001})},
        {"15", "15 mt 21MHz",
         MakeRow(21000000, 21450000, 21225000, kUsb, {21100000, 21000000}, {}, {21450000, 21120001},
                 {}, {21120000, 21100001})},
        {"12", "12 mt 24MHz",
         MakeRow(24890000, 24990000, 24940000, kUsb, {24920000, 24890000}, {}, {24990000, 24930001},
                 {}, {24930000, 24920001})},
        {"10", "10 mt 28MHz",
         MakeRow(28000000, 29700000, 28500000, kUsb, {28075000, 28000000}, {}, {29510000, 28125001},
                 {29700000, 29510001}, {28125000, 28075001})},
        {"6", "6 mt 50MHz",
         MakeRow(50000000, 54000000, 50500000, kUsb, {50100000, 50000000}, {}, {54000000, 50100001},
                 {}, {})},
        {"2", "2 mt 144MHz",
         MakeRow(144000000, 148000000, 144300000, kUsb, {144100000, 144000000}, {},
                 {145000000, 144100001}, {148000000, 145000001}, {})},
        {"70", "70 cm 430MHz",
         MakeRow(430000000, 440000000, 435500000, kFm, {}, {}, {}, {440000000, 430000000}, {})},
        {"General", "General", MakeRow(30000, 470000000, 15100000, kAm, {}, {}, {}, {}, {})},
    }};
    return table;
}

// Key suffixes of the segments' limits, in segment order.
struct SegmentKeys {
    const char* up;
    const char* down;
};
constexpr std::array<SegmentKeys, kSegmentCount> kSegmentKeys = {{
    {"_limite_upCW", "_limite_downCW"},
    {"_limite_upLSB", "_limite_downLSB"},
    {"_limite_upUSB", "_limite_downUSB"},
    {"_limite_upFM", "_limite_downFM"},
    {"_limite_upRTTY", "_limite_downRTTY"},
}};

bool UsableBand(int lower, int upper)
{
    return lower >= 0 && upper > lower;
}
bool UsableSegment(const Range& s)
{
    return (s.lower == 0 && s.upper == 0) || (s.lower >= 0 && s.upper >= s.lower);
}
bool UsableMode(int mode)
{
    return mode >= 0 && mode < kModeCount;
}

int Get(const CIni& ini, const std::string& key, int def)
{
    return ini.GetInt(kSection, key.c_str(), def);
}
bool Put(CIni& ini, const std::string& key, int value)
{
    return ini.WriteInt(kSection, key.c_str(), value);
}

}  // namespace

const BandRow& DefaultRow(int row)
{
    return Builtins().at(static_cast<size_t>(row)).row;
}

const char* BandName(int row)
{
    return CBandTable::IsRow(row) ? Builtins()[static_cast<size_t>(row)].name : nullptr;
}

std::string BandMenuText(int row)
{
    return CBandTable::IsRow(row) ? Builtins()[static_cast<size_t>(row)].menuText : std::string();
}

std::string BandKey(int row, const char* suffix)
{
    const char* name = BandName(row);
    return name == nullptr ? std::string() : std::string(name) + suffix;
}

std::string RegisterFrequencyKey(int row, int n)
{
    return BandKey(row, ("_C" + std::to_string(n) + "_freq").c_str());
}

std::string RegisterModeKey(int row, int n)
{
    return BandKey(row, ("_C" + std::to_string(n) + "_modo").c_str());
}

CBandTable::CBandTable()
{
    for (int i = 0; i < kBandCount; ++i)
        rows_[static_cast<size_t>(i)] = DefaultRow(i);
}

void CBandTable::Load(const CIni& ini)
{
    for (int i = 0; i < kBandCount; ++i) {
        const BandRow& def = DefaultRow(i);
        BandRow r = def;
        r.frequency = Get(ini, BandKey(i, "_freq"), def.frequency);
        if (r.frequency < 0)
            r.frequency = def.frequency;
        r.mode = Get(ini, BandKey(i, "_modo"), def.mode);
        if (!UsableMode(r.mode))
            r.mode = def.mode;
        r.filter = Get(ini, BandKey(i, "_filtro"), kFilterNarrow);
        if (r.filter != kFilterNarrow && r.filter != kFilterWide)
            r.filter = kFilterNarrow;
        r.upper = Get(ini, BandKey(i, "_limite_up"), def.upper);
        r.lower = Get(ini, BandKey(i, "_limite_down"), def.lower);
        if (!UsableBand(r.lower, r.upper)) {
            r.upper = def.upper;
            r.lower = def.lower;
        }
        for (int s = 0; s < kSegmentCount; ++s) {
            const Range& d = def.segments[static_cast<size_t>(s)];
            Range seg{Get(ini, BandKey(i, kSegmentKeys[static_cast<size_t>(s)].up), d.upper),
                      Get(ini, BandKey(i, kSegmentKeys[static_cast<size_t>(s)].down), d.lower)};
            r.segments[static_cast<size_t>(s)] = UsableSegment(seg) ? seg : d;
        }
        for (int n = 1; n <= kRegisterCount; ++n) {
            StackRegister& reg = r.registers[static_cast<size_t>(n - 1)];
            reg.frequency = Get(ini, RegisterFrequencyKey(i, n), 0);
            reg.mode = Get(ini, RegisterModeKey(i, n), 0);
            if (!UsableMode(reg.mode))
                reg.mode = 0;
        }
        rows_[static_cast<size_t>(i)] = r;
    }
}

bool CBandTable::SaveState(CIni& ini) const
{
    bool ok = true;
    for (int i = 0; i < kAmateurBandCount; ++i) {
        const BandRow& r = Row(i);
        ok &= Put(ini, BandKey(i, "_freq"), r.frequency);
        ok &= Put(ini, BandKey(i, "_modo"), r.mode);
        ok &= Put(ini, BandKey(i, "_filtro"), r.filter);
        ok &= Put(ini, BandKey(i, "_limite_up"), r.upper);
        ok &= Put(ini, BandKey(i, "_limite_down"), r.lower);
    }
    return ok;
}

bool CBandTable::WriteLimits(CIni& ini) const
{
    bool ok = true;
    for (int i = 0; i < kBandCount; ++i) {
        const BandRow& r = Row(i);
        ok &= Put(ini, BandKey(i, "_limite_down"), r.lower);
        ok &= Put(ini, BandKey(i, "_limite_up"), r.upper);
        for (int s = 0; s < kSegmentCount; ++s) {
            const Range& seg = r.segments[static_cast<size_t>(s)];
            ok &= Put(ini, BandKey(i, kSegmentKeys[static_cast<size_t>(s)].down), seg.lower);
            ok &= Put(ini, BandKey(i, kSegmentKeys[static_cast<size_t>(s)].up), seg.upper);
        }
    }
    return ok;
}

void CBandTable::RestoreDefaultLimits(CIni& ini)
{
    for (int i = 0; i < kBandCount; ++i) {
        BandRow& r = Row(i);
        const BandRow& def = DefaultRow(i);
        r.upper = def.upper;
        r.lower = def.lower;
        r.segments = def.segments;
        ini.DeleteKey(kSection, BandKey(i, "_limite_down").c_str());
        ini.DeleteKey(kSection, BandKey(i, "_limite_up").c_str());
        for (const SegmentKeys& k : kSegmentKeys) {
            ini.DeleteKey(kSection, BandKey(i, k.down).c_str());
            ini.DeleteKey(kSection, BandKey(i, k.up).c_str());
        }
    }
}

bool CBandTable::WriteRegister(CIni& ini, int row, int n) const
{
    if (!IsRow(row) || n < 1 || n > kRegisterCount)
        return false;
    const StackRegister& reg = Row(row).registers[static_cast<size_t>(n - 1)];
    const bool a = Put(ini, RegisterFrequencyKey(row, n), reg.frequency);
    const bool b = Put(ini, RegisterModeKey(row, n), reg.mode);
    return a && b;
}

int CBandTable::FindBand(int64_t hz) const
{
    for (int i = 0; i < kAmateurBandCount; ++i) {
        if (Row(i).Contains(hz))
            return i;
    }
    return -1;
}

}  // namespace bands
