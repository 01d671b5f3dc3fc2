// GridPainter over a QPainter: the grid's drawing calls for the window, an image and the printer.
// Without a QPainter it only measures (the grid's measurer for auto-size and title tips).
// Text is always measured as on the screen, since the grid's sizes are screen pixels.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetrics>
#include <QPixmap>

#include "GridPainter.h"

class QPainter;

QColor ToQColor(GridColor color);
GridColor FromQColor(const QColor& color);
// The real font for a cell font; an empty face and a zero height take base's.
QFont ToQFont(const GridFont& font, const QFont& base);

class CQtGridPainter : public GridPainter {
public:
    // painter null: measuring only. base: the font a default GridFont stands for.
    CQtGridPainter(QPainter* painter, const QFont& base);

    void SetBaseFont(const QFont& base);
    // Draws with another painter from now on, keeping the measured fonts (same kind of device).
    void SetPainter(QPainter* painter);
    // Clips every text to its rectangle (paper: glyphs there may come out a little wider than
    // the screen metrics that laid the page out).
    void SetClipAllText(bool on) { clipAllText_ = on; }
    // The owner's image list; null or empty draws no images.
    void SetImageList(const std::vector<QPixmap>* images) { images_ = images; }

    void FillRect(const GridRect& rect, GridColor color) override;
    void FrameRect(const GridRect& rect, GridColor color) override;
    void DrawLine(int x0, int y0, int x1, int y1, GridColor color) override;
    void DrawText(const GridRect& rect, std::string_view text, const GridFont& font,
                  GridColor color, unsigned format) override;
    GridSize MeasureText(std::string_view text, const GridFont& font) override;
    void SetClipRect(const GridRect* rect) override;
    void DrawImage(int index, GridPoint topLeft) override;

private:
    struct FontEntry {
        GridFont key;
        QFont font;
        QFontMetrics metrics;
        int height = 0;  // the metrics' line height, asked once (Qt computes it every time)
        // Advances of the printable ASCII characters, measured when first needed (-1 before).
        std::array<int, 128> advances;
    };
    FontEntry& Entry(const GridFont& font);
    void UseFont(const FontEntry& entry);
    void UsePen(GridColor color);
    void DrawRotated(const QRect& rect, const QString& text, const FontEntry& entry,
                     unsigned format);

    QPainter* painter_;
    QFont base_;
    std::deque<FontEntry> fonts_;  // entries never move
    FontEntry* lastFont_ = nullptr;
    const FontEntry* currentFont_ = nullptr;  // the font set on the painter
    std::optional<GridColor> pen_;
    std::optional<QRect> clip_;
    const std::vector<QPixmap>* images_ = nullptr;
    bool clipAllText_ = false;
};
