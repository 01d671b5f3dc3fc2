#include "ColorEdit.h"

#include "QtColor.h"

#include <QApplication>
#include <QEvent>

CColorEdit::CColorEdit(QWidget* parent) : QLineEdit(parent) {}

COLORREF CColorEdit::GetBkColor() const
{
    return bkColor_ ? *bkColor_
                    : FromQColor(SystemColor(QApplication::palette(this), SysColor::Window));
}

COLORREF CColorEdit::GetTextColor() const
{
    return textColor_ ? *textColor_
                      : FromQColor(SystemColor(QApplication::palette(this), SysColor::WindowText));
}

COLORREF CColorEdit::SetBkColor(COLORREF color)
{
    const COLORREF old = GetBkColor();
    bkColor_ = color;
    ApplyColors();
    return old;
}

COLORREF CColorEdit::SetTextColor(COLORREF color)
{
    const COLORREF old = GetTextColor();
    textColor_ = color;
    ApplyColors();
    return old;
}

void CColorEdit::SetBlankWhenEmpty(bool on)
{
    if (on && !blankWhenEmpty_) {
        connect(this, &QLineEdit::textChanged, this, [this] {
            // Only becoming empty or no longer empty changes the colours.
            if (IsBlank() != shownBlank_)
                ApplyColors();
        });
    }
    blankWhenEmpty_ = on;
    ApplyColors();
}

void CColorEdit::ApplyColors()
{
    applying_ = true;
    shownBlank_ = IsBlank();
    QPalette p = palette();
    const QColor bk = shownBlank_ ? QColor(Qt::transparent) : ToQColor(GetBkColor());
    const QColor fg = ToQColor(GetTextColor());
    // Disabled too: the panel keeps its scheme while the window is disabled (progress, start-up).
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, bk);
        p.setColor(group, QPalette::Text, fg);
    }
    setPalette(p);
    applying_ = false;
    update();
}

void CColorEdit::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    // A new system palette: colours left to the system follow it, those set here stay.
    if (e->type() == QEvent::ApplicationPaletteChange && !applying_ && (bkColor_ || textColor_))
        ApplyColors();
}

bool CColorEdit::SetPointFont(int points, const std::string& face)
{
    if (points <= 0 || face.empty())
        return false;
    QFont f(QString::fromStdString(face));
    f.setPointSize(points);
    setFont(f);
    return true;
}

void CColorEdit::SetLogFont(const QFont& font)
{
    setFont(font);
}

void CColorEdit::SetBold()
{
    QFont f = font();
    f.setWeight(QFont::Black);
    setFont(f);
}

void CColorEdit::SetNoBorder(bool on)
{
    noBorder_ = on;
    setFrame(!on);
}
