// Synchronising a range of the radio's memory channels with the program's copy of them (the
// radio memory list's rows, one per channel): each channel is compared and copied one way or
// the other, cleared, or its entry removed, as the user chose.
#pragma once

#include <cstdint>
#include <functional>

namespace radio {
class CRadioController;
}

namespace lists {

class CMemoryChannelEngine;
class IListTable;

struct SyncChoice {
    enum WhenBoth : int { kNothing = 0, kToProgram = 1, kToRadio = 2 };
    int first = 1;
    int last = 99;
    int whenBoth = kNothing;
    bool clearRadioWhenEntryBlank = false;
    bool removeEntryWhenRadioBlank = false;
    bool usePtt = false;
};

enum class SyncAction { Nothing, RemoveEntry, WriteRadio, ClearRadio, CopyToEntry };

// The decision for one channel.
SyncAction DecideSync(bool radioBlank, bool entryBlank, const SyncChoice& choice);

class CMemorySync {
public:
    // All must outlive the sync.
    CMemorySync(CMemoryChannelEngine& engine, radio::CRadioController& controller,
                const SyncChoice& choice);

    // Row n - 1 of the table is channel n (the radio list's 99 rows). step(n) comes before
    // each channel, and again before a channel the radio left unanswered is done once more;
    // false stops the run. False when the run stopped: the later channels were left as they were.
    bool Run(IListTable& table, const std::function<bool(int)>& step);

private:
    bool EntryBlank(const IListTable& table, int row) const;
    // One channel; false when the radio left a command unanswered.
    bool SyncChannel(IListTable& table, int n);
    // With the channel recalled: the radio's channel into the entry; false when unanswered.
    bool CopyToEntry(IListTable& table, int row, int n, int64_t radioHz);
    // With the channel recalled: the entry into the radio's channel; false unless stored.
    bool WriteEntry(const IListTable& table, int row);

    CMemoryChannelEngine& engine_;
    radio::CRadioController& controller_;
    SyncChoice choice_;
};

}  // namespace lists
