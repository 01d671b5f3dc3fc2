#include "ReadMemoriesDlg.h"

#include "ColorLabel.h"
#include "ColorRef.h"
#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "NumEdit.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QAbstractButton>

#include <cstdio>

namespace {

using namespace tpl;
using D = CLeggiMem;

constexpr int kFirstInvalid = 1228;
constexpr int kLastInvalid = 1229;
constexpr int kLowest = 1;
constexpr int kHighest = 99;

const DialogTemplateRegistration kTemplate{
    DialogTemplate{D::kTemplateId, "Corvane - Memories reading and memorization",
                   Column({Grid(2, {Control(ctl::kIdStatic, "STATIC", "First memory"),
                                    Control(D::kFirst, "CNumEdit", "", 0, 5),
                                    Control(ctl::kIdStatic, "STATIC", "Last memory"),
                                    Control(D::kLast, "CNumEdit", "", 0, 5)}),
                           Control(D::kUsePtt, "CHECKBOX", "Use the PTT to calculate the DUP"),
                           Control(D::kDefaultText, "STATIC", "or use DUP default value"),
                           Row({Control(D::kDupPlus, "CHECKBOX", "DUP +"),
                                Control(D::kDupMinus, "CHECKBOX", "DUP -"), Stretch()}),
                           Control(D::kWarning, "CColorLabel",
                                   "ATTENTION: the RTX will TRANSMIT during the reading of each "
                                   "memory.CONNECT ALL ANTENNA"),
                           Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "Read"),
                                Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{D::kFirst, 1225},   {D::kLast, 1226},     {ctl::kIdOk, 1227}, {ctl::kIdCancel, 1049},
             {D::kDupPlus, 1199}, {D::kDupMinus, 1200}, {D::kUsePtt, 1251}};

}  // namespace

CLeggiMem::CLeggiMem(CIni& ini, bool canKey)
    : CMyFontDialog(kTemplateId), ini_(ini), canKey_(canKey)
{
}

bool CLeggiMem::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    for (int id : {kFirst, kLast})
        if (auto* e = GetDlgItemAs<CNumEdit>(id))
            e->SetFormat(0, ',');
    if (auto* e = GetDlgItemAs<CNumEdit>(kFirst))
        e->SetValue(ini_.GetInt(settings::memorie::LeggiDa));
    if (auto* e = GetDlgItemAs<CNumEdit>(kLast))
        e->SetValue(ini_.GetInt(settings::memorie::LeggiA));
    if (auto* warning = GetDlgItemAs<CColorLabel>(kWarning))
        warning->SetBlinkTextColors();
    if (auto* check = GetDlgItemAs<QAbstractButton>(kUsePtt)) {
        check->setEnabled(canKey_);
        check->setChecked(canKey_ && ini_.GetInt(settings::memorie::UsaPTT) != 0);
    }
    FollowPttCheck();
    return CMyFontDialog::OnInitDialog();
}

bool CLeggiMem::Checked(int id) const
{
    const auto* b = GetDlgItemAs<QAbstractButton>(id);
    return b != nullptr && b->isChecked();
}

int CLeggiMem::NumberOf(int id) const
{
    const auto* e = GetDlgItemAs<CNumEdit>(id);
    const double v = e != nullptr ? e->GetValue() : 0.0;
    // Whatever was typed, the range check below sees an int it can refuse.
    return v >= -1e6 && v <= 1e6 ? static_cast<int>(v) : -1;
}

// The measurement replaces the hand-chosen direction, and the warning says the radio transmits.
void CLeggiMem::FollowPttCheck()
{
    const bool measuring = Checked(kUsePtt);
    for (int id : {kDupPlus, kDupMinus})
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(!measuring);
    if (QWidget* w = GetDlgItem(kDefaultText))
        w->setVisible(!measuring);
    if (auto* warning = GetDlgItemAs<CColorLabel>(kWarning)) {
        warning->setVisible(measuring);
        warning->SetBlinkText(measuring ? 1 : 0);
    }
}

bool CLeggiMem::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kUsePtt:
        if (!ini_.WriteInt(settings::memorie::UsaPTT, Checked(kUsePtt) ? 1 : 0))
            std::fprintf(stderr, "memory read PTT choice not saved: %s\n",
                         ini_.LastError().c_str());
        FollowPttCheck();
        return true;
    case kDupPlus:
    case kDupMinus:
        if (Checked(id))
            if (auto* other = GetDlgItemAs<QAbstractButton>(id == kDupPlus ? kDupMinus : kDupPlus))
                other->setChecked(false);
        return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CLeggiMem::Refuse(int stringId)
{
    framework::Language().MessageBox(stringId, mb::kOk | mb::kIconError);
    if (QWidget* w = GetDlgItem(kFirst))
        w->setFocus(Qt::OtherFocusReason);
}

void CLeggiMem::OnOK()
{
    const int first = NumberOf(kFirst);
    const int last = NumberOf(kLast);
    if (first < kLowest || first > kHighest || first > last) {
        Refuse(kFirstInvalid);
        return;
    }
    if (last < kLowest || last > kHighest) {
        Refuse(kLastInvalid);
        return;
    }
    if (!ini_.WriteInt(settings::memorie::LeggiDa, first)
        || !ini_.WriteInt(settings::memorie::LeggiA, last))
        std::fprintf(stderr, "memory read range not saved: %s\n", ini_.LastError().c_str());
    first_ = first;
    last_ = last;
    usePtt_ = Checked(kUsePtt);
    dupPlus_ = !usePtt_ && Checked(kDupPlus);
    dupMinus_ = !usePtt_ && Checked(kDupMinus);
    CMyFontDialog::OnOK();
}

void CLeggiMem::OnCancel()
{
    first_ = last_ = 0;
    CMyFontDialog::OnCancel();
}
