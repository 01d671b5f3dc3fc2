// CMemoryListWindow: what the two memory list windows (the PC's and the radio's) share. A grid of
// channels over an editor for one of them, the list file behind it, the view kept in the INI
// (focus and sort), the pick lists of the coded columns, printing, the window's place, and the
// editor following the radio's model. Closing the window only hides it.
#pragma once

#include "ChannelTuning.h"
#include "DataGrid.h"
#include "GridHost.h"
#include "ListPageTools.h"
#include "MemoryCsv.h"
#include "MemoryListFile.h"
#include "MyFontDialog.h"
#include "SettingsKeys.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CGridWidget;
class IMainWindowServices;

class CMemoryListWindow : public CMyFontDialog, protected GridOwner {
    Q_OBJECT
public:
    // The controls both windows have, with the same ids.
    enum SharedControl : int {
        kGrid = 1166,
        kDescription = 1075,
        kVfoA = 1076,
        kModeA = 1077,
        kFilterA = 1078,
        kVfoB = 1056,
        kModeB = 1028,
        kFilterB = 1038,
        kSplit = 1040,
        kDupPlus = 1049,
        kDupMinus = 1051,
        kTone = 1037,
        kTsql = 1538,
        kToneHz = 1080,
        kToneLabel = 1213,
        kNotice = 1253,
        kDelete = 1074,
        kSave = 1042,
        kPrint = 1139,
        kImport = 1144,
        kExport = 1143,
    };

    struct ControlTip {
        int control;
        int stringId;
    };

    // What tells one list from the other.
    struct Layout {
        int columnCount;
        int fixedColumns;
        int firstTitleId;  // column c is titled by this string + c
        int modeColumn;    // its choices fill the editor's mode boxes
        int toneColumn;
        int toneSquelchColumn;
        GridCompareFunc (*compareFor)(int column);
        std::vector<std::string> (*choices)(int column);  // empty: the column is typed
        settings::IniInt focusRow, focusColumn, sortColumn, sortMode;
        settings::RegRect place;
        const char* what;                       // the list's name in the error output
        std::span<const int> switches;          // check buttons
        std::span<const int> commands;          // push buttons with key caps
        std::span<const int> toneControls;      // hidden where the model has NR/ANF instead
        std::span<const int> extendedControls;  // enabled with the extended functions
        std::span<const ControlTip> tips;
        settings::IniString lastCsvFile;
        lists::CsvLayout csv;
        // The list file's text of the rows, the lines no row took after them.
        std::string (*fileText)(const lists::IListTable& rows, const lists::UnreadLines& unread);
    };

    // The file and separators of a CSV import or export, as the options dialog gives them.
    struct CsvChoice {
        std::string file;
        lists::CsvDialect dialect;
    };
    // Asks for them (the options dialog unless set); nothing when the user cancelled.
    using CsvAsker = std::function<std::optional<CsvChoice>(bool import, const std::string& file)>;
    void SetCsvAsker(CsvAsker asker) { askCsv_ = std::move(asker); }

    // The list file; set before the window is built, else the window names it.
    void SetFilePath(const std::string& path) { path_ = path; }
    const std::string& FilePath() const { return path_; }
    // Called whenever the window shows (true) or hides (false), however it was asked to.
    void SetOnShown(std::function<void(bool)> onShown) { onShown_ = std::move(onShown); }

    // Its controls exist (the start-up builds them after the window is made).
    bool IsBuilt() const { return gridWidget_ != nullptr; }
    CDataGrid& Grid();

    // direction: 1 ascending, 0 descending, -1 toggle (ascending for a new column).
    void SortByColumn(int col, int direction);
    virtual void FillEditorFromRow() = 0;
    // Radio model adaptation and the extended functions, as at each activation.
    void AdaptToRadio();

    // Writes the rows and the view state. The file is written only when the rows differ from
    // what it holds (or it is not there yet), and never over a file that could not be read;
    // false (the user was told) when a change was not written.
    bool SaveMemories();

    // Prints the rows on the printer or into the file the user chooses.
    void PrintMemories();
    void SaveWindowPos();

    // The list as a CSV file (header row included), and a CSV file's rows merged into the list,
    // which is then saved; a failure is shown and keeps the list file as it was.
    void ExportCsv();
    void ImportCsv();

protected:
    // The services and the layout must outlive the window.
    CMemoryListWindow(unsigned templateId, IMainWindowServices& services, const Layout& layout);

    // After an import: the rows sized and shown, the focused one in the editor, the list saved.
    virtual void ShowImportedRows() = 0;

    // After the list file was read into the rows and they were sorted: the user is told when it
    // could not be read, and the rows are what the file holds.
    void TookFile(const lists::ListFileResult& read);
    // False, and the user is told, when the list file could not be read: no change of the list
    // could be saved, so none is begun.
    bool ListMayChange() const;

    // The header row, colours and modes of the grid; then the rows are the window's.
    void SetUpGrid();
    // Number formats, mode boxes, button looks, tips.
    void SetUpEditor();
    void ReadViewState();
    // Nothing is kept of an empty list's view.
    void WriteViewState();
    // A coded cell takes one of its column's values from a list; false when none was picked.
    bool PickFromList(int row, int col);

    // The two VFOs and split as the editor shows them (activeB left false).
    lists::ChannelTuning EditorTuning() const;
    void ShowTuning(const lists::ChannelTuning& tuning);
    int EditorToneTenths() const;
    // The radio's VFOs into the editor: the shown one, then the other (selected to be read,
    // then the shown one selected again). True when the radio was on VFO B.
    bool CopyRadioVfos();
    // After storing the radio's state: message `messageId`, then the user names the channel.
    void AskForDescription(int messageId);
    // True when the band limits refuse the channel: the refusal shown, its VFO focused.
    bool RefuseOutOfLimits(const lists::ChannelTuning& tuning);

    bool Check(int id) const;
    void SetCheck(int id, bool on);
    double NumberOf(int id) const;
    void SetNumber(int id, double value);
    void ShowError(const std::string& text) const;
    void Focus(int id);

    // Import and Export.
    bool OnCommand(int id, int code) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void OnOK() override {}
    void OnCancel() override { hide(); }

    IMainWindowServices& services_;
    CGridWidget* gridWidget_ = nullptr;
    std::string path_;
    int focusRow_ = 1;
    int focusCol_ = 0;
    int sortColumn_ = 0;
    int sortAscending_ = 1;
    bool editing_ = false;
    // The lines of the list file that gave no row.
    lists::UnreadLines unread_;

private:
    std::string FileText() const;

    // The CSV file and separators; a file named without a folder is the program folder's.
    std::optional<CsvChoice> AskCsv(bool import);

    const Layout& layout_;
    std::function<void(bool)> onShown_;
    CsvAsker askCsv_;
    lists::CListFileState fileState_;
    // The file's text as the rows stood when it was read or written; none when there was no file.
    std::optional<std::string> fileText_;
    std::vector<std::string> modesCopied_;  // the radio's mode names in the mode boxes
    int appliedModel_ = -2;                 // none applied yet
    int appliedExtended_ = -1;
};
