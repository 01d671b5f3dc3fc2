// The main window's colours: the three user colours and the shades derived from them, shared by
// the main window and the configuration dialog's preview.
#pragma once

#include "ColorRef.h"

// One stored colour channel, whatever the file holds: 0..255.
int ClampChannel(int value);
// A colour from stored channels, each clamped first (RgbColor alone would wrap 256 to 0).
COLORREF ColourFromChannels(int r, int g, int b);

struct ColourScheme {
    COLORREF text = 0;
    COLORREF textLight = 0;  // each channel + 40, at most 255
    COLORREF textDark = 0;   // each channel - 40, at least 0
    COLORREF bkg = 0;
    COLORREF bkgLight = 0;  // each channel + 80, at most 255
    COLORREF checkOn = 0;   // the colour of a function button that is on
};

ColourScheme DeriveColourScheme(COLORREF background, COLORREF text, COLORREF checkOn);
