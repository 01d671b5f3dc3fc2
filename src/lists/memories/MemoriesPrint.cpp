// Printing the memories and keeping the window's place.
#include "MemoriesWindow.h"

#include "GridPrint.h"
#include "GridWidget.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MemoryListFile.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

namespace {
// Where the list goes when no printer is installed.
constexpr const char* kPdfName = "MemPC.pdf";
}  // namespace

bool CDlgMem::PrintMemoriesToPdf(const std::string& file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    const CLanguage& language = services_.Language();
    CDataGrid& g = Grid();
    g.SetPrintTitle(language.Format(1120, {services_.Window().windowTitle().toStdString()}));
    g.SetPrintFooterFormat(language.LoadString(1206));
    return PrintGrid(g, printer, windowTitle());
}

void CDlgMem::PrintMemories()
{
    const CLanguage& language = services_.Language();
    CDataGrid& g = Grid();
    g.SetPrintTitle(language.Format(1120, {services_.Window().windowTitle().toStdString()}));
    g.SetPrintFooterFormat(language.LoadString(1206));
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        gridWidget_->Print(windowTitle());
        return;
    }
    const std::string file = platform::JoinPath(platform::DirName(path_), kPdfName);
    if (PrintMemoriesToPdf(file))
        language.ShowMessage({file, language.LoadString(141), mb::kOk | mb::kIconInformation, 0});
    else
        ShowError(file);
}

void CDlgMem::SaveWindowPos()
{
    if (isMinimized() || isMaximized())
        return;
    const QRect r = frameGeometry();
    Profile& registry = services_.Registry();
    if (!registry.WriteRect(settings::reg::MemorieRect,
                            {r.top(), r.bottom() + 1, r.left(), r.right() + 1}))
        std::fprintf(stderr, "memories window place not saved: %s\n", registry.LastError().c_str());
}
