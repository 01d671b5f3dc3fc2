#include "NoPortDlg.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "MainWindowTemplate.h"
#include "MessageBox.h"

#include <QWidget>

CNoPort::CNoPort(const CLanguage& language, int port)
    : CMyFontDialog(CNoPortChoice::kDialogId),
      choice_(language,
              [this](const MessageBoxRequest& r) { return framework::ShowMessageBox(r, this); }),
      port_(port)
{
    RegisterDialogTemplate(mainwnd::NoPortTemplate());
}

bool CNoPort::OnInitDialog()
{
    SetDlgItemText(CNoPortChoice::kTextId, choice_.Text(port_));
    // The callers offer no setup from here.
    if (QWidget* setup = GetDlgItem(CNoPortChoice::kSetupButton))
        setup->hide();
    return true;
}

void CNoPort::OnOK()
{
    QWidget* setup = GetDlgItem(CNoPortChoice::kSetupButton);
    if (setup != nullptr && !setup->isHidden())
        EndDialog(choice_.OnButton(CNoPortChoice::kSetupButton));
}

void CNoPort::OnCancel()
{
    EndDialog(choice_.OnButton(CNoPortChoice::kExitButton));
}

bool CNoPort::OnCommand(int id, int code)
{
    if (id == CNoPortChoice::kOffLineButton && code == ctl::kBnClicked) {
        const int result = choice_.OnButton(id);
        if (result != CNoPortChoice::kStayOpen)
            EndDialog(result);
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}
