// Waiting on the GUI thread while the windows stay alive.
//
// Long operations on the GUI thread (memory transfers, scans, the voice keyer ...) wait between
// their steps with WaitPumpingMessages and test AbortFlag() afterwards; when it is set they give
// up.
//
// The abort flag is set when a wait sees a close or quit request, and cleared when a wait starts.
// The main window's own close handler sets it too (SetAbortFlag(true)), so a loop that is between
// two waits when the window closes stops as well.
#pragma once

#include <functional>

class QObject;

namespace platform {

bool AbortFlag();
// Any thread. Setting it also ends the waits running on the GUI thread.
void SetAbortFlag(bool on);

// Runs the Qt event loop for `ms` milliseconds: timers, posted events, input and MessageTarget
// posts are all served, nested waits included. It blocks in the event loop, it does not poll.
// A close or quit request seen meanwhile ends the wait at once with the abort flag set and is
// delivered again after the wait has returned, so the window still closes and the quit still
// happens:
//   - a QCloseEvent to a widget (see SetWindowTest), re-sent as a queued close();
//   - QEvent::Quit to the application (QCoreApplication::quit and the like), re-posted;
//   - msg::kClose or msg::kQuit posted through a MessageTarget, held back in that target;
//   - QCoreApplication::exit, which ends every event loop anyway.
// ms <= 0 dispatches what is waiting now (with the same close handling) and returns.
// Returns false when the wait ended early because of an abort, true when the time ran out.
// GUI thread only (widget and quit requests are seen only there).
bool WaitPumpingMessages(int ms);

// Dispatches the events waiting now and returns without blocking. It ignores close and quit
// requests and the abort flag; callers test their own stop conditions afterwards.
void PumpMessages();

// Which widgets' close events count as close requests during a wait. Default: every widget.
// The widgets layer can narrow it to windows (QWidget::isWindow), which this Qt Core library
// cannot test itself.
using WindowTest = bool (*)(QObject* widget);
void SetWindowTest(WindowTest test);

namespace detail {
// For MessageTarget, on its owner thread, about to hand msg::kClose or msg::kQuit to its window
// procedure: when a wait runs on this thread, ends it (abort flag set) and returns true; the
// target then keeps the message and `redeliver` is called once the wait has returned.
bool InterceptCloseMessage(std::function<void()> redeliver);
}  // namespace detail

}  // namespace platform
