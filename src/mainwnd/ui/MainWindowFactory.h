// Creates the main window for the application's start-up and keeps a pointer to it while it
// exists, so the program's signal handling (and tests) can reach it.
#pragma once

#include "MainWindowApi.h"

#include <QPointer>

#include <functional>

class CCorvaneDlg;

class CMainWindowFactory : public IMainWindowFactory {
public:
    // Called with each new window before it runs (tests and later parts hook in here).
    using Prepare = std::function<void(CCorvaneDlg&)>;

    CMainWindowFactory() = default;
    explicit CMainWindowFactory(Prepare prepare) : prepare_(std::move(prepare)) {}

    std::unique_ptr<IMainWindow> Create(IMainWindowContext& context) override;
    // Null before the window exists and after it is gone.
    CCorvaneDlg* Window() const;

private:
    Prepare prepare_;
    QPointer<QObject> window_;
};
