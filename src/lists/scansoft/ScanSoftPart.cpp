#include "ScanSoftPart.h"

#include "AudioRecorder.h"
#include "MainWindowServices.h"
#include "ProgramFolder.h"
#include "RadioLink.h"
#include "ScanFiles.h"
#include "ScanLogEntry.h"
#include "ScanSoftPage.h"

#include <QPointer>

namespace {

class CScanSoftPart : public IMainWindowPart {
public:
    explicit CScanSoftPart(IMainWindowServices& services) : services_(services) {}

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CScanSoft::kTemplateId)
            return nullptr;
        const std::string folder = platform::ProgramFolder();
        IMainWindowServices& services = services_;
        page_ = new CScanSoft(
            services_, platform::ResolveInFolder(folder, lists::kScanLogFile), folder,
            {[&services] { return scans::FindAudioRecorder(services); },
             // As the window has set up the audio for this run.
             [&services] { return services.Link().Settings().recorderEnabled != 0; }});
        return page_;
    }

    void SaveState() override
    {
        if (page_)
            page_->SaveSettings();
    }
    // Before the recorder and the transport close.
    void OnClosing() override
    {
        if (page_)
            page_->FinishForClose();
    }

private:
    IMainWindowServices& services_;
    QPointer<CScanSoft> page_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeScanSoftPart(IMainWindowServices& services)
{
    return std::make_unique<CScanSoftPart>(services);
}
