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
    CCellEditor(QWidget* grid, const CellEditorRequest& request, const QFont& font, int maxRight, EndHandler onEnd);

    int Row() const { return m_row; }
    int Col() const { return m_col; }
    std::string Text() const { return text().toStdString(); }
    // A character typed while the editor is open but the grid had the key.
    void AddChar(char32_t ch);
    // After this the editor reports nothing more.
    void Detach() { m_ended = true; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void End(EditEndKey key);
    void Widen();

    int m_row, m_col;
    QString m_initial;
    bool m_exitOnArrows;
    int m_maxRight;
    bool m_ended = false;
    EndHandler m_onEnd;
};
