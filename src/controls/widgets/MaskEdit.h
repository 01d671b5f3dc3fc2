// CMaskEdit: an edit field that accepts characters only where its mask allows them and
// overwrites instead of inserting (MaskText.h); a paste, the middle button's too, goes through
// the mask. CTimeEdit: the "HH:MM" field of the sked windows, which accepts only valid times
// of day.
#pragma once

#include "MaskText.h"

#include <QDateTime>
#include <QLineEdit>

class CMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CMaskEdit(QWidget* parent = nullptr);

    void SetMask(const std::string& mask, const std::string& literal);
    bool UseMask() const { return useMask_; }
    // A text set by the program; Backspace puts its characters back.
    void SetMaskedText(const QString& text);
    const MaskEditModel& Model() const { return model_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // The primary selection a middle click pastes; empty where the platform has none.
    virtual QString SelectionText() const;

    bool useMask_ = false;
    MaskEditModel model_{"", ""};

private:
    void Show();
    int TypingPosition() const;
    void PasteClipboard();
    void PasteText(const QString& text);
};

class CTimeEdit : public CMaskEdit {
    Q_OBJECT
public:
    explicit CTimeEdit(QWidget* parent = nullptr);
};

// The date-time exchange of the time field: set shows "HH:MM" (empty for a null value); get
// reads a complete, valid time into `value` (keeping its date) and returns false, leaving
// `value` unchanged, for anything else.
void DDX_TimeEditSet(const QDateTime& value, CTimeEdit& control);
bool DDX_TimeEditGet(QDateTime& value, const CTimeEdit& control);
