#include "SetupPart.h"

#include "CorvaneDlg.h"
#include "CorvaneSetupDlg.h"
#include "FrameworkContext.h"
#include "MainWindowServices.h"
#include "PortAudioSystem.h"
#include "ProgramFolder.h"

namespace {

class CSetupPart : public IMainWindowPart {
public:
    CSetupPart(IMainWindowServices& services, AudioDialogRunner audioDialog)
        : services_(services), audioDialog_(std::move(audioDialog))
    {
        if (auto* window = dynamic_cast<CCorvaneDlg*>(&services_.Window()))
            window->SetSetupDialogRunner([this] { return Run(); });
    }

private:
    bool Run()
    {
        setup::SetupContext context{services_.Ini(), services_.Registry(), framework::Language(),
                                    platform::ProgramFolder()};
        context.driver = &services_.Driver();
        context.driverOwner = &services_.Window();
        context.audioDialog = audioDialog_;
        // The audio part's own dialog knows whether the driver delivers the audio.
        if (!context.audioDialog)
            if (auto* window = dynamic_cast<CCorvaneDlg*>(&services_.Window()))
                context.audioDialog = [window](bool) { window->RunAudioSettingsDialog(); };
        context.audioSystem = [] { return std::make_unique<audio::PortAudioSystem>(); };
        CCorvaneSetup dialog(context);
        dialog.SetOwner(&services_.Window());
        dialog.DoModal();
        return dialog.SettingsChanged();
    }

    IMainWindowServices& services_;
    AudioDialogRunner audioDialog_;
};

}  // namespace

MainWindowPartFactory SetupPartFactory(AudioDialogRunner audioDialog)
{
    return [audioDialog](IMainWindowServices& services) -> std::unique_ptr<IMainWindowPart> {
        return std::make_unique<CSetupPart>(services, audioDialog);
    };
}
