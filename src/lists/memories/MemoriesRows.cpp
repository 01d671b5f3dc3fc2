// The rows of the memories window: the file behind them, the editor, saving, deleting, sorting
// and the pick lists of the coded columns.
#include "MemoriesWindow.h"

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
#include "ProgramFolder.h"
#include "RadioController.h"
#include "SettingsKeys.h"

#include <QComboBox>

#include <algorithm>
#include <cmath>

namespace {

using namespace lists;

}  // namespace

void CDlgMem::LoadMemories()
{
    // A group's file names itself in the title.
    std::string stem = platform::BaseName(path_);
    if (const std::size_t dot = stem.rfind('.'); dot != std::string::npos)
        stem.erase(dot);
    std::string title = caption_;
    if (!platform::AsciiIEquals(stem, "MemPC"))
        title += " - " + stem;
    setWindowTitle(QString::fromStdString(title));

    CDataGrid& g = Grid();
    CGridListTable table(g);
    CTextTable rows(pcmem::kColumnCount);
    const ListFileResult read = ReadPcMemories(path_, rows, &unread_);
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
    if (!g.IsValid(focusRow_, focusCol_))
        focusRow_ = focusCol_ = 0;
    FocusRow(focusRow_);
    TookFile(read);
}

MemoryChannel CDlgMem::ReadEditor() const
{
    MemoryChannel m;
    m.description = GetDlgItemText(kDescription);
    m.tuning = EditorTuning();
    const auto* active = GetDlgItemAs<QComboBox>(kActiveVfo);
    m.tuning.activeB = active != nullptr && active->currentIndex() > 0;
    ChannelFunctions& f = m.functions;
    f.duplexPlus = Check(kDupPlus);
    f.duplexMinus = Check(kDupMinus);
    f.duplexKHz = static_cast<int>(std::clamp(NumberOf(kDuplexValue), 0.0, 99'999'999.0));
    f.attenuator = Check(kAtt);
    f.preamp = Check(kPre);
    f.agcFast = Check(kAgc);
    f.noiseBlanker = Check(kNb);
    f.tone = Check(kTone);
    f.toneSquelch = Check(kTsql);
    f.vox = Check(kVox);
    f.breakIn = Check(kBkin);
    f.compressor = Check(kComp);
    m.toneTenths = EditorToneTenths();
    return m;
}

void CDlgMem::WriteEditor(const MemoryChannel& m)
{
    SetDlgItemText(kDescription, m.description);
    ShowTuning(m.tuning);
    if (auto* active = GetDlgItemAs<QComboBox>(kActiveVfo))
        active->setCurrentIndex(m.tuning.activeB ? 1 : 0);
    const ChannelFunctions& f = m.functions;
    SetCheck(kDupPlus, f.duplexPlus);
    SetCheck(kDupMinus, f.duplexMinus);
    SetNumber(kDuplexValue, f.duplexKHz);
    SetCheck(kAtt, f.attenuator);
    SetCheck(kPre, f.preamp);
    SetCheck(kAgc, f.agcFast);
    SetCheck(kNb, f.noiseBlanker);
    SetCheck(kTone, f.tone);
    SetCheck(kTsql, f.toneSquelch);
    SetCheck(kVox, f.vox);
    SetCheck(kBkin, f.breakIn);
    SetCheck(kComp, f.compressor);
    SetNumber(kToneHz, m.toneTenths / 10.0);
}

void CDlgMem::ClearEditor()
{
    // The modes stay as they are.
    MemoryChannel empty;
    const ChannelTuning shown = EditorTuning();
    empty.tuning.a.mode = shown.a.mode;
    empty.tuning.b.mode = shown.b.mode;
    WriteEditor(empty);
    if (QWidget* d = GetDlgItem(kDescription))
        d->setFocus(Qt::OtherFocusReason);
    editing_ = true;
}

int CDlgMem::FindRow(const std::string& description) const
{
    const CDataGrid& g = gridWidget_->Grid();
    for (int row = g.GetFixedRowCount(); row < g.GetRowCount(); ++row)
        if (platform::AsciiIEquals(g.GetItemText(row, pcmem::kDescription), description))
            return row;
    return -1;
}

void CDlgMem::FocusRow(int row)
{
    CDataGrid& g = Grid();
    if (row < 0 || row >= g.GetRowCount())
        return;
    focusRow_ = row;
    if (!g.IsValid(row, focusCol_))
        focusCol_ = 0;
    g.SetFocusCell(row, focusCol_);
    if (row >= g.GetFixedRowCount()) {
        g.SelectRows({row, g.GetFixedColumnCount()});
        g.EnsureVisible(row, focusCol_);
        focusDescription_ = g.GetItemText(row, pcmem::kDescription);
    }
    g.Refresh();
}

void CDlgMem::ShowImportedRows()
{
    Grid().AutoSize();
    FocusRow(focusRow_);
    FillEditorFromRow();
    SaveMemories();
}

void CDlgMem::FillEditorFromRow()
{
    const CDataGrid& g = Grid();
    if (focusRow_ < 1 || editing_ || !g.IsValid(focusRow_, focusCol_))
        return;
    CGridListTable table(Grid());
    WriteEditor(MemoryChannel::FromCells(RowCells(table, focusRow_ - g.GetFixedRowCount())));
}

void CDlgMem::SaveRow(bool silent)
{
    editing_ = true;
    MemoryChannel m = ReadEditor();
    std::replace(m.description.begin(), m.description.end(), '~', ' ');
    if (m.description.empty())
        return;
    int row = FindRow(m.description);
    if (row > 0 && !silent) {
        FocusRow(row);
        const int answer = services_.Language().MessageBoxCaption(
            125, 141, mb::kYesNo | mb::kIconExclamation | mb::kDefButton2);
        if (answer != mb::kIdYes) {
            if (QWidget* d = GetDlgItem(kDescription))
                d->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const radio::RadioState& st = services_.Controller().State();
    if (CheckChannelLimits(m.tuning, st.lowerLimit, st.upperLimit) != 0)
        return;
    CDataGrid& g = Grid();
    CGridListTable table(g);
    if (row < 1)
        row = table.AppendRow() + g.GetFixedRowCount();
    SetRowCells(table, row - g.GetFixedRowCount(), m.Cells());
    g.AutoSize();
    SortByColumn(sortColumn_, sortAscending_);
    FocusRow(FindRow(m.description));
    editing_ = false;
}

void CDlgMem::DeleteFocusedRow()
{
    editing_ = false;
    CDataGrid& g = Grid();
    const CCellPos cell = g.GetFocusCell();
    if (!g.IsValid(cell) || cell.row < g.GetFixedRowCount())
        return;
    if (services_.Language().MessageBoxCaption(114, 141, mb::kYesNo | mb::kIconExclamation)
        != mb::kIdYes)
        return;
    g.DeleteRow(cell.row);
    FocusRow(std::max(0, cell.row - 1));
    FillEditorFromRow();
}

int CDlgMem::OnGridNotify(CDataGrid& grid, const GridNotification& note)
{
    switch (note.code) {
    case GridNotifyClick:
        if (note.row == 0 && note.col >= 0) {
            SortByColumn(note.col, -1);
            const int row = FindRow(focusDescription_);
            FocusRow(row > 0 ? row : 1);
        }
        return 0;
    case GridNotifySelChanged:
        if (transferring_ || !grid.IsValid(note.row, note.col)
            || grid.IsCellFixed(note.row, note.col))
            return 0;
        focusRow_ = note.row;
        focusCol_ = note.col;
        focusDescription_ = grid.GetItemText(note.row, pcmem::kDescription);
        FillEditorFromRow();
        return 0;
    case GridNotifyBeginEdit:
        // Coded columns take one of their values from a list, never typed text.
        if (!PcMemoryChoices(note.col).empty()) {
            PickFromList(note.row, note.col);
            return -1;
        }
        return 0;
    case GridNotifyEndEdit: FillEditorFromRow(); return 0;
    default: return 0;
    }
}
