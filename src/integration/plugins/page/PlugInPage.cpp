#include "PlugInPage.h"

#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "FlatButton.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "PlugInEditor.h"
#include "PlugInFile.h"
#include "Process.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QStyle>

namespace {

using namespace tpl;
using P = CPlugIn;

TemplateItem Button(int k)
{
    return Control(P::kFirstButton + k, "CFlatButton", "", kNoTranslate | kHidden, 12);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    P::kTemplateId, "Plug-In",
    Column({Grid(4, {Button(0), Button(1), Button(2), Button(3), Button(4), Button(5), Button(6),
                     Button(7)}),
            Row({Stretch(), Control(P::kConfig, "CFlatButton", "Config.")}), Stretch()})}};

constexpr int kStrConfigure = 162;

}  // namespace

CPlugIn::CPlugIn(std::string programFolder)
    : CTabPage(kTemplateId), programFolder_(std::move(programFolder))
{
}

bool CPlugIn::OnInitDialog()
{
    if (auto* config = GetDlgItemAs<CFlatButton>(kConfig)) {
        const int side = fontMetrics().height();
        config->SetIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(side, side),
                        CFlatButton::kSameImage);
        config->SetTooltipText(framework::Language().LoadString(kStrConfigure));
    }
    FillButtons();
    return CTabPage::OnInitDialog();
}

const std::string& CPlugIn::SlotProgram(int slot) const
{
    static const std::string none;
    return slot >= 0 && slot < static_cast<int>(programs_.size())
               ? programs_[static_cast<std::size_t>(slot)]
               : none;
}

void CPlugIn::FillButtons()
{
    for (std::size_t k = 0; k < programs_.size(); ++k) {
        programs_[k].clear();
        if (QWidget* b = GetDlgItem(kFirstButton + static_cast<int>(k)))
            b->hide();
    }
    const std::string folder = plugins::PlugInFolder(programFolder_);
    int slot = 0;
    for (const std::string& file : plugins::ListFiles(folder)) {
        if (slot >= plugins::kMaxPlugIns)
            break;
        if (LoadButton(slot, file))
            ++slot;
    }
}

bool CPlugIn::LoadButton(int slot, const std::string& fileName)
{
    const auto file = plugins::ReadFile(plugins::PlugInFolder(programFolder_), fileName);
    auto* button = GetDlgItemAs<CFlatButton>(kFirstButton + slot);
    if (!file || file->lines < 2 || button == nullptr || !plugins::IsReadableFile(file->program))
        return false;
    programs_[static_cast<std::size_t>(slot)] = file->program;
    const QIcon icon = QFileIconProvider().icon(QFileInfo(QString::fromStdString(file->program)));
    const int side = 2 * fontMetrics().height();
    button->SetTooltipText(file->description);
    button->setText(QString::fromStdString(file->name));
    if (!icon.isNull())
        button->SetIcon(icon.pixmap(side, side), CFlatButton::kSameImage);
    button->show();
    return true;
}

bool CPlugIn::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    if (id == kConfig) {
        RunEditor();
        return true;
    }
    if (id >= kFirstButton && id < kFirstButton + plugins::kMaxPlugIns) {
        StartProgram(id - kFirstButton);
        return true;
    }
    return CTabPage::OnCommand(id, code);
}

void CPlugIn::StartProgram(int slot)
{
    const std::string& program = SlotProgram(slot);
    if (program.empty())
        return;
    const platform::SpawnResult r = platform::SpawnDetached({program});
    if (!r)
        framework::Language().ShowMessage(
            {program + ": " + platform::DescribeSpawnFailure(r.failedStep, r.error),
             {},
             mb::kIconError});
}

void CPlugIn::RunEditor()
{
    CPlugInGest editor(programFolder_);
    editor.SetOwner(this);
    if (runEditor_)
        runEditor_(editor);
    else
        editor.DoModal();
    FillButtons();
}
