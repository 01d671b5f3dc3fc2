// Helpers for the remote-handler tests: a main window that records what the handler asks of it,
// and a handler over a controller wired to the in-process simulated radio.
#pragma once

#include <memory>
#include <vector>

#include "ControllerTestSupport.h"
#include "LinkTestHost.h"
#include "RemoteHandler.h"

namespace remotetest {

// Records what the handler asks of the main window.
class FakeWindow : public remote::IRemoteWindow {
public:
    void SetVfoAEqualB() override { ++vfoAEqualB; }
    void ExitProgram() override { ++exits; }
    void SetPtt(bool on) override { ptt.push_back(on); }
    int RunRecorder(remote::RecorderButton button, bool down) override
    {
        recorder.emplace_back(button, down);
        return 0;
    }

    int vfoAEqualB = 0;
    int exits = 0;
    std::vector<bool> ptt;
    std::vector<std::pair<remote::RecorderButton, bool>> recorder;
};

// The controller's notifications go to the handler, as the main window forwards them.
class ForwardingClients : public ctltest::FakeClients {
public:
    remote::CRemoteHandler* handler = nullptr;
    void NotifyClients(int code, int64_t value) override
    {
        FakeClients::NotifyClients(code, value);
        if (handler != nullptr)
            handler->NotifyClients(code, value);
    }
};

struct RemoteRig {
    explicit RemoteRig(sim::RadioModel model = sim::RadioModel::IC706MKIIG) : rig(model)
    {
        handler = std::make_unique<remote::CRemoteHandler>(*rig.controller, rig.view, rig.ini,
                                                           link.link, link.driver, window);
        forward.handler = handler.get();
        rig.controller->SetClients(&forward);
        // The mode list of the model and the radio's current state, as after connecting.
        rig.controller->FillModeList();
        rig.controller->ReadFrequencyMode(true);
        rig.Settle();
        rig.radio->ClearFrames();
    }
    ~RemoteRig()
    {
        rig.controller->SetClients(nullptr);
        handler.reset();
    }

    int Code(int code, int argument = 0)
    {
        const int answer = handler->OnRemoteCommand(code, argument);
        rig.Settle();
        return answer;
    }

    linktest::LinkFixture link;
    ctltest::SimRig rig;
    FakeWindow window;
    ForwardingClients forward;
    std::unique_ptr<remote::CRemoteHandler> handler;
};

}  // namespace remotetest
