// Real pointer and keyboard input through the X server's test extension, so that events take the
// path a user's do: through the server, its grabs and focus, and the window manager.
#pragma once

namespace testing_support {

class XInput {
public:
    // Connects to $DISPLAY.
    XInput();
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    bool Ok() const { return display_ != nullptr; }
    // Moves the pointer to the screen position and presses and releases `button` (1 left, 3 right).
    void Click(int x, int y, int button = 1);
    // Presses `button` at one screen position, moves the pointer to another and releases it there.
    void Drag(int fromX, int fromY, int toX, int toY, int button = 1);
    // Presses and releases the key of an X keysym name ("Escape", "Return").
    void Key(const char* keysymName);
    // Presses (down) or releases it alone, as a key held by hand.
    void SetKey(const char* keysymName, bool down);
    // Switches the server's auto-repeat on, repeating after delayMs every intervalMs.
    void RepeatKeys(int delayMs, int intervalMs);

private:
    // Presses at one place, moves there in `steps` and releases at the other.
    void Press(int fromX, int fromY, int toX, int toY, int button, int steps);
    void* display_ = nullptr;
};

}  // namespace testing_support
