#include "SkinBitmap.h"

#include "ControlResources.h"
#include "SliderGeometry.h"

#include <QBitmap>
#include <QPainter>

bool CSkinTransBitmap::Load(int bitmapId)
{
    QPixmap pm = res::LoadBitmap(bitmapId);
    if (pm.isNull())
        return false;
    const QColor key = pm.toImage().pixelColor(0, 0);
    pm.setMask(pm.createMaskFromColor(key, Qt::MaskInColor));
    pixmap_ = pm;
    return true;
}

void CSkinTransBitmap::Draw(QPainter& p, int x, int y) const
{
    if (!pixmap_.isNull())
        p.drawPixmap(x, y, pixmap_);
}

void CSkinBackgroundBitmap::Render(const QSize& client, const QPixmap& channel, int thumbWidth,
                                   const QColor& face)
{
    QPixmap pm(client.isEmpty() ? QSize(1, 1) : client);
    pm.fill(face);
    if (!channel.isNull()) {
        QPainter p(&pm);
        const SliderRect r =
            slider::BackgroundStretch(client.width(), thumbWidth, channel.height());
        p.drawPixmap(QRect(r.left, r.top, r.Width(), r.Height()), channel);
    }
    pixmap_ = pm;
}
