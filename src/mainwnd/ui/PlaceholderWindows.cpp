#include "PlaceholderWindows.h"

#include "DialogTemplate.h"

namespace {

DialogTemplate EmptyTemplate(unsigned id, const std::string& caption)
{
    return DialogTemplate(id, caption, tpl::Column({tpl::Stretch()}));
}

}  // namespace

CPlaceholderPage::CPlaceholderPage(unsigned id) : CTabPage(id) {}

bool CPlaceholderPage::Create(unsigned id, QWidget* parent)
{
    empty_ = FindDialogTemplate(id) == nullptr;
    if (!empty_)
        return CTabPage::Create(id, parent);
    if (!CreateFromTemplate(EmptyTemplate(id, ""), parent))
        return false;
    setParent(parent, Qt::Widget);
    return true;
}

CPlaceholderToolWindow::CPlaceholderToolWindow(unsigned id, std::string caption)
    : CMyFontDialog(id), caption_(std::move(caption))
{
}

bool CPlaceholderToolWindow::Create(unsigned id, QWidget* parent)
{
    if (FindDialogTemplate(id) != nullptr)
        return CMyFontDialog::Create(id, parent);
    return CreateFromTemplate(EmptyTemplate(id, caption_), parent);
}
