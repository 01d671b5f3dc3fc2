// Between the program's 0x00BBGGRR colours and Qt's, and the system colours the controls use.
#pragma once

#include "ColorRef.h"

#include <QColor>
#include <QPalette>

inline QColor ToQColor(COLORREF c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline COLORREF FromQColor(const QColor& c)
{
    return RgbColor(c.red(), c.green(), c.blue());
}

// The classic system colours, read from a widget's palette.
enum class SysColor {
    BtnFace,
    BtnText,
    BtnShadow,
    BtnHighlight,
    Light3D,
    DkShadow3D,
    Window,
    WindowText,
    Highlight,
    HighlightText
};

inline QColor SystemColor(const QPalette& p, SysColor which)
{
    switch (which) {
    case SysColor::BtnFace: return p.color(QPalette::Button);
    case SysColor::BtnText: return p.color(QPalette::ButtonText);
    case SysColor::BtnShadow: return p.color(QPalette::Mid);
    case SysColor::BtnHighlight: return p.color(QPalette::Light);
    case SysColor::Light3D: return p.color(QPalette::Midlight);
    case SysColor::DkShadow3D: return p.color(QPalette::Shadow);
    case SysColor::Window: return p.color(QPalette::Base);
    case SysColor::WindowText: return p.color(QPalette::Text);
    case SysColor::Highlight: return p.color(QPalette::Highlight);
    case SysColor::HighlightText: return p.color(QPalette::HighlightedText);
    }
    return {};
}
