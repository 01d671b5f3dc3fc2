#include "GroupNameDlg.h"

#include "CommandCodes.h"
#include "DialogTemplate.h"

namespace {

using namespace tpl;
using D = CDlgNomeGruppo;

const DialogTemplateRegistration kTemplate{
    DialogTemplate{D::kTemplateId, "Group Memories",
                   Column({Control(D::kPrompt, "EDIT", "", kReadOnly | kNoTranslate, 30),
                           Control(D::kName, "EDIT", "", kNoTranslate, 30),
                           Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
                                Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

}  // namespace

CDlgNomeGruppo::CDlgNomeGruppo(std::string prompt, std::string name)
    : CMyFontDialog(kTemplateId), prompt_(std::move(prompt)), name_(std::move(name))
{
}

bool CDlgNomeGruppo::OnInitDialog()
{
    SetDlgItemText(kPrompt, prompt_);
    SetDlgItemText(kName, name_);
    CMyFontDialog::OnInitDialog();
    // The name is typed at once; the read-only prompt before it takes no focus.
    if (QWidget* w = GetDlgItem(kName))
        w->setFocus(Qt::OtherFocusReason);
    return false;
}

void CDlgNomeGruppo::OnOK()
{
    name_ = GetDlgItemText(kName);
    CMyFontDialog::OnOK();
}
