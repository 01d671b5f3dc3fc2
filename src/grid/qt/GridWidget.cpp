#include "GridWidget.h"

#include "PrintDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "CellEditor.h"
#include "CellTip.h"
#include "GridPrint.h"
#include "MyDataGrid.h"
#include "ProgramClipboard.h"

namespace {

GridModifiers ModsOf(Qt::KeyboardModifiers m)
{
    GridModifiers mods;
    mods.shift = m & Qt::ShiftModifier;
    mods.ctrl = m & Qt::ControlModifier;
    return mods;
}

GridPoint PointOf(const QPointF& p)
{
    return {static_cast<int>(p.x()), static_cast<int>(p.y())};
}

// Cell rectangles from the core include their last pixel.
QRect CellQRect(const GridRect& r)
{
    return QRect(r.left, r.top, r.Width() + 1, r.Height() + 1);
}

GridKey KeyOf(const QKeyEvent& e)
{
    switch (e.key()) {
    case Qt::Key_Left: return GridKey::Left;
    case Qt::Key_Right: return GridKey::Right;
    case Qt::Key_Up: return GridKey::Up;
    case Qt::Key_Down: return GridKey::Down;
    case Qt::Key_PageUp: return GridKey::PageUp;
    case Qt::Key_PageDown: return GridKey::PageDown;
    case Qt::Key_Home: return GridKey::Home;
    case Qt::Key_End: return GridKey::End;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return GridKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return GridKey::Enter;
    case Qt::Key_Escape: return GridKey::Escape;
    case Qt::Key_Backspace: return GridKey::Backspace;
    case Qt::Key_Delete: return GridKey::Delete;
    case Qt::Key_Insert: return GridKey::Insert;
    case Qt::Key_F2: return GridKey::F2;
    case Qt::Key_A: return GridKey::A;
    case Qt::Key_C: return GridKey::C;
    case Qt::Key_V: return GridKey::V;
    case Qt::Key_X: return GridKey::X;
    case Qt::Key_Plus:
        return (e.modifiers() & Qt::KeypadModifier) ? GridKey::NumPlus : GridKey::Other;
    default: return GridKey::Other;
    }
}

QColor TipColor(GridColor c)
{
    return c == kClrDefault ? QColor() : ToQColor(c);
}

}  // namespace

CGridWidget::CGridWidget(QWidget* parent, CDataGrid* grid)
    : QWidget(parent),
      ownGrid_(grid ? nullptr : std::make_unique<CMyDataGrid>()),
      grid_(grid ? grid : ownGrid_.get()),
      measurer_(nullptr, font()),
      paint_(nullptr, font()),
      hbar_(new QScrollBar(Qt::Horizontal, this)),
      vbar_(new QScrollBar(Qt::Vertical, this))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);  // the grid refuses every drop while its drag and drop is off
    for (QScrollBar* bar : {hbar_, vbar_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        const bool vertical = bar == vbar_;
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, vertical](int action) { OnScrollAction(vertical, action); });
        connect(bar, &QAbstractSlider::sliderReleased, this, [this, vertical] {
            vertical ? grid_->OnVScroll(ScrollCode::EndScroll)
                     : grid_->OnHScroll(ScrollCode::EndScroll);
        });
    }
    autoScroll_.setObjectName(QStringLiteral("AutoScroll"));
    connect(&autoScroll_, &QTimer::timeout, this,
            [this] { grid_->OnTimer(PointOf(mapFromGlobal(QCursor::pos()))); });

    grid_->SetHost(this);
    grid_->SetMeasurer(&measurer_);
    // The desktop's lines per wheel notch, as the grid is made.
    grid_->SetWheelScrollLines(QApplication::wheelScrollLines());
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    grid_->SetScrollBarExtent(extent, extent);
    ApplySystemColors();
    if (grid_->GetFont() == GridFont{})
        grid_->SetFont(GridFont{});  // measure the default cells for real
    grid_->SetClientSize(width(), height());
}

CGridWidget::~CGridWidget()
{
    // An editor still open dies with the window; the grid forgets it without storing its text.
    if (editor_)
        editor_->Detach();
    grid_->SetHost(nullptr);
    grid_->SetMeasurer(nullptr);
    grid_->EndEditing();
}

void CGridWidget::SetImageList(std::vector<QPixmap> images)
{
    images_ = std::move(images);
    const QSize size = images_.empty() ? QSize() : images_.front().size();
    grid_->SetImageListSize({size.width(), size.height()});
    update();
}

// ---- painting and geometry ----

void CGridWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    paint_.SetPainter(&painter);
    paint_.SetImageList(&images_);
    const QRect r = event->rect();
    grid_->OnDraw(paint_, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    if (hbar_->isVisible() && vbar_->isVisible())
        painter.fillRect(QRect(vbar_->x(), hbar_->y(), vbar_->width(), hbar_->height()),
                         palette().color(QPalette::Window));
    paint_.SetPainter(nullptr);
}

void CGridWidget::resizeEvent(QResizeEvent*)
{
    grid_->SetClientSize(width(), height());
    PlaceScrollBars();
}

void CGridWidget::Invalidate(const GridRect* rect)
{
    if (rect)
        update(QRect(rect->left, rect->top, rect->Width(), rect->Height()));
    else
        update();
}

void CGridWidget::ScrollBarsChanged(const ScrollBarInfo& horz, const ScrollBarInfo& vert)
{
    updatingBars_ = true;
    for (QScrollBar* bar : {hbar_, vbar_}) {
        const ScrollBarInfo& info = bar == vbar_ ? vert : horz;
        const QSignalBlocker block(bar);
        // The core's range is 0 .. total - 1 with a page; the thumb's top stops a page early.
        bar->setRange(0, std::max(0, info.max - info.page + 1));
        bar->setPageStep(std::max(1, info.page));
        bar->setSingleStep(1);
        bar->setValue(info.pos);
        bar->setVisible(info.shown);
    }
    updatingBars_ = false;
    PlaceScrollBars();
}

void CGridWidget::PlaceScrollBars()
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool h = grid_->GetHorzScrollBar().shown, v = grid_->GetVertScrollBar().shown;
    vbar_->setGeometry(width() - extent, 0, extent, height() - (h ? extent : 0));
    hbar_->setGeometry(0, height() - extent, width() - (v ? extent : 0), extent);
}

void CGridWidget::OnScrollAction(bool vertical, int action)
{
    if (updatingBars_)
        return;
    QScrollBar* bar = vertical ? vbar_ : hbar_;
    ScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = ScrollCode::LineDown; break;
    case QAbstractSlider::SliderSingleStepSub: code = ScrollCode::LineUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = ScrollCode::PageDown; break;
    case QAbstractSlider::SliderPageStepSub: code = ScrollCode::PageUp; break;
    case QAbstractSlider::SliderToMinimum: code = ScrollCode::Top; break;
    case QAbstractSlider::SliderToMaximum: code = ScrollCode::Bottom; break;
    case QAbstractSlider::SliderMove: code = ScrollCode::ThumbTrack; break;
    default: return;
    }
    const int track = bar->sliderPosition();
    if (vertical)
        grid_->OnVScroll(code, track);
    else
        grid_->OnHScroll(code, track);
    // The core decides the position; the bar follows it, not its own step.
    const QSignalBlocker block(bar);
    bar->setSliderPosition(grid_->GetScrollPos(vertical));
}

void CGridWidget::ApplySystemColors()
{
    const QPalette& pal = palette();
    GridPalette gp;
    gp.windowText = FromQColor(pal.color(QPalette::Text));
    gp.window = FromQColor(pal.color(QPalette::Base));
    gp.btnFace = FromQColor(pal.color(QPalette::Button));
    gp.btnShadow = FromQColor(pal.color(QPalette::Dark));
    gp.btnHighlight = FromQColor(pal.color(QPalette::Light));
    gp.darkShadow = FromQColor(pal.color(QPalette::Shadow));
    gp.highlight = FromQColor(pal.color(QPalette::Highlight));
    gp.highlightText = FromQColor(pal.color(QPalette::HighlightedText));
    if (gp != grid_->GetPalette())
        grid_->SetSystemColors(gp);
}

void CGridWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        ApplySystemColors();
        update();
    } else if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        // Another window took the mouse and the keyboard: no drag, sizing or tip carries on.
        HideTitleTip();
        grid_->OnCaptureLost();
    } else if (event->type() == QEvent::FontChange) {
        measurer_.SetBaseFont(font());
        paint_.SetBaseFont(font());
        if (grid_->GetFont() == GridFont{})
            grid_->SetFont(GridFont{});
        update();
    }
    QWidget::changeEvent(event);
}

// ---- keyboard ----

bool CGridWidget::event(QEvent* event)
{
    // Tab stays in the grid while it handles Tab; otherwise the dialog moves the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && grid_->WantsTab(ModsOf(key->modifiers()))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void CGridWidget::keyPressEvent(QKeyEvent* event)
{
    HideTitleTip();
    GridModifiers mods = ModsOf(event->modifiers());
    if (event->key() == Qt::Key_Backtab)
        mods.shift = true;
    const GridKey key = KeyOf(*event);
    if (key != GridKey::Other)
        grid_->OnKeyDown(key, mods);
    // Esc, and keys the grid has no use for, go on to the dialog (cancel, help, shortcuts).
    bool used = key != GridKey::Other && key != GridKey::Escape;
    if (key != GridKey::Delete && key != GridKey::Escape) {  // no character follows these
        for (char32_t ch : event->text().toUcs4()) {
            if (ch == 0x7F || (ch < 0x20 && ch != U'\r' && ch != U'\b' && ch != U'\t'))
                continue;
            grid_->OnChar(ch, mods);
            used = true;
        }
    }
    event->setAccepted(used);
}

void CGridWidget::inputMethodEvent(QInputMethodEvent* event)
{
    for (char32_t ch : event->commitString().toUcs4())
        grid_->OnChar(ch, {});
    event->accept();
}

void CGridWidget::FocusNextControl(bool previous)
{
    focusNextPrevChild(!previous);
}

void CGridWidget::TakeFocus()
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
}

// ---- mouse ----

void CGridWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        grid_->OnLButtonDown(PointOf(event->position()), ModsOf(event->modifiers()));
}

void CGridWidget::mouseMoveEvent(QMouseEvent* event)
{
    grid_->OnMouseMove(PointOf(event->position()), ModsOf(event->modifiers()),
                       event->buttons() & Qt::LeftButton);
}

void CGridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const GridPoint p = PointOf(event->position());
    if (event->button() == Qt::LeftButton)
        grid_->OnLButtonUp(p, ModsOf(event->modifiers()));
    else if (event->button() == Qt::RightButton)
        grid_->OnRButtonUp(p, ModsOf(event->modifiers()));
}

void CGridWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        grid_->OnLButtonDblClk(PointOf(event->position()), ModsOf(event->modifiers()));
}

void CGridWidget::wheelEvent(QWheelEvent* event)
{
    HideTitleTip();
    // A touchpad tells the pixels it moved; a wheel (also a fine-grained one) its angle.
    if (const int pixels = event->pixelDelta().y(); pixels != 0)
        grid_->OnMouseWheelPixels(pixels);
    else
        grid_->OnMouseWheel(event->angleDelta().y());
    event->accept();
}

void CGridWidget::SetCursor(GridCursor cursor)
{
    switch (cursor) {
    case GridCursor::SizeWE: setCursor(Qt::SizeHorCursor); break;
    case GridCursor::SizeNS: setCursor(Qt::SizeVerCursor); break;
    case GridCursor::Wait: setCursor(Qt::WaitCursor); break;
    default: unsetCursor(); break;
    }
}

// Qt already keeps the mouse with the widget that took the button down.
void CGridWidget::SetCapture(bool) {}

void CGridWidget::StartAutoScrollTimer(int periodMs)
{
    autoScroll_.start(std::max(1, periodMs));
}

void CGridWidget::StopAutoScrollTimer()
{
    autoScroll_.stop();
}

// ---- in-place editor ----

CCellEditor* CGridWidget::Editor() const
{
    return editor_;
}

void CGridWidget::OpenEditor(const CellEditorRequest& request)
{
    if (editor_)
        CloseEditor();
    editor_ = new CCellEditor(
        this, request, ToQFont(request.font, font()), grid_->GetClientRect().right,
        [this](CCellEditor& editor, EditEndKey key) { OnEditorEnded(editor, key); });
}

void CGridWidget::OnEditorEnded(CCellEditor& editor, EditEndKey key)
{
    const bool byKey = key != EditEndKey::None;
    grid_->OnEndEditRecord(editor.Row(), editor.Col(), editor.Text(), key);
    if (editor_ == &editor)
        CloseEditor();  // a record the grid took as stale
    if (byKey && !editor_)
        setFocus(Qt::OtherFocusReason);
}

std::optional<std::string> CGridWidget::CloseEditor()
{
    if (!editor_)
        return std::nullopt;
    CCellEditor* editor = editor_;
    editor_ = nullptr;
    editor->Detach();
    const std::string text = editor->Text();
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor->hide();
    editor->deleteLater();
    return text;
}

void CGridWidget::SendCharToEditor(char32_t ch)
{
    if (editor_)
        editor_->AddChar(ch);
}

void CGridWidget::PasteIntoEditor()
{
    if (editor_)
        editor_->paste();
}

// ---- title tip ----

void CGridWidget::ShowTitleTip(const GridRect& textRect, const std::string& text,
                               const GridRect& hoverRect, const GridFont& font, GridColor textColor,
                               GridColor backColor)
{
    if (!tip_)
        tip_ = new CCellTip(this);
    tip_->Show(CellQRect(textRect), QString::fromStdString(text), CellQRect(hoverRect),
               ToQFont(font, this->font()), TipColor(textColor), TipColor(backColor));
}

void CGridWidget::HideTitleTip()
{
    if (tip_)
        tip_->Hide();
}

// ---- clipboard ----

std::optional<std::string> CGridWidget::GetClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

void CGridWidget::SetClipboardText(const std::string& text)
{
    // The program's mark: its fields split at tabs only.
    SetProgramClipboardText(QString::fromStdString(text));
}

bool CGridWidget::ClipboardTextIsFromGrid()
{
    return IsProgramClipboardData(QGuiApplication::clipboard()->mimeData());
}

// ---- printing ----

bool CGridWidget::Print(const QString& docName, const std::string& outputName)
{
    QPrinter printer(QPrinter::HighResolution);
    const QPointer<CGridWidget> self(this);
    const bool chosen = AskForPrinter(printer, outputName);
    if (!self || !chosen)
        return false;
    QString name = docName;
    for (const QWidget* w = this; name.isEmpty() && w; w = w->parentWidget())
        name = w->windowTitle();
    if (PrintGrid(*grid_, printer, name, &images_))
        return true;
    ReportPrintFailure(printer);
    return false;
}

// ---- drag and drop ----

namespace {

Qt::DropAction ActionOf(DropEffect effect)
{
    return effect == DropEffect::Copy   ? Qt::CopyAction
           : effect == DropEffect::Move ? Qt::MoveAction
                                        : Qt::IgnoreAction;
}

}  // namespace

DropEffect CGridWidget::DoDragDrop(const std::string& text)
{
    QMimeData* data = MarkedMimeData(QString::fromStdString(text));
    auto* drag = new QDrag(this);
    // Qt deletes the drag when it is over; as a child of this window it would also die with the
    // window if that closed during exec.
    drag->setParent(nullptr);
    drag->setMimeData(data);
    // The focus cell as it looks on screen rides along with the cursor.
    const CCellPos focus = grid_->GetFocusCell();
    GridRect cell;
    if (grid_->GetCellRect(focus.row, focus.col, cell)) {
        drag->setPixmap(grab(CellQRect(cell)));
        drag->setHotSpot(mapFromGlobal(QCursor::pos()) - QPoint(cell.left, cell.top));
    }
    const QPointer<CGridWidget> self(this);
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (!self)
        return DropEffect::None;  // closed during the drag
    return done == Qt::MoveAction   ? DropEffect::Move
           : done == Qt::CopyAction ? DropEffect::Copy
                                    : DropEffect::None;
}

void CGridWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (!grid_->GetDragAndDrop() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const DropEffect effect =
        grid_->OnDragEnter(PointOf(event->position()), true, ModsOf(event->modifiers()));
    event->setDropAction(effect == DropEffect::None ? Qt::MoveAction : ActionOf(effect));
    event->accept();  // moves inside the grid still decide cell by cell
}

void CGridWidget::dragMoveEvent(QDragMoveEvent* event)
{
    const DropEffect effect = grid_->OnDragOver(
        PointOf(event->position()), event->mimeData()->hasText(), ModsOf(event->modifiers()));
    if (effect == DropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(ActionOf(effect));
    event->accept();
}

void CGridWidget::dragLeaveEvent(QDragLeaveEvent*)
{
    grid_->OnDragLeave();
}

void CGridWidget::dropEvent(QDropEvent* event)
{
    const DropEffect effect = grid_->OnDragOver(
        PointOf(event->position()), event->mimeData()->hasText(), ModsOf(event->modifiers()));
    if (effect == DropEffect::None) {
        event->ignore();
        return;
    }
    // Text that was not all stored stays where it came from: the drop counts as a copy.
    const bool complete = grid_->OnDrop(event->mimeData()->text().toStdString(),
                                        IsProgramClipboardData(event->mimeData()));
    event->setDropAction(complete ? ActionOf(effect) : Qt::CopyAction);
    event->accept();
}
