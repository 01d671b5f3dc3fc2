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

// "ON"/"OFF" of a switch cell; false for an empty one (the caller checks first).
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

CMemorySync::Outcome CMemorySync::Run(IListTable& table, const std::function<bool(int)>& step)
{
    failed_ = 0;
    const int first = std::max(choice_.first, 1);
    const int last = std::min(choice_.last, std::min(kChannels, table.Rows()));
    for (int n = first; n <= last; ++n) {
        if (controller_.State().closing || !step(n))
            return Outcome::Stopped;
        const ChannelState state = engine_.Recall(n);
        if (state == ChannelState::Unanswered) {
            failed_ = n;
            return Outcome::Unanswered;
        }
        const int row = n - 1;
        const bool radioBlank = state == ChannelState::Blank;
        const int64_t radioHz = radioBlank ? 0 : controller_.State().frequencyHz;
        bool answered = true;
        switch (DecideSync(radioBlank, EntryBlank(table, row), choice_)) {
        case SyncAction::Nothing: break;
        case SyncAction::RemoveEntry:
            for (int col = kDescription; col < kColumnCount; ++col)
                table.SetCell(row, col, "");
            break;
        case SyncAction::WriteRadio: answered = WriteEntry(table, row); break;
        case SyncAction::ClearRadio: engine_.ClearChannel(n); break;
        case SyncAction::CopyToEntry: answered = CopyToEntry(table, row, n, radioHz); break;
        }
        if (!answered) {
            failed_ = n;
            return Outcome::Unanswered;
        }
    }
    return Outcome::Done;
}

bool CMemorySync::CopyToEntry(IListTable& table, int row, int n, int64_t radioHz)
{
    ChannelReading reading;
    if (!engine_.ReadVfos(reading))
        return false;
    const bool sameFrequency = DigitsValue(table.Cell(row, kVfoA)) == radioHz;
    if (!sameFrequency) {
        char name[16];
        std::snprintf(name, sizeof name, "Mem.%02d", n);
        table.SetCell(row, kDescription, name);
        table.SetCell(row, kToneHz, "");
    }
    // Tone and tone squelch are read only with the extended functions; else left empty.
    if (reading.functionsRead) {
        table.SetCell(row, kTone, OnOffText(reading.functions.tone));
        table.SetCell(row, kToneSquelch, OnOffText(reading.functions.toneSquelch));
    } else if (!sameFrequency) {
        table.SetCell(row, kTone, "");
        table.SetCell(row, kToneSquelch, "");
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
    const bool measure = t.a.mode == "FM" && choice_.usePtt;
    // An unmeasured direction of an unchanged channel is the user's: it stays.
    if (!measure && sameFrequency)
        return true;
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
    // An empty switch cell says nothing about the radio's switch: nothing is sent for it.
    const std::string duplex = table.Cell(row, kDuplex);
    if (!duplex.empty())
        controller_.SendDuplexDirection(duplex == kDuplexPlusText, duplex == kDuplexMinusText);
    const std::string tone = table.Cell(row, kTone);
    if (!tone.empty())
        controller_.SendStoredFunction(radio::RadioFunction::Tone, IsOnText(tone));
    const std::string toneSquelch = table.Cell(row, kToneSquelch);
    if (!toneSquelch.empty())
        controller_.SendStoredFunction(radio::RadioFunction::ToneSquelch, IsOnText(toneSquelch));
    return engine_.StoreVfo();
}

}  // namespace lists
