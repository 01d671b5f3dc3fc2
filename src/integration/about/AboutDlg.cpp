#include "AboutDlg.h"

#include "AboutTexts.h"
#include "CommandCodes.h"
#include "ControlResources.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "LinkLabel.h"

#include <QLabel>

namespace {

using namespace tpl;
using B = CAboutBox;
constexpr int kIcon = 1095;
constexpr int kBitmap = 1099;
constexpr int kProgramIcon = 128;
constexpr int kBannerBitmap = 150;

TemplateItem Content(bool withOk)
{
    std::vector<TemplateItem> rows{
        Row({Control(kIcon, "STATIC", "", kNoTranslate),
             Stretched(Column({Control(B::kProgramLine, "STATIC", "", kNoTranslate, 36),
                               Control(B::kNotice, "STATIC", "", kNoTranslate)}),
                       1),
             Control(kBitmap, "STATIC", "", kNoTranslate)}),
        Spacing(1),
        Control(B::kMail, "CLinkLabel", "", kNoTranslate),
        Control(B::kWeb, "CLinkLabel", "", kNoTranslate),
        Control(B::kForum, "CLinkLabel", "", kNoTranslate),
        Spacing(1),
        Control(B::kUsage, "STATIC", "", kNoTranslate)};
    if (withOk)
        rows.push_back(Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK")}));
    rows.push_back(Stretch());
    return Column(std::move(rows));
}

const DialogTemplateRegistration kPage{DialogTemplate{B::kTemplateId, "Info", Content(false)}};
const DialogTemplateRegistration kDialog{
    DialogTemplate{CAboutDlg::kTemplateId, "About", Content(true)}};

void SetLink(CMyFontDialog& dlg, int id, const std::string& text, const std::string& target)
{
    if (auto* link = dlg.GetDlgItemAs<CLinkLabel>(id)) {
        link->setText(QString::fromStdString(text));
        link->SetURL(QString::fromStdString(target));
        link->SetUnderline(1);
    }
}

void ShowUsage(CMyFontDialog& dlg, const CIni& ini)
{
    dlg.SetDlgItemText(B::kUsage, about::UsageTimeText(framework::Language(),
                                                       ini.GetInt(settings::currentset::Vita)));
}

// The steps both share, in their order.
void FillAbout(CMyFontDialog& dlg, CIni& ini, const about::AboutFacts& facts)
{
    const CLanguage& language = framework::Language();
    if (auto* icon = dlg.GetDlgItemAs<QLabel>(kIcon)) {
        // The program's own icon.
        const int side = 2 * dlg.fontMetrics().height();
        icon->setPixmap(res::LoadIcon(kProgramIcon)
                            .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    if (auto* bitmap = dlg.GetDlgItemAs<QLabel>(kBitmap))
        bitmap->setPixmap(res::LoadBitmap(kBannerBitmap));
    dlg.SetDlgItemText(B::kProgramLine, about::ProgramLine(language.Translate(facts.name),
                                                           facts.version, facts.beta));
    dlg.SetDlgItemText(B::kNotice, about::kNotice);
    SetLink(dlg, B::kMail, about::kMailAddress, std::string("mailto:") + about::kMailAddress);
    ShowUsage(dlg, ini);
    SetLink(dlg, B::kWeb, about::kWebAddress, about::kWebAddress);
    SetLink(dlg, B::kForum, about::kForumAddress, about::kForumAddress);
}

}  // namespace

CAboutBox::CAboutBox(CIni& ini, std::function<about::AboutFacts()> facts)
    : CTabPage(kTemplateId), ini_(ini), facts_(std::move(facts))
{
}

bool CAboutBox::OnInitDialog()
{
    FillAbout(*this, ini_, facts_ ? facts_() : about::AboutFacts{});
    return CTabPage::OnInitDialog();
}

void CAboutBox::ShowUsageTime()
{
    ShowUsage(*this, ini_);
}

CAboutDlg::CAboutDlg(CIni& ini, about::AboutFacts facts, std::string caption)
    : CMyFontDialog(kTemplateId), ini_(ini), facts_(std::move(facts)), caption_(std::move(caption))
{
}

bool CAboutDlg::OnInitDialog()
{
    FillAbout(*this, ini_, facts_);
    const bool result = CMyFontDialog::OnInitDialog();
    setWindowTitle(QString::fromStdString(caption_));
    return result;
}
