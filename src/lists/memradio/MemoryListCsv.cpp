// The memory lists' CSV export and import.
#include "MemoryListWindow.h"

#include "CommandCodes.h"
#include "GridListTable.h"
#include "GridWidget.h"
#include "ImportExportDlg.h"
#include "Ini.h"
#include "Language.h"
#include "ListFile.h"
#include "MainWindowServices.h"
#include "WorkProgressDlg.h"

#include <QApplication>

#include <memory>

namespace {

// A message line holds no more of a system error text.
constexpr std::size_t kMaxErrorText = 255;

// An import of more records shows its progress and can be stopped.
constexpr int kProgressFromRecords = 5000;

std::optional<CMemoryListWindow::CsvChoice> AskCsvByDialog(QWidget* owner, bool import,
                                                           const std::string& file)
{
    CImportExport dialog(import, file);
    dialog.SetOwner(owner);
    if (dialog.DoModal() != ctl::kIdOk)
        return std::nullopt;
    return CMemoryListWindow::CsvChoice{dialog.File(), dialog.Dialect()};
}

}  // namespace

bool CMemoryListWindow::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && id == kExport) {
        ExportCsv();
        return true;
    }
    if (code == ctl::kBnClicked && id == kImport) {
        ImportCsv();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

std::optional<CMemoryListWindow::CsvChoice> CMemoryListWindow::AskCsv(bool import)
{
    const std::string last = CsvFileInProgramFolder(services_.Ini().GetString(layout_.lastCsvFile));
    std::optional<CsvChoice> choice =
        askCsv_ ? askCsv_(import, last) : AskCsvByDialog(this, import, last);
    if (choice)
        choice->file = CsvFileInProgramFolder(choice->file);
    return choice;
}

void CMemoryListWindow::ExportCsv()
{
    CIni& ini = services_.Ini();
    const std::optional<CsvChoice> choice = AskCsv(false);
    if (!choice)
        return;
    CDataGrid& g = Grid();
    std::vector<std::string> header;
    for (int col = 0; col < g.GetColumnCount(); ++col)
        header.push_back(g.GetItemText(0, col));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const lists::ListFileResult written = lists::WriteListFile(
        choice->file, lists::ExportCsv(header, CGridListTable(g), layout_.csv, choice->dialect));
    QApplication::restoreOverrideCursor();
    const CLanguage& language = services_.Language();
    if (!written.Ok()) {
        language.ShowMessage({language.FormatString1(181, written.error.substr(0, kMaxErrorText)),
                              "", mb::kOk | mb::kIconError, 0});
        return;
    }
    ini.WriteString(layout_.lastCsvFile, CsvFileAsStored(choice->file));
    language.ShowMessage(
        {language.Format(182, {choice->file}), "", mb::kOk | mb::kIconInformation, 0});
}

void CMemoryListWindow::ImportCsv()
{
    if (!ListMayChange())
        return;
    CIni& ini = services_.Ini();
    const std::optional<CsvChoice> choice = AskCsv(true);
    if (!choice)
        return;
    const CLanguage& language = services_.Language();
    if (language.ShowMessage(
            {language.Format(183, {choice->file}), "", mb::kYesNo | mb::kIconInformation, 0})
        != mb::kIdYes)
        return;
    std::string text;
    const lists::ListFileResult read = lists::ReadListFile(choice->file, text);
    if (read.status != lists::ListFileResult::Done) {
        const std::string error = read.Ok() ? "the file does not exist" : read.error;
        language.ShowMessage({language.FormatString1(184, error.substr(0, kMaxErrorText)), "",
                              mb::kOk | mb::kIconError, 0});
        return;
    }
    ini.WriteString(layout_.lastCsvFile, CsvFileAsStored(choice->file));
    // Merged into a copy: the grid takes the rows at once, not one rebuild per new row.
    CDataGrid& g = Grid();
    CGridListTable table(g);
    lists::CTextTable rows = table.Copy();
    std::unique_ptr<CWorkProgressDlg> progress;
    bool progressTried = false;
    const auto step = [&](int done, int total) {
        if (!progressTried && total >= kProgressFromRecords) {
            progressTried = true;
            progress = std::make_unique<CWorkProgressDlg>();
            if (progress->Create()) {
                progress->HoldDisabled(this);
                progress->setWindowTitle(windowTitle());
                progress->SetRange(0, total);
                progress->SetStep(1);
            } else {
                progress.reset();
            }
        }
        if (!progress)
            return true;
        progress->SetPos(done);
        return !progress->CheckCancelButton();
    };
    lists::ImportCsv(text, rows, layout_.csv, choice->dialect, step);
    if (progress)
        progress->DestroyWindow();
    // A list its file could not hold is not taken: the rows and the file stay as they were.
    if (const std::optional<std::string> refusal =
            lists::ListSizeRefusal(layout_.fileText(rows, unread_).size())) {
        language.ShowMessage(
            {language.FormatString1(184, path_ + ": " + *refusal + "; nothing was imported"), "",
             mb::kOk | mb::kIconError, 0});
        return;
    }
    g.SetRedraw(false);
    table.Assign(rows);
    g.SetRedraw(true);
    // Rows stopped short of the file's end stay, as after a read error.
    editing_ = false;
    ShowImportedRows();
}
