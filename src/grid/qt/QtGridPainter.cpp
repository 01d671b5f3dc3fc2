// Drawing the grid with QPainter. Single-line text, by far the common case, is placed by hand
// from the font metrics instead of through Qt's general text layout, which costs much more.
#include "QtGridPainter.h"

#include <algorithm>
#include <cstdlib>

#include <QPainter>

namespace {

bool IsNoColor(GridColor color)
{
    return (color & 0xFF000000u) != 0;
}

QRect ToQRect(const GridRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

int Alignment(unsigned format)
{
    int flags = (format & DT_RIGHT)    ? Qt::AlignRight
                : (format & DT_CENTER) ? Qt::AlignHCenter
                                       : Qt::AlignLeft;
    if (format & DT_SINGLELINE)
        flags |= (format & DT_BOTTOM)    ? Qt::AlignBottom
                 : (format & DT_VCENTER) ? Qt::AlignVCenter
                                         : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
        flags |= Qt::TextWordWrap;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    return flags;
}

}  // namespace

QColor ToQColor(GridColor color)
{
    return QColor(GridRed(color), GridGreen(color), GridBlue(color));
}

GridColor FromQColor(const QColor& color)
{
    return GridRgb(color.red(), color.green(), color.blue());
}

QFont ToQFont(const GridFont& font, const QFont& base)
{
    QFont f = base;
    if (!font.face.empty())
        f.setFamily(QString::fromStdString(font.face));
    if (font.height > 0)
        f.setPixelSize(font.height);
    f.setWeight(
        static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));  // the same 100..900 scale
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

CQtGridPainter::CQtGridPainter(QPainter* painter, const QFont& base)
    : painter_(painter), base_(base)
{
}

void CQtGridPainter::SetBaseFont(const QFont& base)
{
    base_ = base;
    fonts_.clear();
    lastFont_ = nullptr;
    currentFont_ = nullptr;
}

void CQtGridPainter::SetPainter(QPainter* painter)
{
    painter_ = painter;
    currentFont_ = nullptr;
    pen_.reset();
    clip_.reset();
}

CQtGridPainter::FontEntry& CQtGridPainter::Entry(const GridFont& font)
{
    if (lastFont_ && lastFont_->key == font)
        return *lastFont_;
    for (FontEntry& e : fonts_)
        if (e.key == font)
            return *(lastFont_ = &e);
    const QFont qfont = ToQFont(font, base_);
    const QFontMetrics metrics(qfont);
    fonts_.push_back({font, qfont, metrics, metrics.height(), {}});
    fonts_.back().advances.fill(-1);
    return *(lastFont_ = &fonts_.back());
}

void CQtGridPainter::UseFont(const FontEntry& entry)
{
    if (currentFont_ == &entry)
        return;
    painter_->setFont(entry.font);
    currentFont_ = &entry;
}

void CQtGridPainter::UsePen(GridColor color)
{
    if (pen_ == color)
        return;
    painter_->setPen(ToQColor(color));
    pen_ = color;
}

void CQtGridPainter::FillRect(const GridRect& rect, GridColor color)
{
    if (!painter_ || rect.IsEmpty() || IsNoColor(color))
        return;
    painter_->fillRect(ToQRect(rect), ToQColor(color));
}

void CQtGridPainter::FrameRect(const GridRect& rect, GridColor color)
{
    if (!painter_ || rect.IsEmpty() || IsNoColor(color))
        return;
    const QColor c = ToQColor(color);
    const int w = rect.Width(), h = rect.Height();
    painter_->fillRect(rect.left, rect.top, w, 1, c);
    painter_->fillRect(rect.left, rect.bottom - 1, w, 1, c);
    painter_->fillRect(rect.left, rect.top, 1, h, c);
    painter_->fillRect(rect.right - 1, rect.top, 1, h, c);
}

void CQtGridPainter::DrawLine(int x0, int y0, int x1, int y1, GridColor color)
{
    if (!painter_ || IsNoColor(color))
        return;
    // Straight lines as one-pixel fills: exact ends and no pen set-up.
    if (x0 == x1) {
        painter_->fillRect(x0, std::min(y0, y1), 1, std::abs(y1 - y0) + 1, ToQColor(color));
    } else if (y0 == y1) {
        painter_->fillRect(std::min(x0, x1), y0, std::abs(x1 - x0) + 1, 1, ToQColor(color));
    } else {
        UsePen(color);
        painter_->drawLine(x0, y0, x1, y1);
    }
}

void CQtGridPainter::DrawText(const GridRect& rect, std::string_view text, const GridFont& font,
                              GridColor color, unsigned format)
{
    if (!painter_ || text.empty() || rect.IsEmpty())
        return;
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
        painter_->drawText(r, Alignment(format), s);  // clips to r by itself
        return;
    }
    if (format & DT_SINGLELINE)
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
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
    const bool spills = clipAllText_ || width > r.width() || fm.height() > r.height();
    if (spills)
        painter_->setClipRect(clip_ ? r.intersected(*clip_) : r);
    painter_->drawText(QPoint(x, y), s);
    if (spills) {
        if (clip_)
            painter_->setClipRect(*clip_);
        else
            painter_->setClipping(false);
    }
}

void CQtGridPainter::DrawRotated(const QRect& r, const QString& text, const FontEntry& entry,
                                 unsigned format)
{
    // Vertical text reads bottom to top (900) or top to bottom (-900).
    painter_->save();
    painter_->setClipRect(clip_ ? r.intersected(*clip_) : r);
    const int angle = -entry.key.escapement / 10;
    if (angle == -90) {
        painter_->translate(r.left(), r.bottom() + 1);
    } else if (angle == 90) {
        painter_->translate(r.right() + 1, r.top());
    } else {
        painter_->translate(r.left(), r.top());
    }
    painter_->rotate(angle);
    const QRect local = (angle == 90 || angle == -90) ? QRect(0, 0, r.height(), r.width())
                                                      : QRect(0, 0, r.width(), r.height());
    painter_->drawText(local, Alignment(format), text);
    painter_->restore();
    currentFont_ = nullptr;
    pen_.reset();
}

GridSize CQtGridPainter::MeasureText(std::string_view text, const GridFont& font)
{
    // Auto-size measures every cell of a list: plain ASCII text is summed from the characters'
    // advances (kerning left out, so never narrower than drawn); other text goes to Qt.
    FontEntry& entry = Entry(font);
    int width = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            return {entry.metrics.horizontalAdvance(s), entry.height};
        }
        int& advance = entry.advances[u];
        if (advance < 0)
            advance = entry.metrics.horizontalAdvance(QChar(c));
        width += advance;
    }
    return {width, entry.height};
}

void CQtGridPainter::SetClipRect(const GridRect* rect)
{
    if (rect)
        clip_ = ToQRect(*rect);
    else
        clip_.reset();
    if (!painter_)
        return;
    if (clip_)
        painter_->setClipRect(*clip_);
    else
        painter_->setClipping(false);
}

void CQtGridPainter::DrawImage(int index, GridPoint topLeft)
{
    if (!painter_ || !images_ || index < 0 || index >= static_cast<int>(images_->size()))
        return;
    painter_->drawPixmap(topLeft.x, topLeft.y, (*images_)[static_cast<std::size_t>(index)]);
}
