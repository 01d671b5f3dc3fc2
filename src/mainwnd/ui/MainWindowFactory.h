// Creates the main window with its parts for the application's start-up and keeps a pointer to
// it while it exists, so the program's signal handling (and tests) can reach it.
#pragma once

#include "MainWindowApi.h"
#include "MainWindowPart.h"

#include <QPointer>

#include <functional>

class CCorvaneDlg;

class CMainWindowFactory : public IMainWindowFactory {
public:
    // Called with each new window before it runs (tests hook in here).
    using Prepare = std::function<void(CCorvaneDlg&)>;

    explicit CMainWindowFactory(MainWindowPartList parts = {}, Prepare prepare = {})
        : parts_(std::move(parts)), prepare_(std::move(prepare))
    {
    }

    std::unique_ptr<IMainWindow> Create(IMainWindowContext& context) override;
    // Null before the window exists and after it is gone.
    CCorvaneDlg* Window() const;

private:
    MainWindowPartList parts_;
    Prepare prepare_;
    QPointer<QObject> window_;
};
