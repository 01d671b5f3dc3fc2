// Print layout and page drawing. Pages are drawn in page coordinates; the device side scales
// them onto the paper. The footer format is filled by FormatPageFooter, never by printf.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "DataGrid.h"
#include "GridMeasureCache.h"

namespace {

constexpr GridColor kBlack = GridRgb(0, 0, 0);

PrintBand FixedBand(const std::vector<int>& sizes, int count)
{
    PrintBand band;
    for (int i = 0; i < count && i < static_cast<int>(sizes.size()); ++i)
        if (sizes[static_cast<std::size_t>(i)] > 0)
            band.push_back({i, 0, sizes[static_cast<std::size_t>(i)]});
    return band;
}

int Sum(const std::vector<int>& sizes, std::size_t from, std::size_t to)
{
    int total = 0;
    for (std::size_t i = from; i < to && i < sizes.size(); ++i)
        total += sizes[i];
    return total;
}

int BandSize(const PrintBand& band)
{
    int total = 0;
    for (const PrintSlice& s : band)
        total += s.size;
    return total;
}

int ScaleDpi(int value, int screenDpi, int printerDpi)
{
    if (printerDpi <= 0 || screenDpi <= 0)
        return value * 3 / 4;
    return static_cast<int>(static_cast<std::int64_t>(value) * screenDpi / printerDpi * 3 / 4);
}

}  // namespace

bool CDataGrid::OnBeginPrinting(GridPainter& measurer, const PrintDevice& device)
{
    printLayout_ = PrintLayout{};
    if (device.horzRes <= 0 || device.vertRes <= 0)
        return false;
    PrintLayout layout;
    layout.font.face = "Arial";
    layout.font.height = 10;
    const GridSize sample =
        measurer.MeasureText("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ", layout.font);
    layout.charWidth = std::max(1, sample.cx / 52);
    layout.lineHeight = std::max(1, sample.cy);
    const PrintSettings& s = print_;
    layout.marginWidth =
        layout.charWidth * (std::max(0, s.leftMargin) + std::max(0, s.rightMargin));
    MeasureForPrint(measurer, layout);
    const auto fixedCols = static_cast<std::size_t>(fixedCols_);
    const auto fixedRows = static_cast<std::size_t>(fixedRows_);
    const int fixedWidth = Sum(layout.colWidths, 0, fixedCols);
    const int fixedHeight = Sum(layout.rowHeights, 0, fixedRows);
    if (s.trueSize) {
        layout.pageWidth = ScaleDpi(device.horzRes, device.screenDpiX, device.printerDpiX);
        layout.pageHeight = ScaleDpi(device.vertRes, device.screenDpiY, device.printerDpiY);
    } else {
        // Scaled so that every column fits across the page.
        layout.pageWidth = Sum(layout.colWidths, 0, layout.colWidths.size()) + layout.marginWidth;
        layout.pageHeight = static_cast<int>(std::min<std::int64_t>(
            static_cast<std::int64_t>(layout.pageWidth) * device.vertRes / device.horzRes,
            std::numeric_limits<int>::max()));
    }
    const int reserved =
        (std::max(0, s.headerLines) + 2 * std::max(0, s.gapLines) + std::max(0, s.footerLines))
        * layout.lineHeight;
    layout.bodyHeight = layout.pageHeight - reserved - fixedHeight;
    layout.bodyWidth = layout.pageWidth - fixedWidth - layout.marginWidth;
    if (layout.bodyHeight <= 0 || (s.trueSize && layout.bodyWidth <= 0))
        return false;

    layout.rowBands = SplitIntoBands(layout.rowHeights, fixedRows_, layout.bodyHeight);
    layout.colBands =
        SplitIntoBands(layout.colWidths, fixedCols_,
                       s.trueSize ? layout.bodyWidth : std::numeric_limits<int>::max());
    printLayout_ = std::move(layout);
    return true;
}

void CDataGrid::MeasureForPrint(GridPainter& measurer, PrintLayout& layout) const
{
    layout.colWidths = colWidths_;
    layout.rowHeights = rowHeights_;
    CGridMeasureCache measure(&measurer);
    for (int r = 0; r < rows_; ++r) {
        int& height = layout.rowHeights[static_cast<std::size_t>(r)];
        for (int c = 0; c < cols_; ++c) {
            int& width = layout.colWidths[static_cast<std::size_t>(c)];
            const CDataGridCellBase* cell = GetCell(r, c);
            if (cell == nullptr || height == 0 || width == 0)
                continue;
            const GridSize extent = cell->GetCellExtent(&measure);
            width = std::max(width, extent.cx);
            height = std::max(height, extent.cy);
        }
    }
}

void CDataGrid::PrintCells(GridPainter& painter, const PrintBand& rows, const PrintBand& cols,
                           int x0, int y0)
{
    const PrintLayout& layout = printLayout_;
    int y = y0;
    for (const PrintSlice& rs : rows) {
        const int h = layout.rowHeights[static_cast<std::size_t>(rs.index)];
        int x = x0;
        for (const PrintSlice& cs : cols) {
            const int w = layout.colWidths[static_cast<std::size_t>(cs.index)];
            CDataGridCellBase* cell = GetCell(rs.index, cs.index);
            const GridRect rect{x - cs.offset, y - rs.offset, x - cs.offset + w - 1,
                                y - rs.offset + h - 1};
            const bool sliced = rs.size < h || cs.size < w;
            const GridRect clip{x, y, x + cs.size, y + rs.size};
            if (sliced)
                painter.SetClipRect(&clip);
            if (cell)
                cell->PrintCell(painter, rs.index, cs.index, rect);
            if (gridLines_ & GridLinesHorz) {
                painter.DrawLine(rect.left, rect.bottom, rect.right, rect.bottom, kBlack);
                if (rs.index == 0)
                    painter.DrawLine(rect.left, rect.top, rect.right, rect.top, kBlack);
            }
            if (gridLines_ & GridLinesVert) {
                painter.DrawLine(rect.right, rect.top, rect.right, rect.bottom, kBlack);
                if (cs.index == 0)
                    painter.DrawLine(rect.left, rect.top, rect.left, rect.bottom, kBlack);
            }
            if (sliced)
                painter.SetClipRect(nullptr);
            x += cs.size;
        }
        y += rs.size;
    }
}

void CDataGrid::OnPrintPage(GridPainter& painter, int page, const std::string& dateText)
{
    const PrintLayout& layout = printLayout_;
    const PrintBand* rows = nullptr;
    const PrintBand* cols = nullptr;
    if (!layout.BandsOfPage(page, &rows, &cols))
        return;
    const PrintSettings& s = print_;
    GridFont bold = layout.font;
    bold.weight = 700;
    const int left = layout.charWidth * std::max(0, s.leftMargin);
    const int width = layout.pageWidth - layout.marginWidth;

    // Title.
    const GridRect header{left, 0, left + width, std::max(0, s.headerLines) * layout.lineHeight};
    painter.DrawText(header, s.title, bold, kBlack,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    painter.DrawLine(header.left, header.bottom - 1, header.right - 1, header.bottom - 1, kBlack);

    // Headings and body.
    const int top = header.bottom + std::max(0, s.gapLines) * layout.lineHeight;
    const PrintBand fixedRows = FixedBand(layout.rowHeights, fixedRows_);
    const PrintBand fixedCols = FixedBand(layout.colWidths, fixedCols_);
    const int fixedW = BandSize(fixedCols), fixedH = BandSize(fixedRows);
    PrintCells(painter, *rows, fixedCols, left, top + fixedH);
    const bool firstAcross = cols->empty()
                             || (cols->front().index == fixedCols_ && cols->front().offset == 0)
                             || cols == &layout.colBands.front();
    if (firstAcross)
        PrintCells(painter, fixedRows, fixedCols, left, top);
    PrintCells(painter, fixedRows, *cols, left + fixedW, top);
    PrintCells(painter, *rows, *cols, left + fixedW, top + fixedH);

    // Footer: page numbers and the date, never interpreted as a format by the system.
    const int footerHeight = std::max(0, s.footerLines) * layout.lineHeight;
    const GridRect footer{left, layout.pageHeight - footerHeight, left + width, layout.pageHeight};
    painter.DrawLine(footer.left, footer.top, footer.right - 1, footer.top, kBlack);
    painter.DrawText(footer, FormatPageFooter(s.footerFormat, page, layout.PageCount()), bold,
                     kBlack, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    painter.DrawText(footer, dateText, bold, kBlack,
                     DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
