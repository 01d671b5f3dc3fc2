// The recording-format chooser: a list of the formats offered (those the input device can
// record), the current one selected.
#pragma once

#include "WaveFormat.h"

#include <string>
#include <vector>

class QWidget;

namespace audio {

// 0 with `chosen` set, -1 when cancelled or nothing is offered.
int RunFormatChooser(QWidget* owner, const std::string& title,
                     const std::vector<WaveFormat>& offered, const WaveFormat& current,
                     WaveFormat& chosen);

}  // namespace audio
