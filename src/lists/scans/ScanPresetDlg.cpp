#include "ScanPresetDlg.h"

#include "AsciiCase.h"
#include "ColorRef.h"
#include "DataGrid.h"
#include "FlatButton.h"
#include "GridControlClass.h"
#include "GridWidget.h"
#include "Ini.h"
#include "Language.h"
#include "ListFile.h"
#include "ListPageTools.h"
#include "MainWindowServices.h"
#include "MyDataGrid.h"
#include "NumEdit.h"
#include "ProgramFolder.h"
#include "RadioController.h"
#include "ScanRangeMessage.h"
#include "ScanSteps.h"
#include "TildeTextRecord.h"
#include "ToolTipLoc.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>

#include <algorithm>

namespace {
using namespace tpl;

constexpr settings::IniInt kSortColumn{"Scanner", "PresetColonnaOrdinamento", 1};
constexpr settings::IniInt kSortMode{"Scanner", "PresetModoOrdinamento", 1};

constexpr int kFirstHeaderId = 650;
constexpr int kMsgNoDescription = 1340;
constexpr int kMsgWriteFailed = 193;
constexpr int kDefaultModeIndex = 5;  // "FM" among the radio's names
constexpr int kDefaultStepIndex = 3;  // "5 KHz"
constexpr GridColor kCellBackground = GridRgb(255, 255, 224);
constexpr COLORREF kOnColour = 0x0000C000;
constexpr COLORREF kOffColour = 0x00000000;

enum PresetColumn { kColDescription, kColStart, kColEnd, kColMode, kColFilter, kColStep };

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CScanPreset::kTemplateId, "Corvane - Scan presets",
    Column({Stretched(Control(CScanPreset::kGrid, "CGridWidget", "", 0, 72), 1),
            Row({Label("Description"),
                 Stretched(Control(CScanPreset::kDescription, "EDIT", "", 0, 24), 1)}),
            Row({Label("Start"), Control(CScanPreset::kStart, "CNumEdit", "", 0, 12), Label("Hz"),
                 Spacing(1), Label("End"), Control(CScanPreset::kEnd, "CNumEdit", "", 0, 12),
                 Label("Hz"), Stretch()}),
            Row({Label("Mode"), Control(CScanPreset::kMode, "COMBOBOX", "", 0, 7), Label("Step"),
                 Control(CScanPreset::kStep, "COMBOBOX", "", 0, 9),
                 Control(CScanPreset::kFilter, "COnOffButton", "Filter"), Stretch()}),
            Row({Control(CScanPreset::kSelect, "BUTTON", "Select"),
                 Control(CScanPreset::kSave, "BUTTON", "Save"),
                 Control(CScanPreset::kDelete, "BUTTON", "Delete"),
                 Control(CScanPreset::kNew, "BUTTON", "New"), Stretch(),
                 Control(CScanPreset::kAbort, "BUTTON", "Abort")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {
    {CScanPreset::kDescription, 650}, {CScanPreset::kStart, 1387},  {CScanPreset::kEnd, 1388},
    {CScanPreset::kMode, 1008},       {CScanPreset::kFilter, 1009}, {CScanPreset::kStep, 1027},
    {CScanPreset::kAbort, 1319},      {CScanPreset::kSelect, 1384}, {CScanPreset::kSave, 1385},
    {CScanPreset::kDelete, 1386},     {CScanPreset::kNew, 1389}};

// Steps by their hertz: "10 Hz" comes before "10 KHz". A text that is no step sorts first.
int CompareStep(const CDataGridCellBase* a, const CDataGridCellBase* b, std::intptr_t)
{
    if (!a || !b)
        return 0;
    const int64_t ha = lists::ScanStepHz(lists::TrimBlanks(a->GetText()));
    const int64_t hb = lists::ScanStepHz(lists::TrimBlanks(b->GetText()));
    return ha < hb ? -1 : (ha > hb ? 1 : 0);
}

constexpr GridCompareFunc kCompare[lists::kScanPresetColumns] = {
    CDataGrid::CompareText, CMyDataGrid::CompareDigits, CMyDataGrid::CompareDigits,
    CDataGrid::CompareText, CDataGrid::CompareText,     CompareStep};

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

namespace scans {

void FillScanStepBox(QComboBox* box)
{
    if (box == nullptr)
        return;
    for (const lists::ScanStep& s : lists::kScanSteps)
        box->addItem(QString::fromUtf8(s.text.data(), static_cast<int>(s.text.size())));
}

bool SelectComboPrefix(QComboBox* combo, const std::string& text)
{
    if (combo == nullptr)
        return false;
    for (int i = 0; i < combo->count(); ++i)
        if (platform::AsciiIStartsWith(combo->itemText(i).toStdString(), text)) {
            combo->setCurrentIndex(i);
            return true;
        }
    return false;
}

std::optional<ScanPresetChoice> RunScanPresetDialog(IMainWindowServices& services, QWidget* owner,
                                                    const std::string& path)
{
    CScanPreset dialog(services, path);
    dialog.SetOwner(owner);
    if (dialog.DoModal() != ctl::kIdOk)
        return std::nullopt;
    return dialog.Choice();
}

}  // namespace scans

CScanPreset::CScanPreset(IMainWindowServices& services, std::string path)
    : CMyFontDialog(kTemplateId),
      services_(services),
      path_(std::move(path)),
      file_("scan presets", kMsgWriteFailed)
{
    RegisterGridControlClass();
    if (path_.empty())
        path_ = platform::ResolveInFolder(platform::ProgramFolder(), lists::kScanPresetFile);
}

CDataGrid& CScanPreset::Grid()
{
    return gridWidget_->Grid();
}

std::string CScanPreset::Text(int id) const
{
    return GetDlgItemText(id);
}

bool CScanPreset::OnInitDialog()
{
    gridWidget_ = GetDlgItemAs<CGridWidget>(kGrid);
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    for (int id : {kStart, kEnd})
        if (auto* field = GetDlgItemAs<CNumEdit>(id)) {
            field->SetFormat(0, ',');
            field->SetValue(0);
        }
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter)) {
        filter->SetOnOffColors(kOnColour, kOffColour);
        filter->SetOn(false);
    }
    auto* mode = GetDlgItemAs<QComboBox>(kMode);
    lists::FillModeBoxes(services_.Controller().State().modeNames, modesCopied_, {mode});
    if (mode != nullptr && mode->count() >= kDefaultModeIndex + 1)
        mode->setCurrentIndex(kDefaultModeIndex);
    if (auto* step = GetDlgItemAs<QComboBox>(kStep)) {
        scans::FillScanStepBox(step);
        step->setCurrentIndex(kDefaultStepIndex);
    }
    if (gridWidget_ != nullptr) {
        SetUpGrid();
        Load();
    }
    CMyFontDialog::OnInitDialog();
    return true;
}

void CScanPreset::SetUpGrid()
{
    CDataGrid& g = Grid();
    g.SetOwner(this);
    g.SetDlgCtrlID(kGrid);
    g.SetColumnCount(lists::kScanPresetColumns);
    g.SetRowCount(1);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(0);
    g.SetListMode(true);
    g.SetGridLines(GridLinesBoth);
    g.SetHeaderSort(false);
    g.SetEditable(true);
    g.GetDefaultCell(false, false)->SetBackClr(kCellBackground);
    const CLanguage& language = services_.Language();
    for (int col = 0; col < lists::kScanPresetColumns; ++col)
        g.SetItemText(0, col, language.LoadString(kFirstHeaderId + col));
}

// ---- The file ----

void CScanPreset::Load()
{
    std::string text;
    const lists::ListFileResult read = lists::ReadListFile(path_, text);
    file_.Loaded(services_.Language(), path_, read);
    unread_.clear();
    std::vector<lists::ScanPresetCells> rows;
    if (read.status == lists::ListFileResult::Done)
        rows = lists::ParseScanPresets(text, &unread_);
    CDataGrid& g = Grid();
    g.SetRowCount(1 + static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int col = 0; col < lists::kScanPresetColumns; ++col)
            g.SetItemText(1 + static_cast<int>(r), col, rows[r][static_cast<std::size_t>(col)]);
    const CIni& ini = services_.Ini();
    sortColumn_ = ini.GetInt(kSortColumn);
    if (sortColumn_ < 0 || sortColumn_ >= lists::kScanPresetColumns)
        sortColumn_ = 1;
    sortAscending_ = ini.GetInt(kSortMode) != 0 ? 1 : 0;
    SortByColumn(sortColumn_, sortAscending_);
    g.AutoSize();
    SelectRow(rows.empty() ? -1 : 1);
    ShowRow(selectedRow_);
}

std::vector<lists::ScanPresetCells> CScanPreset::Rows() const
{
    std::vector<lists::ScanPresetCells> rows;
    const CDataGrid& g = gridWidget_->Grid();
    for (int row = g.GetFixedRowCount(); row < g.GetRowCount(); ++row) {
        lists::ScanPresetCells cells;
        for (int col = 0; col < lists::kScanPresetColumns; ++col)
            cells[static_cast<std::size_t>(col)] = g.GetItemText(row, col);
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool CScanPreset::WriteFile()
{
    if (gridWidget_ == nullptr)
        return false;
    WaitCursor wait;
    const std::vector<lists::ScanPresetCells> rows = Rows();
    if (!file_.Save(services_.Language(), path_, lists::ScanPresetsText(rows, unread_)))
        return false;
    if (!rows.empty()) {
        CIni& ini = services_.Ini();
        ini.WriteInt(kSortColumn, sortColumn_);
        ini.WriteInt(kSortMode, sortAscending_);
    }
    return true;
}

// ---- The grid ----

void CScanPreset::SortByColumn(int col, int direction)
{
    CDataGrid& g = Grid();
    if (col < 0 || col >= lists::kScanPresetColumns)
        return;
    const bool ascending =
        direction < 0 ? (col != sortColumn_ || sortAscending_ == 0) : direction != 0;
    g.SetCompareFunction(kCompare[col]);
    g.SortItems(col, ascending);
    sortColumn_ = col;
    sortAscending_ = ascending ? 1 : 0;
    g.Refresh();
}

void CScanPreset::SelectRow(int row)
{
    CDataGrid& g = Grid();
    if (row < g.GetFixedRowCount() || row >= g.GetRowCount()) {
        selectedRow_ = -1;
        g.SetSelectedRange(-1, -1, -1, -1);
        g.Refresh();
        return;
    }
    selectedRow_ = row;
    g.SetFocusCell(row, 0);
    g.SelectRows({row, 0});
    g.EnsureVisible(row, 0);
    g.Refresh();
}

void CScanPreset::ShowRow(int row)
{
    const CDataGrid& g = Grid();
    if (row < g.GetFixedRowCount() || row >= g.GetRowCount())
        return;
    SetDlgItemText(kDescription, g.GetItemText(row, kColDescription));
    for (auto [id, col] : {std::pair{kStart, kColStart}, std::pair{kEnd, kColEnd}})
        if (auto* field = GetDlgItemAs<CNumEdit>(id))
            field->SetWindowText(QString::fromStdString(g.GetItemText(row, col)));
    scans::SelectComboPrefix(GetDlgItemAs<QComboBox>(kMode), g.GetItemText(row, kColMode));
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(
            platform::AsciiIEquals(lists::TrimBlanks(g.GetItemText(row, kColFilter)), "ON"));
    scans::SelectComboPrefix(GetDlgItemAs<QComboBox>(kStep), g.GetItemText(row, kColStep));
}

int CScanPreset::RowOfDescription(const std::string& description) const
{
    const CDataGrid& g = gridWidget_->Grid();
    for (int row = g.GetFixedRowCount(); row < g.GetRowCount(); ++row)
        if (platform::AsciiIEquals(lists::TrimBlanks(g.GetItemText(row, kColDescription)),
                                   description))
            return row;
    return -1;
}

int CScanPreset::OnGridNotify(CDataGrid& grid, const GridNotification& note)
{
    switch (note.code) {
    case GridNotifyClick:
        if (note.row == 0 && note.col >= 0) {
            const std::string shown =
                selectedRow_ > 0 ? grid.GetItemText(selectedRow_, kColDescription) : std::string();
            SortByColumn(note.col, -1);
            if (!shown.empty())
                SelectRow(RowOfDescription(std::string(lists::TrimBlanks(shown))));
        }
        return 0;
    case GridNotifySelChanged:
        if (!grid.IsValid(note.row, note.col) || grid.IsCellFixed(note.row, note.col))
            return 0;
        selectedRow_ = note.row;
        ShowRow(note.row);
        return 0;
    case GridNotifyBeginEdit:
        if (grid.IsCellFixed(note.row, note.col))
            return -1;
        editedText_ = grid.GetItemText(note.row, note.col);
        return 0;
    case GridNotifyEndEdit: {
        // A "~" could not be stored: it would split the line.
        const std::string typed = grid.GetItemText(note.row, note.col);
        std::string clean = typed;
        std::replace(clean.begin(), clean.end(), '~', ' ');
        if (clean != typed)
            grid.SetItemText(note.row, note.col, clean);
        if (clean != editedText_)
            file_.Changed();
        return 0;
    }
    default: return 0;
    }
}

// ---- The buttons ----

bool CScanPreset::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kSave: OnSave(); return true;
    case kDelete: OnDelete(); return true;
    case kNew: OnNew(); return true;
    case kSelect: OnSelect(); return true;
    case kAbort: OnCancel(); return true;
    case kFilter:
        if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
            filter->SetOn(!filter->IsOn());
        return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

bool CScanPreset::RefuseRange()
{
    const auto* start = GetDlgItemAs<CNumEdit>(kStart);
    const auto* end = GetDlgItemAs<CNumEdit>(kEnd);
    const int64_t from = start != nullptr ? static_cast<int64_t>(start->GetValue()) : 0;
    const int64_t to = end != nullptr ? static_cast<int64_t>(end->GetValue()) : 0;
    const radio::RadioState& st = services_.Controller().State();
    return scans::RefuseScanRange(services_.Language(), from, to, st.lowerLimit, st.upperLimit,
                                  GetDlgItem(kStart), GetDlgItem(kEnd));
}

void CScanPreset::OnSave()
{
    const std::string description = lists::CleanPresetText(Text(kDescription));
    if (description.empty()) {
        services_.Language().MessageBox(kMsgNoDescription, mb::kOk | mb::kIconError);
        lists::FocusControl(GetDlgItem(kDescription));
        return;
    }
    if (RefuseRange())
        return;
    CDataGrid& g = Grid();
    int row = RowOfDescription(description);
    if (row < 0)
        row = g.InsertRow();
    const auto* filter = GetDlgItemAs<COnOffButton>(kFilter);
    const lists::ScanPresetCells cells{description,
                                       Text(kStart),
                                       Text(kEnd),
                                       Text(kMode),
                                       filter != nullptr && filter->IsOn() ? "ON" : "OFF",
                                       Text(kStep)};
    for (int col = 0; col < lists::kScanPresetColumns; ++col)
        g.SetItemText(row, col, lists::CleanPresetText(cells[static_cast<std::size_t>(col)]));
    file_.Changed();
    g.AutoSize();
    SortByColumn(sortColumn_, sortAscending_);
    SelectRow(RowOfDescription(description));
    ShowRow(selectedRow_);
}

void CScanPreset::OnDelete()
{
    const int row = RowOfDescription(lists::CleanPresetText(Text(kDescription)));
    if (row < 0)
        return;
    CDataGrid& g = Grid();
    g.DeleteRow(row);
    file_.Changed();
    g.Refresh();
    SelectRow(row - 1);
    ShowRow(selectedRow_);
}

void CScanPreset::OnNew()
{
    SetDlgItemText(kDescription, "");
    for (int id : {kStart, kEnd})
        if (auto* field = GetDlgItemAs<CNumEdit>(id))
            field->SetValue(0);
    if (auto* filter = GetDlgItemAs<COnOffButton>(kFilter))
        filter->SetOn(false);
    if (auto* mode = GetDlgItemAs<QComboBox>(kMode); mode != nullptr && mode->count() > 5)
        mode->setCurrentIndex(kDefaultModeIndex);
    if (auto* step = GetDlgItemAs<QComboBox>(kStep))
        step->setCurrentIndex(kDefaultStepIndex);
    lists::FocusControl(GetDlgItem(kDescription));
}

void CScanPreset::OnSelect()
{
    if (RefuseRange())
        return;
    WriteFile();
    const auto* filter = GetDlgItemAs<COnOffButton>(kFilter);
    choice_.start = static_cast<int64_t>(GetDlgItemAs<CNumEdit>(kStart)->GetValue());
    choice_.end = static_cast<int64_t>(GetDlgItemAs<CNumEdit>(kEnd)->GetValue());
    choice_.step = Text(kStep);
    choice_.mode = Text(kMode);
    choice_.filter = filter != nullptr && filter->IsOn();
    EndDialog(ctl::kIdOk);
}

void CScanPreset::OnCancel()
{
    WriteFile();
    EndDialog(ctl::kIdCancel);
}
