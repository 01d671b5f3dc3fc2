// The program's windows on an X server share the screen's own colormap.
//
// Qt gives every window a colormap it creates for the window's visual, even the screen's default
// visual. Screen readers that honour each window's colormap (xwd -root and others built the same
// way) then take a window lying wholly over another of the program's windows as part of the one
// beneath and read it from there: a dialog over the main window comes out solid black. With the
// default colormap every window of the default visual is plain screen content to them.
#pragma once

// From now on each native window the application creates with the screen's default visual uses
// the screen's default colormap. Nothing happens off X11 (offscreen, Wayland). Call once, after
// the QGuiApplication is constructed.
void UseScreenColormapForWindows();
