// A measuring painter that remembers: it asks another painter once per distinct text and font
// and answers repeats from memory. Auto-sizing hands it to every cell, so a column of repeated
// values ("ON", "OFF", the modes) costs a few real measurements instead of one per cell.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "GridPainter.h"

class CGridMeasureCache : public GridPainter {
public:
    // measurer null: the grid's headless text size.
    explicit CGridMeasureCache(GridPainter* measurer) : measurer_(measurer) {}

    GridSize MeasureText(std::string_view text, const GridFont& font) override;
    // Measuring only: drawing calls do nothing.
    void FillRect(const GridRect&, GridColor) override {}
    void FrameRect(const GridRect&, GridColor) override {}
    void DrawLine(int, int, int, int, GridColor) override {}
    void DrawText(const GridRect&, std::string_view, const GridFont&, GridColor, unsigned) override
    {
    }

    // How many measurements reached the real painter.
    int Misses() const { return misses_; }

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept
        {
            return std::hash<std::string_view>{}(s);
        }
    };
    using Sizes = std::unordered_map<std::string, GridSize, TextHash, std::equal_to<>>;
    struct FontSizes {
        GridFont font;
        Sizes sizes;
    };
    Sizes& SizesFor(const GridFont& font);

    GridPainter* measurer_;
    std::vector<FontSizes> fonts_;  // few: the default font and the odd cell font
    std::size_t lastFont_ = 0;
    int misses_ = 0;
};
