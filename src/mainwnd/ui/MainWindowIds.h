// Control ids of the main window (dialog 102) beyond those the radio controller names itself
// (RadioView.h), its menu commands and the ids of the pages and tool windows it creates.
#pragma once

#include "RadioView.h"

namespace mainwnd {

inline constexpr unsigned kDialogId = 102;
inline constexpr int kTimerId = 1;
inline constexpr int kTimerMs = 1000;

// Buttons.
inline constexpr int kSetRtx = 3;
inline constexpr int kVfoEqual = 4;
inline constexpr int kStore = 5;
inline constexpr int kMode = 1015;
inline constexpr int kSync = 1111;
inline constexpr int kExit = radio::ctl::kExit;
inline constexpr int kBand = 1052;
inline constexpr int kStack1 = 1054;
inline constexpr int kStack3 = 1056;
inline constexpr int kHookClipboard = 1041;
inline constexpr int kHelp = 1180;

// Fields and labels.
inline constexpr int kDelayText = 1006;  // holds "50"
inline constexpr int kHidden1 = 1045;
inline constexpr int kHidden2 = 1046;
inline constexpr int kOtherVfoLabel = 1047;
inline constexpr int kRxA = 1106;  // "RX" beside VFO A / VFO B
inline constexpr int kRxB = 1107;
inline constexpr int kLocalClock = 1143;
inline constexpr int kUtcClock = 1144;
inline constexpr int kOffsetLabel = 1254;
inline constexpr int kStackLabel = 1289;
inline constexpr int kLatency = 1290;  // the speed test's answer time
inline constexpr int kSlider1 = 1236;
inline constexpr int kSlider2 = 1250;
inline constexpr int kTabs = 2000;
inline constexpr int kDisplayFrame = 1312;  // the display panel (the wheel tunes over it)

// Digit step buttons: "+" 1 Hz .. 100 MHz and "-" 1 Hz .. 100 MHz.
inline constexpr int kPlusIds[9] = {1210, 1212, 1213, 1214, 1215, 1216, 1217, 1218, 1219};
inline constexpr int kMinusIds[9] = {1211, 1220, 1221, 1222, 1223, 1224, 1225, 1226, 1227};

// Menu commands.
inline constexpr int kMenuModeFirst = 32775;  // .. 32781: modes 0..6
inline constexpr int kMenuModeLast = 32781;
inline constexpr int kMenuUnusedFirst = 32782;
inline constexpr int kMenuUnusedLast = 32784;
inline constexpr int kMenuBandFirst = 32785;  // .. 32797: bands 0..12
inline constexpr int kMenuBandLast = 32797;

// Help topics.
inline constexpr int kHelpButtonTopic = 100;
inline constexpr int kHelpTopic = 102;

}  // namespace mainwnd
