// CPageTabCtrl: a tab control whose pages are child dialogs (usually CTabPage). It shows one
// page at a time and remembers, per page, the control that last had the focus there, so
// switching away and back puts the focus where it was.
//
// A page the user selects gets OnDeactivatePage for the old page and OnActivatePage for the new
// one; ActivatePage from code calls neither. Commands from the pages' controls that reach the
// tab control go on to its parent.
#pragma once

#include "CommandTarget.h"

#include <QPoint>
#include <QPointer>
#include <QTabWidget>
#include <QWidget>

#include <string>
#include <vector>

class QBoxLayout;
class QGridLayout;
class QScrollArea;
class QTabBar;

class CPageTabCtrl : public QWidget, public ICommandTarget {
    Q_OBJECT
public:
    explicit CPageTabCtrl(QWidget* parent = nullptr);
    ~CPageTabCtrl() override;

    // Appends a tab with `title` and its page (which becomes a child of the tab control).
    // Returns the new index, or -1 for a null page. The first page is shown at once, later ones
    // when activated. With deleteOnRemove the page is deleted by RemoveAllPages; otherwise it is
    // only taken out (its owner deletes it).
    int AddPage(const std::string& title, QWidget* page, int pageId, bool deleteOnRemove = false);
    // Selects and shows page `index`; false when `index` is outside the pages.
    bool ActivatePage(int index);
    // The current index, -1 when there are no pages.
    int GetCurSel() const { return current_; }
    int GetItemCount() const { return static_cast<int>(pages_.size()); }
    QWidget* GetPage(int index) const;
    int GetPageId(int index) const;
    // The control the page will give the focus to when it is shown next.
    QWidget* RememberedFocus(int index) const;
    // Calls OnDestroyPage for every page from the last to the first, then removes them all.
    void RemoveAllPages();

    // The pages scroll inside the tab control instead of setting its minimum size: a window
    // whose pages are tall still fits a small screen. Off by default.
    void EnablePageScrolling();

    // Tabs on top (default), at the bottom, or on the left or right side.
    void SetTabPosition(QTabWidget::TabPosition position);
    QTabBar* TabBar() const { return tabBar_; }

    bool DispatchCommand(int id, int code) override;

protected:
    // True: the page's first control gets the focus when it is shown; false: the control that
    // has the focus now.
    virtual bool OnInitPage(int index, int pageId);
    virtual void OnActivatePage(int index, int pageId);
    virtual void OnDeactivatePage(int index, int pageId);
    virtual void OnDestroyPage(int index, int pageId);

    void focusInEvent(QFocusEvent* event) override;

private:
    struct Page {
        QPointer<QWidget> window;
        bool deleteOnRemove = false;
        QPointer<QWidget> focus;
        QPoint scrolled;  // where the page was scrolled when left
        int id = 0;
    };

    void OnTabChanged(int index);
    void OnFocusChanged(QWidget* old, QWidget* now);
    // The page's focused control and scroll position, for when it is shown again.
    void RememberPlace(int index);
    void RestoreScroll(QPoint at);
    void ShowPage(int index);
    static QWidget* FirstFocusable(QWidget* page);
    bool Valid(int index) const { return index >= 0 && index < GetItemCount(); }

    QTabBar* tabBar_;
    QWidget* pageArea_;
    QGridLayout* pageLayout_;
    QBoxLayout* layout_;
    QScrollArea* scroll_ = nullptr;
    std::vector<Page> pages_;
    int current_ = -1;
    bool quiet_ = false;  // tab changes made by code: no hooks
    QMetaObject::Connection focusWatch_;
};
