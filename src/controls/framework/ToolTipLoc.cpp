#include "ToolTipLoc.h"

#include "FrameworkContext.h"
#include "Language.h"

#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

CToolTipLoc::CToolTipLoc(QObject* parent) : QObject(parent) {}

bool CToolTipLoc::CreateWithLanguage(QWidget* parent, const CLanguage& language)
{
    if (!parent)
        return false;
    parent_ = parent;
    texts_.emplace(language);
    return true;
}

int CToolTipLoc::KeyFor(QWidget* control)
{
    auto it = keys_.find(control);
    if (it != keys_.end())
        return it->second;
    int key = nextKey_++;
    keys_[control] = key;
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { keys_.erase(gone); });
    return key;
}

void CToolTipLoc::AddToolText(QWidget* control, std::string_view english)
{
    if (!control || !texts_)
        return;
    texts_->AddToolText(KeyFor(control), english);
}

void CToolTipLoc::AddToolId(QWidget* control, int stringId)
{
    if (!control || !texts_)
        return;
    texts_->AddToolId(KeyFor(control), stringId);
}

std::string CToolTipLoc::TextFor(QWidget* control) const
{
    auto it = keys_.find(control);
    if (it == keys_.end() || !texts_)
        return {};
    return texts_->Text(it->second);
}

bool CToolTipLoc::IsEnabled() const
{
    return enabled_ ? enabled_() : framework::ToolTipsEnabled();
}

bool CToolTipLoc::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !keys_.count(watched))
        return QObject::eventFilter(watched, event);
    auto* control = static_cast<QWidget*>(watched);
    std::string text = IsEnabled() ? TextFor(control) : std::string();
    if (text.empty()) {
        QToolTip::hideText();
    } else {
        if (parent_)
            QToolTip::setFont(parent_->font());
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), QString::fromStdString(text), control);
    }
    // Handled here: the control's own tool tip (if any) never shows instead.
    return true;
}
