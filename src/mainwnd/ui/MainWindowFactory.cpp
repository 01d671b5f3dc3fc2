#include "MainWindowFactory.h"

#include "CorvaneDlg.h"

std::unique_ptr<IMainWindow> CMainWindowFactory::Create(IMainWindowContext& context)
{
    auto window = std::make_unique<CCorvaneDlg>(context, parts_);
    window_ = window.get();
    if (prepare_)
        prepare_(*window);
    return window;
}

CCorvaneDlg* CMainWindowFactory::Window() const
{
    return qobject_cast<CCorvaneDlg*>(window_.data());
}
