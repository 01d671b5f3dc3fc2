// CUtility (page 152, "Utility"): the program's housekeeping: the backup and restore of the data
// files as one zip archive, the start-up programs, the printed lists, and the buttons of dialogs
// other parts own.
#pragma once

#include "TabPage.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

class Profile;

// What the page needs from the main window.
class IUtilityHost {
public:
    virtual ~IUtilityHost() = default;
    virtual std::string ProgramFolder() const = 0;
    virtual std::string WindowTitle() const = 0;
    virtual Profile& Registry() = 0;
    // Writes every list file, so the backup takes what the windows hold.
    virtual void SaveState() = 0;
    // Ends the program once the running handler has returned.
    virtual void CloseProgram() = 0;
};

class CUtility : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 152;
    static constexpr int kPrintSplit = 1128;
    static constexpr int kPrintSkeds = 1133;
    static constexpr int kPrintMemories = 1129;
    static constexpr int kPrintRadioMemories = 1130;
    static constexpr int kPrintBandLimits = 1131;
    static constexpr int kHiddenNumber = 1132;
    static constexpr int kUpdateCheck = 1114;
    static constexpr int kBandLimits = 1050;
    static constexpr int kConfiguration = 1026;
    static constexpr int kBackup = 1113;
    static constexpr int kRestore = 1027;
    static constexpr int kStartup = 1028;
    static constexpr int kPrint = 1124;

    // Asks for a folder: caption, prompt, initial folder; nullopt for anything but OK.
    using FolderAsker = std::function<std::optional<std::string>(
        const std::string& caption, const std::string& prompt,
        const std::optional<std::string>& initial)>;
    // Runs a modal dialog the page opens; tests drive it themselves.
    using DialogRunner = std::function<void(CMyFontDialog& dialog)>;

    // The host outlives the page.
    explicit CUtility(IUtilityHost& host);

    void SetFolderAsker(FolderAsker asker) { askFolder_ = std::move(asker); }
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    // What a button that another part serves does; a button without one stays disabled.
    void SetAction(int buttonId, std::function<void()> action);
    // What a print box prints once its question is answered Yes; "Print" waits for the first.
    void SetPrintJob(int boxId, std::function<void()> job);

    void OnBackup();
    void OnRestore();
    void OnStartup();
    // Asks for each checked list in turn and prints it; a No ends the whole run.
    void OnPrint();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    std::optional<std::string> AskFolder(int promptId);
    void EnableActions();

    IUtilityHost& host_;
    FolderAsker askFolder_;
    DialogRunner runDialog_;
    std::map<int, std::function<void()>> actions_;
    std::map<int, std::function<void()>> printJobs_;
};
