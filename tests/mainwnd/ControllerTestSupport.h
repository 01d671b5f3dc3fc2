// Helpers for the controller tests: a view that records what the controller shows, clients that
// record notifications, and a controller wired through its worker to the simulated radio the
// way a serial back-end wires it (radio output, echo included, through the frame assembler).
#pragma once

#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "FrameAssembler.h"
#include "Ini.h"
#include "Language.h"
#include "MessagePump.h"
#include "RadioController.h"
#include "WorkerSimBus.h"
#include "SimulatedRadio.h"
#include "TempDir.h"
#include "TraceLog.h"

// After the simulated radio's header, whose SetSignals parameter Qt's keyword macros would hit.
#include <QCoreApplication>

namespace radio {
struct ControllerStateAccess {
    static RadioState& Of(CRadioController& controller) { return controller.state_; }
};
}  // namespace radio

namespace ctltest {

// The state a scenario starts from, set directly.
inline radio::RadioState& MutableState(radio::CRadioController& controller)
{
    return radio::ControllerStateAccess::Of(controller);
}

using Bytes = std::vector<uint8_t>;

inline void EnsureApp()
{
    static int argc = 1;
    static char name[] = "controller_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

class FakeView : public radio::IRadioView {
public:
    bool ShowFrequency(int64_t hz) override
    {
        if (typing)
            return false;
        frequency = static_cast<double>(hz);
        blank = false;
        return true;
    }
    void BlankFrequency() override { blank = true; }
    double GetOffsetField() const override { return offset; }
    std::string GetOffsetFieldText() const override { return offsetText; }
    void SetOffsetField(int kHz) override { offset = kHz; }
    void SetButton(int id, bool down) override { buttons[id] = down; }
    void EnableControl(int id, bool enabled) override { this->enabled[id] = enabled; }
    void ShowControl(int id, bool shown) override { this->shown[id] = shown; }
    void SetControlText(int id, const std::string& text) override { texts[id] = text; }
    void SetToolTip(int id, int stringId) override { tips[id] = stringId; }
    void ShowDuplexControls(bool shown) override { duplexShown = shown; }
    void SetModeText(const std::string& text) override { modeText = text; }
    void SetModeList(const std::vector<std::string>& names) override { modeList = names; }
    void SetModeMenu(const std::vector<std::string>& names) override { modeMenu = names; }
    void SetBandMenuEntry(int command, bool present) override { bandMenu[command] = present; }
    void SetStatusLine(const std::string& text) override { status = text; }
    void SetSecondDisplay(const std::string& label, const std::string& text) override
    {
        secondLabel = label;
        secondText = text;
    }
    void SwapRxIndicator() override { ++rxSwaps; }
    void ShowSMeterPanel(bool shown) override { sMeterPanel = shown; }
    void SetPeakMeter(int sValue) override { peak = sValue; }
    void UpdateBandDisplay() override { ++bandUpdates; }
    void SetWaitCursor(bool on) override { waitCursor = on; }
    void Beep(unsigned) override { ++beeps; }
    int ShowMessageBox(const MessageBoxRequest& request) override
    {
        boxes.push_back(request);
        return boxAnswer;
    }
    int ChooseVfo() override { return vfoChoice; }

    bool Button(int id) const
    {
        auto it = buttons.find(id);
        return it != buttons.end() && it->second;
    }

    double frequency = 0;
    bool blank = false;
    bool typing = false;  // the field keeps what the user types
    double offset = 0;
    std::string offsetText;
    std::map<int, bool> buttons, enabled, shown, bandMenu;
    std::map<int, std::string> texts;
    std::map<int, int> tips;
    bool duplexShown = true;
    std::string modeText;
    std::vector<std::string> modeList, modeMenu;
    std::string status, secondLabel, secondText;
    int rxSwaps = 0;
    bool sMeterPanel = false;
    int peak = -100;
    int bandUpdates = 0;
    bool waitCursor = false;
    int beeps = 0;
    std::vector<MessageBoxRequest> boxes;
    int boxAnswer = mb::kIdYes;
    int vfoChoice = 0;
};

class FakeClients : public radio::IRadioClients {
public:
    void NotifyClients(int code, int64_t value) override { notes.emplace_back(code, value); }
    void DdeFrequency(int64_t hz) override { ddeFrequency = hz; }
    void DdeMode(const std::string& text) override { ddeMode = text; }
    void DdeVfo(int vfo) override { ddeVfo = vfo; }
    void DdeSplit(bool on) override { ddeSplit = on ? 1 : 0; }

    bool Has(int code, int64_t value) const
    {
        for (const auto& n : notes)
            if (n.first == code && n.second == value)
                return true;
        return false;
    }

    std::vector<std::pair<int, int64_t>> notes;
    int64_t ddeFrequency = -1;
    std::string ddeMode;
    int ddeVfo = -1;
    int ddeSplit = -1;
};

using testing_support::SimBus;

inline sim::Fault MakeFault(sim::FaultKind kind)
{
    sim::Fault fault;
    fault.kind = kind;
    return fault;
}

inline int ModelIndex(sim::RadioModel model)
{
    switch (model) {
    case sim::RadioModel::IC706: return radio::kIC706;
    case sim::RadioModel::IC706MKII: return radio::kIC706MKII;
    case sim::RadioModel::IC706MKIIG: return radio::kIC706MKIIG;
    case sim::RadioModel::IC718: return radio::kIC718;
    }
    return radio::kModelOther;
}

// A controller with its worker running against an in-process simulated radio.
class SimRig {
public:
    explicit SimRig(sim::RadioModel model = sim::RadioModel::IC706MKIIG, bool log = false)
    {
        EnsureApp();
        ini.SetPath((dir / "Corvane.ini").c_str());
        sim::SimConfig config;
        config.model = model;
        config.latencyMs = 0;
        config.pacing = false;
        config.echo = true;
        radio = std::make_unique<sim::SimulatedRadio>(config);
        controller = std::make_unique<radio::CRadioController>(view, ini, language);
        bus = std::make_unique<SimBus>(*radio, controller->Worker());
        radio::RadioState& s = ctltest::MutableState(*controller);
        s.address = radio->Address();
        s.model = ModelIndex(model);
        s.extendedFunctions =
            model == sim::RadioModel::IC706MKIIG || model == sim::RadioModel::IC718;
        s.delayCommand = 300;  // generous: the waits end on the answer, not on the time
        if (log) {
            logPath = dir / "trace.log";
            traceLog.Open(logPath);
            controller->SetLog(&traceLog);
        }
        controller->SetClients(&clients);
        controller->SetSerialOpen(true);
        // No idle ticks unless a test asks: polling is driven by hand.
        controller->Worker().Configure(0, controller.get(), 1000000, 1000, radio->Address(),
                                       log ? &traceLog : nullptr, nullptr);
        controller->Worker().Start(bus.get());
    }
    ~SimRig()
    {
        controller->Worker().Stop(true);
        radio.reset();
        bus.reset();
        controller.reset();
    }

    // Waits until every queued command was answered and the answers were parsed.
    void Settle()
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            platform::PumpMessages();
            if (controller->Worker().IsIdle() && radio->WaitQuiet(0))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        radio->WaitQuiet();
        platform::PumpMessages();
        controller->OnFramesAvailable();
    }

    // Pumps messages until pred holds (or ten seconds pass); the result of pred.
    template <typename Pred>
    bool PumpUntil(Pred pred)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!pred() && std::chrono::steady_clock::now() < end) {
            platform::PumpMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return pred();
    }

    // Frames the radio received from the controller since the last clear.
    std::vector<Bytes> Sent() const
    {
        std::vector<Bytes> out;
        for (const auto& f : radio->Frames())
            if (!f.fromRadio)
                out.push_back(f.bytes);
        return out;
    }

    Bytes Frame(std::initializer_list<uint8_t> body) const
    {
        Bytes f = {0xFE, 0xFE, radio->Address(), 0xE0};
        for (uint8_t b : body)
            f.push_back(b);
        f.push_back(0xFD);
        return f;
    }
    // A frame as the radio sends it.
    Bytes Reply(std::initializer_list<uint8_t> body) const
    {
        Bytes f = {0xFE, 0xFE, 0xE0, radio->Address()};
        for (uint8_t b : body)
            f.push_back(b);
        f.push_back(0xFD);
        return f;
    }
    bool Parse(const Bytes& f)
    {
        return controller->ParseFrame(f.data(), static_cast<int>(f.size()));
    }

    testing_support::TempDir dir{"ctrl-test"};
    CIni ini;
    CLanguage language;
    FakeView view;
    FakeClients clients;
    cat::CTraceLog traceLog;
    std::string logPath;
    std::unique_ptr<sim::SimulatedRadio> radio;
    std::unique_ptr<radio::CRadioController> controller;
    std::unique_ptr<SimBus> bus;
};

}  // namespace ctltest
