#include "StartupDlg.h"

#include "CommandCodes.h"
#include "ControlFactory.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "ToolTipLoc.h"

#include <QListWidget>

namespace {

using namespace tpl;
using D = CStartup;
using startup_programs::EntryCheck;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    D::kTemplateId, "Corvane - Startup",
    Column({Control(D::kList, "LISTBOX", "", 0, 40),
            Grid(2, {Control(ctl::kIdStatic, "STATIC", "Description"),
                     Control(D::kDescription, "EDIT", "", kNoTranslate, 30),
                     Control(ctl::kIdStatic, "STATIC", "Program"),
                     Row({Stretched(Control(D::kProgram, "EDIT", "", kNoTranslate, 30), 1),
                          Control(D::kBrowse, "BUTTON", "...", kNoTranslate)}),
                     Control(ctl::kIdStatic, "STATIC", "Command line"),
                     Control(D::kCommandLine, "EDIT", "", kNoTranslate, 30)}),
            Row({Control(D::kSave, "BUTTON", "Save"), Control(D::kDelete, "BUTTON", "Delete"),
                 Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
                 Control(D::kAbort, "BUTTON", "Abort")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{D::kList, 1311},        {D::kDescription, 1312}, {D::kProgram, 1313},
             {D::kCommandLine, 1314}, {D::kSave, 1317},        {D::kDelete, 1316},
             {ctl::kIdOk, 1315},      {D::kBrowse, 1318},      {D::kAbort, 1089}};

constexpr int kMsgDeleteEntry = 1310;
constexpr int kMsgWriteError = 1309;
constexpr int kMsgExitWithoutSaving = 1107;
constexpr int kMsgBadDescription = 1340;
constexpr int kMsgBadField = 2110;
constexpr std::size_t kMaxErrorText = 255;

}  // namespace

CStartup::CStartup(std::string folder) : CMyFontDialog(kTemplateId), folder_(std::move(folder)) {}

bool CStartup::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    LoadList();
    return CMyFontDialog::OnInitDialog();
}

void CStartup::LoadList()
{
    list_ = startup_programs::StartupList(startup_programs::ReadFile(folder_));
    FillListBox(list_.Count() > 0 ? 0 : -1);
    ShowSelected();
}

void CStartup::FillListBox(int select)
{
    auto* box = GetDlgItemAs<QListWidget>(kList);
    if (box == nullptr)
        return;
    box->clear();
    for (const auto& entry : list_.Entries())
        AddString(box, entry.description);
    box->setCurrentRow(select);
}

void CStartup::ShowSelected()
{
    const auto* box = GetDlgItemAs<QListWidget>(kList);
    const int row = box != nullptr ? box->currentRow() : -1;
    const bool shown = row >= 0 && row < list_.Count();
    const startup_programs::StartupEntry none;
    const auto& entry = shown ? list_.Entries()[static_cast<std::size_t>(row)] : none;
    SetDlgItemText(kDescription, entry.description);
    SetDlgItemText(kProgram, entry.program);
    SetDlgItemText(kCommandLine, entry.commandLine);
}

startup_programs::StartupEntry CStartup::EditedEntry() const
{
    return {GetDlgItemText(kDescription), GetDlgItemText(kProgram), GetDlgItemText(kCommandLine)};
}

bool CStartup::OnCommand(int id, int code)
{
    if (id == kList && code == ctl::kLbnSelChange) {
        ShowSelected();
        return true;
    }
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kSave: OnSave(); return true;
    case kDelete: OnDelete(); return true;
    case kBrowse: OnBrowse(); return true;
    case kAbort: OnCancel(); return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CStartup::OnSave()
{
    const startup_programs::StartupEntry entry = EditedEntry();
    const EntryCheck check = startup_programs::CheckEntry(entry);
    if (check != EntryCheck::Ok) {
        const bool description = check == EntryCheck::BadDescription;
        framework::Language().MessageBox(description ? kMsgBadDescription : kMsgBadField,
                                         mb::kIconError);
        if (QWidget* w = GetDlgItem(description ? kDescription : kProgram))
            w->setFocus(Qt::OtherFocusReason);
        return;
    }
    FillListBox(list_.Save(entry));
}

void CStartup::OnDelete()
{
    const std::string description = GetDlgItemText(kDescription);
    const CLanguage& language = framework::Language();
    if (language.ShowMessage(
            {language.Format(kMsgDeleteEntry, {description}), {}, mb::kYesNo | mb::kIconQuestion})
        != mb::kIdYes)
        return;
    // The edits keep what they show.
    const int before = list_.Count();
    const int select = list_.Delete(description);
    if (list_.Count() != before)
        FillListBox(select);
}

void CStartup::OnBrowse()
{
    if (const auto path = chooser_(this))
        SetDlgItemText(kProgram, *path);
}

bool CStartup::SaveList()
{
    std::string error;
    if (startup_programs::WriteFile(folder_, list_.Entries(), &error))
        return true;
    const CLanguage& language = framework::Language();
    language.ShowMessage(
        {language.Format(kMsgWriteError, {error.substr(0, kMaxErrorText)}), {}, mb::kIconError});
    return false;
}

void CStartup::OnOK()
{
    SaveList();
    CMyFontDialog::OnOK();
}

void CStartup::OnCancel()
{
    if (framework::Language().MessageBox(kMsgExitWithoutSaving, mb::kYesNo | mb::kIconQuestion)
        == mb::kIdNo)
        return;
    CMyFontDialog::OnCancel();
}
