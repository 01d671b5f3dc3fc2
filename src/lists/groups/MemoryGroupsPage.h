// CMem (page 146 "Memories"): picks the memory group the PC memories window shows, makes,
// deletes, renames and clones groups, and shows or hides the two memory windows.
#pragma once

#include "TabPage.h"

#include <functional>
#include <optional>
#include <string>

class IMainWindowServices;
class IMemoryGroupHost;

class CMem : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 146;
    static constexpr int kShowPc = 1168;
    static constexpr int kShowRadio = 1169;
    static constexpr int kGroups = 1205;
    static constexpr int kNew = 1113;
    static constexpr int kDelete = 1114;
    static constexpr int kRename = 1115;
    static constexpr int kClone = 1116;

    // Asks for a name with a prompt; nullopt for Cancel.
    using NameAsker = std::function<std::optional<std::string>(const std::string& prompt)>;

    // The services, the host and the folder outlive the page.
    CMem(IMainWindowServices& services, IMemoryGroupHost& host, std::string folder);

    // Tests answer the name questions themselves; by default CDlgNomeGruppo asks.
    void SetNameAsker(NameAsker asker) { askName_ = std::move(asker); }

    // Refills the group list; with selectStored the stored group ("Memorie"/"Gruppo").
    void FillGroupList(bool selectStored);
    std::string SelectedGroup() const;
    // The selected group's file name in the folder.
    std::string GetGroupFilePath() const;
    // The PC memories window takes the selected group's file (saving the old one first); false
    // when the old one could not be saved (the group stays as it was).
    bool SwitchGroup();

    void NewGroup();
    void DeleteGroup();
    void RenameGroup();
    void CloneGroup();

    // The checks follow a window hidden by other means.
    void SetWindowCheck(int id, bool on);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void showEvent(QShowEvent* event) override;

private:
    std::optional<std::string> AskName(int promptId, const std::string& name = {});
    // A typed name that is a group name, or a message and nullopt.
    std::optional<std::string> AcceptedName(const std::optional<std::string>& typed);
    int FindGroup(const std::string& name) const;
    void SelectGroup(const std::string& name);
    void ShowError(const std::string& text) const;

    IMainWindowServices& services_;
    IMemoryGroupHost& host_;
    std::string folder_;
    NameAsker askName_;
    std::string current_;  // the group whose file the PC window holds
};
