// The memories window's bulk transfers with the radio: "Read mem." copies a range of the
// radio's channels into rows named "Mem. nn", "Write mem." writes every row so named into its
// channel.
#include "MemoriesWindow.h"

#include "BulkRadioRun.h"
#include "ChannelDescription.h"
#include "CivCodes.h"
#include "GridWidget.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MemoryChannelEngine.h"
#include "RadioController.h"
#include "ReadMemoriesDlg.h"

#include <cstdlib>

namespace {

constexpr int kCaptionAttention = 141;
constexpr int kAskRead = 1071;
constexpr int kAskReadAbort = 1072;
constexpr int kPrefixId = 1073;
constexpr int kAskWrite = 1212;
constexpr int kAskWriteAbort = 1213;
constexpr int kAskReadDuplex = 1230;
constexpr int kAskReadKeying = 1252;
constexpr int kReadNothing = 2120;
constexpr int kWriteStopped = 2121;
constexpr const char* kEnglishPrefix = "Mem.";

constexpr unsigned kAsk = mb::kYesNo | mb::kIconExclamation | mb::kDefButton2;

// The row a read stores for a channel.
lists::MemoryChannel RowFromReading(const lists::ChannelReading& reading, const CLeggiMem& choice)
{
    lists::MemoryChannel m;
    m.tuning = reading.tuning;
    if (reading.functionsRead) {
        m.functions = reading.functions;
        m.functions.duplexPlus = choice.DupPlus();
        m.functions.duplexMinus = choice.DupMinus();
    }
    return m;
}

}  // namespace

bool CDlgMem::AskTransfer(const std::string& question) const
{
    const CLanguage& language = services_.Language();
    return language.ShowMessage({question, language.LoadString(kCaptionAttention), kAsk, 0})
           == mb::kIdYes;
}

void CDlgMem::ReadMemoriesFromRadio()
{
    if (!ListMayChange())
        return;
    CLeggiMem choice(services_.Ini(), CanKeyTransmitter(services_));
    choice.SetOwner(this);
    choice.DoModal();
    const int first = choice.First();
    const int last = choice.Last();
    if (first == 0 || last == 0)
        return;
    const CLanguage& language = services_.Language();
    std::string question = language.Format(kAskRead, {first, last});
    if (choice.DupMinus())
        question = language.Format(kAskReadDuplex, {first, last, "-"});
    if (choice.DupPlus())
        question = language.Format(kAskReadDuplex, {first, last, "+"});
    if (choice.UsePtt())
        question = language.Format(kAskReadKeying, {first, last});
    if (!AskTransfer(question))
        return;

    const std::string prefix = language.LoadString(kPrefixId);
    CBulkRadioRun run(services_, kAskReadAbort);
    if (!run.Start(this, first, last, caption_))
        return;
    radio::CRadioController& controller = services_.Controller();
    controller.ClearDuplexButtons();
    controller.SendCommand(civ::kCmdVfo, civ::kVfoA);
    transferring_ = true;
    lists::CMemoryChannelEngine engine(controller, run);
    int stored = 0;
    const auto readChannel = [&](int n) {
        const lists::ChannelState state = engine.Recall(n);
        if (state == lists::ChannelState::Blank)
            return true;
        lists::ChannelReading reading;
        if (state == lists::ChannelState::Unanswered || !engine.ReadVfos(reading, true))
            return false;
        lists::MemoryChannel m = RowFromReading(reading, choice);
        m.description = lists::ChannelDescription(prefix, n);
        if (!m.tuning.split && m.tuning.a.mode == "FM" && choice.UsePtt()) {
            const int64_t offset = engine.MeasureDuplex(m.tuning.a.hz);
            if (offset != 0) {
                m.functions.duplexMinus = offset < 0;
                m.functions.duplexPlus = offset > 0;
                m.functions.duplexKHz = static_cast<int>(std::llabs(offset) / 1000);
            }
        }
        WriteEditor(m);
        SaveRow(true);
        ++stored;
        return true;
    };
    const bool whole = engine.ForEachChannel(
        first, last, [&run](int n) { return run.Step(n); }, readChannel);
    transferring_ = false;
    run.Finish();
    // Every channel empty: without a word the user could not tell that from a failed read.
    if (whole && stored == 0)
        language.ShowMessage(
            {language.Format(kReadNothing, {first, last}), {}, mb::kOk | mb::kIconInformation, 0});
    SaveMemories();
}

int CDlgMem::ChannelOfRow(int row) const
{
    const std::string description =
        gridWidget_->Grid().GetItemText(row, lists::pcmem::kDescription);
    const int n = lists::ChannelNamedBy(description, kEnglishPrefix);
    return n != 0 ? n
                  : lists::ChannelNamedBy(description, services_.Language().LoadString(kPrefixId));
}

void CDlgMem::WriteMemoriesToRadio()
{
    if (!AskTransfer(services_.Language().LoadString(kAskWrite)))
        return;
    CDataGrid& g = Grid();
    const int lastRow = g.GetRowCount() - 1;
    CBulkRadioRun run(services_, kAskWriteAbort);
    if (!run.Start(this, 1, std::max(1, lastRow), caption_))
        return;
    radio::CRadioController& controller = services_.Controller();
    const radio::RadioState& st = controller.State();
    lists::CMemoryChannelEngine engine(controller, run);
    const int focusRow = focusRow_;
    const int focusCol = focusCol_;
    int stoppedAt = 0;
    for (int row = g.GetFixedRowCount(); row <= lastRow && run.Step(row); ++row) {
        const int n = ChannelOfRow(row);
        if (n == 0)
            continue;
        focusCol_ = 0;
        FocusRow(row);
        editing_ = false;
        FillEditorFromRow();
        // A row the radio cannot take writes nothing: the channel keeps what it held.
        if (lists::CheckChannelLimits(ReadEditor().tuning, st.lowerLimit, st.upperLimit) != 0) {
            SendRowToRadio();  // tells the user which limit
            continue;
        }
        if (!engine.SelectChannel(n, true) || !SendRowToRadio() || !engine.StoreVfo()) {
            stoppedAt = n;
            break;
        }
    }
    run.Finish();
    focusCol_ = focusCol;
    FocusRow(focusRow);
    editing_ = false;
    FillEditorFromRow();
    if (stoppedAt != 0 && !run.Closing())
        ShowError(services_.Language().Format(kWriteStopped, {stoppedAt}));
}
