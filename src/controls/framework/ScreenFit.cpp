#include "ScreenFit.h"

#include "FrameworkContext.h"

#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <cmath>

namespace {

// As large as its controls want, so the window opens whole where the screen allows; Qt's
// own hint stops at a few dozen lines.
class ContentScroller : public QScrollArea {
public:
    explicit ContentScroller(QWidget* parent) : QScrollArea(parent)
    {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
    }
    QSize sizeHint() const override
    {
        const QWidget* content = widget();
        if (content == nullptr)
            return QScrollArea::sizeHint();
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        return content->sizeHint().expandedTo(content->minimumSizeHint()) + QSize(bar, bar);
    }
};

// The frame the window manager gives the program's windows: the main window's, once framed.
QMargins GuessedFrame(const QWidget& window)
{
    const QWidget* main = framework::MainWindow();
    if (main == nullptr || main == &window || !main->isVisible())
        main = &window;
    const QRect outer = main->frameGeometry();
    const QRect inner = main->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace

QSize ClientRoom(const QWidget& window, QSize freeScreen, QSize frame)
{
    const double ratio = window.devicePixelRatioF();
    const int spare = ratio != std::floor(ratio) ? 1 : 0;
    return freeScreen - frame - QSize(spare, spare);
}

QScrollArea* ScrollWhenLargerThanScreen(QWidget& window, QWidget& content)
{
    QLayout* outer = window.layout();
    const QScreen* screen = window.screen();
    if (outer == nullptr || screen == nullptr || outer->indexOf(&content) < 0)
        return nullptr;
    const QMargins frame = GuessedFrame(window);
    const QSize room =
        ClientRoom(window, screen->availableGeometry().size(),
                   QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
    const QSize needed = outer->totalMinimumSize().expandedTo(window.minimumSize());
    if (needed.width() <= room.width() && needed.height() <= room.height()) {
        // Qt's first size stops at two thirds of the screen; narrower than its controls, the
        // window would squeeze them, wrapping and cutting their captions.
        if (window.width() < needed.width() || window.height() < needed.height())
            window.resize(window.size().expandedTo(needed));
        return nullptr;
    }
    auto* scroller = new ContentScroller(&window);
    const int at = outer->indexOf(&content);
    outer->removeWidget(&content);
    scroller->setWidget(&content);
    // The window's own background shows through, as it did behind the controls.
    content.setAutoFillBackground(false);
    scroller->viewport()->setAutoFillBackground(false);
    if (auto* box = qobject_cast<QBoxLayout*>(outer))
        box->insertWidget(at, scroller);
    else
        outer->addWidget(scroller);
    // The window is being shown and has shown its children already.
    scroller->show();
    // A minimum width set for the caption must not hold the window wider than the screen.
    if (window.minimumWidth() > room.width())
        window.setMinimumWidth(room.width());
    outer->activate();
    window.resize(window.sizeHint().boundedTo(room).expandedTo(window.minimumSizeHint()));
    return scroller;
}
