#include "PlugInEditor.h"

#include "AsciiCase.h"
#include "CommandCodes.h"
#include "ControlFactory.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "StartupFile.h"
#include "StartupLauncher.h"
#include "ToolTipLoc.h"

#include <QListWidget>

#include <sys/stat.h>

namespace {

using namespace tpl;
using D = CPlugInGest;
using startup_programs::EntryCheck;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    D::kTemplateId, "Corvane - Plug-In",
    Row({Control(D::kList, "LISTBOX", "", 0, 16),
         Stretched(
             Column(
                 {Grid(2, {Control(ctl::kIdStatic, "STATIC", "Name"),
                           Control(D::kName, "EDIT", "", kNoTranslate, 24),
                           Control(ctl::kIdStatic, "STATIC", "Description"),
                           Control(D::kDescription, "EDIT", "", kNoTranslate, 24),
                           Control(ctl::kIdStatic, "STATIC", "Program"),
                           Row({Stretched(Control(D::kProgram, "EDIT", "", kNoTranslate, 24), 1),
                                Control(D::kBrowse, "BUTTON", "...", kNoTranslate)})}),
                  Row({Control(D::kSave, "BUTTON", "Save"), Control(D::kDelete, "BUTTON", "Delete"),
                       Control(D::kCopyToStartup, "BUTTON", "Copy in StartUp")}),
                  Stretch(), Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK")})}),
             1)})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{ctl::kIdOk, 1156},     {D::kCopyToStartup, 160}, {D::kDelete, 161},
             {D::kSave, 163},        {D::kBrowse, 164},        {D::kName, 166},
             {D::kDescription, 167}, {D::kProgram, 168}};

constexpr int kMsgDelete = 165;
constexpr int kMsgReplace = 169;
constexpr int kMsgNotSaved = 170;
constexpr int kMsgCopied = 172;
constexpr int kMsgBadDescription = 1340;
constexpr int kMsgBadField = 2110;
constexpr std::size_t kMaxErrorText = 255;

int Ask(int id, const std::string& name)
{
    const CLanguage& language = framework::Language();
    return language.ShowMessage({language.Format(id, {name}), {}, mb::kYesNo | mb::kIconQuestion});
}

}  // namespace

CPlugInGest::CPlugInGest(std::string programFolder)
    : CMyFontDialog(kTemplateId), programFolder_(std::move(programFolder))
{
}

bool CPlugInGest::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    folder_ = plugins::PlugInFolder(programFolder_);
    FillList();
    SelectFirst();
    return CMyFontDialog::OnInitDialog();
}

void CPlugInGest::FillList()
{
    entries_.clear();
    auto* box = GetDlgItemAs<QListWidget>(kList);
    if (box != nullptr)
        box->clear();
    // Each of the first eight files keeps its place by position: one that cannot be read leaves
    // its entry empty rather than letting a ninth file in.
    for (const std::string& file : plugins::ListFiles(folder_)) {
        if (static_cast<int>(entries_.size()) >= plugins::kMaxPlugIns)
            break;
        auto entry = plugins::ReadFile(folder_, file);
        if (!entry) {
            entries_.emplace_back();
            continue;
        }
        if (box != nullptr)
            AddString(box, entry->name);
        entries_.push_back(std::move(*entry));
    }
}

int CPlugInGest::FindEntry(const std::string& name) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (!entries_[i].name.empty() && platform::AsciiIEquals(entries_[i].name, name))
            return static_cast<int>(i);
    return -1;
}

void CPlugInGest::SelectFirst()
{
    if (auto* box = GetDlgItemAs<QListWidget>(kList); box != nullptr && box->count() > 0)
        box->setCurrentRow(0);
    ShowSelected();
}

void CPlugInGest::ShowSelected()
{
    name_.clear();
    description_.clear();
    program_.clear();
    const auto* box = GetDlgItemAs<QListWidget>(kList);
    if (box != nullptr && box->currentItem() != nullptr) {
        const int index = FindEntry(box->currentItem()->text().toStdString());
        if (index >= 0) {
            const plugins::PlugInFile& entry = entries_[static_cast<std::size_t>(index)];
            name_ = entry.name;
            description_ = entry.description;
            program_ = entry.program;
        }
    }
    ShowValues();
}

void CPlugInGest::ShowValues()
{
    SetDlgItemText(kName, name_);
    SetDlgItemText(kDescription, description_);
    SetDlgItemText(kProgram, program_);
}

void CPlugInGest::TakeEdits()
{
    name_ = GetDlgItemText(kName);
    description_ = GetDlgItemText(kDescription);
    program_ = GetDlgItemText(kProgram);
}

bool CPlugInGest::OnCommand(int id, int code)
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
    case kCopyToStartup: OnCopyToStartup(); return true;
    case kBrowse: OnBrowse(); return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CPlugInGest::ShowSaveError(const std::string& error) const
{
    const CLanguage& language = framework::Language();
    language.ShowMessage(
        {language.Format(kMsgNotSaved, {language.Translate(error), name_}), {}, mb::kIconError});
}

void CPlugInGest::OnSave()
{
    TakeEdits();
    if (!startup_programs::IsRunnableFile(program_)) {
        startup_programs::ShowInvalidProgram(program_);
        if (QWidget* w = GetDlgItem(kProgram))
            w->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!plugins::IsPlugInName(name_)) {
        ShowSaveError("Not a valid name");
        return;
    }
    const int index = FindEntry(name_);
    std::string replaced;
    if (index >= 0) {
        const plugins::PlugInFile& old = entries_[static_cast<std::size_t>(index)];
        // Linux file names keep their case: a program path differing only in case is another.
        if (old.description == description_ && old.program == program_)
            return;
        if (Ask(kMsgReplace, name_) != mb::kIdYes)
            return;
        replaced = old.name;
    }
    std::string error;
    ::mkdir(folder_.c_str(), 0777);
    if (!plugins::WriteFile(folder_, {name_, description_, program_, 2}, &error)) {
        ShowSaveError(error);
        return;
    }
    // The new file is in place before the old spelling goes.
    if (!replaced.empty() && replaced != name_ && !plugins::DeleteFile(folder_, replaced, &error))
        ShowSaveError(error);
    // Emptying the list clears the shown texts: the saved name is kept aside.
    const QString saved = QString::fromStdString(name_);
    FillList();
    if (auto* box = GetDlgItemAs<QListWidget>(kList)) {
        // Rows skip the empty entries, so the row is found by its text.
        const auto rows = box->findItems(saved, Qt::MatchFixedString);
        box->setCurrentRow(rows.isEmpty() ? -1 : box->row(rows.front()));
    }
}

void CPlugInGest::OnDelete()
{
    TakeEdits();
    if (Ask(kMsgDelete, name_) != mb::kIdYes || !plugins::IsPlugInName(name_))
        return;
    std::string error;
    if (!plugins::DeleteFile(folder_, name_, &error))
        framework::Language().ShowMessage({error, {}, mb::kIconError});
    FillList();
    SelectFirst();
}

void CPlugInGest::OnCopyToStartup()
{
    const CLanguage& language = framework::Language();
    const startup_programs::StartupEntry entry{name_, program_, ""};
    const EntryCheck check = startup_programs::CheckEntry(entry);
    if (check != EntryCheck::Ok) {
        language.MessageBox(check == EntryCheck::BadDescription ? kMsgBadDescription : kMsgBadField,
                            mb::kIconError);
        return;
    }
    std::string error;
    if (!startup_programs::AppendEntry(programFolder_, entry, &error)) {
        language.ShowMessage(
            {language.Translate(error.substr(0, kMaxErrorText)), {}, mb::kIconError});
        return;
    }
    language.ShowMessage({language.Format(kMsgCopied, {name_}), {}, mb::kIconInformation});
}

void CPlugInGest::OnBrowse()
{
    if (const auto path = chooser_(this)) {
        program_ = *path;
        SetDlgItemText(kProgram, program_);
    }
}
