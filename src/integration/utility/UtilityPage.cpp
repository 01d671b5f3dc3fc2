#include "UtilityPage.h"

#include "BackupArchive.h"
#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "FolderPicker.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"
#include "StringTable.h"
#include "StartupDlg.h"
#include "ToolTipLoc.h"
#include "WorkProgressDlg.h"

#include <QAbstractButton>
#include <QApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <vector>

namespace {

using namespace tpl;
using U = CUtility;

// Three columns side by side: the page area of the main window is wide and low.
const DialogTemplateRegistration kTemplate{DialogTemplate{
    U::kTemplateId, "Utility",
    Row({Stretched(Group("Archives", {Control(U::kBackup, "BUTTON", "Backup"),
                                      Control(U::kRestore, "BUTTON", "Restore"),
                                      Control(U::kStartup, "BUTTON", "Startup"), Stretch()}),
                   1),
         Stretched(
             Group("Setting", {Control(U::kConfiguration, "BUTTON", "Configuration"),
                               Control(U::kBandLimits, "BUTTON", "Configure band and mode limits"),
                               Control(U::kUpdateCheck, "BUTTON", "Check for update"), Stretch()}),
             1),
         Stretched(
             Group("Print", {Grid(2, {Control(U::kPrintSplit, "CHECKBOX", "Split"),
                                      Control(U::kPrintSkeds, "CHECKBOX", "Skeds"),
                                      Control(U::kPrintMemories, "CHECKBOX", "Memories"),
                                      Control(U::kPrintRadioMemories, "CHECKBOX", "Radio Memories"),
                                      Control(U::kPrintBandLimits, "CHECKBOX", "Band Limits"),
                                      Control(U::kHiddenNumber, "CNumEdit", "", kHidden)}),
                             Control(U::kPrint, "BUTTON", "Print"), Stretch()}),
             1)})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{U::kUpdateCheck, 154}, {U::kBandLimits, 1063}, {U::kConfiguration, 1018},
             {U::kBackup, 1140},     {U::kRestore, 1141},    {U::kStartup, 1308},
             {U::kPrint, 1116}};

// The print boxes in print order, each with its question.
constexpr struct {
    int box;
    int question;
} kPrintJobs[] = {{U::kPrintSplit, 1110},
                  {U::kPrintSkeds, 1179},
                  {U::kPrintMemories, 1122},
                  {U::kPrintRadioMemories, 1123},
                  {U::kPrintBandLimits, 1128}};

constexpr int kMsgNoPrintJob = 1109;

constexpr int kMsgBackupError = 134;
constexpr int kMsgNoArchive = 135;
constexpr int kMsgRestoreError = 178;
constexpr int kStrBackupPrompt = 1142;
constexpr int kStrRestorePrompt = 1143;
constexpr int kMsgOverwrite = 1144;
constexpr int kMsgBackupDone = 1145;
constexpr int kMsgRestoreDone = 1146;
constexpr int kMsgArchiveNotValid = 1178;
constexpr int kStrRestoreTip = 1141;
constexpr std::size_t kMaxErrorText = 255;

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The restore runs on a thread of its own while the window shows its progress: a large archive
// takes a while, and the window keeps answering meanwhile.
backup::RestoreResult RestoreWithProgress(const std::string& archive, const std::string& folder)
{
    WaitCursor wait;
    std::atomic<int> done{0}, total{0};
    std::future<backup::RestoreResult> work =
        std::async(std::launch::async, [&archive, &folder, &done, &total] {
            return backup::RestoreBackup(archive, folder, [&](int step, int steps) {
                total = steps;
                done = step;
            });
        });
    CWorkProgressDlg dialog;
    const bool shown = dialog.Create();
    if (shown) {
        dialog.HideCancel();
        dialog.SetStatus(framework::Language().LoadString(kStrRestoreTip));
    }
    int range = 0;
    while (work.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (!shown)
            continue;
        if (total != range) {
            range = total;
            dialog.SetRange(0, range);
        }
        dialog.SetPos(done);
    }
    if (shown)
        dialog.DestroyWindow();
    return work.get();
}

// The entries a restore left out, one a line, as many as a message shows; the archive's names
// are shown, never obeyed.
std::string LeftOut(const std::vector<std::string>& entries)
{
    constexpr std::size_t kShown = 10, kLength = 80;
    std::string text;
    for (std::size_t i = 0; i < entries.size() && i < kShown; ++i) {
        std::string name = entries[i].substr(0, kLength);
        for (char& c : name)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = '?';
        text += (i == 0 ? "" : "\n") + name;
    }
    if (entries.size() > kShown)
        text += "\n...";
    return text;
}

std::optional<std::string> PickFolder(const std::string& caption, const std::string& prompt,
                                      const std::optional<std::string>& initial)
{
    CFolderPicker picker(caption, prompt, initial);
    if (picker.DoModal() != 1)
        return std::nullopt;
    return picker.GetPathName();
}

}  // namespace

CUtility::CUtility(IUtilityHost& host)
    : CTabPage(kTemplateId),
      host_(host),
      askFolder_(PickFolder),
      runDialog_([](CMyFontDialog& d) { d.DoModal(); })
{
}

bool CUtility::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    EnableActions();
    return CTabPage::OnInitDialog();
}

void CUtility::SetAction(int buttonId, std::function<void()> action)
{
    actions_[buttonId] = std::move(action);
    EnableActions();
}

void CUtility::SetPrintJob(int boxId, std::function<void()> job)
{
    printJobs_[boxId] = std::move(job);
    EnableActions();
}

void CUtility::EnableActions()
{
    for (int id : {kUpdateCheck, kBandLimits, kConfiguration})
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(actions_.count(id) != 0 && actions_[id] != nullptr);
    if (QWidget* w = GetDlgItem(kPrint))
        w->setEnabled(!printJobs_.empty());
}

void CUtility::OnPrint()
{
    const CLanguage& language = framework::Language();
    std::vector<int> checked;
    for (const auto& job : kPrintJobs) {
        const auto* box = GetDlgItemAs<QAbstractButton>(job.box);
        if (box != nullptr && box->isChecked())
            checked.push_back(job.box);
    }
    if (checked.empty()) {
        language.MessageBox(kMsgNoPrintJob, mb::kIconError);
        return;
    }
    for (const auto& job : kPrintJobs) {
        if (std::find(checked.begin(), checked.end(), job.box) == checked.end())
            continue;
        if (language.MessageBox(job.question, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
            return;
        if (auto it = printJobs_.find(job.box); it != printJobs_.end() && it->second)
            it->second();
    }
}

bool CUtility::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    switch (id) {
    case kBackup: OnBackup(); return true;
    case kRestore: OnRestore(); return true;
    case kStartup: OnStartup(); return true;
    case kPrint: OnPrint(); return true;
    default: break;
    }
    if (auto it = actions_.find(id); it != actions_.end() && it->second) {
        it->second();
        return true;
    }
    return CTabPage::OnCommand(id, code);
}

std::optional<std::string> CUtility::AskFolder(int promptId)
{
    const std::string last = host_.Registry().Get(settings::reg::Backup);
    std::optional<std::string> initial;
    if (!last.empty())
        initial = platform::DirName(last);
    return askFolder_(host_.WindowTitle(), framework::Language().LoadString(promptId), initial);
}

void CUtility::OnBackup()
{
    const std::optional<std::string> folder = AskFolder(kStrBackupPrompt);
    if (!folder)
        return;
    host_.SaveState();
    const CLanguage& language = framework::Language();
    backup::BackupResult result;
    {
        WaitCursor wait;
        result = backup::WriteBackup(host_.ProgramFolder(), *folder);
    }
    if (!result.ok) {
        language.ShowMessage(
            {language.FormatString1(kMsgBackupError, result.error), {}, mb::kIconError});
        return;
    }
    host_.Registry().Write(settings::reg::Backup, result.archivePath);
    language.MessageBox(kMsgBackupDone, mb::kIconInformation);
}

void CUtility::OnRestore()
{
    const std::optional<std::string> folder = AskFolder(kStrRestorePrompt);
    if (!folder)
        return;
    const CLanguage& language = framework::Language();
    const std::optional<std::string> archive = backup::FindArchive(*folder);
    if (!archive) {
        language.ShowMessage({language.FormatString1(kMsgNoArchive, *folder), {}, mb::kIconError});
        return;
    }
    if (language.MessageBox(kMsgOverwrite, mb::kYesNo | mb::kIconQuestion | mb::kDefButton2)
        != mb::kIdYes)
        return;
    const backup::RestoreResult result = RestoreWithProgress(*archive, host_.ProgramFolder());
    using Status = backup::RestoreResult::Status;
    if (result.status == Status::Invalid) {
        language.MessageBox(kMsgArchiveNotValid, mb::kIconError);
        return;
    }
    if (result.status == Status::Failed) {
        language.ShowMessage(
            {language.FormatString1(kMsgRestoreError, result.error.substr(0, kMaxErrorText)),
             {},
             mb::kIconError});
        return;
    }
    std::string done = language.LoadString(kMsgRestoreDone);
    if (!result.skipped.empty())
        done += "\n\n" + language.FormatString1(strid::kRestoreLeftOut, LeftOut(result.skipped));
    language.ShowMessage({done, {}, mb::kIconInformation});
    host_.CloseProgram();
}

void CUtility::OnStartup()
{
    CStartup dialog(host_.ProgramFolder());
    dialog.SetOwner(this);
    runDialog_(dialog);
}
