#include "GridPrintLayout.h"

#include <algorithm>

std::vector<PrintBand> SplitIntoBands(const std::vector<int>& sizes, int first, int extent)
{
    extent = std::max(extent, 1);
    std::vector<PrintBand> bands(1);
    int used = 0;
    for (int i = std::max(first, 0); i < static_cast<int>(sizes.size()); ++i) {
        const int size = sizes[static_cast<std::size_t>(i)];
        if (size <= 0)
            continue;
        if (size > extent) {
            // Too large for one page: its own pages, slice after slice.
            if (!bands.back().empty())
                bands.emplace_back();
            for (int offset = 0; offset < size; offset += extent) {
                if (!bands.back().empty())
                    bands.emplace_back();
                bands.back().push_back({i, offset, std::min(extent, size - offset)});
            }
            bands.emplace_back();
            used = 0;
            continue;
        }
        if (used + size > extent && !bands.back().empty()) {
            bands.emplace_back();
            used = 0;
        }
        bands.back().push_back({i, 0, size});
        used += size;
    }
    if (bands.size() > 1 && bands.back().empty())
        bands.pop_back();
    return bands;
}

std::string FormatPageFooter(std::string_view format, int page, int pageCount)
{
    std::string out;
    int filled = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char next = format[i + 1];
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (next == 'd' && filled < 2) {
                out += std::to_string(filled == 0 ? page : pageCount);
                ++filled;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

bool PrintLayout::BandsOfPage(int page, const PrintBand** rows, const PrintBand** cols) const
{
    if (page < 1 || page > PageCount())
        return false;
    const int across = static_cast<int>(colBands.size());
    *rows = &rowBands[static_cast<std::size_t>((page - 1) / across)];
    *cols = &colBands[static_cast<std::size_t>((page - 1) % across)];
    return true;
}
