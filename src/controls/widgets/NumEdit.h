// CNumEdit: the number and frequency entry field. It holds a digit string and a sign and always
// shows them formatted (NumText.h); values pass in and out as doubles. Only digits, '+' and '-'
// can be typed; a pasted text (the middle button's primary selection too) must consist of what
// the field shows. Status texts set by the program ("OFF LINE") are shown as they are and read
// as 0.
//
// While it has the focus it shows a steady caret whose width follows the font, so where a typed
// digit goes is visible on the large frequency display too.
//
// With EnableRightClickNotify the right button reports 0x204/0x205 to the dialog instead of
// opening the context menu.
#pragma once

#include "ColorEdit.h"
#include "NumText.h"

class CNumEdit : public CColorEdit {
    Q_OBJECT
public:
    explicit CNumEdit(QWidget* parent = nullptr);

    void SetFormat(int decimals, char decimalChar, bool showSign = false, bool signInFront = false);
    void SetValue(double value);
    double GetValue() const;
    void EnableRightClickNotify() { rightClickNotify_ = true; }
    bool RButtonIsDown() const { return rButtonIsDown_; }

    // A text set by the program (digits are formatted; a status is shown unchanged). False when
    // nothing changed.
    bool SetWindowText(const QString& text);

    // The clipboard operations of the field.
    void Copy();
    void Cut();
    void Paste();

    const NumEditModel& Model() const { return model_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    // The primary selection a middle click pastes; empty where the platform has none.
    virtual QString SelectionText() const;

private:
    void PasteText(const QString& text);
    void TakeSelection();
    void Show();
    void OnTextChanged(const QString& text);

    NumEditModel model_;
    bool settingText_ = false;
    bool rButtonIsDown_ = false;
    bool rightClickNotify_ = false;
};
