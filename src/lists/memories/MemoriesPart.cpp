#include "MemoriesPart.h"

#include "CommandCodes.h"
#include "MainWindowServices.h"
#include "MemoriesWindow.h"

#include <QPointer>

namespace {

constexpr int kStore = 5;  // the main window's "Store" button

class CMemoriesPart : public IMainWindowPart {
public:
    explicit CMemoriesPart(IMainWindowServices& services) : services_(services) {}

    CMyFontDialog* CreateToolWindow(unsigned dialogId) override
    {
        if (dialogId != CDlgMem::kTemplateId)
            return nullptr;
        window_ = new CDlgMem(services_);
        return window_;
    }

    bool ServesCommand(int id) const override { return id == kStore; }

    bool OnCommand(int id, int code) override
    {
        if (id != kStore || code != ctl::kBnClicked)
            return false;
        if (!window_ || !window_->IsBuilt())
            return true;
        services_.ShowToolWindow(CDlgMem::kTemplateId);
        window_->raise();
        window_->activateWindow();
        window_->StoreCurrentState();
        return true;
    }

    void SaveState() override
    {
        // A window never built holds no rows: its file stays as it is.
        if (!window_ || !window_->IsBuilt())
            return;
        window_->SaveMemories();
        if (window_->isVisible())
            window_->SaveWindowPos();
    }

private:
    IMainWindowServices& services_;
    QPointer<CDlgMem> window_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeMemoriesPart(IMainWindowServices& services)
{
    return std::make_unique<CMemoriesPart>(services);
}
