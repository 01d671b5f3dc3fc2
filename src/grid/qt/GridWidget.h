// CGridWidget: the grid control's window. It holds a grid core (its own CMyDataGrid, or one the
// owner hands in), forwards input to it, paints it through CQtGridPainter and offers it the
// window services of GridHost: scroll bars, cursors, the auto-scroll timer, the in-place editor,
// the title tip, the clipboard and drag and drop (when the grid allows it).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "DataGrid.h"
#include "QtGridPainter.h"

class QScrollBar;
class CCellEditor;
class CCellTip;

class CGridWidget : public QWidget, public GridHost {
    Q_OBJECT
public:
    // grid null: the widget makes and owns a CMyDataGrid; otherwise grid must outlive the widget.
    explicit CGridWidget(QWidget* parent = nullptr, CDataGrid* grid = nullptr);
    ~CGridWidget() override;

    CDataGrid& Grid() { return *grid_; }
    const CDataGrid& Grid() const { return *grid_; }

    // The owner's image list for cell images.
    void SetImageList(std::vector<QPixmap> images);

    // Asks for a printer (a PDF file named after outputName is one of the choices) and prints
    // the whole grid. The document is named docName (the application title), else the nearest
    // window title. False when the user cancels or nothing was printed (the user is told).
    bool Print(const QString& docName, const std::string& outputName);

    // For tests and the owner: the open editor and the title tip, or null.
    CCellEditor* Editor() const;
    CCellTip* TitleTip() const { return tip_; }
    QScrollBar* HorizontalBar() const { return hbar_; }
    QScrollBar* VerticalBar() const { return vbar_; }

    // GridHost
    void Invalidate(const GridRect* rect) override;
    void ScrollBarsChanged(const ScrollBarInfo& horz, const ScrollBarInfo& vert) override;
    void SetCursor(GridCursor cursor) override;
    void SetCapture(bool capture) override;
    void StartAutoScrollTimer(int periodMs) override;
    void StopAutoScrollTimer() override;
    void TakeFocus() override;
    void FocusNextControl(bool previous) override;
    void OpenEditor(const CellEditorRequest& request) override;
    void SendCharToEditor(char32_t ch) override;
    void PasteIntoEditor() override;
    std::optional<std::string> CloseEditor() override;
    void ShowTitleTip(const GridRect& textRect, const std::string& text, const GridRect& hoverRect,
                      const GridFont& font, GridColor textColor, GridColor backColor) override;
    void HideTitleTip() override;
    std::optional<std::string> GetClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    bool ClipboardTextIsFromGrid() override;
    DropEffect DoDragDrop(const std::string& text) override;

    QSize sizeHint() const override { return {400, 300}; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnScrollAction(bool vertical, int action);
    void PlaceScrollBars();
    void OnEditorEnded(CCellEditor& editor, EditEndKey key);
    void ApplySystemColors();

    std::unique_ptr<CDataGrid> ownGrid_;
    CDataGrid* grid_;
    CQtGridPainter measurer_;  // measures outside painting
    CQtGridPainter paint_;     // keeps its fonts from one paint to the next
    std::vector<QPixmap> images_;
    QScrollBar* hbar_;
    QScrollBar* vbar_;
    QTimer autoScroll_;
    QPointer<CCellEditor> editor_;
    CCellTip* tip_ = nullptr;
    bool updatingBars_ = false;
};
