#include "BandStacking.h"

#include "FlatButton.h"
#include "ToolTipLoc.h"
#include "Tuning.h"

namespace {
using namespace tpl;

constexpr int kImageAvailable = 207;

const DialogTemplateRegistration kStackTemplate{
    DialogTemplate{CBandStacking::kTemplateId, "Band Stacking",
                   Column({Row({Control(CBandStacking::kRecall, "CFlatButton", "Recall", 0, 10),
                                Control(CBandStacking::kSave, "CFlatButton", "Save", 0, 10)}),
                           Row({Stretch(), Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

const DialogTemplateRegistration kVfoTemplate{
    DialogTemplate{CSceltaVFO::kTemplateId, "Choose the VFO in Use",
                   Column({Row({Control(CSceltaVFO::kVfoA, "BUTTON", "VFO A", 0, 8),
                                Control(CSceltaVFO::kVfoB, "BUTTON", "VFO B", 0, 8)}),
                           Row({Stretch(), Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};
}  // namespace

CBandStacking::CBandStacking() : CMyFontDialog(kTemplateId) {}

bool CBandStacking::OnInitDialog()
{
    choice_ = bands::kStackCancel;
    for (int id : {kRecall, kSave}) {
        if (auto* b = GetDlgItemAs<CFlatButton>(id))
            b->SetCursor(kImageAvailable);
    }
    ToolTips().AddToolId(GetDlgItem(kRecall), 1364);
    ToolTips().AddToolId(GetDlgItem(kSave), 1365);
    return CMyFontDialog::OnInitDialog();
}

bool CBandStacking::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && (id == kRecall || id == kSave)) {
        choice_ = id == kRecall ? bands::kStackRecall : bands::kStackSave;
        EndDialog(ctl::kIdOk);
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

CSceltaVFO::CSceltaVFO() : CMyFontDialog(kTemplateId) {}

bool CSceltaVFO::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && (id == kVfoA || id == kVfoB)) {
        choice_ = id == kVfoA ? 1 : 0;
        EndDialog(ctl::kIdOk);
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}
