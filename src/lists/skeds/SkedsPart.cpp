#include "SkedsPart.h"

#include "Clock.h"
#include "ProgramFolder.h"
#include "SkedsPage.h"

#include <QPointer>

namespace {

constexpr const char* kSkedFile = "Skeds.Dat";

class CSkedsPart : public IMainWindowPart {
public:
    explicit CSkedsPart(IMainWindowServices& services) : services_(services) {}

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CSkeds::kTemplateId)
            return nullptr;
        page_ = new CSkeds(services_, mainwnd::ProgramClock(),
                           platform::ResolveInFolder(platform::ProgramFolder(), kSkedFile));
        return page_;
    }

    void SaveState() override
    {
        if (page_)
            page_->SaveSkeds();
    }

    std::optional<std::vector<std::string>> ListLines(unsigned dialogId) const override
    {
        if (dialogId != CSkeds::kTemplateId || !page_)
            return std::nullopt;
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < page_->Skeds().Size(); ++i)
            lines.push_back(page_->Skeds().At(i).line);
        return lines;
    }
    void OnStarted() override
    {
        if (page_)
            page_->OnStarted();
    }
    void OnClosing() override
    {
        if (page_)
            page_->EndCountdown();
    }
    void OnTimer() override
    {
        if (page_)
            page_->FirePending();
    }
    void CheckDueSked(int utcMinute, const std::string& key) override
    {
        if (page_)
            page_->CheckDueSked(utcMinute, key);
    }

private:
    IMainWindowServices& services_;
    QPointer<CSkeds> page_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeSkedsPart(IMainWindowServices& services)
{
    return std::make_unique<CSkedsPart>(services);
}
