// CSplit: the split page of the main window. It keeps the split presets ("Split.Dat" in the
// program folder), edits one at a time, and applies one to the radio: the other VFO gets the
// shown frequency plus the offset with the preset's mode and filter, and split goes on.
#pragma once

#include "SplitList.h"
#include "ListPageTools.h"
#include "TabPage.h"

#include <string>
#include <vector>

class IMainWindowServices;

class CSplit : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 144;
    // Controls.
    static constexpr int kList = 1069;
    static constexpr int kDescription = 1068;
    static constexpr int kOffset = 1025;
    static constexpr int kMode = 1027;
    static constexpr int kFilter = 1037;
    static constexpr int kActivate = 1038;
    static constexpr int kDelete = 1039;
    static constexpr int kNew = 1040;
    static constexpr int kSave = 1041;

    // The services outlive the page.
    CSplit(IMainWindowServices& services, std::string path);

    void LoadSplits();
    // Writes the file (when the list changed) and the selected index; false (message 109 shown)
    // when a change was not saved.
    bool SaveSplits();
    const lists::SplitList& Splits() const { return list_; }
    int Selected() const { return selected_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void OnSave();
    void OnDelete();
    void OnNew();
    void OnActivate();
    void OnDescriptionTyped();
    void FillModeCombo();
    void FillList();
    void Select(int index);
    void ShowSelectedSplit();
    lists::SplitPreset PresetFromControls() const;
    bool FilterOn() const;
    void Focus(int id);

    IMainWindowServices& services_;
    std::string path_;
    lists::SplitList list_;
    int selected_ = -1;
    std::vector<std::string> modesCopied_;
    bool showing_ = false;  // the page fills its fields: no typing to follow
    lists::CListFileState file_;
};
