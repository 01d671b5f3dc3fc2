#include "TxRxWindow.h"

#include "ControlResources.h"
#include "FlatButton.h"
#include "ToolTipLoc.h"

#include <QCloseEvent>

namespace {
using namespace tpl;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CTxRx::kTemplateId, "TX/RX",
    Column({Stretched(Control(CTxRx::kPtt, "CFlatButton", "PTT", 0, 16), 1),
            Grid(2, {Control(ctl::kIdStatic, "STATIC", "Partial"),
                     Control(CTxRx::kPartialTime, "STATIC", "0:00:00", kNoTranslate | kRight),
                     Control(ctl::kIdStatic, "STATIC", "Total"),
                     Control(CTxRx::kTotalTime, "STATIC", "0:00:00", kNoTranslate | kRight)}),
            Control(CTxRx::kKeyName, "STATIC", " ", kNoTranslate),
            Row({Control(CTxRx::kTune, "CFlatButton", "Tune"),
                 Control(CTxRx::kReset, "BUTTON", "Reset"),
                 Control(CTxRx::kSetup, "BUTTON", "Settings")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CTxRx::kPartialTime, 148},
             {CTxRx::kTotalTime, 150},
             {CTxRx::kReset, 151},
             {CTxRx::kSetup, 1241},
             {CTxRx::kTune, 1215}};
}  // namespace

CTxRx::CTxRx(ITxRxActions& actions) : CMyFontDialog(kTemplateId), actions_(&actions) {}

bool CTxRx::OnInitDialog()
{
    if (auto* ptt = GetDlgItemAs<CFlatButton>(kPtt)) {
        ptt->SetButtonType(CFlatButton::kCheckBox);
        ptt->SetIcon(res::kIconPttKeyedDim, res::kIconPttIdle);
        ptt->SetAlign(1);
        ptt->SetCursor(res::kCursorAvailable);
        ptt->setMinimumHeight(static_cast<QWidget*>(ptt)->sizeHint().height() * 2);
    }
    if (auto* tune = GetDlgItemAs<CFlatButton>(kTune)) {
        tune->SetButtonType(CFlatButton::kCheckBox);
        tune->SetIcon(res::kImageKeyCapHovered, res::kImageKeyCap);
        tune->SetCursor(res::kCursorAvailable);
    }
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    // A small panel: it keeps its natural size beside the main window.
    adjustSize();
    setFixedSize(size());
    return CMyFontDialog::OnInitDialog();
}

bool CTxRx::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked || actions_ == nullptr)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    // The buttons have taken their new state already; the part decides what they show.
    case kPtt: actions_->OnPttButton(Check(kPtt)); return true;
    case kTune: SetCheck(kTune, actions_->OnTuneButton(Check(kTune))); return true;
    case kReset: actions_->OnResetButton(); return true;
    case kSetup: actions_->OnSetupButton(); return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CTxRx::ShowPtt(bool on)
{
    SetCheck(kPtt, on);
    blinkBright_ = false;
    if (auto* ptt = GetDlgItemAs<CFlatButton>(kPtt))
        ptt->SetIcon(res::kIconPttKeyedDim, res::kIconPttIdle);
}

bool CTxRx::PttDown() const
{
    return Check(kPtt);
}

void CTxRx::BlinkPttButton()
{
    blinkBright_ = !blinkBright_;
    if (auto* ptt = GetDlgItemAs<CFlatButton>(kPtt))
        ptt->SetIcon(blinkBright_ ? res::kIconPttKeyed : res::kIconPttKeyedDim, res::kIconPttIdle);
}

void CTxRx::ShowTimes(const std::string& partial, const std::string& total)
{
    SetDlgItemText(kPartialTime, partial);
    SetDlgItemText(kTotalTime, total);
}

void CTxRx::ShowPttKey(const std::string& text)
{
    SetDlgItemText(kKeyName, text);
}

void CTxRx::SetCheck(int id, bool on)
{
    if (auto* b = GetDlgItemAs<CFlatButton>(id))
        b->SetCheck(on ? 1 : 0);
}

bool CTxRx::Check(int id) const
{
    const auto* b = GetDlgItemAs<CFlatButton>(id);
    return b != nullptr && b->GetCheck() != 0;
}

void CTxRx::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void CTxRx::hideEvent(QHideEvent* event)
{
    if (actions_ != nullptr)
        actions_->OnPlaceChanged();
    CMyFontDialog::hideEvent(event);
}

void CTxRx::moveEvent(QMoveEvent* event)
{
    if (actions_ != nullptr && isVisible())
        actions_->OnPlaceChanged();
    CMyFontDialog::moveEvent(event);
}
