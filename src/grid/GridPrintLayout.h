// Print pagination, free of any device: rows and columns are cut into page bands, and a row
// (or column) larger than a page is printed in slices over consecutive pages, never dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "GridFont.h"

// A row or column on a page, or the part of one that falls on it.
struct PrintSlice {
    int index = 0;   // row or column
    int offset = 0;  // pixels of it already printed on earlier pages
    int size = 0;    // pixels printed on this page
    friend bool operator==(const PrintSlice&, const PrintSlice&) = default;
};
using PrintBand = std::vector<PrintSlice>;

// Cuts the items sizes[first..] into bands of at most `extent` pixels (at least 1). Zero-size
// items are skipped. An item larger than extent gets bands of its own, one slice each. There is
// always at least one band (empty when there is nothing to print).
std::vector<PrintBand> SplitIntoBands(const std::vector<int>& sizes, int first, int extent);

// Fills the footer format: the first "%d" takes page, the second pageCount, "%%" gives "%";
// everything else (other '%' sequences included) is copied as it stands.
std::string FormatPageFooter(std::string_view format, int page, int pageCount);

// What the printer offers.
struct PrintDevice {
    int horzRes = 0;  // printable pixels across
    int vertRes = 0;  // and down
    int printerDpiX = 600, printerDpiY = 600;
    int screenDpiX = 96, screenDpiY = 96;
};

// Settings the grid keeps for printing.
struct PrintSettings {
    int headerLines = 2;
    int footerLines = 2;
    int leftMargin = 4;  // average character widths
    int rightMargin = 4;
    int gapLines = 1;
    bool printColours = true;
    bool trueSize = false;
    std::string title;
    std::string footerFormat;  // "Page %d of %d"
};

// Computed at the start of a print job; page coordinates are logical units that the device
// side scales onto horzRes x vertRes.
struct PrintLayout {
    GridFont font;
    int charWidth = 0;
    int lineHeight = 0;
    int pageWidth = 0;
    int pageHeight = 0;
    int marginWidth = 0;
    int bodyWidth = 0;
    int bodyHeight = 0;
    // Each column and row as printed: at least its size on the screen, and room for every cell
    // in the print font (hidden ones stay 0).
    std::vector<int> colWidths;
    std::vector<int> rowHeights;
    std::vector<PrintBand> rowBands;
    std::vector<PrintBand> colBands;
    int PageCount() const { return static_cast<int>(rowBands.size() * colBands.size()); }
    // Bands of page n (1-based); false for a page outside the job.
    bool BandsOfPage(int page, const PrintBand** rows, const PrintBand** cols) const;
};
