#include "PickListDlg.h"

#include "AsciiCase.h"
#include "CommandCodes.h"
#include "DialogTemplate.h"

#include <QListWidget>

namespace {
using namespace tpl;

const DialogTemplateRegistration kTemplate{
    DialogTemplate{CListe::kTemplateId, "Select",
                   Column({Control(CListe::kList, "LISTBOX", "", 0, 16),
                           Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
                                Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};
}  // namespace

CListe::CListe(std::vector<std::string> choices, std::string current)
    : CMyFontDialog(kTemplateId), choices_(std::move(choices)), choice_(std::move(current))
{
}

bool CListe::OnInitDialog()
{
    if (auto* list = GetDlgItemAs<QListWidget>(kList)) {
        for (const std::string& c : choices_) {
            list->addItem(QString::fromStdString(c));
            if (platform::AsciiIEquals(c, choice_))
                list->setCurrentRow(list->count() - 1);
        }
    }
    return CMyFontDialog::OnInitDialog();
}

bool CListe::OnCommand(int id, int code)
{
    if (id == kList && code == ctl::kLbnDblClk) {
        OnOK();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

void CListe::OnOK()
{
    const auto* list = GetDlgItemAs<QListWidget>(kList);
    if (list == nullptr || list->currentRow() < 0)
        return;
    choice_ = list->currentItem()->text().toStdString();
    EndDialog(ctl::kIdOk);
}
