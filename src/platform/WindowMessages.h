// Message numbers exchanged between threads, drivers, processes and the main window.
// They keep their historical values so that peers and stored protocols agree.
#pragma once

namespace msg {

constexpr unsigned kClose = 0x0010;
constexpr unsigned kQuit = 0x0012;
constexpr unsigned kUser = 0x0400;

// Sound devices to the window that opened them.
constexpr unsigned kWomOpen = 0x03BB;
constexpr unsigned kWomClose = 0x03BC;
constexpr unsigned kWomDone = 0x03BD;
constexpr unsigned kWimOpen = 0x03BE;
constexpr unsigned kWimClose = 0x03BF;
constexpr unsigned kWimData = 0x03C0;

constexpr unsigned kSerialBlock = kUser + 10;        // a frame a serial back-end completed early
constexpr unsigned kPlaybackEnded = kUser + 11;      // recorder: a playback that asked has ended
constexpr unsigned kSquelchClosed = kUser + 12;      // receive path: the squelch has closed
constexpr unsigned kSquelchOpened = kUser + 13;      // receive path: the squelch has opened
constexpr unsigned kSliderClicked = kUser + 14;      // recorder: its position slider was clicked
constexpr unsigned kDriverRx = kUser + 20;           // driver: a received frame is ready
constexpr unsigned kDriverAudio = kUser + 21;        // driver: an audio block is ready
constexpr unsigned kDriverHelp = kUser + 22;         // driver: open a help topic
constexpr unsigned kFramesAvailable = kUser + 90;    // worker: frames wait for the main window
constexpr unsigned kIdleTick = kUser + 92;           // worker: the link has been quiet
constexpr unsigned kAnswerState = kUser + 93;        // worker: the radio stopped/resumed answering
constexpr unsigned kSerialLineLost = kUser + 94;     // serial back-end: the device went away
constexpr unsigned kExtensionCommand = kUser + 900;  // remote-control request / notification

}  // namespace msg
