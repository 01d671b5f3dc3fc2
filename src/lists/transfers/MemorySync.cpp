#include "MemorySync.h"

#include "ChannelDescription.h"
#include "ChannelTuning.h"
#include "ListTable.h"
#include "MemoryChannel.h"
#include "MemoryChannelEngine.h"
#include "RadioController.h"

#include <algorithm>
#include <cstdio>

namespace lists {

namespace {

using namespace radiomem;

std::string OnOffText(bool on)
{
    return std::string(on ? kOn : kOff);
}

// "ON" of a switch cell; anything else is off.
bool IsOnText(const std::string& cell)
{
    return cell == kOn;
}

}  // namespace

SyncAction DecideSync(bool radioBlank, bool entryBlank, const SyncChoice& choice)
{
    if (radioBlank && entryBlank)
        return SyncAction::Nothing;
    if (radioBlank)
        return choice.removeEntryWhenRadioBlank ? SyncAction::RemoveEntry : SyncAction::WriteRadio;
    if (entryBlank)
        return choice.clearRadioWhenEntryBlank ? SyncAction::ClearRadio : SyncAction::CopyToEntry;
    switch (choice.whenBoth) {
    case SyncChoice::kToProgram: return SyncAction::CopyToEntry;
    case SyncChoice::kToRadio: return SyncAction::WriteRadio;
    default: return SyncAction::Nothing;
    }
}

CMemorySync::CMemorySync(CMemoryChannelEngine& engine, radio::CRadioController& controller,
                         const SyncChoice& choice)
    : engine_(engine), controller_(controller), choice_(choice)
{
}

bool CMemorySync::EntryBlank(const IListTable& table, int row) const
{
    const int64_t low = controller_.State().lowerLimit;
    return DigitsValue(table.Cell(row, kVfoA)) < low && DigitsValue(table.Cell(row, kVfoB)) < low;
}

bool CMemorySync::Run(IListTable& table, const std::function<bool(int)>& step)
{
    const int first = std::max(choice_.first, 1);
    const int last = std::min(choice_.last, std::min(kChannels, table.Rows()));
    return engine_.ForEachChannel(first, last, step, [&](int n) { return SyncChannel(table, n); });
}

bool CMemorySync::SyncChannel(IListTable& table, int n)
{
    const ChannelState state = engine_.Recall(n);
    if (state == ChannelState::Unanswered)
        return false;
    const int row = n - 1;
    const bool radioBlank = state == ChannelState::Blank;
    const int64_t radioHz = radioBlank ? 0 : controller_.State().frequencyHz;
    switch (DecideSync(radioBlank, EntryBlank(table, row), choice_)) {
    case SyncAction::Nothing: return true;
    case SyncAction::RemoveEntry:
        for (int col = kDescription; col < kColumnCount; ++col)
            table.SetCell(row, col, "");
        return true;
    case SyncAction::WriteRadio: return WriteEntry(table, row);
    case SyncAction::ClearRadio: engine_.ClearChannel(n); return true;
    case SyncAction::CopyToEntry: return CopyToEntry(table, row, n, radioHz);
    }
    return true;
}

bool CMemorySync::CopyToEntry(IListTable& table, int row, int n, int64_t radioHz)
{
    ChannelReading reading;
    if (!engine_.ReadVfos(reading, false))
        return false;
    // Another channel than the entry held: its name and tone settings are not this one's.
    if (DigitsValue(table.Cell(row, kVfoA)) != radioHz) {
        char name[16];
        std::snprintf(name, sizeof name, "Mem.%02d", n);
        table.SetCell(row, kDescription, name);
        for (int col : {kTone, kToneSquelch, kToneHz})
            table.SetCell(row, col, "");
    }
    const ChannelTuning& t = reading.tuning;
    table.SetCell(row, kVfoA, GroupedDigits(t.a.hz));
    table.SetCell(row, kModeA, t.a.mode);
    table.SetCell(row, kFilterA, OnOffText(t.a.narrow));
    if (t.split) {
        table.SetCell(row, kVfoB, GroupedDigits(t.b.hz));
        table.SetCell(row, kModeB, t.b.mode);
        table.SetCell(row, kFilterB, OnOffText(t.b.narrow));
        table.SetCell(row, kSplit, std::string(kSplitOn));
        return true;
    }
    table.SetCell(row, kVfoB, GroupedDigits(0));
    table.SetCell(row, kModeB, "");
    table.SetCell(row, kFilterB, std::string(kOff));
    table.SetCell(row, kSplit, std::string(kSplitOff));
    // The radio does not report a channel's direction: only a measurement gives one.
    const bool measure = t.a.mode == "FM" && choice_.usePtt;
    const int64_t offset = measure ? engine_.MeasureDuplex(t.a.hz) : 0;
    table.SetCell(row, kDuplex,
                  std::string(offset < 0   ? kDuplexMinusText
                              : offset > 0 ? kDuplexPlusText
                                           : kNoDuplex));
    return true;
}

bool CMemorySync::WriteEntry(const IListTable& table, int row)
{
    const radio::RadioState& st = controller_.State();
    const auto inside = [&st](int64_t hz) { return hz >= st.lowerLimit && hz <= st.upperLimit; };
    const auto tune = [&](int vfo, int colHz, int colMode, int colFilter) {
        const int64_t hz = DigitsValue(table.Cell(row, colHz));
        if (!inside(hz))
            return;
        controller_.TuneVfo(vfo, hz, ModeNumber(table.Cell(row, colMode)),
                            IsOnText(table.Cell(row, colFilter)), true);
    };
    controller_.ActivateVfo(radio::kVfoA, false);
    tune(radio::kVfoB, kVfoB, kModeB, kFilterB);
    tune(radio::kVfoA, kVfoA, kModeA, kFilterA);
    controller_.SendSplit(table.Cell(row, kSplit) == kSplitOn);
    controller_.ActivateVfo(radio::kVfoA, false);
    // Whatever the cell holds: a direction, else simplex; "ON", else off.
    const std::string duplex = table.Cell(row, kDuplex);
    controller_.SendDuplexDirection(duplex == kDuplexPlusText, duplex == kDuplexMinusText);
    controller_.SendStoredFunction(radio::RadioFunction::Tone, IsOnText(table.Cell(row, kTone)));
    controller_.SendStoredFunction(radio::RadioFunction::ToneSquelch,
                                   IsOnText(table.Cell(row, kToneSquelch)));
    return engine_.StoreVfo();
}

}  // namespace lists
