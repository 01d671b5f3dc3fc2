#include "RecorderGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace audio {

QPixmap GlyphPixmap(Glyph glyph, bool pressed, bool bright)
{
    constexpr int kSize = 20;
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor idle(0x50, 0x50, 0x58);
    switch (glyph) {
    case Glyph::Record:
        p.setBrush(pressed ? QColor(0xE0, 0x10, 0x10) : QColor(0x90, 0x30, 0x30));
        p.drawEllipse(QRectF(4, 4, 12, 12));
        break;
    case Glyph::Pause: {
        const QColor c = !pressed ? idle
                         : bright ? QColor(0xFF, 0xB0, 0x00)
                                  : QColor(0x90, 0x60, 0x00);
        p.setBrush(c);
        p.drawRect(QRectF(5, 4, 3.5, 12));
        p.drawRect(QRectF(11.5, 4, 3.5, 12));
        break;
    }
    case Glyph::Play: {
        QPainterPath path;
        path.moveTo(6, 4);
        path.lineTo(16, 10);
        path.lineTo(6, 16);
        path.closeSubpath();
        p.setBrush(pressed ? QColor(0x10, 0xA0, 0x30) : idle);
        p.drawPath(path);
        break;
    }
    case Glyph::Settings:
        p.setBrush(pressed ? QColor(0x20, 0x60, 0xC0) : idle);
        for (int y : {5, 9, 13})
            p.drawRect(QRectF(4, y, 12, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6, 4, 4, 4));
        p.drawEllipse(QRectF(11, 8, 4, 4));
        p.drawEllipse(QRectF(7, 12, 4, 4));
        break;
    }
    return pm;
}

}  // namespace audio
