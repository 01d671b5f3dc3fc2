#include "MyFontDialog.h"

#include "ControlFactory.h"
#include "DialogTexts.h"
#include "FrameworkContext.h"
#include "CaptionWidth.h"
#include "Help.h"
#include "MessagePump.h"
#include "ScreenFit.h"
#include "ToolTipLoc.h"
#include "WindowStacking.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QRadioButton>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

constexpr int kFallbackFontSize = 8;

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The size of a widget's font in points, 0 when it has none.
int PointSizeOf(const QWidget* w)
{
    QFont f = w->font();
    if (f.pointSize() > 0)
        return f.pointSize();
    if (f.pixelSize() > 0 && w->logicalDpiY() > 0)
        return qRound(f.pixelSize() * 72.0 / w->logicalDpiY());
    return 0;
}

// Dialog window type, keeping the hints a dialog set for itself.
Qt::WindowFlags AsDialog(Qt::WindowFlags flags)
{
    return (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
}

QWidget* FirstFocusableIn(QWidget* root)
{
    if (!root)
        return nullptr;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden()
            && !w->focusProxy())
            return w;
    }
    return nullptr;
}

// A wait defers a window's close until it returns, as code beneath it may still use the window.
// A modal dialog or a popup closing is its own ending, not such a request: deferred, it would
// stay open until a wait that cannot return before it does.
bool CloseIsRequest(QObject* widget)
{
    const auto* w = static_cast<const QWidget*>(widget);
    return w->isWindow() && w->windowModality() == Qt::NonModal && w->windowType() != Qt::Popup;
}
[[maybe_unused]] const bool kCloseRuleInstalled = (platform::SetWindowTest(&CloseIsRequest), true);

}  // namespace

// One built template item: a control, a sub-layout, or a stretch.
struct CMyFontDialog::Built {
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;
    int stretch = -1;  // >= 0: a stretch of this factor
    int spacing = -1;  // >= 0: fixed spacing in pixels
};

CMyFontDialog::CMyFontDialog() : QDialog(nullptr) {}

CMyFontDialog::CMyFontDialog(unsigned templateId) : QDialog(nullptr), templateId_(templateId) {}

CMyFontDialog::~CMyFontDialog() = default;

bool CMyFontDialog::SetTemplateFont(const std::string& face, int pointSize)
{
    if (face.empty() || pointSize < 1)
        return false;
    faceName_ = face;
    pointSize_ = pointSize;
    return true;
}

int CMyFontDialog::DoModalWithFont(const std::string& face, int pointSize)
{
    SetTemplateFont(face, pointSize);
    return DoModal();
}

QWidget* CMyFontDialog::Owner() const
{
    QWidget* owner = owner_.data();
    if (!owner)
        owner = framework::MainWindow();
    if (!owner)
        owner = QApplication::activeWindow();
    if (owner)
        owner = owner->window();
    return owner == this ? nullptr : owner;
}

int CMyFontDialog::DoModal()
{
    const DialogTemplate* found = FindDialogTemplate(templateId_);
    if (!found)
        return -1;
    DialogTemplate t = *found;
    framework::KeepDialogsAbove();
    QWidget* owner = Owner();
    // Owned while it runs, so it is window-modal on its owner and stays on top of it.
    QMetaObject::Connection ownerGone;
    if (owner) {
        setParent(owner, AsDialog(windowFlags()));
        setWindowModality(Qt::WindowModal);
        // The owner may be destroyed while the dialog runs (a close or a remote command handled
        // in one of its event loops). The caller owns this object, often on its stack: leave the
        // owner before it deletes its children, and end as cancelled.
        ownerGone = connect(owner, &QObject::destroyed, this, [this] {
            setParent(nullptr, AsDialog(windowFlags()));
            done(ctl::kIdCancel);
        });
    } else {
        setWindowModality(Qt::ApplicationModal);
    }
    const int result = Build(t) ? exec() : -1;
    disconnect(ownerGone);
    // The caller owns the object; never leave it to the owner's destruction.
    if (owner)
        setParent(nullptr, AsDialog(windowFlags()));
    return result;
}

bool CMyFontDialog::Create(unsigned templateId, QWidget* parent)
{
    const DialogTemplate* found = FindDialogTemplate(templateId);
    if (!found)
        return false;
    DialogTemplate t = *found;
    return CreateFromTemplate(t, parent);
}

bool CMyFontDialog::CreateFromTemplate(const DialogTemplate& dialogTemplate, QWidget* parent)
{
    if (templateId_ == 0)
        templateId_ = dialogTemplate.id;
    if (parent) {
        if (!owner_)
            owner_ = parent;
        setParent(parent, AsDialog(windowFlags()));
    }
    return Build(dialogTemplate);
}

bool CMyFontDialog::Build(const DialogTemplate& t)
{
    ClearContent();
    ApplyTemplateFont(t);
    setWindowTitle(Q(t.caption));
    if (!layout()) {
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
    }
    content_ = new QWidget(this);
    layout()->addWidget(content_);
    auto* root = new QVBoxLayout(content_);
    AddToBox(root, BuildItem(t.root, content_), t.root);
    radioGroup_ = nullptr;
    FinishCreation();
    return true;
}

void CMyFontDialog::FinishCreation()
{
    framework::TranslateDialog(this, framework::Language());
    if (OnInitDialog()) {
        if (QWidget* first = FirstFocusableIn(content_))
            first->setFocus();
    }
}

void CMyFontDialog::ApplyTemplateFont(const DialogTemplate& t)
{
    if (substituteFont_ && pointSize_ <= 0)
        TakeOwnerFont();
    if (substituteFont_ && pointSize_ > 0)
        setFont(QFont(Q(faceName_), pointSize_));
    else if (t.fontSize > 0)
        setFont(QFont(Q(t.fontFace), t.fontSize));
    else
        setFont(QFont());
}

void CMyFontDialog::ClearContent()
{
    for (auto& [id, qtId] : timers_)
        killTimer(qtId);
    timers_.clear();
    items_.clear();
    delete toolTips_;
    toolTips_ = nullptr;
    delete content_;
    content_ = nullptr;
    delete scroller_.data();
    radioGroup_ = nullptr;
}

CMyFontDialog::Built CMyFontDialog::BuildItem(const TemplateItem& item, QWidget* parent)
{
    Built built;
    switch (item.kind) {
    case TemplateItem::Kind::Control: {
        QWidget* w = CreateControl(item.control, parent);
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            if (!radioGroup_ || (item.control.style & tpl::kGroupStart))
                radioGroup_ = new QButtonGroup(w->parent());
            radioGroup_->addButton(radio);
        }
        if (item.control.id != ctl::kIdStatic)
            items_[item.control.id] = w;
        ConnectControl(w);
        built.widget = w;
        break;
    }
    case TemplateItem::Kind::Row:
    case TemplateItem::Kind::Column: {
        auto* box = item.kind == TemplateItem::Kind::Row
                        ? static_cast<QBoxLayout*>(new QHBoxLayout)
                        : static_cast<QBoxLayout*>(new QVBoxLayout);
        for (const TemplateItem& child : item.children)
            AddToBox(box, BuildItem(child, parent), child);
        built.layout = box;
        break;
    }
    case TemplateItem::Kind::Grid: {
        auto* grid = new QGridLayout;
        int row = 0, col = 0;
        for (const TemplateItem& child : item.children) {
            int span = std::min(child.span, item.columns);
            if (col + span > item.columns) {
                ++row;
                col = 0;
            }
            Built b = BuildItem(child, parent);
            if (b.widget)
                grid->addWidget(b.widget, row, col, 1, span);
            else if (b.layout)
                grid->addLayout(b.layout, row, col, 1, span);
            else
                grid->addItem(
                    new QSpacerItem(b.spacing > 0 ? b.spacing : 0, 0,
                                    b.stretch >= 0 ? QSizePolicy::Expanding : QSizePolicy::Fixed),
                    row, col, 1, span);
            col += span;
        }
        built.layout = grid;
        break;
    }
    case TemplateItem::Kind::Group: {
        auto* box = new QGroupBox(parent);
        box->setTitle(Q(item.caption));
        SetControlId(box, item.groupId);
        if (item.groupId != ctl::kIdStatic)
            items_[item.groupId] = box;
        auto* inner = new QVBoxLayout(box);
        for (const TemplateItem& child : item.children)
            AddToBox(inner, BuildItem(child, box), child);
        built.widget = box;
        break;
    }
    case TemplateItem::Kind::Stretch: built.stretch = std::max(item.stretch, 0); break;
    case TemplateItem::Kind::Spacing:
        built.spacing = std::max(item.size, 0) * parent->fontMetrics().averageCharWidth();
        break;
    }
    return built;
}

void CMyFontDialog::AddToBox(QBoxLayout* box, const Built& built, const TemplateItem& item)
{
    if (built.widget)
        box->addWidget(built.widget, item.stretch);
    else if (built.layout)
        box->addLayout(built.layout, item.stretch);
    else if (built.stretch >= 0)
        box->addStretch(built.stretch);
    else if (built.spacing >= 0)
        box->addSpacing(built.spacing);
}

void CMyFontDialog::ConnectControl(QWidget* w)
{
    using framework::NotifyParent;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        connect(b, &QAbstractButton::clicked, b, [b] { NotifyParent(b, ctl::kBnClicked); });
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        connect(e, &QLineEdit::textChanged, e, [e] { NotifyParent(e, ctl::kEnChange); });
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        connect(p, &QPlainTextEdit::textChanged, p, [p] { NotifyParent(p, ctl::kEnChange); });
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        connect(c, &QComboBox::activated, c, [c] { NotifyParent(c, ctl::kCbnSelChange); });
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        connect(l, &QListWidget::currentRowChanged, l,
                [l] { NotifyParent(l, ctl::kLbnSelChange); });
        connect(l, &QListWidget::itemDoubleClicked, l, [l] { NotifyParent(l, ctl::kLbnDblClk); });
    }
}

std::string CMyFontDialog::GetFontFace() const
{
    if (faceName_.size() >= 2)
        return faceName_;
    return QFontInfo(font()).family().toStdString();
}

int CMyFontDialog::GetFontSize() const
{
    if (pointSize_ > 0)
        return pointSize_;
    QWidget* owner = Owner();
    int size = owner ? PointSizeOf(owner) : 0;
    return size > 0 ? size : kFallbackFontSize;
}

bool CMyFontDialog::TakeOwnerFont()
{
    QWidget* owner = Owner();
    if (!owner)
        return false;
    faceName_ = owner->font().family().toStdString();
    pointSize_ = PointSizeOf(owner);
    return true;
}

bool CMyFontDialog::ScrollsOnScreen() const
{
    return !scroller_.isNull();
}

void CMyFontDialog::EndDialog(int result)
{
    done(result);
}

QWidget* CMyFontDialog::GetDlgItem(int id) const
{
    auto it = items_.find(id);
    if (it != items_.end() && it->second)
        return it->second.data();
    // Controls a dialog created itself and gave an id.
    for (QWidget* w : findChildren<QWidget*>())
        if (ControlId(w) == id)
            return w;
    return nullptr;
}

void CMyFontDialog::SetDlgItemText(int id, const std::string& text)
{
    QWidget* w = GetDlgItem(id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(Q(text));
        KeepTextWhole(e);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(Q(text));
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable())
        c->setEditText(Q(text));
    else
        SetCaptionOf(w, text);
}

std::string CMyFontDialog::GetDlgItemText(int id) const
{
    QWidget* w = GetDlgItem(id);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text().toStdString();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->toPlainText().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText().toStdString();
    return CaptionOf(w);
}

void CMyFontDialog::SetTimer(int id, int ms)
{
    KillTimer(id);
    int qtId = startTimer(std::max(ms, 0));
    if (qtId != 0)
        timers_[id] = qtId;
}

void CMyFontDialog::KillTimer(int id)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    killTimer(it->second);
    timers_.erase(it);
}

void CMyFontDialog::timerEvent(QTimerEvent* event)
{
    for (auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

CToolTipLoc& CMyFontDialog::ToolTips()
{
    if (!toolTips_) {
        toolTips_ = new CToolTipLoc(this);
        toolTips_->CreateWithLanguage(this, framework::Language());
    }
    return *toolTips_;
}

bool CMyFontDialog::OnInitDialog()
{
    return true;
}

void CMyFontDialog::OnOK()
{
    EndDialog(ctl::kIdOk);
}

void CMyFontDialog::OnCancel()
{
    EndDialog(ctl::kIdCancel);
}

bool CMyFontDialog::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return false;
    if (id == ctl::kIdOk) {
        OnOK();
        return true;
    }
    if (id == ctl::kIdCancel) {
        OnCancel();
        return true;
    }
    return false;
}

void CMyFontDialog::OnTimer(int) {}

void CMyFontDialog::OnHelp()
{
    framework::OpenHelpTopic(HelpTopic());
}

bool CMyFontDialog::event(QEvent* event)
{
    // Every window of the program shows its whole caption in the title bar.
    if ((event->type() == QEvent::Show || event->type() == QEvent::WindowTitleChange) && isWindow())
        FitCaptionWidth(*this);
    // Larger than the screen (a large font on a small screen): the controls scroll.
    if (event->type() == QEvent::Show)
        ScrollWhenLarger();
    return QDialog::event(event);
}

void CMyFontDialog::ScrollWhenLarger()
{
    if (isWindow() && content_ != nullptr && !scroller_)
        scroller_ = ScrollWhenLargerThanScreen(*this, *content_);
}

void CMyFontDialog::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F1 && mods == Qt::NoModifier) {
        OnHelp();
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
               && mods == Qt::NoModifier) {
        // Enter presses the push button that has the focus; anywhere else (and on a toggle
        // button, which Enter must not flip) it is OK.
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button && !button->isCheckable() && button->isEnabled() && button->isVisible()
            && button->window() == this)
            button->click();
        else
            OnOK();
    } else if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        OnCancel();
    } else {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CMyFontDialog::reject()
{
    OnCancel();
}
