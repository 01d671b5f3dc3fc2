// CODrawCombo: a combo box whose items are drawn by an exchangeable drawer. CFontDrawC: the
// drawer that lists the installed font families, each name in its own font.
#pragma once

#include <QComboBox>
#include <QStringList>

class QListWidget;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;

class CODrawer {
public:
    virtual ~CODrawer() = default;
    // index -1 (no item) is not drawn.
    virtual void DrawItem(QPainter& p, const QRect& rect, const QString& text, bool selected,
                          bool hasFocus, const QPalette& palette) = 0;
    virtual int MeasureItem(const QWidget* control) const = 0;
    virtual void FillListBox(QListWidget* list) = 0;
    virtual void FillComboBox(QComboBox* combo) = 0;
    virtual int CompareItem() const { return -1; }
};

class CFontDrawC : public CODrawer {
public:
    void DrawItem(QPainter& p, const QRect& rect, const QString& face, bool selected, bool hasFocus,
                  const QPalette& palette) override;
    int MeasureItem(const QWidget* control) const override;
    void FillListBox(QListWidget* list) override;
    void FillComboBox(QComboBox* combo) override;
    const QStringList& Fonts() const { return fonts_; }

private:
    void Enumerate();

    QStringList fonts_;
    bool filled_ = false;
};

class CODrawCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CODrawCombo(QWidget* parent = nullptr);
    // The drawer is not owned.
    void SetDrawer(CODrawer* drawer);
    CODrawer* Drawer() const { return drawer_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    CODrawer* drawer_ = nullptr;
};

// The font choice: a CODrawCombo with its own font drawer, filled with the installed families.
class CFontCombo : public CODrawCombo {
    Q_OBJECT
public:
    explicit CFontCombo(QWidget* parent = nullptr);

private:
    CFontDrawC fontDrawer_;
};
