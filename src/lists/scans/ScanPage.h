// CScan (page 141): starts the radio's own scan. A band scan first programs the radio's two
// scan-edge channels with the range, a memory scan only switches the radio to its channels; the
// page stops and resumes the scan and takes ranges from the scan presets.
#pragma once

#include "RadioScanSequence.h"
#include "TabPage.h"

#include <string>
#include <vector>

class IMainWindowServices;

class CScan : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 141;
    static constexpr int kStart = 1055;
    static constexpr int kEnd = 1058;
    static constexpr int kMode = 1015;
    static constexpr int kFilter = 1028;
    static constexpr int kMemories = 1056;
    static constexpr int kStep = 1016;
    static constexpr int kScanning = 1057;
    static constexpr int kStop = 1024;
    static constexpr int kResume = 1025;
    static constexpr int kPreset = 1026;

    explicit CScan(IMainWindowServices& services);
    // The program closes: a scan the page started is stopped, so the radio does not scan on.
    void StopBeforeClosing();

    void SaveSettings();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnCancel() override { modesCopied_.clear(); }
    void showEvent(QShowEvent* event) override;

private:
    void OnScanning();
    void OnResume();
    void OnStop();
    void OnPreset();
    void ApplyMemories();
    void LoadSettings();
    void FillModes();
    bool Send(const lists::ScanCommand& command);
    void SendStep();
    void ShowRunning(bool running);
    bool Check(int id) const;

    IMainWindowServices& services_;
    std::vector<std::string> modesCopied_;
    bool running_ = false;  // the radio scans since the page started it
};
