#include "DdePart.h"

#include "DdeSocketTransport.h"
#include "DdeWindow.h"
#include "MainWindowServices.h"
#include "MyServer.h"
#include "RadioController.h"

namespace {

constexpr int kShutdownPauseMs = 500;

class CDdePart : public IMainWindowPart, private dde::IDdeWindow {
public:
    explicit CDdePart(IMainWindowServices& services)
        : services_(services), server_(transport_, *this)
    {
    }

    // A service that cannot start leaves the program running without it. It starts after the
    // radio's first reading: what is known already is published at once.
    void OnStarted() override
    {
        if (!server_.Start())
            return;
        const radio::RadioState& s = State();
        if (s.frequencyKnown && !s.frequencyBlank)
            server_.UpdateFrequency(static_cast<double>(s.frequencyHz));
        server_.UpdateAltFrequency(static_cast<double>(s.otherVfo.frequencyHz));
        if (s.mode >= 0 && s.mode < static_cast<int>(s.modeNames.size()))
            server_.UpdateMode(s.modeNames[static_cast<std::size_t>(s.mode)]);
        if (s.currentVfo != radio::kVfoNone)
            server_.UpdateVfo(s.currentVfo == radio::kVfoA);
        server_.UpdateSplit(s.split);
        server_.UpdateSMeter(s.sText);
    }

    void OnClosing() override
    {
        if (!server_.IsRunning())
            return;
        services_.WaitPumpingMessages(kShutdownPauseMs);
        server_.Shutdown();
    }

    void OnRadioStateChanged(const RadioStateChange& change) override
    {
        if (!server_.IsRunning())
            return;
        using Kind = RadioStateChange::Kind;
        switch (change.kind) {
        case Kind::Frequency: server_.UpdateFrequency(static_cast<double>(change.value)); break;
        case Kind::AltFrequency:
            server_.UpdateAltFrequency(static_cast<double>(change.value));
            break;
        case Kind::Mode: server_.UpdateMode(change.text); break;
        case Kind::SMeter: server_.UpdateSMeter(change.text); break;
        case Kind::Vfo: server_.UpdateVfo(change.value == 1); break;
        case Kind::Split: server_.UpdateSplit(change.value != 0); break;
        case Kind::Transmit: server_.UpdateRadioState(change.value != 0); break;
        case Kind::Notification: break;
        }
    }

private:
    const radio::RadioState& State() const { return services_.Controller().State(); }

    // dde::IDdeWindow
    bool IsTransmitting() const override { return services_.IsTransmitting(); }
    bool IsSplitOn() const override { return State().split; }
    int64_t LowerLimit() const override { return State().lowerLimit; }
    int64_t UpperLimit() const override { return State().upperLimit; }
    int ModeCount() const override { return static_cast<int>(State().modeNames.size()); }
    bool TakesRadioChanges() const override { return services_.Controller().TakesClientChanges(); }
    void SetPtt(bool on) override { services_.SetPtt(on); }
    void OnVfoEqual() override { services_.OnVfoEqual(); }
    void OnSplit() override { services_.Controller().OnSplit(); }
    void SelectVfoA() override { services_.Controller().SelectVfoA(); }
    void SelectVfoB() override { services_.Controller().SelectVfoB(); }
    void SetFilter(bool narrow) override { services_.Controller().SetFilter(narrow); }
    bool SetFrequency(int64_t hz) override
    {
        return services_.Controller().SetFrequencyForClient(hz);
    }
    bool SetModeIndex(int mode) override { return services_.Controller().SetMode(mode); }

    IMainWindowServices& services_;
    dde::CDdeSocketTransport transport_;
    dde::CMyServer server_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeDdePart(IMainWindowServices& services)
{
    return std::make_unique<CDdePart>(services);
}
