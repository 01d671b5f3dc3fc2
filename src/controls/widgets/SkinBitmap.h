// Bitmaps of the skinned slider: one that knows its size, one drawn with a transparent colour
// (the colour of its top-left pixel), and a pre-rendered channel background.
#pragma once

#include <QPixmap>

class QPainter;

class CSkinBitmap {
public:
    CSkinBitmap() = default;
    explicit CSkinBitmap(QPixmap pm) : pixmap_(std::move(pm)) {}
    bool IsNull() const { return pixmap_.isNull(); }
    int Width() const { return pixmap_.width(); }
    int Height() const { return pixmap_.height(); }
    const QPixmap& Pixmap() const { return pixmap_; }

protected:
    QPixmap pixmap_;
};

class CSkinTransBitmap : public CSkinBitmap {
public:
    CSkinTransBitmap() = default;
    // False when the bitmap id is unknown.
    bool Load(int bitmapId);
    void Draw(QPainter& p, int x, int y) const;
};

class CSkinBackgroundBitmap : public CSkinBitmap {
public:
    // The client area filled with the button face and the channel bitmap stretched over it.
    void Render(const QSize& client, const QPixmap& channel, int thumbWidth, const QColor& face);
};
