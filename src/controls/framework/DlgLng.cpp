#include "DlgLng.h"

#include "ControlFactory.h"
#include "MessageBox.h"

#include <QComboBox>

namespace {

using namespace tpl;

const DialogTemplateRegistration kTemplate({
    CDlgLng::kTemplateId,
    "Corvane - Select Language",
    Column({
        Control(ctl::kIdStatic, "STATIC", "Select language"),
        Control(CDlgLng::kIdcLanguage, "COMBOBOX", "", kSorted, 30),
        Row({Stretch(), Control(CDlgLng::kIdcOk, "BUTTON", "Ok"),
             Control(CDlgLng::kIdcAbort, "BUTTON", "Abort")}),
    }),
});

}  // namespace

CDlgLng::CDlgLng(CLanguage& language, CIni& ini, std::string folder)
    : CMyFontDialog(kTemplateId), chooser_(language, ini, std::move(folder))
{
}

bool CDlgLng::OnInitDialog()
{
    CMyFontDialog::OnInitDialog();
    auto* combo = GetDlgItemAs<QComboBox>(kIdcLanguage);
    if (!combo)
        return true;
    combo->clear();
    // The chooser's list is sorted already; each entry keeps its position in that list.
    const std::vector<std::string>& names = chooser_.Refresh();
    for (std::size_t i = 0; i < names.size(); ++i)
        combo->addItem(QString::fromStdString(names[i]), static_cast<int>(i));
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
    return true;
}

bool CDlgLng::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && id == kIdcOk) {
        Choose();
        return true;
    }
    if (code == ctl::kBnClicked && id == kIdcAbort) {
        EndDialog(ctl::kIdCancel);
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

void CDlgLng::Choose()
{
    auto* combo = GetDlgItemAs<QComboBox>(kIdcLanguage);
    int index = combo && combo->currentIndex() >= 0 ? combo->currentData().toInt() : -1;
    LanguageChooser::Decision d = chooser_.Choose(index);
    switch (d.outcome) {
    case LanguageChooser::Outcome::StayOpen:
        framework::ShowMessageBox({d.message, {}, mb::kIconError, 0}, this);
        return;
    case LanguageChooser::Outcome::Chosen:
        changed_ = d.changed;
        // The language is loaded; only remembering it for the next start failed.
        if (!d.settingSaved)
            framework::ShowMessageBox({d.message, {}, mb::kIconExclamation, 0}, this);
        EndDialog(ctl::kIdOk);
        return;
    case LanguageChooser::Outcome::Aborted: EndDialog(ctl::kIdCancel); return;
    }
}
