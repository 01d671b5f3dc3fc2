#include "SplitsPart.h"

#include "ProgramFolder.h"
#include "SplitPage.h"

#include <QPointer>

namespace {

constexpr const char* kSplitFile = "Split.Dat";

class CSplitsPart : public IMainWindowPart {
public:
    explicit CSplitsPart(IMainWindowServices& services) : services_(services) {}

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CSplit::kTemplateId)
            return nullptr;
        page_ =
            new CSplit(services_, platform::ResolveInFolder(platform::ProgramFolder(), kSplitFile));
        return page_;
    }

    void SaveState() override
    {
        if (page_)
            page_->SaveSplits();
    }

    std::optional<std::vector<std::string>> ListLines(unsigned dialogId) const override
    {
        if (dialogId != CSplit::kTemplateId || !page_)
            return std::nullopt;
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < page_->Splits().Size(); ++i)
            lines.push_back(page_->Splits().At(i).line);
        return lines;
    }

private:
    IMainWindowServices& services_;
    QPointer<CSplit> page_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeSplitsPart(IMainWindowServices& services)
{
    return std::make_unique<CSplitsPart>(services);
}
