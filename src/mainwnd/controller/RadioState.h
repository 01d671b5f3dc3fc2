// What the program knows about the radio and its link, held by the controller on the GUI thread.
// Other windows read it through the controller.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RadioFunctions.h"
#include "ModelCaps.h"
#include "RadioModel.h"
#include "RadioModes.h"

namespace radio {

// Current VFO.
enum Vfo : int { kVfoNone = 0, kVfoA = 1, kVfoB = 2 };

// The limits in force until the radio or the settings give others.
constexpr int64_t kDefaultLowerLimit = 30000;
constexpr int64_t kDefaultUpperLimit = 469999999;

struct OtherVfo {
    int64_t frequencyHz = 0;  // 0: nothing kept, the second display stays empty
    std::string modeText;
    bool filterNarrow = false;
};

struct RadioState {
    // Link and settings.
    uint8_t address = 0;  // Setup/"Indirizzo"
    int model = kModelUnknown;
    int delayCommand = 100;  // Setup/"DelayCommand", ms
    int sMeterLower = 38;    // S-Meter/"Inferiore"
    int sMeterDivisor = 10;  // S-Meter/"Divisore", at least 1
    bool extendedFunctions = false;
    bool offLine = false;
    bool linkTest = false;
    bool closing = false;
    bool startingUp = false;

    // What the radio reported.
    int64_t frequencyHz = 0;
    bool frequencyBlank = false;  // the frequency field shows none (none reported, or off line)
    int mode = -1;                // -1 until the radio reports one
    bool filterNarrow = false;
    int currentVfo = kVfoNone;
    OtherVfo otherVfo;
    bool split = false;
    bool duplexPlus = false;
    bool duplexMinus = false;
    bool duplexPlusRemembered = false;
    bool duplexMinusRemembered = false;
    int duplexOffsetKHz = 0;
    std::array<bool, kFunctionCount> functions{};  // button down per RadioFunction
    int sValue = 0;
    std::string sText;
    bool squelchOpen = true;  // until the radio says otherwise, "SQL" is not shown
    int64_t lowerLimit = kDefaultLowerLimit;
    int64_t upperLimit = kDefaultUpperLimit;
    bool noAnswer = false;
    // The radio has reported a frequency since the program started (remote reads need one).
    bool frequencyKnown = false;
    // The last frequency the radio itself reported (0 before any).
    int64_t confirmedHz = 0;
    // The worker dropped a command the radio never answered, and it is still unanswered.
    bool radioSilent = false;
    // Its frequency read goes unanswered: nothing sent to it can be taken as done.
    bool frequencyUnanswered = false;
    // Which serial port went away, while it stays away (empty otherwise).
    std::string lineLost;
    std::vector<std::string> modeNames;  // the mode list; its size bounds the accepted modes

    // Display and send activity.
    bool displayNotReady = false;
    bool sending = false;  // frequency or function states are being sent
    bool frequencyStepRunning = false;
    bool frequencyTyped = false;

    // Polling.
    bool pollingAllowed = true;
    bool fullPolling = true;  // the "Polling" button down
    bool sMeterOn = false;
    int skipTicks = 0;
    int phase = 0;

    bool Function(RadioFunction f) const { return functions[static_cast<size_t>(f)]; }
};

}  // namespace radio
