#include "MemoriesPart.h"

#include "CommandCodes.h"
#include "Ini.h"
#include "MainWindowServices.h"
#include "MemoriesWindow.h"
#include "MemoryGroupHost.h"
#include "MemoryGroups.h"
#include "MemoryGroupsPage.h"
#include "ProgramFolder.h"
#include "RadioMemoriesWindow.h"
#include "RadioView.h"
#include "SettingsKeys.h"
#include "WindowStacking.h"

#include <QPointer>

#include <algorithm>

namespace {

constexpr int kStore = 5;  // the main window's "Store" button

class CMemoriesPart : public IMainWindowPart, private IMemoryGroupHost {
public:
    explicit CMemoriesPart(IMainWindowServices& services)
        : services_(services), folder_(platform::ProgramFolder())
    {
    }

    CTabPage* CreatePage(unsigned dialogId) override
    {
        if (dialogId != CMem::kTemplateId)
            return nullptr;
        groups_ = new CMem(services_, *this, folder_);
        return groups_;
    }

    CMyFontDialog* CreateToolWindow(unsigned dialogId) override
    {
        if (dialogId == CDlgMem::kTemplateId) {
            pc_ = new CDlgMem(services_);
            pc_->SetFilePath(platform::ResolveInFolder(folder_, StartGroupFile()));
            pc_->SetOnActiveTransfer([this] { StoreInRadioWindow(); });
            pc_->SetOnShown([this](bool shown) { SetCheck(CMem::kShowPc, shown); });
            return pc_;
        }
        if (dialogId == CDlgMemRadio::kTemplateId) {
            radio_ = new CDlgMemRadio(services_);
            radio_->SetOnShown([this](bool shown) { SetCheck(CMem::kShowRadio, shown); });
            return radio_;
        }
        return nullptr;
    }

    bool PrintList(unsigned dialogId) override
    {
        CMemoryListWindow* window = nullptr;
        if (dialogId == CDlgMem::kTemplateId)
            window = pc_;
        else if (dialogId == CDlgMemRadio::kTemplateId)
            window = radio_;
        if (window == nullptr || !window->IsBuilt())
            return false;
        window->PrintMemories();
        return true;
    }

    bool ServesCommand(int id) const override { return id == kStore || id == radio::ctl::kStoreR; }

    bool OnCommand(int id, int code) override
    {
        if (code != ctl::kBnClicked)
            return false;
        if (id == radio::ctl::kStoreR) {
            StoreInRadioWindow();
            return true;
        }
        if (id != kStore)
            return false;
        if (!pc_ || !pc_->IsBuilt())
            return true;
        services_.ShowToolWindow(CDlgMem::kTemplateId);
        framework::BringToWork(pc_);
        // The question asks for a description there: it opens over that window.
        framework::WorkWindowScope work(pc_);
        pc_->StoreCurrentState();
        return true;
    }

    void OnTimer() override
    {
        if (radio_ && radio_->IsBuilt() && radio_->isVisible())
            radio_->BlinkButtonIcon();
    }

    void SaveState() override
    {
        // A window never built holds no rows: its file stays as it is.
        if (pc_ && pc_->IsBuilt()) {
            pc_->SaveMemories();
            if (pc_->isVisible())
                pc_->SaveWindowPos();
        }
        if (radio_ && radio_->IsBuilt()) {
            radio_->SaveMemories();
            if (radio_->isVisible())
                radio_->SaveWindowPos();
        }
        if (groups_)
            services_.Ini().WriteString(settings::memorie::Gruppo, groups_->SelectedGroup());
    }

private:
    // IMemoryGroupHost
    std::string PcFilePath() const override { return pc_ ? pc_->FilePath() : std::string(); }
    bool SavePcList() override { return !pc_ || !pc_->IsBuilt() || pc_->SaveMemories(); }
    void LoadPcList(const std::string& path) override
    {
        if (!pc_)
            return;
        pc_->SetFilePath(path);
        if (pc_->IsBuilt())
            pc_->LoadMemories();
    }
    bool PcWindowShown() const override { return pc_ && pc_->isVisible(); }
    void ShowPcWindow(bool shown) override { ShowWindow(CDlgMem::kTemplateId, pc_, shown); }
    bool RadioWindowShown() const override { return radio_ && radio_->isVisible(); }
    void ShowRadioWindow(bool shown) override
    {
        ShowWindow(CDlgMemRadio::kTemplateId, radio_, shown);
    }

    void ShowWindow(unsigned id, QWidget* window, bool shown)
    {
        if (shown)
            services_.ShowToolWindow(id);
        else if (window)
            window->hide();
    }

    // The stored group when it still has a file, else "_base".
    std::string StartGroupFile() const
    {
        const std::string stored = services_.Ini().GetString(settings::memorie::Gruppo);
        const std::vector<std::string> groups = lists::ListGroups(folder_);
        const bool listed = std::any_of(groups.begin(), groups.end(), [&](const std::string& g) {
            return lists::GroupFileName(g) == lists::GroupFileName(stored);
        });
        return lists::GroupFileName(listed ? stored : std::string(lists::kBaseGroup));
    }

    void StoreInRadioWindow()
    {
        if (!radio_ || !radio_->IsBuilt())
            return;
        services_.ShowToolWindow(CDlgMemRadio::kTemplateId);
        framework::BringToWork(radio_);
        framework::WorkWindowScope work(radio_);
        radio_->StoreCurrentState();
    }

    // The page's check follows its window, whoever showed or hid it.
    void SetCheck(int id, bool shown)
    {
        if (groups_)
            groups_->SetWindowCheck(id, shown);
    }

    IMainWindowServices& services_;
    std::string folder_;
    QPointer<CDlgMem> pc_;
    QPointer<CDlgMemRadio> radio_;
    QPointer<CMem> groups_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeMemoriesPart(IMainWindowServices& services)
{
    return std::make_unique<CMemoriesPart>(services);
}
