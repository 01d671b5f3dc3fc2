// CColorLabel: a static text with its own text and background colours that can blink (text
// red/black once a second). A right click reports 0x205 to the dialog.
#pragma once

#include "ColorRef.h"

#include <QBasicTimer>
#include <QLabel>

#include <array>
#include <optional>

class CColorLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr COLORREF kSystemColor = 0xFFFFFFFF;  // -1: back to the system colour

    explicit CColorLabel(QWidget* parent = nullptr);
    CColorLabel(const QString& text, QWidget* parent = nullptr);

    void SetTextColor(COLORREF color);
    void SetBkColor(COLORREF color);
    void SetBlinkTextColors();
    void SetBlinkBkColors(COLORREF first, COLORREF second);
    // 1 starts blinking the text once a second, 0 stops it.
    void SetBlinkText(int mode);
    void SetBlinkBk(int mode);

    // On: while it has no text (and no blinking background) it paints no background, so the
    // panel it sits on shows through and an empty bar is no coloured box.
    void SetBlankWhenEmpty(bool on);
    bool IsBlank() const;

    // The colours painted now.
    COLORREF CurrentTextColor() const;
    COLORREF CurrentBkColor() const;
    bool IsBlinking() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Restart();
    COLORREF Resolve(const std::optional<COLORREF>& c, bool text) const;

    QBasicTimer timer_;
    std::optional<COLORREF> textColor_;
    std::array<std::optional<COLORREF>, 2> blinkTextColors_;
    int textBlink_ = 0;
    int textBlinkPhase_ = 0;
    std::optional<COLORREF> bkColor_;
    std::array<std::optional<COLORREF>, 2> blinkBkColors_;
    int bkBlink_ = 0;
    int bkBlinkPhase_ = 0;
    bool blankWhenEmpty_ = false;
};
