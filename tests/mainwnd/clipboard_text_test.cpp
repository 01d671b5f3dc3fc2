// Copied texts as a DX-cluster client writes them: what each asks for, with the default band
// table and the radio's limits.
#include <gtest/gtest.h>

#include "BandTable.h"
#include "ClipboardTuning.h"

using namespace clipboard;

namespace {

constexpr int64_t kLower = 30000;
constexpr int64_t kUpper = 469999999;

struct Case {
    const char* text;
    int decimal;
    ClipboardAction action;
    int64_t hz;
    int mode;  // -1: no mode sent
};

}  // namespace

TEST(ClipboardText, EachTextAsksForItsAction)
{
    const bands::CBandTable table;
    const Case cases[] = {
        {"14025.3 XX1ABC cq", '.', ClipboardAction::Tune, 14025300, radio::kCw},
        {"14095.0", '.', ClipboardAction::Tune, 14095000, radio::kRtty},
        {"10115.0", '.', ClipboardAction::Tune, 10115000, radio::kCw},
        {"5000.0", '.', ClipboardAction::Tune, 5000000, radio::kLsb},
        {"11000.0", '.', ClipboardAction::Tune, 11000000, radio::kUsb},
        {"7300.0", '.', ClipboardAction::Tune, 7300000, radio::kLsb},  // the segment's top
        {"29600.0", '.', ClipboardAction::Tune, 29600000, radio::kFm},
        {"  21074.0 FT8 XX9XX", '.', ClipboardAction::Tune, 21074000, radio::kCw},
        // The comma is the decimal point; the grouping '.' goes, the spotter's time stays out.
        {"14.074,5 de XX1ABC 1230Z", ',', ClipboardAction::Tune, 14074500, radio::kCw},
        {"14074,5 XX1ABC", '.', ClipboardAction::Tune, 14074000, radio::kCw},
        {"14074.5", 0, ClipboardAction::Tune, 14074500, radio::kCw},
        {"14074.5", '7', ClipboardAction::Tune, 14074500, radio::kCw},
        {"14074.5", 0x0A, ClipboardAction::Tune, 14074500, radio::kCw},
        {"14074.5", 0x100 + '.', ClipboardAction::Tune, 14074500, radio::kCw},
        // Nothing to tune to.
        {"no number here", '.', ClipboardAction::Ignore, 0, -1},
        {"", '.', ClipboardAction::Ignore, 0, -1},
        {"0.01", '.', ClipboardAction::Ignore, 0, -1},
        {"470000", '.', ClipboardAction::Ignore, 0, -1},
        {"99999999999999999999999999999999999999", '.', ClipboardAction::Ignore, 0, -1},
        // Keying texts, compared over their own length.
        {"@[on]@ 14025.0", '.', ClipboardAction::PttOn, 0, -1},
        {"@[off]@", '.', ClipboardAction::PttOff, 0, -1},
        {"@[on", '.', ClipboardAction::Ignore, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ClipboardSettings settings;
        settings.decimal = c.decimal;
        const ClipboardRequest r =
            ReadClipboardText(c.text, settings, table, kLower, kUpper, nullptr);
        EXPECT_EQ(r.action, c.action);
        EXPECT_EQ(r.frequencyHz, c.hz);
        EXPECT_EQ(r.mode.value_or(-1), c.mode);
    }
}

TEST(ClipboardText, SettingsAndModelShapeTheAnswer)
{
    bands::CBandTable table;
    ClipboardSettings settings;

    // Empty keying texts never match, so the text still tunes.
    settings.pttOn.clear();
    settings.pttOff.clear();
    EXPECT_EQ(ReadClipboardText("14025", settings, table, kLower, kUpper, nullptr).action,
              ClipboardAction::Tune);

    // Without AutoMode no mode; with it, none the model lacks (no FM on the IC-718).
    settings.autoMode = false;
    EXPECT_FALSE(ReadClipboardText("29600", settings, table, kLower, kUpper, nullptr).mode);
    settings.autoMode = true;
    const civ::ModelCaps& ic718 = civ::Caps(civ::Model::IC718);
    const ClipboardRequest fm = ReadClipboardText("29600", settings, table, kLower, kUpper, &ic718);
    EXPECT_EQ(fm.action, ClipboardAction::Tune);
    EXPECT_FALSE(fm.mode);
    EXPECT_EQ(ReadClipboardText("14025", settings, table, kLower, kUpper, &ic718).mode, radio::kCw);

    // The radio's own limits, inclusive; the multiplier turns MHz texts into Hz.
    EXPECT_EQ(ReadClipboardText("14025", settings, table, 14025000, 14025000, nullptr).action,
              ClipboardAction::Tune);
    EXPECT_EQ(ReadClipboardText("14025", settings, table, 14025001, kUpper, nullptr).action,
              ClipboardAction::Ignore);
    settings.multiplier = 1000000;
    EXPECT_EQ(ReadClipboardText("7.0255", settings, table, kLower, kUpper, nullptr).frequencyHz,
              7025500);
    settings.multiplier = -1000;
    EXPECT_EQ(ReadClipboardText("7025", settings, table, kLower, kUpper, nullptr).action,
              ClipboardAction::Ignore);

    // The live table decides: a row's changed segments move the answer.
    table.Row(4).segments[bands::kSegRtty] = {14030000, 14020000};
    settings.multiplier = 1000;
    EXPECT_EQ(ReadClipboardText("14025", settings, table, kLower, kUpper, nullptr).mode,
              radio::kRtty);
}
