#include "MemoryGroupsPage.h"

#include "AsciiCase.h"
#include "CommandCodes.h"
#include "ControlFactory.h"
#include "DialogTemplate.h"
#include "GroupNameDlg.h"
#include "Ini.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MemoryGroupHost.h"
#include "MemoryGroups.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cstdio>

namespace {

using namespace tpl;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CMem::kTemplateId, "Memories",
    Column(
        {Group(
             "Memories",
             {Control(CMem::kShowPc, "CHECKBOX", "PC Memories"),
              Control(CMem::kShowRadio, "CHECKBOX", "Radio Memories"),
              Row({Control(ctl::kIdStatic, "STATIC", "Group"),
                   Stretched(Control(CMem::kGroups, "COMBOBOX", "", kSorted | kEditable, 20), 1)}),
              Row({Control(CMem::kNew, "BUTTON", "New"), Control(CMem::kDelete, "BUTTON", "Delete"),
                   Control(CMem::kRename, "BUTTON", "Rename"),
                   Control(CMem::kClone, "BUTTON", "Clone"), Stretch()})}),
         Stretch()})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CMem::kShowPc, 1207}, {CMem::kShowRadio, 1208}, {CMem::kGroups, 1290},
             {CMem::kNew, 1291},    {CMem::kDelete, 1292},    {CMem::kRename, 1293},
             {CMem::kClone, 1299}};

constexpr int kStrDeleteGroup = 1294;
constexpr int kStrBaseUntouchable = 1295;
constexpr int kStrNewGroupName = 1296;
constexpr int kStrRenameGroup = 1297;
constexpr int kStrGroupExists = 1298;

}  // namespace

CMem::CMem(IMainWindowServices& services, IMemoryGroupHost& host, std::string folder)
    : CTabPage(kTemplateId), services_(services), host_(host), folder_(std::move(folder))
{
}

bool CMem::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    if (auto* combo = GetDlgItemAs<QComboBox>(kGroups)) {
        // Typing picks an existing group; groups are made only by "New", whose name is checked.
        combo->setInsertPolicy(QComboBox::NoInsert);
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this](int) {
            if (!SwitchGroup())
                SelectGroup(current_);
        });
        if (QLineEdit* edit = combo->lineEdit())
            connect(edit, &QLineEdit::editingFinished, this, [this, combo] {
                if (combo->currentIndex() >= 0)
                    combo->setEditText(combo->itemText(combo->currentIndex()));
            });
    }
    FillGroupList(true);
    current_ = SelectedGroup();
    return CTabPage::OnInitDialog();
}

void CMem::showEvent(QShowEvent* event)
{
    SetWindowCheck(kShowPc, host_.PcWindowShown());
    SetWindowCheck(kShowRadio, host_.RadioWindowShown());
    CTabPage::showEvent(event);
}

bool CMem::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    const auto* check = GetDlgItemAs<QCheckBox>(id);
    switch (id) {
    case kShowPc: host_.ShowPcWindow(check != nullptr && check->isChecked()); return true;
    case kShowRadio: host_.ShowRadioWindow(check != nullptr && check->isChecked()); return true;
    case kNew: NewGroup(); return true;
    case kDelete: DeleteGroup(); return true;
    case kRename: RenameGroup(); return true;
    case kClone: CloneGroup(); return true;
    default: return CTabPage::OnCommand(id, code);
    }
}

void CMem::SetWindowCheck(int id, bool on)
{
    if (auto* check = GetDlgItemAs<QCheckBox>(id))
        check->setChecked(on);
}

void CMem::FillGroupList(bool selectStored)
{
    auto* combo = GetDlgItemAs<QComboBox>(kGroups);
    if (combo == nullptr)
        return;
    combo->clear();
    for (const std::string& group : lists::ListGroups(folder_))
        AddString(combo, group);
    SelectGroup(std::string(lists::kBaseGroup));
    if (selectStored)
        SelectGroup(services_.Ini().GetString(settings::memorie::Gruppo));
}

std::string CMem::SelectedGroup() const
{
    const auto* combo = GetDlgItemAs<QComboBox>(kGroups);
    if (combo == nullptr || combo->currentIndex() < 0)
        return std::string(lists::kBaseGroup);
    return combo->itemText(combo->currentIndex()).toStdString();
}

std::string CMem::GetGroupFilePath() const
{
    return lists::GroupFileName(SelectedGroup());
}

int CMem::FindGroup(const std::string& name) const
{
    const auto* combo = GetDlgItemAs<QComboBox>(kGroups);
    return combo != nullptr ? combo->findText(QString::fromStdString(name), Qt::MatchFixedString)
                            : -1;
}

void CMem::SelectGroup(const std::string& name)
{
    const int index = FindGroup(name);
    if (auto* combo = GetDlgItemAs<QComboBox>(kGroups); combo != nullptr && index >= 0)
        combo->setCurrentIndex(index);
}

bool CMem::SwitchGroup()
{
    const std::string file = GetGroupFilePath();
    if (file.empty())
        return false;
    const std::string path = platform::ResolveInFolder(folder_, file);
    if (!platform::AsciiIEquals(path, host_.PcFilePath())) {
        if (!host_.SavePcList())
            return false;
        host_.LoadPcList(path);
    }
    current_ = SelectedGroup();
    return true;
}

std::optional<std::string> CMem::AskName(int promptId, const std::string& name)
{
    const CLanguage& language = services_.Language();
    const std::string prompt = language.Format(promptId, {name});
    if (askName_)
        return askName_(prompt);
    CDlgNomeGruppo dlg(prompt);
    dlg.SetOwner(this);
    if (dlg.DoModal() != ctl::kIdOk)
        return std::nullopt;
    return dlg.Name();
}

std::optional<std::string> CMem::AcceptedName(const std::optional<std::string>& typed)
{
    if (!typed)
        return std::nullopt;
    if (!lists::IsGroupName(*typed) || platform::AsciiIEquals(*typed, lists::kBaseGroup)) {
        ShowError(services_.Language().Translate("Not a valid group name") + " <" + *typed + ">");
        return std::nullopt;
    }
    return typed;
}

void CMem::NewGroup()
{
    const std::optional<std::string> name = AcceptedName(AskName(kStrNewGroupName));
    if (!name)
        return;
    if (FindGroup(*name) >= 0) {
        SelectGroup(*name);
        if (!SwitchGroup())
            SelectGroup(current_);
        return;
    }
    auto* combo = GetDlgItemAs<QComboBox>(kGroups);
    if (combo == nullptr)
        return;
    const std::string previous = current_;
    combo->setCurrentIndex(AddString(combo, *name));
    const bool shown = host_.PcWindowShown();
    if (shown)
        host_.ShowPcWindow(false);
    if (!SwitchGroup()) {
        combo->removeItem(FindGroup(*name));
        SelectGroup(previous);
    }
    if (shown)
        host_.ShowPcWindow(true);
}

void CMem::DeleteGroup()
{
    const CLanguage& language = services_.Language();
    const std::string name = SelectedGroup();
    if (platform::AsciiIEquals(name, lists::kBaseGroup)) {
        ShowError(language.LoadString(kStrBaseUntouchable));
        return;
    }
    if (language.ShowMessage({language.Format(kStrDeleteGroup, {name}), language.LoadString(141),
                              mb::kYesNo | mb::kIconQuestion, 0})
        != mb::kIdYes)
        return;
    const std::string file = GetGroupFilePath();
    SelectGroup(std::string(lists::kBaseGroup));
    if (!SwitchGroup()) {
        SelectGroup(name);
        return;
    }
    if (auto* combo = GetDlgItemAs<QComboBox>(kGroups))
        combo->removeItem(FindGroup(name));
    std::string error;
    if (!platform::RemoveInFolder(folder_, file, &error))
        ShowError(file + ": " + error);
}

void CMem::RenameGroup()
{
    const CLanguage& language = services_.Language();
    const std::string old = SelectedGroup();
    if (platform::AsciiIEquals(old, lists::kBaseGroup)) {
        ShowError(language.LoadString(kStrBaseUntouchable));
        return;
    }
    const std::optional<std::string> name = AcceptedName(AskName(kStrRenameGroup, old));
    if (!name)
        return;
    if (FindGroup(*name) >= 0) {
        ShowError(language.Format(kStrGroupExists, {*name}));
        return;
    }
    // The old file goes only once the new one holds the list.
    const std::string oldFile = lists::GroupFileName(old);
    std::string error;
    if (!host_.SavePcList())
        return;
    if (!lists::CopyGroupFile(folder_, oldFile, lists::GroupFileName(*name), &error)) {
        ShowError(lists::GroupFileName(*name) + ": " + error);
        return;
    }
    FillGroupList(false);
    SelectGroup(*name);
    if (!SwitchGroup()) {
        SelectGroup(old);
        return;
    }
    if (!platform::RemoveInFolder(folder_, oldFile, &error))
        ShowError(oldFile + ": " + error);
    FillGroupList(false);
    SelectGroup(*name);
}

void CMem::CloneGroup()
{
    const CLanguage& language = services_.Language();
    const std::optional<std::string> name = AcceptedName(AskName(kStrNewGroupName));
    if (!name)
        return;
    if (FindGroup(*name) >= 0) {
        ShowError(language.Format(kStrGroupExists, {*name}));
        return;
    }
    if (!host_.SavePcList())
        return;
    std::string error;
    if (!lists::CopyGroupFile(folder_, GetGroupFilePath(), lists::GroupFileName(*name), &error)) {
        ShowError(lists::GroupFileName(*name) + ": " + error);
        return;
    }
    const std::string previous = current_;
    FillGroupList(false);
    SelectGroup(*name);
    if (!SwitchGroup())
        SelectGroup(previous);
}

void CMem::ShowError(const std::string& text) const
{
    const CLanguage& language = services_.Language();
    language.ShowMessage({text, language.LoadString(142), mb::kOk | mb::kIconError, 0});
}
