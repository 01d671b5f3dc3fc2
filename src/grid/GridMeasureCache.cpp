#include "GridMeasureCache.h"

#include "GridCell.h"

CGridMeasureCache::Sizes& CGridMeasureCache::SizesFor(const GridFont& font)
{
    if (lastFont_ < fonts_.size() && fonts_[lastFont_].font == font)
        return fonts_[lastFont_].sizes;
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].font == font) {
            lastFont_ = i;
            return fonts_[i].sizes;
        }
    lastFont_ = fonts_.size();
    fonts_.push_back({font, {}});
    return fonts_.back().sizes;
}

GridSize CGridMeasureCache::MeasureText(std::string_view text, const GridFont& font)
{
    Sizes& sizes = SizesFor(font);
    if (const auto it = sizes.find(text); it != sizes.end())
        return it->second;
    ++misses_;
    const GridSize size = measurer_ ? measurer_->MeasureText(text, font) : FallbackTextSize(text);
    sizes.emplace(std::string(text), size);
    return size;
}
