#include "RemotePart.h"

#include "MainWindowServices.h"
#include "MyFontDialog.h"
#include "RemoteCodes.h"
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
        // The recorder's codes are the recorder part's; they reach it through RunRecorder.
        if (IsRecorderCode(code))
            return std::nullopt;
        return remote_.OnRemoteCommand(code, argument);
    }

    void OnRadioStateChanged(const RadioStateChange& change) override
    {
        if (change.kind == RadioStateChange::Kind::Notification)
            remote_.NotifyClients(change.code, change.value);
        else if (change.kind == RadioStateChange::Kind::Transmit)
            remote_.OnTransmitState(change.value != 0);
    }

private:
    // remote::IRemoteWindow
    void SetVfoAEqualB() override { services_.OnVfoEqual(); }
    void ExitProgram() override { services_.PostClose(); }
    void SetPtt(bool on) override { services_.SetPtt(on); }
    int RunRecorder(remote::RecorderButton button, bool down) override
    {
        const int code = button == remote::RecorderButton::Record  ? remote::kRecord
                         : button == remote::RecorderButton::Pause ? remote::kPause
                                                                   : remote::kPlay;
        return services_.RemoteCommand(code, down ? 1 : 0);
    }
    static bool IsRecorderCode(int code)
    {
        return code == remote::kRecord || code == remote::kPause || code == remote::kPlay;
    }

    IMainWindowServices& services_;
    remote::CRemoteHandler remote_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeRemotePart(IMainWindowServices& services)
{
    return std::make_unique<CRemotePart>(services);
}
