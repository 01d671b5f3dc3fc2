#include "FontCombo.h"

#include "QtColor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {
constexpr int kTextIndent = 6;

class DrawerDelegate : public QStyledItemDelegate {
public:
    DrawerDelegate(CODrawCombo* combo) : QStyledItemDelegate(combo), combo_(combo) {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt,
               const QModelIndex& index) const override
    {
        CODrawer* d = combo_->Drawer();
        if (!d || !index.isValid())
            return QStyledItemDelegate::paint(p, opt, index);
        const bool selected = opt.state & QStyle::State_Selected;
        d->DrawItem(*p, opt.rect, index.data().toString(), selected,
                    QApplication::focusWidget() == combo_, opt.palette);
    }
    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        CODrawer* d = combo_->Drawer();
        if (!d)
            return QStyledItemDelegate::sizeHint(opt, index);
        return {QStyledItemDelegate::sizeHint(opt, index).width(), d->MeasureItem(combo_)};
    }

private:
    CODrawCombo* combo_;
};
}  // namespace

void CFontDrawC::Enumerate()
{
    if (filled_)
        return;
    fonts_ = QFontDatabase::families();
    filled_ = true;
}

void CFontDrawC::FillComboBox(QComboBox* combo)
{
    Enumerate();
    for (const QString& f : fonts_)
        combo->addItem(f, f);
}

void CFontDrawC::FillListBox(QListWidget* list)
{
    Enumerate();
    for (const QString& f : fonts_) {
        auto* item = new QListWidgetItem(f, list);
        item->setData(Qt::UserRole, f);
    }
}

int CFontDrawC::MeasureItem(const QWidget* control) const
{
    const QStyle* s = control ? control->style() : QApplication::style();
    const int h = s->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, control) - 2;
    const int text = control ? control->fontMetrics().height() + 2 : h;
    return std::max(h, text);
}

void CFontDrawC::DrawItem(QPainter& p, const QRect& rect, const QString& face, bool selected,
                          bool hasFocus, const QPalette& palette)
{
    p.save();
    p.fillRect(rect, SystemColor(palette, selected ? SysColor::Highlight : SysColor::Window));
    p.setPen(SystemColor(palette, selected ? SysColor::HighlightText : SysColor::WindowText));
    QFont f(face);
    f.setPointSizeF(p.font().pointSizeF() > 0 ? p.font().pointSizeF() : 9);
    p.setFont(f);
    p.drawText(rect.adjusted(kTextIndent, 0, 0, 0),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, face);
    if (selected && hasFocus) {
        p.setPen(QPen(SystemColor(palette, SysColor::HighlightText), 1, Qt::DotLine));
        p.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    p.restore();
}

CODrawCombo::CODrawCombo(QWidget* parent) : QComboBox(parent)
{
    view()->setItemDelegate(new DrawerDelegate(this));
}

void CODrawCombo::SetDrawer(CODrawer* drawer)
{
    drawer_ = drawer;
    update();
}

void CODrawCombo::paintEvent(QPaintEvent* e)
{
    if (!drawer_ || isEditable())
        return QComboBox::paintEvent(e);
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    if (currentIndex() < 0)
        return;
    const QRect r =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    drawer_->DrawItem(p, r, currentText(), hasFocus(), hasFocus(), palette());
}

CFontCombo::CFontCombo(QWidget* parent) : CODrawCombo(parent)
{
    SetDrawer(&fontDrawer_);
    fontDrawer_.FillComboBox(this);
}
