// CColorEdit: an edit field with its own text colour, background colour and font.
#pragma once

#include "ColorRef.h"

#include <QFont>
#include <QLineEdit>

#include <optional>
#include <string>

class CColorEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CColorEdit(QWidget* parent = nullptr);

    // Both return the colour in use before.
    COLORREF SetBkColor(COLORREF color);
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF GetTextColor() const;

    // False when the face is empty or the size not positive.
    bool SetPointFont(int points, const std::string& face);
    void SetLogFont(const QFont& font);
    QFont GetLogFont() const { return font(); }
    void SetBold();

    // On: while it holds no text it paints no background, so the panel it sits on shows
    // through and an empty display line is no coloured box.
    void SetBlankWhenEmpty(bool on);
    bool IsBlank() const { return blankWhenEmpty_ && text().isEmpty(); }

    void SetNoBorder(bool on);
    bool NoBorder() const { return noBorder_; }

protected:
    void changeEvent(QEvent* e) override;

private:
    void ApplyColors();

    bool noBorder_ = false;
    bool blankWhenEmpty_ = false;
    bool shownBlank_ = false;
    std::optional<COLORREF> bkColor_;    // none: the system's window colour
    std::optional<COLORREF> textColor_;  // none: the system's window text colour
    bool applying_ = false;
};
