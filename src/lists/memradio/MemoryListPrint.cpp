#include "MemoryListPrint.h"

#include "GridPrint.h"
#include "GridWidget.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MyFontDialog.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

void SetTitles(IMainWindowServices& services, CDataGrid& grid)
{
    const CLanguage& language = services.Language();
    grid.SetPrintTitle(language.Format(1120, {services.Window().windowTitle().toStdString()}));
    grid.SetPrintFooterFormat(language.LoadString(1206));
}

}  // namespace

bool PrintMemoryListToPdf(IMainWindowServices& services, CDataGrid& grid, const QString& caption,
                          const std::string& file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    SetTitles(services, grid);
    return PrintGrid(grid, printer, caption);
}

void PrintMemoryList(IMainWindowServices& services, CGridWidget& grid, const QString& caption,
                     const std::string& pdfFallback)
{
    SetTitles(services, grid.Grid());
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        grid.Print(caption);
        return;
    }
    const CLanguage& language = services.Language();
    if (PrintMemoryListToPdf(services, grid.Grid(), caption, pdfFallback))
        language.ShowMessage(
            {pdfFallback, language.LoadString(141), mb::kOk | mb::kIconInformation, 0});
    else
        language.ShowMessage({pdfFallback, language.LoadString(142), mb::kOk | mb::kIconError, 0});
}
