// Stand-ins for the pages and tool windows whose own windows come later: each is an empty
// window of the right dialog id and caption, so the tab control and the placement code have
// their real shape now. They show no text and offer nothing.
#pragma once

#include "MyFontDialog.h"
#include "TabPage.h"

#include <string>

// An empty tab page of dialog `id`.
class CPlaceholderPage : public CTabPage {
    Q_OBJECT
public:
    explicit CPlaceholderPage(unsigned id);
    bool Create(unsigned id, QWidget* parent) override;
    // True while it shows nothing (no template of its own was registered).
    bool IsEmpty() const { return empty_; }

private:
    bool empty_ = true;
};

// An empty tool window of dialog `id`, a top-level window with its caption.
class CPlaceholderToolWindow : public CMyFontDialog {
    Q_OBJECT
public:
    CPlaceholderToolWindow(unsigned id, std::string caption);
    bool Create(unsigned id, QWidget* parent) override;

protected:
    // Closing only hides it; the main window destroys it at exit.
    void OnOK() override { hide(); }
    void OnCancel() override { hide(); }

private:
    std::string caption_;
};
