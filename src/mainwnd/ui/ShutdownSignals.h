// SIGTERM, SIGINT and SIGHUP as an orderly request: the signal handler only writes a byte into a
// pipe, and the Qt event loop (nested waits and dialogs included) reads it and calls the handler
// on the GUI thread.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class CShutdownSignals : public QObject {
    Q_OBJECT
public:
    // Before the application object exists there is nothing to save: until an instance is
    // installed, the same signals end the process at once with status 0.
    static void ExitOnSignals();

    // Installs the handlers; one instance at a time. `onSignal` gets the signal number.
    explicit CShutdownSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    // Restores the previous handlers.
    ~CShutdownSignals() override;

    bool IsInstalled() const { return installed_; }

private:
    void OnReadable();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};
