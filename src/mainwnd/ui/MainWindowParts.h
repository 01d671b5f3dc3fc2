// The parts of the main window built as libraries of their own: the band table and tuning
// controls with the band scale page, the one-second timer with the clocks, and the remote-control
// handler. Each is wired in when its library is part of the build; without it the window does
// without (its buttons stay disabled, its fields empty).
#pragma once

#include "CorvaneDlg.h"

#include <memory>

class CMainWindowParts : public IMainWindowPart {
public:
    explicit CMainWindowParts(CCorvaneDlg& window);
    ~CMainWindowParts() override;
    CMainWindowParts(const CMainWindowParts&) = delete;
    CMainWindowParts& operator=(const CMainWindowParts&) = delete;

    // The page of a dialog id that a part provides instead of a placeholder, or null.
    QWidget* CreatePage(unsigned dialogId);
    // The band menu for the "Band" button, or null.
    QMenu* CreateBandMenu();
    // After the window's controls exist.
    void OnControlsCreated();

    bool OnCommand(int id, int code) override;
    void OnTimer() override;
    bool OnWheel(QPoint pos, int delta) override;
    void SaveState() override;
    void OnClosing() override;
    bool ServesBands() const override;
    void OnStarted() override;
    void OnBandDisplay() override;
    int ChooseVfo() override;
    void CloseAuxiliaryPorts() override;
    void OnTitleChanged(const std::string& title) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
