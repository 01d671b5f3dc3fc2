// The main window's colour scheme: the user's three colours and their shades, pushed into the
// custom controls of the window's own template and painted behind them.
#include "CorvaneDlg.h"

#include "ColorLabel.h"
#include "ColourScheme.h"
#include "CommandCodes.h"
#include "ControlFactory.h"
#include "ControlResources.h"
#include "DialogTemplate.h"
#include "FlatButton.h"
#include "LevelMeter.h"
#include "NumEdit.h"
#include "QtColor.h"

#include <QPainter>

#include <cstring>

namespace {

namespace rc = radio::ctl;
using namespace mainwnd;

constexpr int kImageAbove = 1;

COLORREF Colour(const LinkColour& c)
{
    return ColourFromChannels(c.r, c.g, c.b);
}

// The ids of the template's controls, group boxes' contents included; pages and tool windows
// are windows of their own, not part of it.
void CollectIds(const TemplateItem& item, std::vector<int>& ids)
{
    if (item.kind == TemplateItem::Kind::Control) {
        if (item.control.id != ctl::kIdStatic)
            ids.push_back(item.control.id);
        return;
    }
    for (const TemplateItem& child : item.children)
        CollectIds(child, ids);
}

// Only a control of exactly this class: a derived class has a row of its own or none.
bool IsExactly(const QWidget* w, const char* className)
{
    return std::strcmp(w->metaObject()->className(), className) == 0;
}

void ColourFlatButton(CFlatButton& b)
{
    b.SetBitmaps(res::kImageKeyCapHovered, res::kImageKeyCap);
    b.SetDrawBorder(false);
    b.SetCursor(res::kCursorAvailable);
    b.SetAlign(kImageAbove);
}

void ColourControl(QWidget* w, const ColourScheme& s)
{
    if (IsExactly(w, "COnOffButton")) {
        ApplyColourScheme(*static_cast<COnOffButton*>(w), s);
    } else if (IsExactly(w, "CColorLabel")) {
        auto* l = static_cast<CColorLabel*>(w);
        l->SetBkColor(s.bkg);
        l->SetTextColor(s.text);
    } else if (IsExactly(w, "CNumEdit")) {
        auto* e = static_cast<CNumEdit*>(w);
        e->SetBkColor(s.bkg);
        e->SetTextColor(ControlId(w) == rc::kFrequency ? s.textLight : s.text);
    } else if (IsExactly(w, "CColorEdit")) {
        auto* e = static_cast<CColorEdit*>(w);
        e->SetBkColor(s.bkg);
        e->SetTextColor(s.text);
    } else if (IsExactly(w, "CLevelMeter")) {
        static_cast<CLevelMeter*>(w)->SetBackgroundColor(s.bkgLight);
    } else if (IsExactly(w, "CFlatButton")) {
        ColourFlatButton(*static_cast<CFlatButton*>(w));
    }
}

// Plain statics and group captions take their text from the palette: they get the scheme's text
// colour, as the window's own controls paint theirs (black would vanish on the default panel).
void ColourCaption(QWidget* w, const ColourScheme& s)
{
    QPalette p = w->palette();
    const QColor text = ToQColor(s.text);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Text, text);
    }
    w->setPalette(p);
}

}  // namespace

ColourScheme CCorvaneDlg::Scheme() const
{
    const LinkIdentity& id = link_->Settings().id;
    return DeriveColourScheme(Colour(id.background), Colour(id.text), Colour(id.checkOn));
}

void CCorvaneDlg::ApplyColours()
{
    const ColourScheme scheme = Scheme();
    const DialogTemplate* own = FindDialogTemplate(kDialogId);
    std::vector<int> ids;
    if (own != nullptr)
        CollectIds(own->root, ids);
    for (int id : ids)
        if (QWidget* w = Item(id); w != nullptr && w->window() == this)
            ColourControl(w, scheme);
    // The pages on the tab control are windows of their own.
    const QWidget* tabs = Item(kTabs);
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->window() != this || (tabs != nullptr && tabs->isAncestorOf(w)))
            continue;
        if (IsExactly(w, "QLabel") || IsExactly(w, "QGroupBox"))
            ColourCaption(w, scheme);
    }
    BlankEmptyDisplayLines();
    update();
}

void CCorvaneDlg::BlankEmptyDisplayLines()
{
    // Empty, the display's lines are part of the panel; the frequency and the S-meter (its unlit
    // segments) are always the display.
    for (int id : {rc::kSText, rc::kStatus, rc::kStatus2, kLocalClock, kUtcClock})
        if (auto* e = qobject_cast<CColorEdit*>(Item(id)))
            e->SetBlankWhenEmpty(true);
    for (int id : {rc::kRange, kLatency, kOtherVfoLabel})
        if (auto* l = qobject_cast<CColorLabel*>(Item(id)))
            l->SetBlankWhenEmpty(true);
}

void CCorvaneDlg::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(rect(), ToQColor(Scheme().bkg));
    CMyFontDialog::paintEvent(event);
}
