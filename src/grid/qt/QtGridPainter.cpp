// Drawing the grid with QPainter. Single-line text, by far the common case, is placed by hand
// from the font metrics instead of through Qt's general text layout, which costs much more.
#include "QtGridPainter.h"

#include <algorithm>
#include <cstdlib>

#include <QPainter>

namespace {

bool IsNoColor(GridColor color) { return (color & 0xFF000000u) != 0; }

QRect ToQRect(const GridRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

int Alignment(unsigned format) {
    int flags = (format & DT_RIGHT) ? Qt::AlignRight : (format & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
    if (format & DT_SINGLELINE)
        flags |= (format & DT_BOTTOM) ? Qt::AlignBottom : (format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) flags |= Qt::TextWordWrap;
    if (format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
    return flags;
}

}  // namespace

QColor ToQColor(GridColor color) { return QColor(GridRed(color), GridGreen(color), GridBlue(color)); }

GridColor FromQColor(const QColor& color) { return GridRgb(color.red(), color.green(), color.blue()); }

QFont ToQFont(const GridFont& font, const QFont& base) {
    QFont f = base;
    if (!font.face.empty()) f.setFamily(QString::fromStdString(font.face));
    if (font.height > 0) f.setPixelSize(font.height);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));  // the same 100..900 scale
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

CQtGridPainter::CQtGridPainter(QPainter* painter, const QFont& base) : m_painter(painter), m_base(base) {}

void CQtGridPainter::SetBaseFont(const QFont& base) {
    m_base = base;
    m_fonts.clear();
    m_lastFont = nullptr;
    m_currentFont = nullptr;
}

void CQtGridPainter::SetPainter(QPainter* painter) {
    m_painter = painter;
    m_currentFont = nullptr;
    m_pen.reset();
    m_clip.reset();
}

const CQtGridPainter::FontEntry& CQtGridPainter::Entry(const GridFont& font) {
    if (m_lastFont && m_lastFont->key == font) return *m_lastFont;
    for (const FontEntry& e : m_fonts)
        if (e.key == font) return *(m_lastFont = &e);
    const QFont qfont = ToQFont(font, m_base);
    m_fonts.push_back({font, qfont, QFontMetrics(qfont)});
    return *(m_lastFont = &m_fonts.back());
}

void CQtGridPainter::UseFont(const FontEntry& entry) {
    if (m_currentFont == &entry) return;
    m_painter->setFont(entry.font);
    m_currentFont = &entry;
}

void CQtGridPainter::UsePen(GridColor color) {
    if (m_pen == color) return;
    m_painter->setPen(ToQColor(color));
    m_pen = color;
}

void CQtGridPainter::FillRect(const GridRect& rect, GridColor color) {
    if (!m_painter || rect.IsEmpty() || IsNoColor(color)) return;
    m_painter->fillRect(ToQRect(rect), ToQColor(color));
}

void CQtGridPainter::FrameRect(const GridRect& rect, GridColor color) {
    if (!m_painter || rect.IsEmpty() || IsNoColor(color)) return;
    const QColor c = ToQColor(color);
    const int w = rect.Width(), h = rect.Height();
    m_painter->fillRect(rect.left, rect.top, w, 1, c);
    m_painter->fillRect(rect.left, rect.bottom - 1, w, 1, c);
    m_painter->fillRect(rect.left, rect.top, 1, h, c);
    m_painter->fillRect(rect.right - 1, rect.top, 1, h, c);
}

void CQtGridPainter::DrawLine(int x0, int y0, int x1, int y1, GridColor color) {
    if (!m_painter || IsNoColor(color)) return;
    // Straight lines as one-pixel fills: exact ends and no pen set-up.
    if (x0 == x1) {
        m_painter->fillRect(x0, std::min(y0, y1), 1, std::abs(y1 - y0) + 1, ToQColor(color));
    } else if (y0 == y1) {
        m_painter->fillRect(std::min(x0, x1), y0, std::abs(x1 - x0) + 1, 1, ToQColor(color));
    } else {
        UsePen(color);
        m_painter->drawLine(x0, y0, x1, y1);
    }
}

void CQtGridPainter::DrawText(const GridRect& rect, std::string_view text, const GridFont& font, GridColor color,
                              unsigned format) {
    if (!m_painter || text.empty() || rect.IsEmpty()) return;
    const FontEntry& entry = Entry(font);
    UseFont(entry);
    UsePen(IsNoColor(color) ? GridRgb(0, 0, 0) : color);
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRect r = ToQRect(rect);
    if (font.escapement != 0) {
        DrawRotated(r, s, entry, format);
        return;
    }
    const bool single = (format & DT_SINGLELINE) || !s.contains(QLatin1Char('\n'));
    if (!single || ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))) {
        m_painter->drawText(r, Alignment(format), s);  // clips to r by itself
        return;
    }
    if (format & DT_SINGLELINE) s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QFontMetrics& fm = entry.metrics;
    int width = fm.horizontalAdvance(s);
    if (width > r.width() && (format & DT_END_ELLIPSIS)) {
        s = fm.elidedText(s, Qt::ElideRight, r.width());
        width = fm.horizontalAdvance(s);
    }
    int x = r.left();
    if (format & DT_RIGHT)
        x = r.left() + r.width() - width;
    else if (format & DT_CENTER)
        x = r.left() + (r.width() - width) / 2;
    int y = r.top() + fm.ascent();
    if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        y = r.top() + r.height() - fm.descent();
    else if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        y = r.top() + (r.height() - fm.height()) / 2 + fm.ascent();
    const bool spills = m_clipAllText || width > r.width() || fm.height() > r.height();
    if (spills) m_painter->setClipRect(m_clip ? r.intersected(*m_clip) : r);
    m_painter->drawText(QPoint(x, y), s);
    if (spills) {
        if (m_clip)
            m_painter->setClipRect(*m_clip);
        else
            m_painter->setClipping(false);
    }
}

void CQtGridPainter::DrawRotated(const QRect& r, const QString& text, const FontEntry& entry, unsigned format) {
    // Vertical text reads bottom to top (900) or top to bottom (-900).
    m_painter->save();
    m_painter->setClipRect(m_clip ? r.intersected(*m_clip) : r);
    const int angle = -entry.key.escapement / 10;
    if (angle == -90) {
        m_painter->translate(r.left(), r.bottom() + 1);
    } else if (angle == 90) {
        m_painter->translate(r.right() + 1, r.top());
    } else {
        m_painter->translate(r.left(), r.top());
    }
    m_painter->rotate(angle);
    const QRect local = (angle == 90 || angle == -90) ? QRect(0, 0, r.height(), r.width()) : QRect(0, 0, r.width(), r.height());
    m_painter->drawText(local, Alignment(format), text);
    m_painter->restore();
    m_currentFont = nullptr;
    m_pen.reset();
}

GridSize CQtGridPainter::MeasureText(std::string_view text, const GridFont& font) {
    const QFontMetrics& fm = Entry(font).metrics;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {fm.horizontalAdvance(s), fm.height()};
}

void CQtGridPainter::SetClipRect(const GridRect* rect) {
    if (rect)
        m_clip = ToQRect(*rect);
    else
        m_clip.reset();
    if (!m_painter) return;
    if (m_clip)
        m_painter->setClipRect(*m_clip);
    else
        m_painter->setClipping(false);
}

void CQtGridPainter::DrawImage(int index, GridPoint topLeft) {
    if (!m_painter || !m_images || index < 0 || index >= static_cast<int>(m_images->size())) return;
    m_painter->drawPixmap(topLeft.x, topLeft.y, (*m_images)[static_cast<std::size_t>(index)]);
}
