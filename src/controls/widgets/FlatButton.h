// CFlatButton: the program's push button, check box and menu button, painted by itself: an
// optional image beside or above the caption, six colours (hovered/pressed, normal and focused
// background and text), hover tracking in the flat look, a tool tip, a cursor and a popup menu.
// COnOffButton: the function switch whose caption colour shows whether the function is on.
//
// Clicks reach the dialog as BN_CLICKED through the framework; a chosen menu item reaches the
// menu owner as OnCommand(item id, 0).
#pragma once

#include "ColorRef.h"
#include "ColourScheme.h"

#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QMenu;

class CFlatButton : public QPushButton {
    Q_OBJECT
public:
    // The button type the dialog declared (read once, as when the button is attached).
    enum ButtonType { kPushButton = 0, kDefPushButton = 1, kCheckBox = 2 };
    // Codes for the normal look's image: the hovered image unchanged, darker, or grey.
    enum ImageCode { kSameImage = 0, kGreyImage = -2, kDarkerImage = -3 };
    enum ColorIndex { kBkIn = 0, kFgIn = 1, kBkOut = 2, kFgOut = 3, kBkFocus = 4, kFgFocus = 5 };

    explicit CFlatButton(QWidget* parent = nullptr);
    CFlatButton(const QString& caption, QWidget* parent = nullptr);
    ~CFlatButton() override;

    void SetButtonType(int type);
    bool IsCheckBox() const { return isCheckBox_; }
    bool IsDefault() const { return isDefault_; }

    // Images by resource id; `out` is another id or an ImageCode. 1 when an image cannot be read.
    int SetIcon(int in, int out = kSameImage);
    int SetIcon(const QPixmap& in, const QPixmap& out);
    int SetIcon(const QPixmap& in, int outCode);
    // Bitmaps: white pixels (TransparentColor) are not painted. 1 when a bitmap cannot be read.
    int SetBitmaps(int in, int out = kSameImage);
    int SetBitmaps(const QPixmap& in, int outCode);

    void SetFlat();
    bool IsFlat() const { return isFlat_; }
    // 0 image left, 1 above, 2 right, 3 top-left corner; 4 (nothing changed) for other values.
    int SetAlign(int align);
    int GetAlign() const { return align_; }
    void SetDrawBorder(bool on);
    void SetFlatFocus(bool on) { drawFlatFocus_ = on; }
    void SetAlwaysTrack(bool on) { alwaysTrack_ = on; }
    void SetDrawTransparent(bool on);

    void SetColor(int index, COLORREF color, bool repaint = true);
    // The colour in use: the one set, else the system colour.
    COLORREF GetColor(int index) const;
    bool HasOwnColor(int index) const;
    void SetDefaultColors(bool repaint = true);
    void LightenColor();

    void SetCheck(int check);
    int GetCheck() const { return checked_ ? 1 : 0; }

    // 0 removes the cursor; 1 when the id has no cursor.
    int SetCursor(int cursorId);
    void SetTooltipText(const std::string& text);
    void SetTooltipText(const char* text);
    void SetTooltipTextId();

    // Takes the menu (null removes it); chosen items go to `owner` as OnCommand(id, 0). The
    // items' ids are their actions' data.
    int SetMenu(QMenu* menu, QWidget* owner);
    QMenu* Menu() const { return menu_.get(); }
    static QAction* AddMenuCommand(QMenu* menu, int id, const QString& text);

    void SizeToContent();
    // With the transparent look: keeps the parent's pixels under the button; 5 otherwise.
    int CaptureBackground(QWidget* parent);

    bool IsHovered() const { return mouseOnButton_; }
    bool IsMenuShown() const { return menuShown_; }

protected:
    virtual void OnDrawBackground(QPainter& p, QRect& r);
    virtual void OnDrawBorder(QPainter& p, const QRect& r);
    virtual void DrawIcon(QPainter& p, bool hasCaption, const QRect& item, QRect& caption,
                          bool pressed, bool disabled);
    virtual void DrawBitmap(QPainter& p, bool hasCaption, const QRect& item, QRect& caption,
                            bool pressed, bool disabled);
    virtual void DrawText(QPainter& p, const QString& text, const QRect& item, const QRect& caption,
                          bool pressed, bool disabled);

    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    QSize sizeHint() const override;

private:
    void Init();
    void OnClicked();
    void Hover(bool on);
    QColor Color(int index) const;
    bool IsPressedLook() const;
    bool IsCheckedLook() const;
    QRect ImageRect(const QSize& size, bool hasCaption, const QRect& item, QRect& caption,
                    bool pressed) const;
    // Draws the icon or bitmap in its place, greyed when disabled.
    void DrawImage(QPainter& p, const QPixmap& pm, bool hasCaption, const QRect& item,
                   QRect& caption, bool pressed, bool disabled);
    void FreeImages();

    bool isFlat_ = true;
    bool mouseOnButton_ = false;
    bool drawTransparent_ = false;
    bool isDefault_ = false;
    bool isCheckBox_ = false;
    bool checked_ = false;
    int align_ = 0;
    bool drawBorder_ = true;
    bool drawFlatFocus_ = false;
    bool alwaysTrack_ = true;
    std::array<std::optional<COLORREF>, 6> colors_;
    QPoint imageMargin_{3, 3};
    QPoint pressedOffset_{1, 1};
    QPixmap iconIn_, iconOut_;
    QPixmap bitmapIn_, bitmapOut_;
    COLORREF transparentColor_ = 0xFFFFFF;
    std::unique_ptr<QMenu> menu_;
    QPointer<QWidget> menuOwner_;
    bool menuShown_ = false;
    QPixmap background_;
};

class COnOffButton : public CFlatButton {
    Q_OBJECT
public:
    using CFlatButton::CFlatButton;

    void SetOnOffColors(COLORREF on, COLORREF off);
    void SetOn(bool on);
    bool IsOn() const { return isOn_ != 0; }

    void ModifyMenuItem(int commandId, int newId, const QString& text);
    void RemoveMenuItem(int commandId);
    QString GetMenuItemText(int commandId) const;

private:
    QAction* FindMenuItem(int commandId) const;

    COLORREF onColor_ = 0;
    COLORREF offColor_ = 0;
    unsigned char isOn_ = 0;
};

// An on/off key as the main window shows it in a colour scheme: raised, on the light
// background, captioned in the text colours, and in the on colour while on.
void ApplyColourScheme(COnOffButton& button, const ColourScheme& scheme);
