// CDlgMem (dialog 230): the memory channels kept on the PC. A grid of channels, one per row,
// over an editor for one channel; from it the user stores the radio's state, edits, sorts,
// deletes, prints and sends a channel to the radio ("Active"). Closing it only hides it; the
// rows go to the file when the main window saves its state.
#pragma once

#include "MemoryChannel.h"
#include "MemoryListWindow.h"

#include <functional>
#include <string>

class CDlgMem : public CMemoryListWindow {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 230;
    enum Control : int {
        kActiveVfo = 1029,
        kAtt = 1030,
        kPre = 1034,
        kAgc = 1035,
        kNb = 1036,
        kVox = 1539,
        kBkin = 1544,
        kComp = 1048,
        kDuplexValue = 1009,
        kDuplexLabel = 1211,
        kDuplexUnit = 1212,
        kNew = 1041,
        kActive = 1043,
        kActiveTransfer = 1044,
        kReadMem = 1045,
        kWriteMem = 1046,
    };

    // The services must outlive the window.
    explicit CDlgMem(IMainWindowServices& services);

    // "Act.  Tr." hands the channel to the radio memories window once it went to the radio; the
    // button works only with a receiver.
    void SetOnActiveTransfer(std::function<void()> handOver);

    void LoadMemories();
    void StoreCurrentState();
    // False when the limits refused the channel (the user was told).
    bool SendRowToRadio();
    void SaveRow(bool silent);
    void DeleteFocusedRow();
    void FillEditorFromRow() override;
    // "Read mem." and "Write mem.": a range of the radio's channels into rows named "Mem. nn",
    // and every row so named into its channel.
    void ReadMemoriesFromRadio();
    void WriteMemoriesToRadio();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // GridOwner
    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override;
    void ShowImportedRows() override;

    void SetUpControls();
    void ClearEditor();
    lists::MemoryChannel ReadEditor() const;
    void WriteEditor(const lists::MemoryChannel& m);
    int FindRow(const std::string& description) const;
    void FocusRow(int row);
    void OnDescriptionLeft();
    bool OnDuplexValueLeft();
    void OnCheck(int id);
    bool AskTransfer(const std::string& question) const;
    // The radio channel a row's description names, 0 for none.
    int ChannelOfRow(int row) const;

    std::function<void()> handOver_;
    std::string caption_;
    std::string focusDescription_;
    // Set by transfers while they run: selection changes do not refill the editor.
    bool transferring_ = false;
};
