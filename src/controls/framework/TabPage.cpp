#include "TabPage.h"

CTabPage::CTabPage(unsigned templateId) : CMyFontDialog(templateId) {}

bool CTabPage::Create(unsigned templateId, QWidget* parent)
{
    if (!CMyFontDialog::Create(templateId, parent))
        return false;
    // A page is a child window, not a dialog window of its own.
    setParent(parent, Qt::Widget);
    return true;
}

bool CTabPage::DispatchCommand(int id, int code)
{
    bool handled = OnCommand(id, code);
    if (RouteCommand != 1)
        return handled;
    return framework::SendCommand(parentWidget(), id, code);
}
