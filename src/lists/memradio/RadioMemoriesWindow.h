// CDlgMemRadio (dialog 4002): the copy of the radio's 99 memory channels ("MemRTX.Dat"). A grid
// of the channels over an editor for one of them; with "Memory Mode" on the window drives the
// radio's memory itself: a selected channel is recalled, Save writes it and Delete clears it.
// Closing it only hides it; the rows go to the file when the main window saves its state.
#pragma once

#include "MemoryChannel.h"
#include "MemoryListWindow.h"

#include <string>

class CDlgMemRadio : public CMemoryListWindow {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 4002;
    enum Control : int {
        kChannel = 1287,
        kToVfo = 1043,
        kSynchronize = 1255,
        kMemoryMode = 1113,
    };

    // The services must outlive the window. The list file is the program folder's "MemRTX.Dat"
    // unless set before the window is built.
    explicit CDlgMemRadio(IMainWindowServices& services);

    void LoadMemories();
    // The radio's state into the editor, for the user to name and save on a channel.
    void StoreCurrentState();
    void SaveRow();
    void DeleteFocusedRow();
    // The editor's channel to the radio; false when the limits refused it (the user was told).
    bool SendRowToRadio();
    void RecallChannel(int channel, bool toVfo);
    void ToVfo();
    void FillEditorFromRow() override;
    // Saves the list, synchronises it with the radio's channels and loads the result.
    void Synchronize();
    bool MemoryMode() const;
    // The timer's tick while the window is shown: in Memory Mode the button's icon blinks.
    void BlinkButtonIcon();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override;
    void ShowImportedRows() override;

    void SetUpControls();
    // The 99 channel rows, empty.
    void SetUpChannelRows();
    void ClearEditor();
    lists::RadioMemoryChannel ReadEditor() const;
    void WriteEditor(const lists::RadioMemoryChannel& m);
    int RowOfChannel(int channel) const;
    int FocusedChannel() const;
    int ComboChannel() const;
    void FocusRow(int row);
    void FollowMemoryMode();
    void OnMemoryModeClicked();
    void OnChannelChosen();
    void OnCheck(int id);
    // 08 00 with the channel's BCD byte, no wait.
    void SelectChannel(int channel);
    void WaitDelayMemory();

    bool filling_ = false;  // the editor is being filled: the channel combo does not act
    bool blinkLit_ = false;
};
