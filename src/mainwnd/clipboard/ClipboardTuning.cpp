#include "ClipboardTuning.h"

#include <cmath>

#include "BandTable.h"
#include "Numbers.h"

namespace clipboard {

namespace {

constexpr int kFallbackRow = 2;  // "40": USB above its top, LSB below

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool StartsWith(std::string_view text, const std::string& prefix)
{
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

// The segments in the order they are tested; a later match overrides an earlier one.
constexpr struct {
    bands::Segment segment;
    int mode;
} kSegmentOrder[] = {
    {bands::kSegFm, radio::kFm},
    {bands::kSegUsb, radio::kUsb},
    {bands::kSegLsb, radio::kLsb},
    {bands::kSegCw, radio::kCw},
};

bool InSegment(const bands::BandRow& row, bands::Segment s, int64_t hz)
{
    const bands::Range& r = row.segments[static_cast<size_t>(s)];
    return r.lower <= hz && hz <= r.upper;
}

}  // namespace

char DecimalCharacter(int stored)
{
    const auto c = static_cast<unsigned char>(stored & 0xFF);
    if (c < 0x20 || c == 0x7F || IsDigit(static_cast<char>(c)))
        return '.';
    return static_cast<char>(c);
}

double ReadClipboardNumber(std::string_view text, int decimal)
{
    const char dec = DecimalCharacter(decimal);
    size_t i = 0;
    while (i < text.size() && !IsDigit(text[i]))
        ++i;
    std::string number;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c))
            number += c;
        else if (c == dec)
            number += '.';
        else if (c != '.')
            break;
        // A '.' beside another decimal character groups thousands: dropped.
    }
    return platform::ParseDoublePrefix(number);
}

int ModeForFrequency(const bands::CBandTable& table, int64_t hz)
{
    for (int r = 0; r < bands::kAmateurBandCount; ++r) {
        const bands::BandRow& row = table.Row(r);
        std::optional<int> mode;
        for (const auto& entry : kSegmentOrder)
            if (InSegment(row, entry.segment, hz))
                mode = entry.mode;
        if (InSegment(row, bands::kSegRtty, hz))
            return radio::kRtty;
        if (mode)
            return *mode;
    }
    return hz > table.Row(kFallbackRow).upper ? radio::kUsb : radio::kLsb;
}

ClipboardRequest ReadClipboardText(std::string_view text, const ClipboardSettings& settings,
                                   const bands::CBandTable& table, int64_t lowerHz, int64_t upperHz,
                                   const civ::ModelCaps* caps)
{
    ClipboardRequest request;
    if (StartsWith(text, settings.pttOn)) {
        request.action = ClipboardAction::PttOn;
        return request;
    }
    if (StartsWith(text, settings.pttOff)) {
        request.action = ClipboardAction::PttOff;
        return request;
    }
    // Compared as doubles: a long run of digits must not wrap into the range.
    const double hz = ReadClipboardNumber(text, settings.decimal) * settings.multiplier;
    if (!std::isfinite(hz) || hz < static_cast<double>(lowerHz)
        || hz > static_cast<double>(upperHz))
        return request;
    request.action = ClipboardAction::Tune;
    request.frequencyHz = static_cast<int64_t>(hz);
    if (settings.autoMode) {
        const int mode = ModeForFrequency(table, request.frequencyHz);
        if (caps == nullptr || civ::HasMode(*caps, mode))
            request.mode = mode;
    }
    return request;
}

}  // namespace clipboard
