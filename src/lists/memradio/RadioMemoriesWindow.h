// CDlgMemRadio (dialog 4002): the copy of the radio's 99 memory channels ("MemRTX.Dat"). A grid
// of the channels over an editor for one of them; with "Memory Mode" on the window drives the
// radio's memory itself: a selected channel is recalled, Save writes it and Delete clears it.
// Closing it only hides it; the rows go to the file when the main window saves its state.
#pragma once

#include "GridHost.h"
#include "MemoryChannel.h"
#include "MyFontDialog.h"

#include <functional>
#include <string>

class CGridWidget;
class CDataGrid;
class IMainWindowServices;

class CDlgMemRadio : public CMyFontDialog, private GridOwner {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 4002;
    enum Control : int {
        kGrid = 1166,
        kChannel = 1287,
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
        kToVfo = 1043,
        kSynchronize = 1255,
        kPrint = 1139,
        kMemoryMode = 1113,
        kExport = 1143,
        kImport = 1144,
    };

    // The services must outlive the window.
    explicit CDlgMemRadio(IMainWindowServices& services);

    // The list file; the program folder's "MemRTX.Dat" unless set before the window is built.
    void SetFilePath(const std::string& path) { path_ = path; }
    const std::string& FilePath() const { return path_; }
    // Called whenever the window hides (the groups page releases its check).
    void SetOnHidden(std::function<void()> onHidden) { onHidden_ = std::move(onHidden); }

    void LoadMemories();
    // Writes the 99 rows and the view state; false (the user was told) when nothing was written.
    bool SaveMemories();
    // The radio's state into the editor, for the user to name and save on a channel.
    void StoreCurrentState();
    void SaveRow();
    void DeleteFocusedRow();
    // The editor's channel to the radio; false when the limits refused it (the user was told).
    bool SendRowToRadio();
    void RecallChannel(int channel, bool toVfo);
    void ToVfo();
    // Saves the list, synchronises it with the radio's channels and loads the result.
    void Synchronize();
    // direction: 1 ascending, 0 descending, -1 toggle (ascending for a new column).
    void SortByColumn(int col, int direction);
    void FillEditorFromRow();
    void PrintMemories();
    bool PrintMemoriesToPdf(const std::string& file);
    void SaveWindowPos();

    bool IsBuilt() const { return gridWidget_ != nullptr; }
    CDataGrid& Grid();
    bool MemoryMode() const;
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

private:
    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override;

    void SetUpGrid();
    void SetUpControls();
    void ClearEditor();
    lists::RadioMemoryChannel ReadEditor() const;
    void WriteEditor(const lists::RadioMemoryChannel& m);
    int RowOfChannel(int channel) const;
    int FocusedChannel() const;
    int ComboChannel() const;
    void FocusRow(int row);
    void ReadViewState();
    void FollowMemoryMode();
    void OnMemoryModeClicked();
    void OnChannelChosen();
    void OnCheck(int id);
    bool PickFromList(int row, int col);
    // 08 00 with the channel's BCD byte, no wait.
    void SelectChannel(int channel);
    void WaitDelayMemory();
    void ShowError(const std::string& text) const;

    bool Check(int id) const;
    void SetCheck(int id, bool on);
    double NumberOf(int id) const;
    void SetNumber(int id, double value);

    IMainWindowServices& services_;
    CGridWidget* gridWidget_ = nullptr;
    std::string path_;
    std::function<void()> onHidden_;
    int focusRow_ = 1;
    int focusCol_ = 0;
    int sortColumn_ = 0;
    int sortAscending_ = 1;
    int appliedModel_ = -2;  // none applied yet
    int appliedExtended_ = -1;
    bool editing_ = false;
    bool filling_ = false;  // the editor is being filled: the channel combo does not act
};
