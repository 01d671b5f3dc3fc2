// CPlugInGest (dialog 278, "Corvane - Plug-In"): creates, replaces and deletes the plug-in files
// and copies a plug-in into the start-up list. Save and Delete act on the files at once.
#pragma once

#include "MyFontDialog.h"
#include "PlugInFile.h"
#include "ProgramChooser.h"

#include <string>
#include <vector>

class CPlugInGest : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 278;
    static constexpr int kName = 1111;
    static constexpr int kDescription = 1219;
    static constexpr int kProgram = 1223;
    static constexpr int kList = 1232;
    static constexpr int kCopyToStartup = 1233;
    static constexpr int kSave = 1234;
    static constexpr int kDelete = 1235;
    static constexpr int kBrowse = 1184;

    // The program folder holds "PlugIn" and "Startup.dat".
    explicit CPlugInGest(std::string programFolder);

    void SetProgramChooser(startup_programs::ProgramChooser chooser)
    {
        chooser_ = std::move(chooser);
    }

    // The first eight files by position; a file that could not be read is an empty entry.
    void FillList();
    // Index of the first entry of that name (letter case ignored), -1 when none.
    int FindEntry(const std::string& name) const;
    const std::vector<plugins::PlugInFile>& Entries() const { return entries_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void SelectFirst();
    void ShowSelected();
    void TakeEdits();
    void ShowValues();
    void OnSave();
    void OnDelete();
    void OnCopyToStartup();
    void OnBrowse();
    void ShowSaveError(const std::string& error) const;

    std::string programFolder_;
    std::string folder_;
    std::vector<plugins::PlugInFile> entries_;
    // What the edits showed last or gave last; "Copy in StartUp" takes these.
    std::string name_;
    std::string description_;
    std::string program_;
    startup_programs::ProgramChooser chooser_ = startup_programs::ChooseProgram;
};
