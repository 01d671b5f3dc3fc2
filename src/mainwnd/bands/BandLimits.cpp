#include "BandLimits.h"

#include "Ini.h"
#include "SettingsKeys.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace bands {
namespace {

using namespace limits;

// Field pairs (low, high) of the segments, in segment order.
struct SegmentFields {
    int low;
    int high;
};
constexpr std::array<SegmentFields, kSegmentCount> kSegmentFields = {{
    {kCwLow, kCwHigh},
    {kLsbLow, kLsbHigh},
    {kUsbLow, kUsbHigh},
    {kFmLow, kFmHigh},
    {kRttyLow, kRttyHigh},
}};

bool Storable(double v)
{
    return std::isfinite(v) && v >= 0 && v <= static_cast<double>(INT_MAX);
}
int Whole(double v)
{
    return static_cast<int>(v);
}

}  // namespace

LimitFields FieldsOf(const BandRow& row)
{
    LimitFields f;
    f[kBandFrom] = row.lower;
    f[kBandTo] = row.upper;
    for (int s = 0; s < kSegmentCount; ++s) {
        const Range& seg = row.segments[static_cast<size_t>(s)];
        f[kSegmentFields[static_cast<size_t>(s)].low] = seg.lower;
        f[kSegmentFields[static_cast<size_t>(s)].high] = seg.upper;
    }
    return f;
}

void StoreFields(const LimitFields& fields, BandRow& row)
{
    row.lower = Whole(fields[kBandFrom]);
    row.upper = Whole(fields[kBandTo]);
    for (int s = 0; s < kSegmentCount; ++s) {
        Range& seg = row.segments[static_cast<size_t>(s)];
        seg.lower = Whole(fields[kSegmentFields[static_cast<size_t>(s)].low]);
        seg.upper = Whole(fields[kSegmentFields[static_cast<size_t>(s)].high]);
    }
}

int ValidateBandFields(double generalFrom, const LimitFields& fields, bool generalRow)
{
    for (int id = kFirstField; id <= kLastField; ++id) {
        if (!Storable(fields[id]))
            return id;
    }
    // Compared as whole Hz, as they are stored.
    const auto at = [&](int id) { return Whole(fields[id]); };
    if (!generalRow && std::isfinite(generalFrom) && generalFrom > at(kBandFrom))
        return kBandFrom;
    if (at(kBandTo) <= at(kBandFrom))
        return kBandTo;
    // Checked in the dialog's order: CW, LSB, USB, RTTY, FM.
    for (int high : {kCwHigh, kLsbHigh, kUsbHigh, kRttyHigh, kFmHigh}) {
        if (at(high) < at(high - 1))
            return high;
    }
    return 0;
}

CLimitsEditor::CLimitsEditor(const CBandTable& live, int64_t radioLower, int64_t radioUpper)
    : radioLower_(radioLower), radioUpper_(radioUpper)
{
    for (int i = 0; i < kBandCount; ++i)
        working_[static_cast<size_t>(i)] = live.Row(i);
}

int CLimitsEditor::StoreShown(double generalFrom, const LimitFields& fields)
{
    const int bad = ValidateBandFields(generalFrom, fields, shown_ == kGeneralRow);
    if (bad == 0)
        StoreFields(fields, working_[static_cast<size_t>(shown_)]);
    return bad;
}

void CLimitsEditor::Show(int row)
{
    if (CBandTable::IsRow(row))
        shown_ = row;
}

int CLimitsEditor::Save(double generalFrom, double generalTo, const LimitFields& shown,
                        CBandTable& live, CIni& ini)
{
    if (!Storable(generalFrom) || !Storable(generalTo) || Whole(generalTo) <= Whole(generalFrom))
        return kGeneralFrom;
    if (const int bad = StoreShown(generalFrom, shown); bad != 0)
        return bad;
    for (int i = 0; i < kBandCount; ++i) {
        BandRow& r = live.Row(i);
        const BandRow& w = working_[static_cast<size_t>(i)];
        r.lower = w.lower;
        r.upper = w.upper;
        r.segments = w.segments;
    }
    // Some 160 keys: one rewrite of the file.
    CIni::Batch batch(ini);
    bool written = live.WriteLimits(ini);
    radioLower_ = Whole(generalFrom);
    radioUpper_ = Whole(generalTo);
    written =
        ini.WriteInt(settings::setup::LimiteInferiore, static_cast<int>(radioLower_)) && written;
    written =
        ini.WriteInt(settings::setup::LimiteSuperiore, static_cast<int>(radioUpper_)) && written;
    written = batch.Commit() && written;
    return written ? 0 : kNotWritten;
}

void CLimitsEditor::RestoreDefaults(CBandTable& live, CIni& ini)
{
    CIni::Batch batch(ini);
    live.RestoreDefaultLimits(ini);
    ini.DeleteKey(settings::setup::LimiteInferiore);
    ini.DeleteKey(settings::setup::LimiteSuperiore);
    if (!batch.Commit())
        std::fprintf(stderr, "band limits not reset: %s\n", ini.LastError().c_str());
    for (int i = 0; i < kBandCount; ++i)
        working_[static_cast<size_t>(i)] = live.Row(i);
    shown_ = 0;
}

bool CLimitsEditor::Differs(double generalFrom, double generalTo, const CBandTable& live) const
{
    if (!Storable(generalFrom) || !Storable(generalTo) || Whole(generalFrom) != radioLower_
        || Whole(generalTo) != radioUpper_)
        return true;
    for (int i = 0; i < kBandCount; ++i) {
        const BandRow& r = live.Row(i);
        const BandRow& w = working_[static_cast<size_t>(i)];
        if (r.lower != w.lower || r.upper != w.upper || r.segments != w.segments)
            return true;
    }
    return false;
}

}  // namespace bands
