// CDlgMem (dialog 230): the memory channels kept on the PC. A grid of channels, one per row,
// over an editor for one channel; from it the user stores the radio's state, edits, sorts,
// deletes, prints and sends a channel to the radio ("Active"). Closing it only hides it; the
// rows go to the file when the main window saves its state.
#pragma once

#include "GridHost.h"
#include "MemoryChannel.h"
#include "MyFontDialog.h"

#include <functional>
#include <string>

class CGridWidget;
class CDataGrid;
class IMainWindowServices;

class CDlgMem : public CMyFontDialog, private GridOwner {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 230;
    enum Control : int {
        kGrid = 1166,
        kDescription = 1075,
        kVfoA = 1076,
        kModeA = 1077,
        kFilterA = 1078,
        kVfoB = 1056,
        kModeB = 1028,
        kFilterB = 1038,
        kSplit = 1040,
        kActiveVfo = 1029,
        kDupPlus = 1049,
        kDupMinus = 1051,
        kAtt = 1030,
        kPre = 1034,
        kAgc = 1035,
        kNb = 1036,
        kTone = 1037,
        kTsql = 1538,
        kVox = 1539,
        kBkin = 1544,
        kComp = 1048,
        kDuplexValue = 1009,
        kToneHz = 1080,
        kDuplexLabel = 1211,
        kDuplexUnit = 1212,
        kToneLabel = 1213,
        kNotice = 1253,
        kDelete = 1074,
        kNew = 1041,
        kSave = 1042,
        kActive = 1043,
        kActiveTransfer = 1044,
        kReadMem = 1045,
        kWriteMem = 1046,
        kPrint = 1139,
        kImport = 1144,
        kExport = 1143,
    };

    // The services must outlive the window.
    explicit CDlgMem(IMainWindowServices& services);

    // The list file; set before the window is built (the program folder's "MemPC.Dat").
    void SetFilePath(const std::string& path) { path_ = path; }
    const std::string& FilePath() const { return path_; }
    // "Act.  Tr." hands the channel to the radio memories window once it went to the radio; the
    // button works only with a receiver.
    void SetOnActiveTransfer(std::function<void()> handOver);
    // Called whenever the window hides (the groups page releases its check).
    void SetOnHidden(std::function<void()> onHidden) { onHidden_ = std::move(onHidden); }

    void LoadMemories();
    // Writes the rows and the view state. An automatic save leaves a file alone that could not
    // be read in full; false when nothing was written.
    bool SaveMemories(bool automatic = true);
    void StoreCurrentState();
    // False when the limits refused the channel (the user was told).
    bool SendRowToRadio();
    void SaveRow(bool silent);
    void DeleteFocusedRow();
    // direction: 1 ascending, 0 descending, -1 toggle (ascending for a new column).
    void SortByColumn(int col, int direction);
    void FillEditorFromRow();
    // Prints the rows; without a printer they go to a PDF file (the user is told where).
    void PrintMemories();
    // The rows as pages of a PDF file; false when nothing was written.
    bool PrintMemoriesToPdf(const std::string& file);
    void SaveWindowPos();
    // "Read mem." and "Write mem.": a range of the radio's channels into rows named "Mem. nn",
    // and every row so named into its channel.
    void ReadMemoriesFromRadio();
    void WriteMemoriesToRadio();

    // Its controls exist (the start-up builds them after the window is made).
    bool IsBuilt() const { return gridWidget_ != nullptr; }
    CDataGrid& Grid();
    // Radio model adaptation and the extended functions, as at each activation.
    void AdaptToRadio();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override {}
    void OnCancel() override { hide(); }
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // GridOwner
    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override;

    void SetUpGrid();
    void SetUpControls();
    void ClearEditor();
    lists::MemoryChannel ReadEditor() const;
    void WriteEditor(const lists::MemoryChannel& m);
    int FindRow(const std::string& description) const;
    void FocusRow(int row);
    void ReadViewState();
    void OnDescriptionLeft();
    bool OnDuplexValueLeft();
    void OnCheck(int id);
    bool PickFromList(int row, int col);
    void ShowError(const std::string& text) const;
    bool AskTransfer(const std::string& question) const;
    void ReportStop(const char* english, int channel) const;
    // The radio channel a row's description names, 0 for none.
    int ChannelOfRow(int row) const;

    bool Check(int id) const;
    void SetCheck(int id, bool on);
    double NumberOf(int id) const;
    void SetNumber(int id, double value);

    IMainWindowServices& services_;
    CGridWidget* gridWidget_ = nullptr;
    std::string path_;
    std::function<void()> handOver_;
    std::function<void()> onHidden_;
    std::string caption_;
    int focusRow_ = 1;
    int focusCol_ = 0;
    int sortColumn_ = 0;
    int sortAscending_ = 1;
    std::string focusDescription_;
    int appliedModel_ = -2;  // none applied yet
    int appliedExtended_ = -1;
    bool editing_ = false;
    // Set by transfers while they run: selection changes do not refill the editor.
    bool transferring_ = false;
    // The last read failed part way: an automatic save would lose the records not read.
    bool readCutShort_ = false;
};
