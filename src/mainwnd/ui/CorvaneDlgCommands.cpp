// The main window's handlers: buttons, menus, the frequency field, keys, the wheel, the timer,
// help and the window's own state changes.
#include "CorvaneDlg.h"

#include "FlatButton.h"
#include "Help.h"
#include "Ini.h"
#include "Language.h"
#include "NumEdit.h"
#include "PageTabCtrl.h"
#include "Profile.h"
#include "RadioFunctions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QWheelEvent>

#include <cmath>
#include <iterator>

namespace {

namespace rc = radio::ctl;
using namespace mainwnd;

constexpr int kMsgDuplexOnlyInFm = 2140;
constexpr int64_t kDigitSteps[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

std::optional<radio::RadioFunction> FunctionOfControl(int id)
{
    for (size_t i = 0; i < radio::kFunctionCount; ++i)
        if (radio::FunctionTable()[i].controlId == id)
            return radio::FunctionTable()[i].function;
    return std::nullopt;
}

}  // namespace

bool CCorvaneDlg::OnCommand(int id, int code)
{
    // Menus: modes, the unused entries, bands.
    if (code == 0 && id >= kMenuModeFirst && id <= kMenuModeLast) {
        if (RouteToParts(id, code))
            return true;
        OnModeMenuCommand(id - kMenuModeFirst);
        return true;
    }
    if (id >= kMenuUnusedFirst && id <= kMenuUnusedLast)
        return true;
    if (id >= kMenuBandFirst && id <= kMenuBandLast)
        return RouteToParts(id, code) || true;

    if (code == ctl::kEnChange && id == rc::kFrequency) {
        // Typing (not the program's own updates) marks the field as typed.
        if (CNumEdit* f = NumField(rc::kFrequency); f != nullptr && f->hasFocus() && !settingField_)
            controller_->SetFrequencyTyped(true);
        return true;
    }
    // The mouse notifications of the frequency field and sliders belong to the tuning part.
    if (code != ctl::kBnClicked)
        return RouteToParts(id, code) || CMyFontDialog::OnCommand(id, code);

    if (Closing() && id != kExit)
        return true;
    if (OnFunctionCommand(id))
        return true;
    for (size_t i = 0; i < std::size(kPlusIds); ++i) {
        if (id == kPlusIds[i] || id == kMinusIds[i]) {
            if (!RouteToParts(id, code))
                OnDigitStep(id);
            return true;
        }
    }
    switch (id) {
    case rc::kFilter: controller_->OnFilter(); return true;
    case rc::kVfoA: controller_->SelectVfoA(); return true;
    case rc::kVfoB: controller_->SelectVfoB(); return true;
    case rc::kSplit: controller_->OnSplit(); return true;
    case kSetRtx:
        controller_->SetFrequencyTyped(false);
        controller_->OnKillFocusFrequency(TypedFrequency());
        SetButton(kSetRtx, false);
        return true;
    case kVfoEqual: OnVfoEqual(); return true;
    case kStore: OnStore(false); return true;
    case rc::kStoreR: OnStore(true); return true;
    case kExit:
        if (QWidget* exit = Item(kExit); exit == nullptr || exit->isEnabled())
            CloseProgram();
        return true;
    case kSync:
        link_->OnSync();
        SyncControllerSettings();
        return true;
    case kHookClipboard: OnHookClipboard(); return true;
    case kHelp: framework::OpenHelpTopic(kHelpButtonTopic); return true;
    case rc::kPolling: OnPollingButton(); return true;
    case rc::kReverse: controller_->OnReverse(); return true;
    default: break;
    }
    if (id >= kStack1 && id <= kStack3)
        return RouteToParts(id, code) || true;
    return RouteToParts(id, code) || CMyFontDialog::OnCommand(id, code);
}

bool CCorvaneDlg::OnFunctionCommand(int id)
{
    if (const auto f = FunctionOfControl(id)) {
        controller_->OnFunctionButton(*f);
        return true;
    }
    switch (id) {
    case rc::kSMeterButton: controller_->OnSMeterButton(); return true;
    case rc::kAutoUpdate: {
        const COnOffButton* b = Button(rc::kAutoUpdate);
        controller_->OnAutoUpdate(b != nullptr && b->GetCheck() != 0);
        return true;
    }
    case rc::kDupPlus:
    case rc::kDupMinus:
        // The radio knows no duplex outside FM: the button stays up, and the user learns why.
        if (!(id == rc::kDupPlus ? controller_->OnDuplexPlus() : controller_->OnDuplexMinus()))
            language_.MessageBox(kMsgDuplexOnlyInFm, mb::kIconInformation);
        return true;
    case rc::kDupSet: controller_->OnDuplexSet(); return true;
    default: return false;
    }
}

void CCorvaneDlg::OnDigitStep(int id)
{
    int64_t step = 0;
    for (size_t i = 0; i < std::size(kPlusIds); ++i) {
        if (id == kPlusIds[i])
            step = kDigitSteps[i];
        else if (id == kMinusIds[i])
            step = -kDigitSteps[i];
    }
    SetButton(id, false);
    if (step == 0 || IsOffLine())
        return;
    const radio::RadioState& st = controller_->State();
    const int64_t now = st.frequencyHz;
    const int64_t next = now + step;
    // A step that would leave the radio's range is not taken.
    if (now <= 0 || next < st.lowerLimit || next > st.upperLimit)
        return;
    controller_->SetFrequency(next);
}

void CCorvaneDlg::OnModeMenuCommand(int mode)
{
    if (!IsOffLine())
        controller_->SetMode(mode);
}

void CCorvaneDlg::OnVfoEqual()
{
    // The field is kept in the hidden field while the radio copies A into B.
    if (CNumEdit* hidden = NumField(kHidden1))
        hidden->SetValue(static_cast<double>(controller_->State().frequencyHz));
    if (!IsOffLine()) {
        controller_->EqualizeVfos();
        controller_->ReadFrequencyMode(false);
    }
    SetButton(kVfoEqual, false);
}

void CCorvaneDlg::OnStore(bool radio)
{
    // The memory windows' parts store; the button springs back.
    RouteToParts(radio ? rc::kStoreR : kStore, ctl::kBnClicked);
    SetButton(radio ? rc::kStoreR : kStore, false);
}

void CCorvaneDlg::OnPollingButton()
{
    const COnOffButton* b = Button(rc::kPolling);
    const bool on = b != nullptr && b->GetCheck() != 0;
    SetButton(rc::kPolling, on);
    controller_->SetFullPolling(on);
    ini_.WriteInt(settings::currentset::Polling, on ? 1 : 0);
}

void CCorvaneDlg::OnHookClipboard()
{
    // Clipboard tuning is a part of its own: it watches the clipboard while the button is on.
    const COnOffButton* b = Button(kHookClipboard);
    const bool on = b != nullptr && b->GetCheck() != 0;
    SetButton(kHookClipboard, on);
    RouteToParts(kHookClipboard, ctl::kBnClicked);
}

void CCorvaneDlg::OnFrequencyFocusOut()
{
    if (!controller_->State().frequencyTyped)
        return;
    controller_->SetFrequencyTyped(false);
    controller_->OnKillFocusFrequency(TypedFrequency());
}

void CCorvaneDlg::OnOK()
{
    // Enter in the frequency field applies it: the focus goes on to the "Mode" button.
    CNumEdit* f = NumField(rc::kFrequency);
    if (f != nullptr && f->hasFocus()) {
        if (QWidget* mode = Item(kMode))
            mode->setFocus(Qt::OtherFocusReason);
        OnFrequencyFocusOut();
    }
}

void CCorvaneDlg::OnCancel()
{
    // Esc synchronises with the radio; closing the window goes through closeEvent.
    if (Closing() || setupInProgress_ || !initialised_)
        return;
    link_->OnSync();
    SyncControllerSettings();
}

void CCorvaneDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!Closing() && !closed_)
        CloseProgram();
}

void CCorvaneDlg::OnTimer(int id)
{
    if (id != kTimerId || setupInProgress_ || Closing())
        return;
    // The frame may come without a move or resize of the window itself.
    RefitWhenFramed();
    PlaceToolWindowsByMain();
    for (const auto& part : parts_)
        part->OnTimer();
}

void CCorvaneDlg::OnHelp()
{
    framework::OpenHelpTopic(kHelpTopic);
}

void CCorvaneDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // Linux has no system menu to extend, so the window's background carries "About". A control
    // that passes its right-click on keeps it: sliders and fields have their own uses for it.
    const QWidget* under = childAt(event->pos());
    const bool background = under == nullptr || qobject_cast<const QLabel*>(under) != nullptr
                            || qobject_cast<const QGroupBox*>(under) != nullptr
                            || under->metaObject() == &QWidget::staticMetaObject
                            || under->metaObject() == &QFrame::staticMetaObject;
    if (!background || Closing())
        return;
    QMenu menu(this);
    CFlatButton::AddMenuCommand(&menu, kSysAbout,
                                QString::fromStdString(language_.LoadString(101)));
    if (const QAction* chosen = menu.exec(event->globalPos()))
        OnCommand(chosen->data().toInt(), ctl::kBnClicked);
}

bool CCorvaneDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Item(rc::kFrequency) && event->type() == QEvent::FocusOut)
        OnFrequencyFocusOut();
    else if (IsToolPlaceEvent(watched, event)) {
        if (event->type() == QEvent::Show)
            StandAboveMain(*static_cast<QWidget*>(watched));
        if (!movingTool_)
            PlaceToolWindowsByMain(event->spontaneous() ? watched : nullptr);
    }
    return CMyFontDialog::eventFilter(watched, event);
}

void CCorvaneDlg::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0 && !Closing()) {
        for (const auto& part : parts_)
            if (part->OnWheel(event->position().toPoint(), delta)) {
                event->accept();
                return;
            }
    }
    CMyFontDialog::wheelEvent(event);
}

void CCorvaneDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        // Minimised: the tool windows go with the main window; restored: those that were
        // shown come back (hidden ones stay hidden).
        QWidget* txrx = ToolWindow(249);
        QWidget* recorder = ToolWindow(252);
        if (isMinimized()) {
            toolWindowWasVisible_[2] = txrx != nullptr && txrx->isVisible();
            toolWindowWasVisible_[3] = recorder != nullptr && recorder->isVisible();
            if (txrx != nullptr && ini_.GetInt(settings::setup::PTTFrontInMainWindow) == 0)
                txrx->hide();
            if (recorder != nullptr && ini_.GetInt(settings::audiorecorder::Front) == 0)
                recorder->hide();
        } else {
            if (txrx != nullptr && toolWindowWasVisible_[2])
                txrx->showNormal();
            if (recorder != nullptr && toolWindowWasVisible_[3])
                recorder->showNormal();
        }
    }
    // The TX/RX window and the recorder bar stand above the main window when it is activated
    // without being raised: kept in front, or its transients (StandAboveMain). Raising them
    // here would put them over a dialog that waits for an answer.
    CMyFontDialog::changeEvent(event);
}

void CCorvaneDlg::moveEvent(QMoveEvent* event)
{
    if (isVisible() && !isMinimized() && initialised_ && !Closing()) {
        const QRect r = frameGeometry();
        profile_.WriteRect(settings::reg::MainWindowRect,
                           {r.top(), r.bottom() + 1, r.left(), r.right() + 1});
    }
    CMyFontDialog::moveEvent(event);
    RefitWhenFramed();
    PlaceToolWindowsByMain();
}
