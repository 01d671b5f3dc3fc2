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

#include <QApplication>

namespace {

// A message line holds no more of a system error text.
constexpr std::size_t kMaxErrorText = 255;

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

void CMemoryListWindow::ExportCsv()
{
    CIni& ini = services_.Ini();
    const std::optional<CsvChoice> choice =
        askCsv_ ? askCsv_(false, ini.GetString(layout_.lastCsvFile))
                : AskCsvByDialog(this, false, ini.GetString(layout_.lastCsvFile));
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
    ini.WriteString(layout_.lastCsvFile, choice->file);
    language.ShowMessage(
        {language.Format(182, {choice->file}), "", mb::kOk | mb::kIconInformation, 0});
}

void CMemoryListWindow::ImportCsv()
{
    CIni& ini = services_.Ini();
    const std::optional<CsvChoice> choice =
        askCsv_ ? askCsv_(true, ini.GetString(layout_.lastCsvFile))
                : AskCsvByDialog(this, true, ini.GetString(layout_.lastCsvFile));
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
    ini.WriteString(layout_.lastCsvFile, choice->file);
    CGridListTable table(Grid());
    lists::ImportCsv(text, table, layout_.csv, choice->dialect);
    editing_ = false;
    ShowImportedRows();
}
