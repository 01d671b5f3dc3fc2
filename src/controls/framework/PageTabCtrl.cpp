#include "PageTabCtrl.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

CPageTabCtrl::CPageTabCtrl(QWidget* parent)
    : QWidget(parent),
      tabBar_(new QTabBar(this)),
      pageArea_(new QWidget(this)),
      pageLayout_(new QGridLayout(pageArea_)),
      layout_(new QBoxLayout(QBoxLayout::TopToBottom, this))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(tabBar_);
    layout_->addWidget(pageArea_, 1);
    tabBar_->setDrawBase(true);
    tabBar_->setExpanding(false);
    connect(tabBar_, &QTabBar::currentChanged, this, &CPageTabCtrl::OnTabChanged);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, &CPageTabCtrl::OnFocusChanged);
}

CPageTabCtrl::~CPageTabCtrl()
{
    // Focus moves while the base class destroys the children; this part is gone by then.
    disconnect(focusWatch_);
    disconnect(tabBar_, nullptr, this, nullptr);
    // Pages owned elsewhere must not die with the tab control.
    quiet_ = true;
    RemoveAllPages();
}

int CPageTabCtrl::AddPage(const std::string& title, QWidget* page, int pageId, bool deleteOnRemove)
{
    if (!page)
        return -1;
    int index = GetItemCount();
    pages_.push_back({page, deleteOnRemove, nullptr, QPoint(), pageId});
    page->hide();
    page->setParent(pageArea_, Qt::Widget);
    // Every page counts for the size, shown or not, so switching does not re-flow the window.
    QSizePolicy policy = page->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    page->setSizePolicy(policy);
    pageLayout_->addWidget(page, 0, 0);
    quiet_ = true;
    tabBar_->addTab(QString::fromStdString(title));
    quiet_ = false;
    pages_[static_cast<std::size_t>(index)].focus =
        OnInitPage(index, pageId) ? FirstFocusable(page) : QApplication::focusWidget();
    if (index == 0) {
        current_ = 0;
        ShowPage(0);
    }
    return index;
}

bool CPageTabCtrl::ActivatePage(int index)
{
    if (index >= GetItemCount())
        return false;
    if (index == current_)
        return true;
    if (index < 0)
        return false;
    RememberPlace(current_);
    if (Valid(current_) && pages_[static_cast<std::size_t>(current_)].window)
        pages_[static_cast<std::size_t>(current_)].window->hide();
    quiet_ = true;
    tabBar_->setCurrentIndex(index);
    quiet_ = false;
    current_ = index;
    ShowPage(index);
    return true;
}

void CPageTabCtrl::OnTabChanged(int index)
{
    if (quiet_ || index == current_)
        return;
    int old = current_;
    if (Valid(old)) {
        OnDeactivatePage(old, pages_[static_cast<std::size_t>(old)].id);
        RememberPlace(old);
        if (QWidget* w = pages_[static_cast<std::size_t>(old)].window)
            w->hide();
    }
    current_ = index;
    if (!Valid(index))
        return;
    ShowPage(index);
    OnActivatePage(index, pages_[static_cast<std::size_t>(index)].id);
}

void CPageTabCtrl::ShowPage(int index)
{
    if (!Valid(index))
        return;
    Page& p = pages_[static_cast<std::size_t>(index)];
    if (!p.window)
        return;
    p.window->show();
    // Each page where it was left, at the top when first shown; the range follows the page's
    // size once the layout has taken it in.
    if (scroll_) {
        RestoreScroll(p.scrolled);
        QMetaObject::invokeMethod(
            this,
            [this, index, at = p.scrolled] {
                if (index == current_)
                    RestoreScroll(at);
            },
            Qt::QueuedConnection);
    }
    QWidget* target = p.focus;
    // The remembered control may be gone or unusable: take the page's first control instead.
    if (!target || !p.window->isAncestorOf(target) || !target->isEnabled())
        target = FirstFocusable(p.window);
    if (target)
        target->setFocus(Qt::TabFocusReason);
}

void CPageTabCtrl::RestoreScroll(QPoint at)
{
    pageLayout_->activate();
    scroll_->horizontalScrollBar()->setValue(at.x());
    scroll_->verticalScrollBar()->setValue(at.y());
}

void CPageTabCtrl::RememberPlace(int index)
{
    if (!Valid(index))
        return;
    Page& p = pages_[static_cast<std::size_t>(index)];
    if (scroll_)
        p.scrolled =
            QPoint(scroll_->horizontalScrollBar()->value(), scroll_->verticalScrollBar()->value());
    QWidget* focus = QApplication::focusWidget();
    if (p.window && focus && p.window->isAncestorOf(focus))
        p.focus = focus;
}

void CPageTabCtrl::OnFocusChanged(QWidget*, QWidget* now)
{
    if (!Valid(current_) || !now)
        return;
    Page& p = pages_[static_cast<std::size_t>(current_)];
    if (p.window && p.window->isVisible() && p.window->isAncestorOf(now))
        p.focus = now;
}

void CPageTabCtrl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (Valid(current_))
        ShowPage(current_);
}

QWidget* CPageTabCtrl::FirstFocusable(QWidget* page)
{
    if (!page)
        return nullptr;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden()
            && !w->focusProxy())
            return w;
    }
    return nullptr;
}

QWidget* CPageTabCtrl::GetPage(int index) const
{
    return Valid(index) ? pages_[static_cast<std::size_t>(index)].window.data() : nullptr;
}

int CPageTabCtrl::GetPageId(int index) const
{
    return Valid(index) ? pages_[static_cast<std::size_t>(index)].id : -1;
}

QWidget* CPageTabCtrl::RememberedFocus(int index) const
{
    return Valid(index) ? pages_[static_cast<std::size_t>(index)].focus.data() : nullptr;
}

void CPageTabCtrl::RemoveAllPages()
{
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        Page& p = pages_[static_cast<std::size_t>(i)];
        OnDestroyPage(i, p.id);
        if (!p.window)
            continue;
        if (p.deleteOnRemove) {
            delete p.window.data();
        } else {
            p.window->hide();
            p.window->setParent(nullptr);
        }
    }
    pages_.clear();
    current_ = -1;
    bool wasQuiet = quiet_;
    quiet_ = true;
    while (tabBar_->count() > 0)
        tabBar_->removeTab(tabBar_->count() - 1);
    quiet_ = wasQuiet;
}

namespace {

// A scroll area that asks for all of its pages' size, as they are now: QScrollArea keeps the
// size its widget had when first asked, and no more than a few dozen lines of text.
class PageScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        const QSize pages = widget() ? widget()->sizeHint() : QSize();
        return pages.expandedTo(QSize(0, 0)) + QSize(2 * frameWidth(), 2 * frameWidth());
    }
};

}  // namespace

void CPageTabCtrl::EnablePageScrolling()
{
    if (scroll_)
        return;
    scroll_ = new PageScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    // The pages' controls take the focus, never the area around them.
    scroll_->setFocusPolicy(Qt::NoFocus);
    layout_->removeWidget(pageArea_);
    scroll_->setWidget(pageArea_);
    layout_->addWidget(scroll_, 1);
}

void CPageTabCtrl::SetTabPosition(QTabWidget::TabPosition position)
{
    switch (position) {
    case QTabWidget::North:
        tabBar_->setShape(QTabBar::RoundedNorth);
        layout_->setDirection(QBoxLayout::TopToBottom);
        break;
    case QTabWidget::South:
        tabBar_->setShape(QTabBar::RoundedSouth);
        layout_->setDirection(QBoxLayout::BottomToTop);
        break;
    case QTabWidget::West:
        tabBar_->setShape(QTabBar::RoundedWest);
        layout_->setDirection(QBoxLayout::LeftToRight);
        break;
    case QTabWidget::East:
        tabBar_->setShape(QTabBar::RoundedEast);
        layout_->setDirection(QBoxLayout::RightToLeft);
        break;
    }
}

bool CPageTabCtrl::DispatchCommand(int id, int code)
{
    return framework::SendCommand(parentWidget(), id, code);
}

bool CPageTabCtrl::OnInitPage(int, int)
{
    return true;
}
void CPageTabCtrl::OnActivatePage(int, int) {}
void CPageTabCtrl::OnDeactivatePage(int, int) {}
void CPageTabCtrl::OnDestroyPage(int, int) {}
