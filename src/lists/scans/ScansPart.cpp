#include "ScansPart.h"

#include "ScanPage.h"

#include <QPointer>

namespace {

class CScansPart : public IMainWindowPart {
public:
    explicit CScansPart(IMainWindowServices& services) : services_(services) {}

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CScan::kTemplateId)
            return nullptr;
        page_ = new CScan(services_);
        return page_;
    }

    void SaveState() override
    {
        if (page_)
            page_->SaveSettings();
    }

    void OnClosing() override
    {
        if (page_)
            page_->StopBeforeClosing();
    }

private:
    IMainWindowServices& services_;
    QPointer<CScan> page_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeScansPart(IMainWindowServices& services)
{
    return std::make_unique<CScansPart>(services);
}
