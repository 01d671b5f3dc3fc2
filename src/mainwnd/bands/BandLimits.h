// The editing logic of the band and mode limits dialog: a working copy of the limits of the 13
// band rows, the checks of the band shown, and saving or restoring them. The dialog only moves
// values between its fields and this editor.
#pragma once

#include "BandTable.h"

#include <array>
#include <cstdint>

class CIni;

namespace bands {

// Field ids of the dialog.
namespace limits {
inline constexpr int kGeneralFrom = 1115;
inline constexpr int kGeneralTo = 1116;
inline constexpr int kReadFromRadio = 1113;
inline constexpr int kBandList = 1052;
inline constexpr int kBandFrom = 1117;
inline constexpr int kBandTo = 1118;
inline constexpr int kCwLow = 1119, kCwHigh = 1120;
inline constexpr int kRttyLow = 1121, kRttyHigh = 1122;
inline constexpr int kLsbLow = 1123, kLsbHigh = 1124;
inline constexpr int kUsbLow = 1125, kUsbHigh = 1126;
inline constexpr int kFmLow = 1127, kFmHigh = 1128;
inline constexpr int kFirstField = kBandFrom;
inline constexpr int kLastField = kFmHigh;
inline constexpr int kFieldCount = kLastField - kFirstField + 1;
// Save's answer when the fields passed but the INI file could not be written.
inline constexpr int kNotWritten = -1;
}  // namespace limits

// The values of the fields 1117..1128 as the dialog holds them.
struct LimitFields {
    std::array<double, limits::kFieldCount> values{};
    double& operator[](int id) { return values.at(static_cast<size_t>(id - limits::kFirstField)); }
    double operator[](int id) const
    {
        return values.at(static_cast<size_t>(id - limits::kFirstField));
    }
};

// The limit fields of a row, and a row's limits taken from fields (truncated to whole Hz).
LimitFields FieldsOf(const BandRow& row);
void StoreFields(const LimitFields& fields, BandRow& row);

// Checks the fields of the band shown against the general "From"; returns the id of the field to
// blame, or 0 when all pass. A band must end above where it begins; a segment may be empty (0/0)
// but never end below its start; no value may be negative or beyond a 32-bit number. The
// "General" row's edges cannot be edited, so they are not held against the general "From".
int ValidateBandFields(double generalFrom, const LimitFields& fields, bool generalRow = false);

class CLimitsEditor {
public:
    // Copies the live limits and remembers the radio's limits in force.
    CLimitsEditor(const CBandTable& live, int64_t radioLower, int64_t radioUpper);

    int ShownBand() const { return shown_; }
    int64_t RadioLower() const { return radioLower_; }
    int64_t RadioUpper() const { return radioUpper_; }
    // The fields of a row of the working copy.
    LimitFields Fields(int row) const { return FieldsOf(working_.at(static_cast<size_t>(row))); }

    // Checks the shown band's fields; when they pass they go into the working copy. Returns the
    // field to blame or 0.
    int StoreShown(double generalFrom, const LimitFields& fields);
    // Another band becomes the shown one (after StoreShown passed).
    void Show(int row);

    // Saving: general "To" not above "From" blames kGeneralFrom; then the shown band is checked.
    // When all pass, every row's limits go into the live table and the INI, and the general
    // limits into Setup. Returns the field to blame, kNotWritten when a write failed, or 0.
    int Save(double generalFrom, double generalTo, const LimitFields& shown, CBandTable& live,
             CIni& ini);
    // Built-in limits into the live table, their keys and the stored radio limits removed; the
    // working copy follows the restored table and band 0 is shown.
    void RestoreDefaults(CBandTable& live, CIni& ini);
    // Whether the working copy or the general fields differ from the live values.
    bool Differs(double generalFrom, double generalTo, const CBandTable& live) const;

private:
    std::array<BandRow, kBandCount> working_;
    int shown_ = 0;
    int64_t radioLower_;
    int64_t radioUpper_;
};

}  // namespace bands
