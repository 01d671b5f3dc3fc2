#include "RemotePart.h"

#include "MainWindowServices.h"
#include "MyFontDialog.h"
#include "RemoteHandler.h"
#include "RemoteWindow.h"

namespace {

class CRemotePart : public IMainWindowPart, private remote::IRemoteWindow {
public:
    explicit CRemotePart(IMainWindowServices& services)
        : services_(services),
          remote_(services.Controller(), services.View(), services.Ini(), services.Link(),
                  services.Driver(), *this)
    {
    }

    void OnStarted() override
    {
        remote_.SetVersionText(services_.VersionText());
        remote_.StartServer(services_.Window().windowTitle().toStdString());
    }
    void OnClosing() override { remote_.Shutdown(); }
    void CloseAuxiliaryPorts() override { remote_.CloseAuxiliaryPort(); }
    void OnTitleChanged(const std::string& title) override { remote_.SetTitle(title); }
    remote::CAuxiliaryPort* AuxiliaryPort() override { return &remote_.AuxiliaryPort(); }
    std::optional<int> OnRemoteCommand(int code, int argument) override
    {
        return remote_.OnRemoteCommand(code, argument);
    }

    void OnRadioStateChanged(const RadioStateChange& change) override
    {
        if (change.kind == RadioStateChange::Kind::Notification)
            remote_.NotifyClients(change.code, change.value);
    }

private:
    // remote::IRemoteWindow
    void SetVfoAEqualB() override { services_.OnVfoEqual(); }
    void ExitProgram() override { services_.PostClose(); }
    void SetPtt(bool on) override { services_.SetPtt(on); }
    void RunRecorder(remote::RecorderButton, bool) override {}

    IMainWindowServices& services_;
    remote::CRemoteHandler remote_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeRemotePart(IMainWindowServices& services)
{
    return std::make_unique<CRemotePart>(services);
}
