// What the software-scan page asks of the scan log: the dialog over a log file and its WAV.
#pragma once

#include <string>

class CAudioRecorder;
class IMainWindowServices;
class QWidget;

namespace scans {

// What "Activate" tunes besides the frequency: the scan page's mode box index and filter button.
struct ScanLogTuning {
    int modeIndex = 0;
    bool filterOn = false;
};

// The program's recorder bar, or null without one.
CAudioRecorder* FindAudioRecorder(IMainWindowServices& services);

// Runs the scan-log dialog (233) modally over `owner` on `logPath` (the program folder's
// "LogSQL.Dat" when empty); the audio plays from "LogScan.Wav" beside it through `recorder`
// (null: "Play" stays disabled).
void RunScanLogDialog(IMainWindowServices& services, QWidget* owner, const std::string& logPath,
                      const ScanLogTuning& tuning, CAudioRecorder* recorder);

}  // namespace scans
