// The main window as the radio controller's view.
#include "CorvaneDlg.h"

#include "ColorLabel.h"
#include "FlatButton.h"
#include "Language.h"
#include "LevelMeter.h"
#include "MessageBox.h"
#include "NumEdit.h"
#include "ToolTipLoc.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {
namespace rc = radio::ctl;
using namespace mainwnd;

// The controls hidden with the duplex panel (the IC-718 has none).
constexpr int kDuplexControls[] = {rc::kDupPlus, rc::kDupMinus, rc::kDupSet, rc::kOffset,
                                   kOffsetLabel};
}  // namespace

double CCorvaneDlg::TypedFrequency() const
{
    const CNumEdit* f = NumField(rc::kFrequency);
    return f != nullptr ? f->GetValue() : 0.0;
}

bool CCorvaneDlg::ShowFrequency(int64_t hz)
{
    CNumEdit* f = NumField(rc::kFrequency);
    if (f == nullptr)
        return true;
    // What the user is typing is not overwritten by what the radio reports meanwhile.
    if (f->hasFocus() && controller_->State().frequencyTyped)
        return false;
    settingField_ = true;
    f->SetValue(static_cast<double>(std::max<int64_t>(hz, 0)));
    settingField_ = false;
    return true;
}

void CCorvaneDlg::BlankFrequency()
{
    if (CNumEdit* f = NumField(rc::kFrequency)) {
        settingField_ = true;
        f->SetWindowText(QStringLiteral(" "));
        settingField_ = false;
    }
}

double CCorvaneDlg::GetOffsetField() const
{
    const CNumEdit* f = NumField(rc::kOffset);
    return f != nullptr ? f->GetValue() : 0.0;
}

std::string CCorvaneDlg::GetOffsetFieldText() const
{
    const CNumEdit* f = NumField(rc::kOffset);
    return f != nullptr ? f->text().toStdString() : std::string();
}

void CCorvaneDlg::SetOffsetField(int kHz)
{
    if (CNumEdit* f = NumField(rc::kOffset))
        f->SetValue(kHz);
}

void CCorvaneDlg::SetButton(int id, bool down)
{
    if (COnOffButton* b = Button(id)) {
        b->SetCheck(down ? 1 : 0);
        b->SetOn(down);
    }
}

void CCorvaneDlg::EnableControl(int id, bool enabled)
{
    if (QWidget* w = Item(id))
        w->setEnabled(enabled && !IsUnavailable(id));
}

void CCorvaneDlg::ShowControl(int id, bool shown)
{
    if (QWidget* w = Item(id)) {
        // The squelch text keeps its place in the panel while it is hidden.
        if (id == rc::kSquelch) {
            QSizePolicy p = w->sizePolicy();
            p.setRetainSizeWhenHidden(true);
            w->setSizePolicy(p);
        }
        w->setVisible(shown);
    }
}

void CCorvaneDlg::SetControlText(int id, const std::string& text)
{
    SetDlgItemText(id, text);
}

void CCorvaneDlg::SetToolTip(int id, int stringId)
{
    if (QWidget* w = Item(id))
        ToolTips().AddToolId(w, stringId);
}

void CCorvaneDlg::ShowDuplexControls(bool shown)
{
    for (int id : kDuplexControls)
        if (QWidget* w = Item(id))
            w->setVisible(shown);
}

void CCorvaneDlg::SetModeText(const std::string& text)
{
    SetDlgItemText(kMode, text.empty() ? std::string("Mode") : text);
}

void CCorvaneDlg::SetModeList(const std::vector<std::string>& names)
{
    SetModeMenu(names);
}

void CCorvaneDlg::SetModeMenu(const std::vector<std::string>& names)
{
    if (modeMenu_ == nullptr)
        return;
    modeMenu_->clear();
    const int count =
        std::min<int>(static_cast<int>(names.size()), kMenuModeLast - kMenuModeFirst + 1);
    for (int i = 0; i < count; ++i)
        CFlatButton::AddMenuCommand(modeMenu_, kMenuModeFirst + i,
                                    QString::fromStdString(names[static_cast<size_t>(i)]));
}

void CCorvaneDlg::SetBandMenuEntry(int command, bool present)
{
    if (bandMenu_ == nullptr)
        return;
    for (QAction* a : bandMenu_->actions())
        if (a->data().toInt() == command)
            a->setVisible(present);
}

void CCorvaneDlg::SetStatusLine(const std::string& text)
{
    SetDlgItemText(rc::kStatus, text);
}

void CCorvaneDlg::SetSecondDisplay(const std::string& label, const std::string& text)
{
    SetDlgItemText(kOtherVfoLabel, text.empty() ? std::string() : label);
    SetDlgItemText(rc::kStatus2, text);
}

void CCorvaneDlg::SwapRxIndicator()
{
    // "RX" marks the VFO the radio receives on.
    const bool onA = controller_->State().currentVfo != radio::kVfoB;
    SetDlgItemText(kRxA, onA ? "RX" : "");
    SetDlgItemText(kRxB, onA ? "" : "RX");
}

void CCorvaneDlg::ShowSMeterPanel(bool shown)
{
    // Switched off, the meter shows its unlit segments (the controller sends it a 0 reading).
    if (auto* meter = qobject_cast<CLevelMeter*>(Item(rc::kSMeterExtra)))
        meter->setEnabled(shown);
    if (!shown)
        SetDlgItemText(rc::kSText, "");
}

void CCorvaneDlg::SetPeakMeter(int sValue)
{
    if (auto* meter = qobject_cast<CLevelMeter*>(Item(rc::kSMeterExtra))) {
        const int value = std::clamp(sValue, 0, 18);
        meter->SetData(&value);
    }
}

void CCorvaneDlg::UpdateBandDisplay()
{
    for (const auto& part : parts_)
        part->OnBandDisplay();
}

void CCorvaneDlg::SetWaitCursor(bool on)
{
    if (on) {
        if (waitCursorDepth_++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (waitCursorDepth_ > 0) {
        if (--waitCursorDepth_ == 0)
            QApplication::restoreOverrideCursor();
    }
}

void CCorvaneDlg::Beep(unsigned)
{
    QApplication::beep();
}

int CCorvaneDlg::ShowMessageBox(const MessageBoxRequest& request)
{
    MessageBoxRequest r = request;
    if (r.caption.empty())
        r.caption = windowTitle().toStdString();
    // Through the language table's sink, which shows it over the main window.
    return language_.ShowMessage(r);
}

int CCorvaneDlg::ChooseVfo()
{
    for (const auto& part : parts_)
        if (const int choice = part->ChooseVfo(); choice >= 0)
            return choice;
    // Until the tuning part brings its dialog: a plain question with the two VFOs.
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QString::fromStdString(language_.Translate("Select the VFO in use")),
                    QMessageBox::Cancel, this);
    QPushButton* a = box.addButton(QStringLiteral("VFO A"), QMessageBox::AcceptRole);
    QPushButton* b = box.addButton(QStringLiteral("VFO B"), QMessageBox::AcceptRole);
    box.exec();
    if (box.clickedButton() == a)
        return radio::kVfoA;
    if (box.clickedButton() == b)
        return radio::kVfoB;
    return 0;
}
