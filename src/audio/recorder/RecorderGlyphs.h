// The recorder bar's button pictures, drawn here: settings, record, pause and play, each with a
// second look for the pressed state (pause has a third, for its blink).
#pragma once

#include <QPixmap>

namespace audio {

enum class Glyph { Settings, Record, Pause, Play };
QPixmap GlyphPixmap(Glyph glyph, bool pressed, bool bright = false);

}  // namespace audio
