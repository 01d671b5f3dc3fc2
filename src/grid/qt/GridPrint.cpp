#include "GridPrint.h"

#include <ctime>

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include "DataGrid.h"
#include "QtGridPainter.h"

namespace {

// The date and time as the C library's "%c" gives it.
std::string DateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%c", &local);
    return std::string(buffer, n);
}

int ScreenDpi(bool vertical)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96;
    const double dpi = vertical ? screen->logicalDotsPerInchY() : screen->logicalDotsPerInchX();
    return dpi > 0 ? static_cast<int>(dpi + 0.5) : 96;
}

}  // namespace

bool PrintGrid(CDataGrid& grid, QPrinter& printer, const QString& docName,
               const std::vector<QPixmap>* images)
{
    printer.setDocName(docName);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    PrintDevice device;
    device.horzRes = printer.width();
    device.vertRes = printer.height();
    device.printerDpiX = printer.logicalDpiX();
    device.printerDpiY = printer.logicalDpiY();
    device.screenDpiX = ScreenDpi(false);
    device.screenDpiY = ScreenDpi(true);

    // Page units are screen-sized pixels: a font given in points would be resolved at the
    // printer's resolution and then scaled once more, so the default font goes by pixels.
    QFont base = QGuiApplication::font();
    base.setPixelSize(QFontInfo(base).pixelSize());
    CQtGridPainter measurer(nullptr, base);
    if (!grid.OnBeginPrinting(measurer, device)) {
        printer.abort();
        painter.end();
        return false;
    }
    const PrintLayout& layout = grid.GetPrintLayout();
    CQtGridPainter pagePainter(&painter, base);
    pagePainter.SetImageList(images);
    pagePainter.SetClipAllText(true);
    const std::string date = DateText();
    bool ok = true;
    for (int page = 1; page <= layout.PageCount(); ++page) {
        if (page > 1 && !printer.newPage()) {
            ok = false;
            break;
        }
        painter.save();
        painter.setWindow(0, 0, layout.pageWidth, layout.pageHeight);
        painter.setViewport(0, 0, device.horzRes, device.vertRes);
        pagePainter.SetPainter(&painter);
        grid.OnPrintPage(pagePainter, page, date);
        painter.restore();
    }
    grid.OnEndPrinting();
    if (!ok) {
        printer.abort();
        painter.end();
        return false;
    }
    return painter.end();
}
