#include "XInput.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace testing_support {
namespace {

Display* D(void* d)
{
    return static_cast<Display*>(d);
}

void Settle()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
}

}  // namespace

XInput::XInput() : display_(XOpenDisplay(nullptr))
{
    int event = 0, error = 0, major = 0, minor = 0;
    if (display_ && !XTestQueryExtension(D(display_), &event, &error, &major, &minor)) {
        XCloseDisplay(D(display_));
        display_ = nullptr;
    }
}

XInput::~XInput()
{
    if (display_)
        XCloseDisplay(D(display_));
}

void XInput::Click(int x, int y, int button)
{
    Press(x, y, x, y, button, 0);
}

void XInput::Drag(int fromX, int fromY, int toX, int toY, int button)
{
    // In steps, as a hand moves: a window manager starts a move only past a threshold.
    Press(fromX, fromY, toX, toY, button, 8);
}

void XInput::Press(int fromX, int fromY, int toX, int toY, int button, int steps)
{
    if (!display_)
        return;
    XTestFakeMotionEvent(D(display_), -1, fromX, fromY, CurrentTime);
    XSync(D(display_), False);
    Settle();
    XTestFakeButtonEvent(D(display_), static_cast<unsigned>(button), True, CurrentTime);
    XSync(D(display_), False);
    Settle();
    for (int step = 1; step <= steps; ++step) {
        XTestFakeMotionEvent(D(display_), -1, fromX + (toX - fromX) * step / steps,
                             fromY + (toY - fromY) * step / steps, CurrentTime);
        XSync(D(display_), False);
        Settle();
    }
    XTestFakeButtonEvent(D(display_), static_cast<unsigned>(button), False, CurrentTime);
    XSync(D(display_), False);
}

void XInput::Key(const char* keysymName)
{
    SetKey(keysymName, true);
    SetKey(keysymName, false);
}

void XInput::SetKey(const char* keysymName, bool down)
{
    if (!display_)
        return;
    const KeyCode code = XKeysymToKeycode(D(display_), XStringToKeysym(keysymName));
    if (code == 0)
        return;
    XTestFakeKeyEvent(D(display_), code, down ? True : False, CurrentTime);
    XSync(D(display_), False);
}

void XInput::RepeatKeys(int delayMs, int intervalMs)
{
    if (!display_)
        return;
    XAutoRepeatOn(D(display_));
    XkbSetAutoRepeatRate(D(display_), XkbUseCoreKbd, static_cast<unsigned>(delayMs),
                         static_cast<unsigned>(intervalMs));
    XSync(D(display_), False);
}

}  // namespace testing_support
