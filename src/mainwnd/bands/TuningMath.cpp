#include "TuningMath.h"

#include <cmath>

namespace bands {

int64_t DigitStep(int digit)
{
    int64_t step = 1;
    for (int i = 0; i < digit; ++i)
        step *= 10;
    return step;
}

int64_t DigitButtonStep(int id)
{
    for (size_t d = 0; d < kPlusButtons.size(); ++d) {
        if (kPlusButtons[d] == id)
            return DigitStep(static_cast<int>(d));
        if (kMinusButtons[d] == id)
            return -DigitStep(static_cast<int>(d));
    }
    return 0;
}

int64_t SteppedFrequency(double field, int64_t step, int64_t lower, int64_t upper)
{
    // A field that is no number at all starts from the lower limit; huge values are cut short
    // before the conversion so it stays defined.
    constexpr double kFar = 1e15;
    int64_t f = lower;
    if (std::isfinite(field))
        f = static_cast<int64_t>(field < -kFar ? -kFar : (field > kFar ? kFar : field));
    f += step;
    if (f < lower)
        f = lower;
    if (f > upper)
        f = upper;
    return f;
}

int64_t WheelStep(int x, const std::array<int, 9>& plusLeftEdges, int delta)
{
    if (delta == 0)
        return 0;
    for (size_t d = 0; d < plusLeftEdges.size(); ++d) {
        if (x >= plusLeftEdges[d])
            return delta > 0 ? DigitStep(static_cast<int>(d)) : -DigitStep(static_cast<int>(d));
    }
    return 0;
}

bool CTuningWindow::Update(int64_t upper, int64_t lower, int64_t f, int64_t radioLower,
                           SliderPlacement& out)
{
    if (hasLast_ && f == last_)
        return false;
    hasLast_ = true;
    last_ = f;
    const bool band = !(upper == -1 && lower == -1);
    if (band) {
        low_ = lower;
        high_ = upper;
    } else if (low_ == -1) {
        low_ = f - kHalf;
        high_ = f + kHalf;
        if (low_ < 0) {
            low_ = radioLower;
            high_ = low_ + kWindow;
        }
    } else if (f < low_) {
        high_ = low_;
        low_ -= kWindow;
        if (low_ < 0) {
            low_ = radioLower;
            high_ = low_ + kWindow;
        }
    } else if (f > high_) {
        low_ = high_;
        high_ += kWindow;
    }
    if (f < low_ || f > high_) {
        low_ = f - kHalf;
        if (low_ < 0)
            low_ = radioLower;
        high_ = low_ + kWindow;
    }
    out.band = band;
    out.low = low_;
    out.high = high_;
    out.position = f;
    return true;
}

int ScaleFirstRow(int group)
{
    if (group < 1 || group > kScaleGroups)
        group = 1;
    return 4 * (group - 1);
}

std::string ScaleLabel(int group, int k)
{
    static const char* const labels[kBandCount - 1] = {"160mt", "80mt", "40mt", "30mt",
                                                       "20mt",  "17mt", "15mt", "12mt",
                                                       "10mt",  "6mt",  "2mt",  "70cm"};
    if (k < 0 || k >= kScaleSliders)
        return {};
    return labels[ScaleFirstRow(group) + k];
}

ScaleSlider ScaleSliderFor(const BandRow& row)
{
    ScaleSlider s;
    s.low = row.lower;
    s.high = row.upper;
    s.position = row.frequency != 0 ? row.frequency : row.lower + (row.upper - row.lower) / 2;
    return s;
}

int ScaleSliderContaining(const std::array<ScaleSlider, kScaleSliders>& sliders, int64_t f)
{
    for (size_t k = 0; k < sliders.size(); ++k) {
        if (sliders[k].low < f && f < sliders[k].high)
            return static_cast<int>(k);
    }
    return -1;
}

}  // namespace bands
