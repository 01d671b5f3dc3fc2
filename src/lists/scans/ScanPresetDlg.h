// CScanPreset (dialog 4003): the table of named scan ranges over the fields of one of them. The
// table lives in "ScanPreset.Dat"; when the user changed it, it is written as the dialog closes,
// however it closes.
#pragma once

#include "GridHost.h"
#include "ListPageTools.h"
#include "MyFontDialog.h"
#include "ScanFiles.h"
#include "ScanPresetEntry.h"

#include <string>
#include <vector>

class CDataGrid;
class CGridWidget;
class IMainWindowServices;

class CScanPreset : public CMyFontDialog, protected GridOwner {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 4003;
    static constexpr int kGrid = 1000;
    static constexpr int kDescription = 1056;
    static constexpr int kStart = 1055;
    static constexpr int kEnd = 1058;
    static constexpr int kMode = 1015;
    static constexpr int kStep = 1016;
    static constexpr int kFilter = 1028;
    static constexpr int kSelect = 1113;
    static constexpr int kAbort = 1114;
    static constexpr int kSave = 1258;
    static constexpr int kDelete = 1116;
    static constexpr int kNew = 1117;

    CScanPreset(IMainWindowServices& services, std::string path);

    // After "Select".
    const scans::ScanPresetChoice& Choice() const { return choice_; }
    CDataGrid& Grid();
    // The data rows as they would be written.
    std::vector<lists::ScanPresetCells> Rows() const;
    int SelectedRow() const { return selectedRow_; }
    // direction: 1 ascending, 0 descending, -1 as a header click.
    void SortByColumn(int col, int direction);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override {}
    void OnCancel() override;
    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override;

private:
    void SetUpGrid();
    void Load();
    bool WriteFile();
    void OnSave();
    void OnDelete();
    void OnNew();
    void OnSelect();
    void ShowRow(int row);
    void SelectRow(int row);
    int RowOfDescription(const std::string& description) const;
    bool RefuseRange();
    std::string Text(int id) const;

    IMainWindowServices& services_;
    std::string path_;
    lists::CListFileState file_;
    std::vector<std::string> unread_;  // the file's lines that are no preset
    std::string editedText_;           // the cell's text before an edit in place
    CGridWidget* gridWidget_ = nullptr;
    int sortColumn_ = 1;
    int sortAscending_ = 1;
    int selectedRow_ = -1;
    scans::ScanPresetChoice choice_;
    std::vector<std::string> modesCopied_;
};
