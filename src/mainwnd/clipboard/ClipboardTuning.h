// What a text copied to the clipboard asks for: keying, unkeying, or tuning to the frequency it
// starts with, and the mode the band table gives that frequency. Pure: the clipboard hook reads
// the text and carries out the answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ModelCaps.h"

namespace bands {
class CBandTable;
}

namespace clipboard {

struct ClipboardSettings {
    std::string pttOn = "@[on]@";    // Setup/"PTTCopyON"; empty never matches
    std::string pttOff = "@[off]@";  // Setup/"PTTCopyOFF"
    int decimal = '.';               // Cluster/"Decimale", one byte
    int multiplier = 1000;           // Cluster/"Moltiplicatore": the number times this is Hz
    bool autoMode = true;            // Cluster/"AutoMode" 1
};

enum class ClipboardAction { Ignore, PttOn, PttOff, Tune };

struct ClipboardRequest {
    ClipboardAction action = ClipboardAction::Ignore;
    int64_t frequencyHz = 0;  // Tune: inside the limits
    std::optional<int> mode;  // Tune with AutoMode: a RadioMode the model has
};

// The decimal character in use: 0, a digit or a control byte stands for '.'.
char DecimalCharacter(int stored);

// The number the text holds, from its first digit up to the first character that is neither a
// digit, the decimal character nor '.'; a '.' inside it is dropped when the decimal character is
// another one. 0 without a digit.
double ReadClipboardNumber(std::string_view text, int decimal);

// The mode for a frequency by the rows' mode segments (160 m to 70 cm, in order): within a row CW
// wins over LSB over USB over FM, RTTY ends the search at once; no row: USB above the "40" row's
// top, LSB below.
int ModeForFrequency(const bands::CBandTable& table, int64_t hz);

// caps: the radio's model, null for one the table does not know (every mode then allowed).
ClipboardRequest ReadClipboardText(std::string_view text, const ClipboardSettings& settings,
                                   const bands::CBandTable& table, int64_t lowerHz, int64_t upperHz,
                                   const civ::ModelCaps* caps);

}  // namespace clipboard
