// Both VFOs and every function switch, remembered before a long radio sequence (memory
// transfers, scans) and sent back after it. Works through the controller's commands and reads
// its state; waits for each command's own answer, so a restore says whether the radio took it.
// GUI thread only.
#pragma once

#include <array>
#include <cstdint>

#include "RadioFunctions.h"

class CLanguage;

namespace cat {
class CTraceLog;
}

namespace radio {

class CRadioController;
class IWorkProgress;

// Language string ids of the progress texts.
inline constexpr int kSaveStateText = 1221;     // "Save the actual settings"
inline constexpr int kRestoreStateText = 1222;  // "Restore the saved settings"

struct VfoRecord {
    int64_t frequencyHz = 0;
    int mode = -1;  // RadioMode; -1 when the radio showed none (no 06 on restore)
    bool filterNarrow = false;
    int offsetKHz = 0;
    bool duplexPlus = false;
    bool duplexMinus = false;
    std::array<bool, kFunctionCount> functions{};
};

struct RadioStateSnapshot {
    bool valid = false;  // a restore of an invalid snapshot sends nothing
    VfoRecord vfoA;
    VfoRecord vfoB;
    bool split = false;
    bool vfoAWasCurrent = true;
};

class CRadioSnapshot {
public:
    // Worker waits beyond this many 1-ms steps are logged and given up.
    static constexpr int kIdleWaitSteps = 5000;

    // log may be null. All must outlive the snapshot.
    CRadioSnapshot(CRadioController& controller, IWorkProgress& progress, const CLanguage& language,
                   cat::CTraceLog* log);

    // False when no snapshot was taken (the VFO choice was cancelled, or the program is
    // closing): the caller stops, and a later restore sends nothing.
    bool SaveRadioState();
    // False when nothing was restored or a command was refused or not answered; the restore goes
    // on through the rest either way.
    bool RestoreRadioState();

    const RadioStateSnapshot& Saved() const { return saved_; }

private:
    VfoRecord Record() const;
    void SelectVfo(bool a);
    bool RestoreVfo(bool a, const VfoRecord& record);
    bool RestoreFunctions(const VfoRecord& record);
    bool Sent(uint8_t command, uint8_t sub, std::initializer_list<uint8_t> data = {});
    void WaitForWorker();

    CRadioController& controller_;
    IWorkProgress& progress_;
    const CLanguage& language_;
    cat::CTraceLog* log_;
    RadioStateSnapshot saved_;
};

}  // namespace radio
