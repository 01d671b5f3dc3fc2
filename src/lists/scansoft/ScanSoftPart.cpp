#include "ScanSoftPart.h"

#include "AudioRecorder.h"
#include "Ini.h"
#include "MainWindowServices.h"
#include "ProgramFolder.h"
#include "ScanSoftPage.h"
#include "SettingsKeys.h"

#include <QApplication>
#include <QPointer>

namespace {

constexpr const char* kLogFile = "LogSQL.Dat";

// The recorder bar lives in the recorder's part: found among the program's windows.
CAudioRecorder* FindRecorder()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* recorder = qobject_cast<CAudioRecorder*>(w))
            return recorder;
    return nullptr;
}

class CScanSoftPart : public IMainWindowPart {
public:
    explicit CScanSoftPart(IMainWindowServices& services) : services_(services) {}

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CScanSoft::kTemplateId)
            return nullptr;
        const std::string folder = platform::ProgramFolder();
        IMainWindowServices& services = services_;
        page_ = new CScanSoft(services_, platform::ResolveInFolder(folder, kLogFile), folder,
                              {FindRecorder, [&services] {
                                   return services.Ini().GetInt(settings::audiorecorder::Abilitato)
                                          != 0;
                               }});
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
