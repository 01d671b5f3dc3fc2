#include "UtilityPart.h"

#include "AboutDlg.h"
#include "BandTable.h"
#include "Language.h"
#include "MemoriesWindow.h"
#include "RadioController.h"
#include "RadioMemoriesWindow.h"
#include "ReportPrint.h"
#include "SkedsPage.h"
#include "SplitPage.h"
#include "TextReports.h"
#include "Ini.h"
#include "MainWindowServices.h"
#include "PlugInPage.h"
#include "PrintDialog.h"
#include "ProgramFolder.h"
#include "StartupLauncher.h"
#include "UtilityPage.h"
#include "UserDate.h"

#include <QApplication>
#include <QPointer>

#include <cstdio>

namespace {

constexpr int kStrSplitProgress = 1121;
constexpr int kStrSkedProgress = 1183;

// The utility page's view of the window. Not a base of the part: the part's own SaveState hook
// is called by the window's SaveState.
class UtilityHost : public IUtilityHost {
public:
    explicit UtilityHost(IMainWindowServices& services) : services_(services) {}
    std::string ProgramFolder() const override { return platform::ProgramFolder(); }
    std::string WindowTitle() const override
    {
        return services_.Window().windowTitle().toStdString();
    }
    Profile& Registry() override { return services_.Registry(); }
    void SaveState() override { services_.SaveState(); }
    void CloseProgram() override { services_.PostClose(); }

private:
    IMainWindowServices& services_;
};

class CUtilityPart : public IMainWindowPart {
public:
    explicit CUtilityPart(IMainWindowServices& services) : services_(services), host_(services) {}

    CTabPage* CreatePage(unsigned dialogId) override
    {
        switch (dialogId) {
        case CAboutBox::kTemplateId:
            about_ = new CAboutBox(services_.Ini(), [this] { return Facts(); });
            return about_;
        case CUtility::kTemplateId: return CreateUtilityPage();
        case CPlugIn::kTemplateId: return new CPlugIn(platform::ProgramFolder());
        default: return nullptr;
        }
    }

    bool OnCommand(int id, int /*code*/) override
    {
        if (id != mainwnd::kSysAbout)
            return false;
        CAboutDlg dialog(services_.Ini(), Facts(), services_.Window().windowTitle().toStdString());
        dialog.SetOwner(&services_.Window());
        dialog.DoModal();
        return true;
    }

    void OnUsageTime(int /*minutes*/) override
    {
        if (about_)
            about_->ShowUsageTime();
    }

    void LaunchStartupPrograms() override
    {
        // Nobody waits for them at start-up; a failed start still leaves its reason behind.
        for (const auto& r : startup_programs::LaunchAll(platform::ProgramFolder()))
            if (!r.spawn)
                std::fprintf(
                    stderr, "Startup.dat: %s: %s\n", r.entry.program.c_str(),
                    platform::DescribeSpawnFailure(r.spawn.failedStep, r.spawn.error).c_str());
    }

private:
    about::AboutFacts Facts() const
    {
        return {services_.ProgramName(), services_.VersionText(),
                services_.Ini().GetInt(settings::setup::Beta)};
    }

    CTabPage* CreateUtilityPage()
    {
        auto* page = new CUtility(host_);
        page->SetAction(CUtility::kConfiguration, [this] { services_.OnSetup(); });
        page->SetAction(CUtility::kUpdateCheck, [this, page] {
            QWidget* button = page->GetDlgItem(CUtility::kUpdateCheck);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            if (button != nullptr)
                button->setEnabled(false);
            services_.RunUpdateCheck();
            if (button != nullptr)
                button->setEnabled(true);
            QApplication::restoreOverrideCursor();
        });
        page->SetAction(CUtility::kBandLimits, [this] { services_.RunLimitsDialog(); });
        SetPrintJobs(*page);
        return page;
    }

    void SetPrintJobs(CUtility& page)
    {
        const auto report = [this](const std::string& outputName, int progressTitle,
                                   reports::ReportBuilder build) {
            const reports::ReportJob job{services_.Window().windowTitle().toStdString(),
                                         services_.ProgramName(), progressTitle};
            const auto choose = [&outputName](QPrinter& p) { return AskForPrinter(p, outputName); };
            // The progress disables the main window, not only the page.
            reports::PrintReport(choose, job, build, services_.Language(), &services_.Window());
        };
        page.SetPrintJob(CUtility::kPrintSplit, [this, report] {
            const std::vector<std::string> lines = services_.ListLines(CSplit::kTemplateId);
            report("Split", kStrSplitProgress, [this, &lines](int n) {
                return reports::SplitReport(lines, services_.Language(), n);
            });
        });
        page.SetPrintJob(CUtility::kPrintSkeds, [this, report] {
            const std::vector<std::string> lines = services_.ListLines(CSkeds::kTemplateId);
            report("Skeds", kStrSkedProgress, [this, &lines](int n) {
                return reports::SkedReport(lines, services_.Language(), n, platform::UserDate);
            });
        });
        page.SetPrintJob(CUtility::kPrintMemories,
                         [this] { services_.PrintList(CDlgMem::kTemplateId); });
        page.SetPrintJob(CUtility::kPrintRadioMemories,
                         [this] { services_.PrintList(CDlgMemRadio::kTemplateId); });
        page.SetPrintJob(CUtility::kPrintBandLimits, [this, report] {
            const bands::CBandTable* table = services_.BandTable();
            if (table == nullptr)
                return;
            const radio::RadioState& state = services_.Controller().State();
            report("BandLimits", 0, [this, table, &state](int) {
                return reports::BandLimitsReport(*table, state.lowerLimit, state.upperLimit,
                                                 services_.Language());
            });
        });
    }

    IMainWindowServices& services_;
    UtilityHost host_;
    QPointer<CAboutBox> about_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeUtilityPart(IMainWindowServices& services)
{
    return std::make_unique<CUtilityPart>(services);
}
