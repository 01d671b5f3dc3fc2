#include "ControlResources.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

namespace res {
namespace {

QPixmap FromFile(const char* kind, int id)
{
    const QString path = QStringLiteral(":/res/%1/%2.png").arg(QLatin1String(kind)).arg(id);
    return QFile::exists(path) ? QPixmap(path) : QPixmap();
}

QPixmap Canvas(int w, int h, const QColor& fill)
{
    QPixmap p(w, h);
    p.fill(fill);
    return p;
}

// A plain arrow pointer, hot spot at (1, 1).
void DrawArrow(QPainter& p)
{
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 19);
    arrow.lineTo(6, 14);
    arrow.lineTo(10, 22);
    arrow.lineTo(13, 21);
    arrow.lineTo(9, 13);
    arrow.lineTo(15, 13);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

QCursor AvailableCursor()
{
    QPixmap pm = Canvas(32, 32, Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawArrow(p);
    p.setPen(QPen(QColor(0, 150, 0), 3));
    p.drawLine(17, 22, 21, 27);
    p.drawLine(21, 27, 29, 16);
    return QCursor(pm, 1, 1);
}

QCursor UnavailableCursor()
{
    QPixmap pm = Canvas(32, 32, Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawArrow(p);
    p.setPen(QPen(QColor(200, 0, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(23, 23), 6.5, 6.5);
    p.drawLine(19, 27, 27, 19);
    return QCursor(pm, 1, 1);
}

QCursor HandCursor()
{
    QPixmap pm = Canvas(32, 32, Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 1, 5, 16), 2.5, 2.5);  // index finger
    hand.addRoundedRect(QRectF(13, 8, 4, 10), 2, 2);
    hand.addRoundedRect(QRectF(17, 9, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(21, 10, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(7, 14, 18, 14), 4, 4);  // palm
    p.drawPath(hand.simplified());
    return QCursor(pm, 10, 1);
}

// A sunken groove across the middle with tick marks; blue for 285, amber for 286.
QPixmap Channel(const QColor& tint)
{
    QPixmap pm = Canvas(120, 24, QColor(0xD8, 0xD8, 0xD8));
    QPainter p(&pm);
    p.setPen(QColor(0x90, 0x90, 0x90));
    for (int x = 4; x < 120; x += 8)
        p.drawLine(x, 18, x, 21);
    p.fillRect(QRect(0, 8, 120, 6), QColor(0x50, 0x50, 0x50));
    p.fillRect(QRect(1, 9, 118, 4), tint);
    p.setPen(QColor(0xFF, 0xFF, 0xFF));
    p.drawLine(0, 14, 119, 14);
    return pm;
}

// The thumb on a magenta ground: the top-left pixel's colour is the transparent one.
QPixmap Thumb(bool pressed)
{
    QPixmap pm = Canvas(13, 22, QColor(255, 0, 255));
    QPainter p(&pm);
    QPainterPath body;
    body.moveTo(1, 1);
    body.lineTo(11, 1);
    body.lineTo(11, 15);
    body.lineTo(6, 20);
    body.lineTo(1, 15);
    body.closeSubpath();
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.setBrush(pressed ? QColor(0xF0, 0xA0, 0x20) : QColor(0xC8, 0xC8, 0xD0));
    p.drawPath(body);
    p.setPen(pressed ? QColor(0x80, 0x40, 0x00) : QColor(0x60, 0x60, 0x70));
    for (int y = 5; y <= 11; y += 3)
        p.drawLine(3, y, 9, y);
    return pm;
}

// A microphone: grey at rest, red while keyed.
QPixmap Microphone(const QColor& body)
{
    QPixmap pm = Canvas(32, 32, Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(11, 2, 10, 17), 5, 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    p.drawArc(QRectF(7, 8, 18, 16), 180 * 16, 180 * 16);
    p.drawLine(16, 24, 16, 29);
    p.drawLine(10, 29, 22, 29);
    return pm;
}

// A small key cap: outline, a lighter top face and a darker front lip. Drawn without
// antialiasing, so no pixel blends into the ground (white is the bitmaps' transparent colour).
QPixmap KeyCap(bool hovered, const QColor& ground)
{
    const QColor outline = hovered ? QColor(0x30, 0x50, 0x90) : QColor(0x40, 0x40, 0x48);
    const QColor body = hovered ? QColor(0xC8, 0xD8, 0xF4) : QColor(0xA8, 0xA8, 0xB4);
    const QColor face = hovered ? QColor(0xE8, 0xF0, 0xFE) : QColor(0xD4, 0xD4, 0xDC);
    const QColor lip = hovered ? QColor(0x90, 0xA4, 0xD0) : QColor(0x78, 0x78, 0x84);
    QPixmap pm = Canvas(18, 10, ground);
    QPainter p(&pm);
    p.setPen(outline);
    p.setBrush(body);
    p.drawRoundedRect(QRect(0, 0, 17, 9), 2, 2);
    p.fillRect(QRect(3, 2, 12, 4), face);
    p.setPen(lip);
    p.drawLine(2, 7, 15, 7);
    return pm;
}

}  // namespace

QPixmap LoadBitmap(int id)
{
    if (QPixmap pm = FromFile("bitmap", id); !pm.isNull())
        return pm;
    switch (id) {
    case kBitmapChannel: return Channel(QColor(0x30, 0x80, 0xE0));
    case kBitmapChannel2: return Channel(QColor(0xE0, 0xA0, 0x20));
    case kBitmapThumb: return Thumb(false);
    case kBitmapThumbActive: return Thumb(true);
    case kImageKeyCap: return KeyCap(false, Qt::white);
    case kImageKeyCapHovered: return KeyCap(true, Qt::white);
    default: return {};
    }
}

QPixmap LoadIcon(int id)
{
    if (QPixmap pm = FromFile("icon", id); !pm.isNull())
        return pm;
    switch (id) {
    case kIconPttIdle: return Microphone(QColor(0xB0, 0xB0, 0xB8));
    case kIconPttKeyed: return Microphone(QColor(0xFF, 0x20, 0x20));
    case kIconPttKeyedDim: return Microphone(QColor(0x80, 0x10, 0x10));
    case kImageKeyCap: return KeyCap(false, Qt::transparent);
    case kImageKeyCapHovered: return KeyCap(true, Qt::transparent);
    default: return {};
    }
}

std::optional<QCursor> LoadCursor(int id)
{
    if (QPixmap pm = FromFile("cursor", id); !pm.isNull())
        return QCursor(pm, 1, 1);
    switch (id) {
    case kCursorAvailable: return AvailableCursor();
    case kCursorUnavailable: return UnavailableCursor();
    case kCursorHand: return HandCursor();
    default: return std::nullopt;
    }
}

}  // namespace res
