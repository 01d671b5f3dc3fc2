// CDlgLogSQL (dialog 233): the scan log in a read-only grid. It sorts the log, prints it, tunes
// the radio to a logged frequency and plays the audio recorded for an event.
#pragma once

#include "GridHost.h"
#include "MyFontDialog.h"
#include "ScanFiles.h"
#include "ScanLogEntry.h"

#include <cstdint>
#include <memory>
#include <string>

class CDataGrid;
class CGridWidget;
namespace platform {
class MessageTarget;
}

class CDlgLogSQL : public CMyFontDialog, protected GridOwner {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 233;
    static constexpr int kGrid = 1000;
    static constexpr int kPlay = 1198;
    static constexpr int kPrint = 1139;
    static constexpr int kFormatter = 1104;
    enum LogColumn { kDay, kMonth, kYear, kTime, kPosition, kSignal, kAudio, kBytes, kColumns };

    // The WAV is `wavPath`; the recorder may be null.
    CDlgLogSQL(IMainWindowServices& services, std::string logPath, std::string wavPath,
               const scans::ScanLogTuning& tuning, CAudioRecorder* recorder);
    ~CDlgLogSQL() override;

    CDataGrid& Grid();
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);
    bool PlayEnabled() const;
    // The title of the printed pages.
    std::string PrintTitle() const;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;
    int OnGridNotify(CDataGrid& grid, const GridNotification& note) override;

private:
    void SetUpGrid();
    void Load();
    void UpdatePlay();
    void OnPlay();
    void StopPlayback();
    void OnPlaybackEnded();
    void OnPrint();
    void SortByColumn(int col);
    int64_t CellNumber(int row, int col, int64_t fallback) const;

    IMainWindowServices& services_;
    std::string logPath_;
    std::string wavPath_;
    scans::ScanLogTuning tuning_;
    CAudioRecorder* recorder_;
    CGridWidget* gridWidget_ = nullptr;
    std::unique_ptr<platform::MessageTarget> target_;
    int currentRow_ = 1;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    bool playing_ = false;
};
