#include "ControlFactory.h"

#include "CommandCodes.h"
#include "PageTabCtrl.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTextEdit>

#include <map>

namespace {

constexpr const char* kIdProperty = "corvaneControlId";
constexpr const char* kSortedProperty = "corvaneSorted";

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QWidget* MakeStatic(const ControlSpec& decl, QWidget* parent)
{
    auto* label = new QLabel(parent);
    // Texts come from language files: never rich text.
    label->setTextFormat(Qt::PlainText);
    if (decl.style & tpl::kCenter)
        label->setAlignment(Qt::AlignCenter);
    else if (decl.style & tpl::kRight)
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QWidget* MakeButton(const ControlSpec&, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    // Enter belongs to the dialog, which presses the focused button (CMyFontDialog::keyPressEvent).
    button->setAutoDefault(false);
    return button;
}

QWidget* MakeEdit(const ControlSpec& decl, QWidget* parent)
{
    if (decl.style & tpl::kMultiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(decl.style & tpl::kReadOnly);
        edit->setPlainText(Q(decl.caption));
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(decl.style & tpl::kReadOnly);
    if (decl.style & tpl::kPassword)
        edit->setEchoMode(QLineEdit::Password);
    if (decl.style & tpl::kNumber)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    edit->setText(Q(decl.caption));
    return edit;
}

QWidget* MakeCombo(const ControlSpec& decl, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(decl.style & tpl::kEditable);
    return combo;
}

QWidget* MakeList(const ControlSpec& decl, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setSortingEnabled(decl.style & tpl::kSorted);
    return list;
}

std::map<std::string, ControlCreator>& Classes()
{
    static std::map<std::string, ControlCreator> classes = {
        {"STATIC", MakeStatic},
        {"BUTTON", MakeButton},
        {"CHECKBOX", [](const ControlSpec&, QWidget* p) -> QWidget* { return new QCheckBox(p); }},
        {"RADIOBUTTON",
         [](const ControlSpec&, QWidget* p) -> QWidget* { return new QRadioButton(p); }},
        {"EDIT", MakeEdit},
        {"COMBOBOX", MakeCombo},
        {"LISTBOX", MakeList},
        {"TABCONTROL",
         [](const ControlSpec&, QWidget* p) -> QWidget* { return new CPageTabCtrl(p); }},
        {"PROGRESS",
         [](const ControlSpec&, QWidget* p) -> QWidget* {
             // The bar alone: the count is the dialog's own text.
             auto* bar = new QProgressBar(p);
             bar->setTextVisible(false);
             return bar;
         }},
        {"FRAME", [](const ControlSpec&, QWidget* p) -> QWidget* { return new QFrame(p); }},
    };
    return classes;
}

// Edit-like widgets hold data, not captions.
bool IsDataWidget(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w)
           || qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w)
           || qobject_cast<const QAbstractSpinBox*>(w);
}

int TextPropertyIndex(const QWidget* w)
{
    const QMetaObject* mo = w->metaObject();
    int index = mo->indexOfProperty("text");
    if (index < 0)
        return -1;
    QMetaProperty p = mo->property(index);
    return p.isWritable() && p.metaType().id() == QMetaType::QString ? index : -1;
}

}  // namespace

void RegisterControlClass(const std::string& className, ControlCreator creator)
{
    if (creator)
        Classes()[className] = std::move(creator);
}

bool IsControlClassRegistered(const std::string& className)
{
    return Classes().count(className) != 0;
}

QWidget* CreateControl(const ControlSpec& decl, QWidget* parent)
{
    QWidget* w = nullptr;
    auto it = Classes().find(decl.className);
    if (it != Classes().end())
        w = it->second(decl, parent);
    if (!w)
        w = new QWidget(parent);  // unknown class or a creator that failed
    if (w->parentWidget() != parent)
        w->setParent(parent);
    SetControlId(w, decl.id);
    w->setObjectName(QString::fromStdString(decl.className) + "_" + QString::number(decl.id));
    if (decl.style & tpl::kSorted)
        w->setProperty(kSortedProperty, true);
    if (decl.style & tpl::kNoTranslate)
        w->setProperty("corvaneNoTranslate", true);
    if (!decl.caption.empty() && HasCaption(w))
        SetCaptionOf(w, decl.caption);
    if (decl.style & tpl::kDisabled)
        w->setEnabled(false);
    if (decl.style & tpl::kHidden)
        w->setHidden(true);
    if (decl.minWidthChars > 0) {
        w->setMinimumWidth(w->fontMetrics().averageCharWidth() * decl.minWidthChars);
        KeepTextWhole(w);
    }
    return w;
}

int ControlId(const QWidget* widget)
{
    if (!widget)
        return -1;
    QVariant v = widget->property(kIdProperty);
    return v.isValid() ? v.toInt() : -1;
}

void SetControlId(QWidget* widget, int id)
{
    if (widget)
        widget->setProperty(kIdProperty, id);
}

bool HasCaption(const QWidget* widget)
{
    if (!widget)
        return false;
    if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget)
        || qobject_cast<const QGroupBox*>(widget))
        return true;
    return !IsDataWidget(widget) && TextPropertyIndex(widget) >= 0;
}

std::string CaptionOf(const QWidget* widget)
{
    if (!widget)
        return {};
    if (auto* l = qobject_cast<const QLabel*>(widget))
        return l->text().toStdString();
    if (auto* b = qobject_cast<const QAbstractButton*>(widget))
        return b->text().toStdString();
    if (auto* g = qobject_cast<const QGroupBox*>(widget))
        return g->title().toStdString();
    if (IsDataWidget(widget))
        return {};
    int index = TextPropertyIndex(widget);
    return index < 0 ? std::string()
                     : widget->metaObject()->property(index).read(widget).toString().toStdString();
}

void KeepTextWhole(QWidget* w)
{
    int needed = 0;
    if (auto* b = qobject_cast<QAbstractButton*>(w); b != nullptr && b->minimumWidth() > 0) {
        needed = b->sizeHint().width();
    } else if (auto* e = qobject_cast<QLineEdit*>(w);
               e != nullptr && e->isReadOnly() && e->maximumWidth() < QWIDGETSIZE_MAX) {
        // Its frame and margins as in its smallest size, and two pixels each side of the text.
        const QFontMetrics fm = e->fontMetrics();
        needed = fm.horizontalAdvance(e->text()) + e->minimumSizeHint().width() - fm.maxWidth() + 4;
        if (e->maximumWidth() < needed)
            e->setMaximumWidth(needed);
    }
    if (w->minimumWidth() < needed)
        w->setMinimumWidth(needed);
}

void SetCaptionOf(QWidget* widget, const std::string& text)
{
    if (!widget)
        return;
    QString t = Q(text);
    if (auto* l = qobject_cast<QLabel*>(widget))
        l->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(widget)) {
        b->setText(t);
        KeepTextWhole(b);
    } else if (auto* g = qobject_cast<QGroupBox*>(widget))
        g->setTitle(t);
    else if (!IsDataWidget(widget)) {
        int index = TextPropertyIndex(widget);
        if (index >= 0)
            widget->metaObject()->property(index).write(widget, t);
    }
}

int AddString(QComboBox* combo, const std::string& text)
{
    if (!combo)
        return -1;
    QString t = Q(text);
    int at = combo->count();
    if (combo->property(kSortedProperty).toBool()) {
        at = 0;
        while (at < combo->count()
               && QString::compare(combo->itemText(at), t, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    combo->insertItem(at, t);
    return at;
}

int AddString(QListWidget* list, const std::string& text)
{
    if (!list)
        return -1;
    auto* item = new QListWidgetItem(Q(text));
    list->addItem(item);
    return list->row(item);
}
