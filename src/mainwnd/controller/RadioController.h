// The headless radio controller: holds the radio state, turns every wish into CI-V frames for
// the command worker, parses what the radio sends back, and polls the radio when the link is
// quiet. The main window is its view (IRadioView). Created and used on the GUI thread, except
// PostWorkerMessage.
//
// The controller owns the command worker and is its notification target: the link configures
// and starts Worker() with this controller as the IWorkerNotify.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "GestCommand.h"
#include "MessageTarget.h"
#include "RadioFunctions.h"
#include "RadioState.h"
#include "RadioView.h"
#include "SerialOwner.h"
#include "WorkerNotify.h"

class CIni;
class CLanguage;

namespace cat {
class CTraceLog;
class CVekDriver;
}  // namespace cat

namespace platform {
class MessageTarget;
}

namespace radio {

// How a SendCommand ended.
enum class SendResult {
    NotQueued,  // the worker refused the frame (queue full, or no frame could be built)
    Dropped,    // nothing sent by design: no transport, or off line
    Queued,     // on its way; not waited for
    Answered,   // waited for: answered (or OK)
    Refused,    // waited for: NG
    NoAnswer,   // waited for: the radio never answered; the worker dropped it
    TimedOut,   // the wait gave up first (or the command was cleared away)
};

// The status-line text while the radio leaves commands unanswered (language table id).
constexpr int kRadioNotAnsweringText = 2100;

class CRadioController : public cat::IWorkerNotify, public cat::ISerialOwner {
public:
    // The view, the settings and the language table must outlive the controller.
    CRadioController(IRadioView& view, CIni& ini, const CLanguage& language);
    ~CRadioController() override;
    CRadioController(const CRadioController&) = delete;
    CRadioController& operator=(const CRadioController&) = delete;

    // Read-only: the radio changes through the intents and setters below.
    const RadioState& State() const { return state_; }
    cat::CGestCommand& Worker() { return worker_; }

    // ---- Intents: the one way the window, the remote handler and the lists change the radio ----
    // Shows and sends a frequency (05, no wait); false outside the limits, and when nothing was
    // sent (the user is typing in the frequency field, or a send is under way).
    bool SetFrequency(int64_t hz);
    // A scan's step: shows the frequency, makes it the one in force (the band display follows)
    // and sends it, waiting for the answer.
    SendResult TuneWaiting(int64_t hz);
    // Another program's retune: as SetFrequency, but it goes into the field over what the user
    // is typing.
    bool SetFrequencyForClient(int64_t hz);
    // Whether a change another program asks for can reach the radio now: not off line, and the
    // radio answers (a change taken while it is silent would be sent when it returns, long after).
    bool TakesClientChanges() const { return !state_.offLine && !RadioUnanswering(); }
    // Selects a mode as the mode menu does: shows it, sets the duplex buttons for it (WFM also
    // turns the filter wide), sends 06 with the filter (no wait). False outside the mode list.
    bool SetMode(int mode);
    // Each ends as asked and sends its command as the button's click does, even when the state
    // already matches (the radio may have been changed behind our back).
    void SetFilter(bool narrow);
    void SetSplit(bool on);
    void SetSwitch(RadioFunction f, bool on);
    // A stored channel's VFO: selects it on the radio (waiting for the answer when asked) and
    // shows it current without reading it back, then sends the frequency and, when the model has
    // the mode, the mode with its filter. A frequency the radio cannot take is not sent.
    void TuneVfo(int vfo, int64_t hz, int mode, bool narrow, bool waitForSelect);
    // Selects a VFO on the radio and shows it current, without reading it back.
    void ActivateVfo(int vfo, bool wait);
    // Sends split on or off and shows it (split on lifts the DUP buttons, off brings back the
    // remembered direction, as on the radio); nothing is read.
    void SendSplit(bool on);
    // Pumps messages until everything queued was sent and answered (or timed out); false when
    // the program began closing or maxMs passed first.
    bool WaitForIdle(int maxMs);
    // A stored channel's duplex direction: 0F 12, 11 or 10 (no wait); the DUP buttons follow.
    void SendDuplexDirection(bool plus, bool minus);
    // A recalled memory channel's duplex direction and split, shown and kept without sending:
    // the radio already holds them.
    void ShowChannelSwitches(bool plus, bool minus, bool split);
    // The DUP buttons show a direction the radio was sent, and FM comes back to it.
    void ShowDuplexDirection(bool plus, bool minus);
    // A mode and filter the radio took (a VFO restored), shown and kept without sending: the
    // other VFO's display takes them when the VFO is left.
    void ShowTakenMode(int mode, bool narrow);
    // A function as a stored channel sets it, without the interlocks of the buttons; the
    // button follows.
    void SendStoredFunction(RadioFunction f, bool on);

    // ---- What the window and the link tell the controller ----
    // The link's settings, taken again after the start-up, Setup and Sync.
    struct LinkFacts {
        uint8_t address = 0;
        int model = kModelUnknown;
        int delayCommand = 0;
        int sMeterLower = 0;
        int sMeterDivisor = 1;
        bool extendedFunctions = false;
        bool offLine = false;
    };
    void ApplyLinkFacts(const LinkFacts& facts);
    void SetModel(int model) { state_.model = model; }
    void SetDelayCommand(int ms) { state_.delayCommand = ms; }
    void SetOffLine(bool on) { state_.offLine = on; }
    // Off line, with "OFF LINE" in the frequency field: no frequency is in force until the radio
    // reports one, which is then shown whatever it is.
    void ShowOffLine();
    void SetSending(bool sending) { state_.sending = sending; }
    void SetLinkTestRunning(bool on) { state_.linkTest = on; }
    void BeginClosing() { state_.closing = true; }
    // The window's first initialisation: no polling, and the radio's own frequency reports wait.
    void SetStartingUp(bool on) { state_.startingUp = on; }
    // The status line names the lost line; unchanged text leaves the line alone.
    void ShowLineLost(const std::string& text);
    // The user typed into the frequency field: it is handed over when the field loses the focus.
    void SetFrequencyTyped(bool typed) { state_.frequencyTyped = typed; }
    // A frequency step is under way (the receive path waits).
    void SetFrequencyStepping(bool on) { state_.frequencyStepRunning = on; }
    // Both duplex buttons off, still remembering what FM restores (the simplex the snapshot sends).
    void ClearDuplexButtons() { SetDuplexButtons(false, false); }

    // ---- Set by the link ----
    void SetClients(IRadioClients* clients) { clients_ = clients; }
    void SetLog(cat::CTraceLog* log) { log_ = log; }
    // The connected driver (frames from it arrive through OnDriverFrame), or null.
    void SetDriver(cat::CVekDriver* driver) { driver_ = driver; }
    // Whether a serial back-end is open.
    void SetSerialOpen(bool open) { serialOpen_ = open; }
    // Who closes a serial port whose device went away (the window, through the link).
    void SetLineLostHandler(std::function<void(int port, int error)> handler)
    {
        lineLostHandler_ = std::move(handler);
    }
    bool HasTransport() const;
    // Who takes the driver's audio blocks (WM_USER+21: byte count, driver buffer handle).
    void SetDriverAudioHandler(std::function<void(std::uintptr_t count, std::intptr_t handle)> h)
    {
        driverAudioHandler_ = std::move(h);
    }
    // Who opens the help topic the driver asks for (WM_USER+22: the topic number).
    void SetDriverHelpHandler(std::function<void(int topic)> h)
    {
        driverHelpHandler_ = std::move(h);
    }
    // Who hears of the squelch: WM_USER+12 when the radio says it is closed, +13 when open.
    void SetSquelchWatcher(platform::MessagePoster watcher)
    {
        squelchWatcher_ = std::move(watcher);
    }

    // ---- Messages ----
    // From the worker's thread: posted to the GUI thread.
    void PostWorkerMessage(unsigned message) override;
    // From a serial back-end's thread: an early frame (copied, then WM_USER+10 on the GUI
    // thread) or a port error (WM_USER+4: the frequency is read again; a device that went away
    // goes to the line-lost handler instead).
    void PostSerialFrame(int port, const uint8_t* frame, int length) override;
    void PostSerialError(int port, int error) override;
    // The window procedure of the controller's messages: worker notifications and the driver's
    // received frames (WM_USER+20); other messages are left to the main window.
    void WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Where the driver posts its frames (MessageTarget::PostTrampoline with PostContext()).
    platform::MessageTarget& Messages() { return *target_; }

    // ---- Command layer ----
    // Frames the command from its layout, tells the clients, queues it; with wait, waits for
    // this command's own answer (at most DelayCommand x 10 steps), keeping messages flowing.
    SendResult SendCommandData(uint8_t command, uint8_t sub, const std::array<uint8_t, 4>& data,
                               bool wait);
    SendResult SendCommand(uint8_t command, uint8_t sub = 0,
                           std::initializer_list<uint8_t> data = {}, bool wait = false);
    // Frames refused so far (SendResult::NotQueued): a caller can tell whether its change got
    // through.
    uint64_t NotQueuedCount() const { return notQueued_; }
    // The radio leaves its frequency read unanswered (as the worker sees it now).
    bool RadioUnanswering() const;
    // A typed frequency (truncated; no whole frequency reads as 0) packed into 5 BCD bytes;
    // 0 (bytes zeroed) outside the limits.
    int64_t FrequencyToBcd(double typedHz, uint8_t out[5]) const;
    // A band-edge reply: stores and shows the limits when byte 10 is "-" and both are BCD.
    bool ShowBandEdges(const uint8_t* frame, int length);
    // 0D with the offset, shown in the offset field first (clients hear of the new value);
    // false (nothing sent or shown) outside 0..9999 kHz.
    bool SendDuplexOffset(int offsetKHz);
    // The value typed into the frequency field, handed over when the user leaves it: sent when
    // it lies inside the limits; the field then shows the frequency in force.
    void OnKillFocusFrequency(double typedHz);
    void OnFilter();
    // Reads frequency and mode, and with `switches` the function states too.
    void ReadFrequencyMode(bool wait, bool switches = true);
    void ReadFunctionStates(bool wait);
    void SelectVfoA();
    void SelectVfoB();
    // 07 A0, waited for: once the radio took it, the other VFO holds what this one does, and the
    // second display and clients say so.
    void EqualizeVfos();
    void OnSplit();
    bool EnsureVfoKnown();
    int OnReadFrequencyRequest();
    // Sends 03 without waiting (the link's speed test).
    void RequestFrequency() { SendCommand(civ::kCmdReadFrequency); }
    void UpdateStatusLine();
    void FillModeList();

    // ---- Receive path ----
    void OnFramesAvailable();
    void OnIdleTick();
    // The worker's verdict on whether the radio answers changed: the status line shows it.
    void OnAnswerState();
    // WM_USER+20: a frame the driver announced; lengths outside 1..256 are receive errors.
    void OnDriverFrame(int length, std::intptr_t handle);
    // WM_USER+10: bytes a serial back-end completed before the worker was registered.
    void OnSerialBlock(const uint8_t* bytes, int length);
    // Parses one frame from the radio; false when it was ignored (unknown, short or garbled).
    bool ParseFrame(const uint8_t* frame, int length);
    void UpdateRangeInfo();

    // ---- Polling ----
    void PollRadio();
    // The radio tells its squelch now (extended functions, S-meter on, an AM or FM mode).
    bool SquelchReadable() const;
    // Allows or holds off polling; returns whether it was allowed before.
    bool SetPollingEnabled(bool on)
    {
        const bool was = state_.pollingAllowed;
        state_.pollingAllowed = on;
        return was;
    }
    bool IsPollingEnabled() const { return state_.pollingAllowed; }
    void SetFullPolling(bool on);
    // A mouse-wheel tuning step: the next ticks are skipped.
    void SkipTicks(int ticks) { state_.skipTicks = ticks; }

    // ---- Function switches ----
    // Toggles the function's button and sends its command; nothing without extended functions.
    void OnFunctionButton(RadioFunction f);
    // Puts the function into a state (as a click would when it differs).
    void SetFunction(RadioFunction f, bool on);
    // A duplex button clicked; false when it cannot go down (duplex exists only in FM).
    bool OnDuplexPlus();
    bool OnDuplexMinus();
    void OnDuplexSet();
    void OnReverse();
    void RestoreDuplexButtons();
    void OnSMeterButton();
    void ShowSMeterOn();
    // 0 or 1: S-meter off (1 also stores it); 0 and 2 disable the function panel.
    void ShowSMeter(int kind);
    void EnableFunctionPanel();
    void OnAutoUpdate(bool down);

    // ---- Long radio operations ----
    // A sked firing, a memory transfer or a scan holds one while it runs; what would retune the
    // radio meanwhile (a sked coming due) waits until none is held. They nest.
    class LongOperation {
    public:
        explicit LongOperation(CRadioController& controller) : controller_(controller)
        {
            ++controller_.longOperations_;
        }
        ~LongOperation()
        {
            if (--controller_.longOperations_ == 0)
                controller_.OnLongOperationsEnded();
        }
        LongOperation(const LongOperation&) = delete;
        LongOperation& operator=(const LongOperation&) = delete;

    private:
        CRadioController& controller_;
    };
    bool InLongOperation() const { return longOperations_ > 0; }
    // Something waits for the long operations (a sked came due): one that can end early (a scan)
    // ends as its "Stop" does. The handler hears when the last one has ended.
    void AskLongOperationsToEnd() { longOperationEndAsked_ = longOperations_ > 0; }
    bool LongOperationEndAsked() const { return longOperationEndAsked_; }
    void SetLongOperationsEndedHandler(std::function<void()> handler)
    {
        longOperationsEnded_ = std::move(handler);
    }
    // Set while a long operation drives the display itself (a scan's tuning).
    void SetDisplayNotReady(bool on) { state_.displayNotReady = on; }

private:
    // Tests set up the state a scenario starts from.
    friend struct ControllerStateAccess;

    // Makes hz the frequency and sends it when it lies inside the limits, then updates the band
    // display; NotQueued when nothing was sent (outside the limits, or inside another send).
    SendResult SendFrequency(int64_t hz, bool wait = false);
    // The frequency field shows the state's frequency, or blank.
    void ShowFrequencyInForce();
    SendResult WaitForCommand(uint64_t ticket);
    void Notify(int code, int64_t value);
    void LogRejected(const uint8_t* frame, int length, const char* why);
    void Log(const std::string& text);

    // Receive handlers; each checks its frame's length and digits first.
    bool ParseFrequency(const uint8_t* frame, int length, bool transceive);
    bool ParseMode(const uint8_t* frame, int length);
    bool ParseBandEdges(const uint8_t* frame, int length);
    bool ParseDuplexOffset(const uint8_t* frame, int length);
    bool ParseAttenuator(const uint8_t* frame, int length);
    bool ParseMeter(const uint8_t* frame, int length);
    bool ParseFunction(const uint8_t* frame, int length);
    bool ParseId(const uint8_t* frame, int length);
    void ShowReportedFrequency(int64_t hz);

    // Show without sending anything; modes outside the list are ignored.
    void ShowMode(int mode);
    void ShowFilter(bool narrow);
    void SetFunctionButton(RadioFunction f, bool down);
    void SendFunction(RadioFunction f, bool on);
    void SetDuplexButtons(bool plus, bool minus);
    bool OnDuplexButton(bool plus);
    void UpdateStoreReverse();
    std::string ModeText(int mode) const;
    std::string RangeText() const;

    IRadioView& view_;
    CIni& ini_;
    int longOperations_ = 0;
    bool longOperationEndAsked_ = false;
    std::function<void()> longOperationsEnded_;
    void OnLongOperationsEnded()
    {
        longOperationEndAsked_ = false;
        if (longOperationsEnded_)
            longOperationsEnded_();
    }
    const CLanguage& language_;
    IRadioClients* clients_ = nullptr;
    cat::CTraceLog* log_ = nullptr;
    cat::CVekDriver* driver_ = nullptr;
    bool serialOpen_ = false;
    std::function<void(int port, int error)> lineLostHandler_;
    std::function<void(std::uintptr_t, std::intptr_t)> driverAudioHandler_;
    std::function<void(int)> driverHelpHandler_;
    platform::MessagePoster squelchWatcher_;

    RadioState state_;
    uint64_t notQueued_ = 0;
    // The newest frequency read queued, and the one still unanswered when a frequency was set:
    // its answer carries the frequency from before the set and must not undo it.
    uint64_t lastFrequencyRead_ = 0;
    uint64_t staleFrequencyRead_ = 0;
    // Early serial frames waiting for the GUI thread; bounded, the oldest go first.
    std::mutex earlyMutex_;
    std::deque<std::vector<uint8_t>> earlyFrames_;
    // The target outlives the worker, whose thread posts to it.
    std::unique_ptr<platform::MessageTarget> target_;
    cat::CGestCommand worker_;
};

}  // namespace radio
