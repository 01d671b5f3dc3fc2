// CStartup (dialog 272, "Corvane - Startup"): edits the programs started with the program.
// Save and Delete change the list only; OK writes "Startup.dat", Abort discards the changes.
#pragma once

#include "MyFontDialog.h"
#include "ProgramChooser.h"
#include "StartupList.h"

#include <string>

class CStartup : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 272;
    static constexpr int kList = 1218;
    static constexpr int kDescription = 1219;
    static constexpr int kProgram = 1223;
    static constexpr int kCommandLine = 1220;
    static constexpr int kSave = 1114;
    static constexpr int kDelete = 1113;
    static constexpr int kBrowse = 1184;
    static constexpr int kAbort = 1115;

    // The folder holds "Startup.dat".
    explicit CStartup(std::string folder);

    // Tests pick programs themselves; by default a file dialog asks.
    void SetProgramChooser(startup_programs::ProgramChooser chooser)
    {
        chooser_ = std::move(chooser);
    }

    void LoadList();
    // False when the file could not be written (message 1309 shown).
    bool SaveList();
    const startup_programs::StartupList& List() const { return list_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;

private:
    void FillListBox(int select);
    void ShowSelected();
    void OnSave();
    void OnDelete();
    void OnBrowse();
    startup_programs::StartupEntry EditedEntry() const;

    std::string folder_;
    startup_programs::StartupList list_;
    startup_programs::ProgramChooser chooser_ = startup_programs::ChooseProgram;
};
