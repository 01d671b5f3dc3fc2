#include "DlgLogSQL.h"

#include "AudioRecorder.h"
#include "CivCodes.h"
#include "DataGrid.h"
#include "GridControlClass.h"
#include "GridWidget.h"
#include "Language.h"
#include "ListFile.h"
#include "MainWindowServices.h"
#include "MessageTarget.h"
#include "MyDataGrid.h"
#include "NumEdit.h"
#include "ProgramFolder.h"
#include "RadioController.h"
#include "ToolTipLoc.h"
#include "WaveFile.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QPushButton>

#include <charconv>
#include <filesystem>

namespace {
using namespace tpl;

constexpr int kFirstHeaderId = 602;
constexpr int kPlayText = 1277;
constexpr int kPlayTip = 1274;
constexpr int kStopText = 1328;
constexpr int kStopTip = 1278;
constexpr GridColor kCellBackground = GridRgb(255, 255, 224);
constexpr int kWfmIndex = 6;

const DialogTemplateRegistration kTemplate{
    DialogTemplate{CDlgLogSQL::kTemplateId, "ScanLog",
                   Column({Stretched(Control(CDlgLogSQL::kGrid, "CGridWidget", "", 0, 70), 1),
                           Control(CDlgLogSQL::kFormatter, "CNumEdit", "", kHidden),
                           Row({Control(ctl::kIdOk, "BUTTON", "Activate"),
                                Control(CDlgLogSQL::kPlay, "BUTTON", "Play"),
                                Control(CDlgLogSQL::kPrint, "BUTTON", "Print"), Stretch(),
                                Control(ctl::kIdCancel, "BUTTON", "Close")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{ctl::kIdOk, 1273},
             {CDlgLogSQL::kPlay, 1274},
             {ctl::kIdCancel, 1275},
             {CDlgLogSQL::kPrint, 1276}};

constexpr GridCompareFunc kCompare[CDlgLogSQL::kColumns] = {
    CDataGrid::CompareNumeric, CDataGrid::CompareNumeric,  CDataGrid::CompareNumeric,
    CDataGrid::CompareText,    CMyDataGrid::CompareDigits, CDataGrid::CompareText,
    CDataGrid::CompareNumeric, CDataGrid::CompareNumeric};

// The digits of a shown number ("7.050.000" is 7050000); `fallback` for anything else.
int64_t ShownNumber(const std::string& text, int64_t fallback)
{
    std::string digits;
    for (char c : text)
        if (c != '.' && c != ' ')
            digits += c;
    int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto r = std::from_chars(digits.data(), end, value);
    return r.ec == std::errc() && r.ptr == end && !digits.empty() ? value : fallback;
}

}  // namespace

namespace scans {

CAudioRecorder* FindAudioRecorder(IMainWindowServices& services)
{
    if (auto* child = services.Window().findChild<CAudioRecorder*>())
        return child;
    // The window keeps its tool windows as windows of their own.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* recorder = qobject_cast<CAudioRecorder*>(w))
            return recorder;
    return nullptr;
}

void RunScanLogDialog(IMainWindowServices& services, QWidget* owner, const std::string& logPath,
                      const ScanLogTuning& tuning, CAudioRecorder* recorder)
{
    const std::string log =
        logPath.empty() ? platform::ResolveInFolder(platform::ProgramFolder(), lists::kScanLogFile)
                        : logPath;
    const std::string folder = std::filesystem::path(log).parent_path().string();
    CDlgLogSQL dialog(services, log, platform::ResolveInFolder(folder, lists::kScanWavFile), tuning,
                      recorder);
    dialog.SetOwner(owner);
    dialog.DoModal();
}

}  // namespace scans

CDlgLogSQL::CDlgLogSQL(IMainWindowServices& services, std::string logPath, std::string wavPath,
                       const scans::ScanLogTuning& tuning, CAudioRecorder* recorder)
    : CMyFontDialog(kTemplateId),
      services_(services),
      logPath_(std::move(logPath)),
      wavPath_(std::move(wavPath)),
      tuning_(tuning),
      recorder_(recorder),
      target_(std::make_unique<platform::MessageTarget>(
          [this](unsigned msg, std::uintptr_t, std::intptr_t) {
              if (msg == msg::kPlaybackEnded)
                  OnPlaybackEnded();
          }))
{
    RegisterGridControlClass();
}

CDlgLogSQL::~CDlgLogSQL()
{
    // Its own playback only: the notice of its end would have nowhere to go.
    if (playing_)
        StopPlayback();
}

CDataGrid& CDlgLogSQL::Grid()
{
    return gridWidget_->Grid();
}

std::string CDlgLogSQL::PrintTitle() const
{
    return services_.Window().windowTitle().toStdString() + "  ----  ScanLog";
}

bool CDlgLogSQL::OnInitDialog()
{
    const CLanguage& language = services_.Language();
    setWindowTitle(QString::fromStdString(services_.ProgramName() + " ScanLog"));
    gridWidget_ = GetDlgItemAs<CGridWidget>(kGrid);
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    if (auto* formatter = GetDlgItemAs<CNumEdit>(kFormatter))
        formatter->SetFormat(0, ',');
    SetDlgItemText(kPlay, language.LoadString(kPlayText));
    if (gridWidget_ != nullptr) {
        SetUpGrid();
        Load();
    }
    CMyFontDialog::OnInitDialog();
    return true;
}

void CDlgLogSQL::SetUpGrid()
{
    CDataGrid& g = Grid();
    g.SetOwner(this);
    g.SetDlgCtrlID(kGrid);
    g.SetColumnCount(kColumns);
    g.SetRowCount(1);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(0);
    g.SetListMode(true);
    g.SetGridLines(GridLinesBoth);
    g.SetHeaderSort(false);
    // The cells feed the playback offsets: nobody edits them.
    g.SetEditable(false);
    g.GetDefaultCell(false, false)->SetBackClr(kCellBackground);
    const CLanguage& language = services_.Language();
    for (int col = 0; col < kColumns; ++col)
        g.SetItemText(0, col, language.LoadString(kFirstHeaderId + col));
}

void CDlgLogSQL::Load()
{
    std::string text;
    lists::ReadListFile(logPath_, text);
    const std::vector<lists::ScanLogEntry> entries = lists::ParseScanLog(text);
    CDataGrid& g = Grid();
    g.SetRowCount(1 + static_cast<int>(entries.size()));
    auto* formatter = GetDlgItemAs<CNumEdit>(kFormatter);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const lists::ScanLogEntry& e = entries[i];
        const int row = 1 + static_cast<int>(i);
        std::string position = std::to_string(e.position);
        if (formatter != nullptr) {
            formatter->SetValue(static_cast<double>(e.position));
            position = formatter->text().toStdString();
        }
        const std::string cells[kColumns] = {e.day,
                                             e.month,
                                             e.year,
                                             e.time,
                                             position,
                                             e.signal,
                                             std::to_string(e.audio),
                                             std::to_string(e.bytes)};
        for (int col = 0; col < kColumns; ++col)
            g.SetItemText(row, col, cells[col]);
    }
    g.AutoSize();
    SetCurrentRow(1);
}

void CDlgLogSQL::SetCurrentRow(int row)
{
    CDataGrid& g = Grid();
    currentRow_ = row;
    if (row >= g.GetFixedRowCount() && row < g.GetRowCount()) {
        g.SetFocusCell(row, 0);
        g.SelectRows({row, 0});
        g.EnsureVisible(row, 0);
        g.Refresh();
    }
    UpdatePlay();
}

int64_t CDlgLogSQL::CellNumber(int row, int col, int64_t fallback) const
{
    const CDataGrid& g = gridWidget_->Grid();
    if (row < g.GetFixedRowCount() || row >= g.GetRowCount())
        return fallback;
    return ShownNumber(g.GetItemText(row, col), fallback);
}

bool CDlgLogSQL::PlayEnabled() const
{
    if (recorder_ == nullptr || gridWidget_ == nullptr)
        return false;
    const int64_t audio = CellNumber(currentRow_, kAudio, -1);
    const int64_t bytes = CellNumber(currentRow_, kBytes, 0);
    if (audio < 0 || bytes < 1)
        return false;
    // The log may outlive the recording, or name more than it holds.
    audio::WaveLayout layout;
    if (audio::ReadWaveLayout(wavPath_, layout) != 0)
        return false;
    const int64_t start = layout.dataStart;
    return lists::ScanLogAudioPlayable(audio, bytes, start, start + int64_t{layout.dataSize});
}

void CDlgLogSQL::UpdatePlay()
{
    if (QWidget* play = GetDlgItem(kPlay))
        play->setEnabled(playing_ || PlayEnabled());
}

int CDlgLogSQL::OnGridNotify(CDataGrid& grid, const GridNotification& note)
{
    switch (note.code) {
    case GridNotifyClick:
        if (note.row == 0 && note.col >= 0)
            SortByColumn(note.col);
        return 0;
    case GridNotifySelChanged:
        if (grid.IsValid(note.row, note.col) && !grid.IsCellFixed(note.row, note.col)) {
            currentRow_ = note.row;
            UpdatePlay();
        }
        return 0;
    case GridNotifyBeginEdit: return -1;
    default: return 0;
    }
}

void CDlgLogSQL::SortByColumn(int col)
{
    if (col < 0 || col >= kColumns)
        return;
    const bool ascending = col != sortColumn_ || !sortAscending_;
    CDataGrid& g = Grid();
    g.SetCompareFunction(kCompare[col]);
    g.SortItems(col, ascending);
    sortColumn_ = col;
    sortAscending_ = ascending;
    g.Refresh();
    UpdatePlay();
}

bool CDlgLogSQL::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && id == kPlay) {
        OnPlay();
        return true;
    }
    if (code == ctl::kBnClicked && id == kPrint) {
        OnPrint();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

// "Activate": the logged frequency to VFO A with the scan page's mode; a channel number lies
// below the limits and tunes nothing.
void CDlgLogSQL::OnOK()
{
    const int64_t hz = CellNumber(currentRow_, kPosition, -1);
    radio::CRadioController& controller = services_.Controller();
    const radio::RadioState& st = controller.State();
    if (hz < st.lowerLimit || hz > st.upperLimit)
        return;
    controller.SendCommand(civ::kCmdVfo, civ::kVfoA);
    controller.SetFrequency(hz);
    const bool narrow = tuning_.filterOn && tuning_.modeIndex != kWfmIndex;
    if (tuning_.modeIndex >= 0 && tuning_.modeIndex <= kWfmIndex)
        controller.SendCommand(civ::kCmdSetMode, static_cast<uint8_t>(tuning_.modeIndex),
                               {static_cast<uint8_t>(narrow ? 2 : 1)});
    controller.ReadFrequencyMode(false);
}

void CDlgLogSQL::OnCancel()
{
    StopPlayback();
    EndDialog(ctl::kIdCancel);
}

void CDlgLogSQL::OnPlay()
{
    if (recorder_ == nullptr)
        return;
    if (playing_ || recorder_->Playing()) {
        StopPlayback();
        return;
    }
    if (!PlayEnabled())
        return;
    const int64_t audio = CellNumber(currentRow_, kAudio, -1);
    const int64_t bytes = CellNumber(currentRow_, kBytes, 0);
    const std::filesystem::path wav(wavPath_);
    const int result = recorder_->TogglePlayback(
        target_->Poster(), true, wav.filename().string(), wav.parent_path().string() + "/",
        static_cast<std::uint32_t>(audio), static_cast<std::uint32_t>(bytes));
    if (result != 0)
        return;
    playing_ = true;
    const CLanguage& language = services_.Language();
    SetDlgItemText(kPlay, language.LoadString(kStopText));
    if (QWidget* play = GetDlgItem(kPlay))
        ToolTips().AddToolId(play, kStopTip);
    UpdatePlay();
}

void CDlgLogSQL::StopPlayback()
{
    // Whatever the recorder plays stops, whoever started it.
    if (recorder_ != nullptr && recorder_->Playing())
        recorder_->TogglePlayback(std::nullopt, false, {}, "AUTO");
    if (playing_)
        OnPlaybackEnded();
}

void CDlgLogSQL::OnPlaybackEnded()
{
    playing_ = false;
    if (recorder_ != nullptr)
        recorder_->EnablePlayButton();
    const CLanguage& language = services_.Language();
    SetDlgItemText(kPlay, language.LoadString(kPlayText));
    if (QWidget* play = GetDlgItem(kPlay))
        ToolTips().AddToolId(play, kPlayTip);
    UpdatePlay();
}

void CDlgLogSQL::OnPrint()
{
    Grid().SetPrintTitle(PrintTitle());
    gridWidget_->Print(QStringLiteral("ScanLog"), std::filesystem::path(logPath_).stem().string());
}
