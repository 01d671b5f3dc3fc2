// CLinkLabel: a static text that opens its link with the desktop's opener: link colour, visited
// and hover colours, underline while hovered (or always, or never), a hand cursor and the link
// as tool tip. A link that cannot be opened gives "Unable to open hyperlink:" with the reason.
#pragma once

#include "ColorRef.h"

#include <QBasicTimer>
#include <QLabel>

#include <functional>

class CLinkLabel : public QLabel {
    Q_OBJECT
public:
    // Opens a link; returns a value above 32 on success, else the error code (LinkErrors.h).
    using Opener = std::function<int(const QString& url)>;
    // Replaces the opener of every link label (tests); null restores the desktop's.
    static void SetOpener(Opener opener);

    explicit CLinkLabel(QWidget* parent = nullptr);
    CLinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetURL(const QString& url);
    QString GetURL() const { return url_; }
    void SetVisited();
    bool IsVisited() const { return visited_; }
    // -1 underline while hovered, 1 always, 0 never.
    void SetUnderline(int mode);
    void SetAutoSize(bool on) { adjustToFit_ = on; }
    bool IsHovered() const { return overControl_; }
    COLORREF CurrentColor() const;

    // What a click does.
    void OpenLink();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Init();
    void ApplyUnderline();
    void Resize();
    void EndHover();

    COLORREF linkColor_ = 0xEE0000;
    COLORREF visitedColor_ = 0x8B1A55;
    COLORREF hoverColor_ = 0x0000FF;
    bool overControl_ = false;
    bool visited_ = false;
    int underlineMode_ = -1;
    bool adjustToFit_ = true;
    QString url_;
    QBasicTimer hoverTimer_;
};
