// The rows of the radio memories window: the file behind them, the editor, saving and deleting a
// channel, sorting and the pick lists of the coded columns.
#include "RadioMemoriesWindow.h"

#include "AsciiCase.h"
#include "CommandCodes.h"
#include "GridListTable.h"
#include "GridWidget.h"
#include "Ini.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MemoryListFile.h"
#include "MyDataGrid.h"
#include "PickListDlg.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "SettingsKeys.h"
#include "SyncMemoriesDlg.h"

#include <QComboBox>

#include <algorithm>
#include <cmath>

namespace {

using namespace lists;

}  // namespace

void CDlgMemRadio::SetUpChannelRows()
{
    CDataGrid& g = Grid();
    CGridListTable table(g);
    CTextTable rows(radiomem::kColumnCount);
    ResetRadioChannels(rows);
    table.Assign(rows);
    g.AutoSize();
}

void CDlgMemRadio::LoadMemories()
{
    CDataGrid& g = Grid();
    CGridListTable table(g);
    // A file that cannot be opened leaves the rows as they are.
    CTextTable rows = table.Copy();
    if (rows.Rows() != radiomem::kChannels)
        ResetRadioChannels(rows);
    const ListFileResult read = ReadRadioMemories(path_, rows, &unread_);
    g.SetRedraw(false);
    table.Assign(rows);
    g.SetRedraw(true);
    g.AutoSize();
    if (!read.Ok()) {
        TookFile(read);
        return;
    }
    ReadViewState();
    SortByColumn(sortColumn_, sortAscending_);
    if (!g.IsValid(focusRow_, focusCol_) || focusRow_ < 1)
        focusRow_ = 1, focusCol_ = 0;
    FocusRow(focusRow_);
    TookFile(read);
    FillEditorFromRow();
    FollowMemoryMode();
}

RadioMemoryChannel CDlgMemRadio::ReadEditor() const
{
    RadioMemoryChannel m;
    m.number = ComboChannel();
    m.description = GetDlgItemText(kDescription);
    m.tuning = EditorTuning();
    m.duplexPlus = Check(kDupPlus);
    m.duplexMinus = Check(kDupMinus);
    m.tone = Check(kTone);
    m.toneSquelch = Check(kTsql);
    m.toneTenths = EditorToneTenths();
    return m;
}

void CDlgMemRadio::WriteEditor(const RadioMemoryChannel& m)
{
    filling_ = true;
    if (auto* combo = GetDlgItemAs<QComboBox>(kChannel); combo != nullptr && m.number >= 1)
        combo->setCurrentIndex(m.number - 1);
    SetDlgItemText(kDescription, m.description);
    ShowTuning(m.tuning);
    SetCheck(kDupPlus, m.duplexPlus);
    SetCheck(kDupMinus, m.duplexMinus);
    SetCheck(kTone, m.tone);
    SetCheck(kTsql, m.toneSquelch);
    SetNumber(kToneHz, m.toneTenths / 10.0);
    filling_ = false;
}

void CDlgMemRadio::ClearEditor()
{
    RadioMemoryChannel empty;
    // The modes stay as they are.
    const ChannelTuning shown = EditorTuning();
    empty.tuning.a.mode = shown.a.mode;
    empty.tuning.b.mode = shown.b.mode;
    WriteEditor(empty);
    editing_ = true;
}

int CDlgMemRadio::ComboChannel() const
{
    const auto* combo = GetDlgItemAs<QComboBox>(kChannel);
    return combo != nullptr ? combo->currentIndex() + 1 : 0;
}

int CDlgMemRadio::FocusedChannel() const
{
    const CDataGrid& g = gridWidget_->Grid();
    if (!g.IsValid(focusRow_, 0) || focusRow_ < g.GetFixedRowCount())
        return 0;
    return static_cast<int>(std::min<int64_t>(DigitsValue(g.GetItemText(focusRow_, 0)), 99));
}

int CDlgMemRadio::RowOfChannel(int channel) const
{
    const CDataGrid& g = gridWidget_->Grid();
    for (int row = g.GetFixedRowCount(); row < g.GetRowCount(); ++row)
        if (DigitsValue(g.GetItemText(row, radiomem::kNumber)) == channel)
            return row;
    return -1;
}

void CDlgMemRadio::FocusRow(int row)
{
    CDataGrid& g = Grid();
    if (row < g.GetFixedRowCount() || row >= g.GetRowCount())
        return;
    focusRow_ = row;
    if (!g.IsValid(row, focusCol_))
        focusCol_ = 1;
    g.SetFocusCell(row, focusCol_);
    g.SelectRows({row, g.GetFixedColumnCount()});
    g.EnsureVisible(row, focusCol_);
    g.Refresh();
}

void CDlgMemRadio::ShowImportedRows()
{
    Grid().AutoSize();
    FocusRow(focusRow_);
    FillEditorFromRow();
    if (!SaveMemories() || services_.Link().IsOffLine())
        return;
    // The imported channels may go to the radio at once.
    CSincronizzaMem dialog(services_, path_, true);
    dialog.SetOwner(this);
    if (dialog.DoModal() == ctl::kIdOk)
        LoadMemories();
}

void CDlgMemRadio::FillEditorFromRow()
{
    const CDataGrid& g = Grid();
    if (focusRow_ < 1 || editing_ || !g.IsValid(focusRow_, 0))
        return;
    CGridListTable table(Grid());
    WriteEditor(RadioMemoryChannel::FromCells(RowCells(table, focusRow_ - g.GetFixedRowCount())));
}

void CDlgMemRadio::OnChannelChosen()
{
    if (filling_)
        return;
    const int row = RowOfChannel(ComboChannel());
    if (row < 1)
        return;
    if (!Grid().IsValid(row, focusCol_) || focusCol_ < 1)
        focusCol_ = 1;
    FocusRow(row);
    // A channel being edited (after "Store R.") only picks its place; the editor keeps it.
    FillEditorFromRow();
}

void CDlgMemRadio::SaveRow()
{
    RadioMemoryChannel m = ReadEditor();
    std::replace(m.description.begin(), m.description.end(), '~', ' ');
    while (!m.description.empty() && m.description.back() == ' ')
        m.description.pop_back();
    if (m.description.empty()) {
        editing_ = false;
        return;
    }
    const radio::RadioState& st = services_.Controller().State();
    if (CheckChannelLimits(m.tuning, st.lowerLimit, st.upperLimit) != 0)
        return;
    const int row = RowOfChannel(m.number);
    if (row < 1)
        return;
    CDataGrid& g = Grid();
    CGridListTable table(g);
    SetRowCells(table, row - g.GetFixedRowCount(), m.Cells());
    g.AutoSize();
    editing_ = false;
    SortByColumn(sortColumn_, sortAscending_);
    FocusRow(RowOfChannel(m.number));
    if (!MemoryMode())
        return;
    if (!SendRowToRadio())
        return;
    radio::CRadioController& controller = services_.Controller();
    SelectChannel(m.number);
    WaitDelayMemory();
    controller.SendCommand(civ::kCmdMemoryWrite);
    WaitDelayMemory();
    FollowMemoryMode();
}

void CDlgMemRadio::DeleteFocusedRow()
{
    CDataGrid& g = Grid();
    const int channel = FocusedChannel();
    if (channel < 1)
        return;
    const CLanguage& language = services_.Language();
    char number[12];
    std::snprintf(number, sizeof number, "%02d", channel);
    const std::string what =
        std::string(number) + " > " + g.GetItemText(focusRow_, radiomem::kDescription);
    if (language.ShowMessage({language.FormatString1(122, what), language.LoadString(141),
                              mb::kYesNo | mb::kIconExclamation | mb::kDefButton2, 0})
        != mb::kIdYes)
        return;
    for (int col = 1; col < radiomem::kColumnCount; ++col)
        g.SetItemText(focusRow_, col, "");
    g.Refresh();
    editing_ = false;
    FillEditorFromRow();
    if (MemoryMode()) {
        RecallChannel(channel, false);
        radio::CRadioController& controller = services_.Controller();
        controller.SendCommand(civ::kCmdMemory);
        controller.SendCommand(civ::kCmdMemoryClear);
    }
}

int CDlgMemRadio::OnGridNotify(CDataGrid& grid, const GridNotification& note)
{
    switch (note.code) {
    case GridNotifyClick:
        if (note.row == 0 && note.col >= 0) {
            const int channel = FocusedChannel();
            SortByColumn(note.col, -1);
            const int row = RowOfChannel(channel);
            FocusRow(row > 0 ? row : 1);
        }
        return 0;
    case GridNotifySelChanged:
        if (!grid.IsValid(note.row, note.col) || grid.IsCellFixed(note.row, note.col))
            return 0;
        focusRow_ = note.row;
        focusCol_ = note.col;
        FillEditorFromRow();
        FollowMemoryMode();
        return 0;
    case GridNotifyBeginEdit:
        if (grid.IsCellFixed(note.row, note.col))
            return -1;
        if (!RadioMemoryChoices(note.col).empty()) {
            PickFromList(note.row, note.col);
            return -1;
        }
        return 0;
    case GridNotifyEndEdit: FillEditorFromRow(); return 0;
    default: return 0;
    }
}
