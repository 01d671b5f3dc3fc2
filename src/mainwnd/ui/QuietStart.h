// While a program started for another program comes up, it leaves that program's window in
// front with the focus, whatever the radio does: the main window is minimised from its first
// moment and kept so, and no window of the start-up takes the focus. Lives from before the main
// window shows until its start-up is over.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class CQuietStart : public QObject {
public:
    explicit CQuietStart(QWidget& mainWindow);
    ~CQuietStart() override;
    CQuietStart(const CQuietStart&) = delete;
    CQuietStart& operator=(const CQuietStart&) = delete;

    // Minimises the window, whatever Qt takes its state to be.
    static void Minimise(QWidget& w);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> main_;
    std::vector<QPointer<QWidget>> quieted_;
};
