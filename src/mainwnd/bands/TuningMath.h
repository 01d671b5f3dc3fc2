// The arithmetic of the tuning controls: digit-button steps, the wheel's step by cursor position,
// stepping within the radio's limits, the range of the tuning slider under the display and the
// geometry of the band scale page.
#pragma once

#include "BandTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace bands {

// Digit buttons: "+" 1210, 1212..1219 and "-" 1211, 1220..1227.
inline constexpr int kFirstDigitButton = 1210;
inline constexpr int kLastDigitButton = 1227;
// The "+" buttons from the 1 Hz digit to the 100 MHz digit.
inline constexpr std::array<int, 9> kPlusButtons = {1210, 1212, 1213, 1214, 1215,
                                                    1216, 1217, 1218, 1219};
inline constexpr std::array<int, 9> kMinusButtons = {1211, 1220, 1221, 1222, 1223,
                                                     1224, 1225, 1226, 1227};
// 1, 10, ... 100000000 Hz.
int64_t DigitStep(int digit);
// The signed step of a digit button; 0 for any other id.
int64_t DigitButtonStep(int id);

// The field's value truncated to whole Hz, plus the step, kept within [lower, upper].
int64_t SteppedFrequency(double field, int64_t step, int64_t lower, int64_t upper);

// The wheel's step for a cursor at x, given the left edges of the nine "+" buttons (in
// kPlusButtons order): the rightmost button whose left edge is at or left of x names the digit;
// left of the 100 MHz button the answer is 0 (no step). The sign follows the wheel's delta.
int64_t WheelStep(int x, const std::array<int, 9>& plusLeftEdges, int delta);

// The tuning slider's range: the band's limits, or a 1 MHz window that follows the frequency
// outside the amateur bands.
struct SliderPlacement {
    bool band = false;  // slider 1236 (a band) or 1250 (the 1 MHz window)
    int64_t low = 0;
    int64_t high = 0;
    int64_t position = 0;
};

class CTuningWindow {
public:
    static constexpr int64_t kWindow = 1000000;
    static constexpr int64_t kHalf = 500000;

    // Where the slider goes for frequency f; upper/lower -1 when f lies in no amateur band.
    // False (nothing to do) when f is the frequency put on the slider last time.
    bool Update(int64_t upper, int64_t lower, int64_t f, int64_t radioLower, SliderPlacement& out);

    int64_t Low() const { return low_; }
    int64_t High() const { return high_; }

private:
    int64_t low_ = -1;
    int64_t high_ = -1;
    int64_t last_ = -1;
    bool hasLast_ = false;
};

// The band scale page: three groups of four band rows.
inline constexpr int kScaleSliders = 4;
inline constexpr int kScaleGroups = 3;
// Group 1..3 (anything else is group 1): its first band row.
int ScaleFirstRow(int group);
// Label text of slider k in a group ("160mt" ... "70cm").
std::string ScaleLabel(int group, int k);
// Range and position of the slider of a row: the row's frequency, or the middle of the band
// when the frequency is 0.
struct ScaleSlider {
    int low = 0;
    int high = 0;
    int position = 0;
};
ScaleSlider ScaleSliderFor(const BandRow& row);
// The first slider whose range strictly contains f, or -1.
int ScaleSliderContaining(const std::array<ScaleSlider, kScaleSliders>& sliders, int64_t f);

}  // namespace bands
