// The in-place editor: a line edit laid over one cell. Enter, Tab and Esc end it (Esc puts the
// cell's text back first), so do the arrows and Page Up/Down when it was opened by typing or
// with Ctrl held, and so does losing the focus. It reports once, through the callback.
#pragma once

#include <functional>
#include <string>

#include <QLineEdit>

#include "GridHost.h"

class CCellEditor : public QLineEdit {
    Q_OBJECT
public:
    using EndHandler = std::function<void(CCellEditor&, EditEndKey)>;

    // maxRight: the editor never widens past this x (the grid's client width).
    CCellEditor(QWidget* grid, const CellEditorRequest& request, const QFont& font, int maxRight,
                EndHandler onEnd);

    int Row() const { return row_; }
    int Col() const { return col_; }
    std::string Text() const { return text().toStdString(); }
    // A character typed while the editor is open but the grid had the key.
    void AddChar(char32_t ch);
    // After this the editor reports nothing more.
    void Detach() { ended_ = true; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void End(EditEndKey key);
    void Widen();

    int row_, col_;
    QString initial_;
    bool exitOnArrows_;
    int maxRight_;
    bool ended_ = false;
    EndHandler onEnd_;
};
