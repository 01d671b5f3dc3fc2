#include "MemoryListWindow.h"

#include "AsciiCase.h"
#include "ColorLabel.h"
#include "ColorRef.h"
#include "CommandCodes.h"
#include "ControlResources.h"
#include "FlatButton.h"
#include "GridControlClass.h"
#include "GridListTable.h"
#include "GridWidget.h"
#include "Ini.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MemoryListPrint.h"
#include "ModelCaps.h"
#include "NumEdit.h"
#include "PickListDlg.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "RadioController.h"
#include "StringTable.h"
#include "ToolTipLoc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr GridColor kCellBackground = GridRgb(255, 255, 224);

std::string ComboText(const QComboBox* combo)
{
    return combo != nullptr ? combo->currentText().toStdString() : std::string();
}

// A text the box does not hold (an empty row's) leaves its choice; a mode box always holds one,
// so no channel is stored or sent without a mode.
void SelectComboText(QComboBox* combo, const std::string& text)
{
    if (combo == nullptr)
        return;
    const int found = combo->findText(QString::fromStdString(text), Qt::MatchFixedString);
    if (found >= 0)
        combo->setCurrentIndex(found);
    else if (combo->currentIndex() < 0)
        combo->setCurrentIndex(0);
}

}  // namespace

CMemoryListWindow::CMemoryListWindow(unsigned templateId, IMainWindowServices& services,
                                     const Layout& layout)
    : CMyFontDialog(templateId),
      services_(services),
      layout_(layout),
      fileState_(layout.what, strid::kSaveMemoriesFailed)
{
    RegisterGridControlClass();
}

CDataGrid& CMemoryListWindow::Grid()
{
    return gridWidget_->Grid();
}

// ---- The grid and its view ----

void CMemoryListWindow::SetUpGrid()
{
    CDataGrid& g = Grid();
    g.SetOwner(this);
    g.SetDlgCtrlID(kGrid);
    g.SetColumnCount(layout_.columnCount);
    g.SetRowCount(1);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(layout_.fixedColumns);
    g.SetListMode(true);
    g.SetGridLines(GridLinesBoth);
    g.SetHeaderSort(false);
    g.SetEditable(true);
    g.GetDefaultCell(false, false)->SetBackClr(kCellBackground);
    const CLanguage& language = services_.Language();
    for (int col = 0; col < layout_.columnCount; ++col)
        g.SetItemText(0, col, language.LoadString(layout_.firstTitleId + col));
}

void CMemoryListWindow::ReadViewState()
{
    const CIni& ini = services_.Ini();
    focusRow_ = ini.GetInt(layout_.focusRow);
    focusCol_ = ini.GetInt(layout_.focusColumn);
    sortColumn_ = ini.GetInt(layout_.sortColumn);
    sortAscending_ = ini.GetInt(layout_.sortMode) != 0 ? 1 : 0;
}

void CMemoryListWindow::WriteViewState()
{
    const CDataGrid& g = Grid();
    if (g.GetRowCount() <= g.GetFixedRowCount())
        return;
    CIni& ini = services_.Ini();
    ini.WriteInt(layout_.focusRow, focusRow_);
    ini.WriteInt(layout_.focusColumn, focusCol_);
    ini.WriteInt(layout_.sortColumn, sortColumn_);
    ini.WriteInt(layout_.sortMode, sortAscending_);
}

// ---- The list file ----

std::string CMemoryListWindow::FileText() const
{
    return layout_.fileText(CGridListTable(gridWidget_->Grid()), unread_);
}

void CMemoryListWindow::TookFile(const lists::ListFileResult& read)
{
    fileState_.Loaded(services_.Language(), path_, read);
    if (read.status == lists::ListFileResult::Missing)
        fileText_.reset();
    else
        fileText_ = FileText();
}

bool CMemoryListWindow::ListMayChange() const
{
    return !fileState_.RefusesChange(services_.Language());
}

bool CMemoryListWindow::SaveMemories()
{
    std::string text = FileText();
    fileState_.Changed(!fileText_ || text != *fileText_);
    if (!fileState_.Save(services_.Language(), path_, text))
        return false;
    fileText_ = std::move(text);
    WriteViewState();
    return true;
}

void CMemoryListWindow::SortByColumn(int col, int direction)
{
    CDataGrid& g = Grid();
    if (col < 0 || col >= g.GetColumnCount())
        return;
    const bool ascending =
        direction < 0 ? (col != sortColumn_ || sortAscending_ == 0) : direction != 0;
    g.SetCompareFunction(layout_.compareFor(col));
    g.SortItems(col, ascending);
    sortColumn_ = col;
    sortAscending_ = ascending ? 1 : 0;
    g.Refresh();
}

bool CMemoryListWindow::PickFromList(int row, int col)
{
    CDataGrid& g = Grid();
    const std::string old = g.GetItemText(row, col);
    CListe list(layout_.choices(col), old);
    list.SetOwner(this);
    if (list.DoModal() != ctl::kIdOk)
        return false;
    g.SetItemText(row, col, list.Choice());
    g.RedrawCell(row, col);
    if (!platform::AsciiIEquals(old, list.Choice()))
        FillEditorFromRow();
    return true;
}

// ---- The editor ----

void CMemoryListWindow::SetUpEditor()
{
    for (int id : {kVfoA, kVfoB})
        if (auto* e = GetDlgItemAs<CNumEdit>(id))
            e->SetFormat(0, ',');
    if (auto* e = GetDlgItemAs<CNumEdit>(kToneHz))
        e->SetFormat(1, ',');
    for (int id : {kModeA, kModeB})
        if (auto* combo = GetDlgItemAs<QComboBox>(id))
            for (const std::string& mode : layout_.choices(layout_.modeColumn))
                combo->addItem(QString::fromStdString(mode));
    for (int id : layout_.switches)
        if (auto* b = GetDlgItemAs<CFlatButton>(id))
            b->SetButtonType(CFlatButton::kCheckBox);
    for (const auto ids : {layout_.switches, layout_.commands})
        for (int id : ids)
            if (auto* b = GetDlgItemAs<CFlatButton>(id)) {
                b->SetBitmaps(res::kImageKeyCapHovered, res::kImageKeyCap);
                b->SetCursor(res::kCursorAvailable);
                // Raised like a key, so a command reads as a button.
                b->SetFlat();
            }
    if (auto* notice = GetDlgItemAs<CColorLabel>(kNotice))
        notice->SetBkColor(RgbColor(255, 255, 0));
    for (const ControlTip& tip : layout_.tips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
}

lists::ChannelTuning CMemoryListWindow::EditorTuning() const
{
    const auto hz = [this](int id) { return static_cast<int64_t>(std::max(0.0, NumberOf(id))); };
    lists::ChannelTuning t;
    t.a = {hz(kVfoA), ComboText(GetDlgItemAs<QComboBox>(kModeA)), Check(kFilterA)};
    t.b = {hz(kVfoB), ComboText(GetDlgItemAs<QComboBox>(kModeB)), Check(kFilterB)};
    t.split = Check(kSplit);
    return t;
}

void CMemoryListWindow::ShowTuning(const lists::ChannelTuning& t)
{
    SetNumber(kVfoA, static_cast<double>(t.a.hz));
    SelectComboText(GetDlgItemAs<QComboBox>(kModeA), t.a.mode);
    SetCheck(kFilterA, t.a.narrow);
    SetNumber(kVfoB, static_cast<double>(t.b.hz));
    SelectComboText(GetDlgItemAs<QComboBox>(kModeB), t.b.mode);
    SetCheck(kFilterB, t.b.narrow);
    SetCheck(kSplit, t.split);
}

int CMemoryListWindow::EditorToneTenths() const
{
    return static_cast<int>(std::lround(std::clamp(NumberOf(kToneHz), 0.0, 9'999'999.0) * 10));
}

bool CMemoryListWindow::CopyRadioVfos()
{
    radio::CRadioController& controller = services_.Controller();
    const radio::RadioState& st = controller.State();
    const auto copyVfo = [&](bool b) {
        SetNumber(b ? kVfoB : kVfoA, static_cast<double>(st.frequencyHz));
        SetCheck(b ? kFilterB : kFilterA, st.filterNarrow);
        if (st.mode >= 0 && st.mode < static_cast<int>(st.modeNames.size()))
            SelectComboText(GetDlgItemAs<QComboBox>(b ? kModeB : kModeA), st.modeNames[st.mode]);
    };
    const bool onB = st.currentVfo == radio::kVfoB;
    copyVfo(onB);
    if (onB)
        controller.SelectVfoA();
    else
        controller.SelectVfoB();
    copyVfo(!onB);
    if (onB)
        controller.SelectVfoB();
    else
        controller.SelectVfoA();
    return onB;
}

void CMemoryListWindow::AskForDescription(int messageId)
{
    services_.Language().MessageBoxCaption(messageId, 141, mb::kIconInformation);
    SetDlgItemText(kDescription, "");
    Focus(kDescription);
}

bool CMemoryListWindow::RefuseOutOfLimits(const lists::ChannelTuning& tuning)
{
    const radio::RadioState& st = services_.Controller().State();
    const int refusal = lists::CheckChannelLimits(tuning, st.lowerLimit, st.upperLimit);
    if (refusal == 0)
        return false;
    ShowError(services_.Language().Format(
        refusal, {static_cast<long long>(st.lowerLimit), static_cast<long long>(st.upperLimit)}));
    Focus(refusal == lists::kStrVfoBOutOfLimits ? kVfoB : kVfoA);
    return true;
}

// ---- Following the radio ----

void CMemoryListWindow::AdaptToRadio()
{
    const radio::RadioState& st = services_.Controller().State();
    if (st.model != appliedModel_) {
        appliedModel_ = st.model;
        const civ::ModelCaps* caps = civ::FindCaps(st.model);
        const bool nrAnf = caps != nullptr && caps->nrAnfSubs;
        for (int id : layout_.toneControls)
            if (QWidget* w = GetDlgItem(id))
                w->setVisible(!nrAnf);
        const CLanguage& language = services_.Language();
        const std::string tone = nrAnf ? "NR" : language.Translate("Tone");
        const std::string tsql = nrAnf ? "ANF" : language.Translate("TSQL");
        SetDlgItemText(kTone, tone);
        SetDlgItemText(kTsql, tsql);
        if (QWidget* w = GetDlgItem(kTone))
            ToolTips().AddToolId(w, nrAnf ? 1302 : 1194);
        if (QWidget* w = GetDlgItem(kTsql))
            ToolTips().AddToolId(w, nrAnf ? 1301 : 1195);
        // The grid's columns say what its cells hold on this model.
        CDataGrid& g = Grid();
        g.SetItemText(0, layout_.toneColumn, tone);
        g.SetItemText(0, layout_.toneSquelchColumn, tsql);
        g.Refresh();
        if (!st.modeNames.empty())
            lists::FillModeBoxes(
                st.modeNames, modesCopied_,
                {GetDlgItemAs<QComboBox>(kModeA), GetDlgItemAs<QComboBox>(kModeB)});
    }
    const int extended = st.extendedFunctions ? 1 : 0;
    if (extended != appliedExtended_) {
        appliedExtended_ = extended;
        for (int id : layout_.extendedControls)
            if (QWidget* w = GetDlgItem(id))
                w->setEnabled(extended != 0);
    }
}

void CMemoryListWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void CMemoryListWindow::showEvent(QShowEvent* event)
{
    // As at an activation: the window may be shown without one.
    AdaptToRadio();
    FillEditorFromRow();
    CMyFontDialog::showEvent(event);
    // A window minimised and brought back stays shown: only the program's own shows count.
    if (onShown_ && !event->spontaneous())
        onShown_(true);
}

void CMemoryListWindow::hideEvent(QHideEvent* event)
{
    SaveWindowPos();
    if (onShown_ && !event->spontaneous())
        onShown_(false);
    CMyFontDialog::hideEvent(event);
}

void CMemoryListWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        AdaptToRadio();
        FillEditorFromRow();
    }
    CMyFontDialog::changeEvent(event);
    // The columns were sized for the old font.
    if (event->type() == QEvent::FontChange && IsBuilt())
        Grid().AutoSize();
}

// ---- Printing and the window's place ----

void CMemoryListWindow::PrintMemories()
{
    PrintMemoryList(services_, *gridWidget_, windowTitle(), path_);
}

void CMemoryListWindow::SaveWindowPos()
{
    if (isMinimized() || isMaximized())
        return;
    const QRect r = frameGeometry();
    Profile& registry = services_.Registry();
    if (!registry.WriteRect(layout_.place, {r.top(), r.bottom() + 1, r.left(), r.right() + 1}))
        std::fprintf(stderr, "%s window place not saved: %s\n", layout_.what,
                     registry.LastError().c_str());
}

// ---- Control access ----

bool CMemoryListWindow::Check(int id) const
{
    const auto* b = GetDlgItemAs<CFlatButton>(id);
    return b != nullptr && b->GetCheck() != 0;
}

void CMemoryListWindow::SetCheck(int id, bool on)
{
    if (auto* b = GetDlgItemAs<CFlatButton>(id))
        b->SetCheck(on ? 1 : 0);
}

double CMemoryListWindow::NumberOf(int id) const
{
    const auto* e = GetDlgItemAs<CNumEdit>(id);
    return e != nullptr ? e->GetValue() : 0.0;
}

void CMemoryListWindow::SetNumber(int id, double value)
{
    if (auto* e = GetDlgItemAs<CNumEdit>(id))
        e->SetValue(value);
}

void CMemoryListWindow::ShowError(const std::string& text) const
{
    const CLanguage& language = services_.Language();
    language.ShowMessage({text, language.LoadString(142), mb::kOk | mb::kIconError, 0});
}

void CMemoryListWindow::Focus(int id)
{
    if (QWidget* w = GetDlgItem(id))
        w->setFocus(Qt::OtherFocusReason);
}
