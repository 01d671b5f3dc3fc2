#include "RadioSnapshot.h"

#include <chrono>
#include <thread>

#include "CivCodes.h"
#include "Language.h"
#include "MessagePump.h"
#include "ModelCaps.h"
#include "RadioController.h"
#include "TraceLog.h"
#include "WorkProgress.h"

namespace radio {

namespace {

constexpr int kSteps = 3;
constexpr int kMinOffsetKHz = 1;
constexpr int kMaxOffsetKHz = 9999;

// Whether the model answers the function's command (an unknown model: every one).
bool ModelHas(const civ::ModelCaps* caps, const FunctionCommand& f)
{
    if (caps == nullptr)
        return true;
    return f.command == civ::kCmdAttenuator ? caps->attenuator : caps->functions;
}

}  // namespace

CRadioSnapshot::CRadioSnapshot(CRadioController& controller, IWorkProgress& progress,
                               const CLanguage& language, cat::CTraceLog* log)
    : controller_(controller), progress_(progress), language_(language), log_(log)
{
}

bool CRadioSnapshot::SaveRadioState()
{
    saved_.valid = false;
    if (controller_.State().closing || !controller_.EnsureVfoKnown())
        return false;
    progress_.OpenProgress(kSaveStateText, kSteps);
    RadioStateSnapshot snap;
    snap.split = controller_.State().split;
    snap.vfoAWasCurrent = controller_.State().currentVfo == kVfoA;
    VfoRecord& current = snap.vfoAWasCurrent ? snap.vfoA : snap.vfoB;
    VfoRecord& other = snap.vfoAWasCurrent ? snap.vfoB : snap.vfoA;

    current = Record();
    SelectVfo(!snap.vfoAWasCurrent);
    WaitForWorker();
    progress_.StepProgress();
    other = Record();
    progress_.StepProgress();
    SelectVfo(snap.vfoAWasCurrent);
    WaitForWorker();
    progress_.StepProgress();
    progress_.CloseProgress();
    // Cut short by the program closing: what was read is not the radio's state.
    if (controller_.State().closing)
        return false;
    snap.valid = true;
    saved_ = snap;
    return true;
}

bool CRadioSnapshot::RestoreRadioState()
{
    if (!saved_.valid)
        return false;
    progress_.OpenProgress(kRestoreStateText, kSteps);
    const bool a = saved_.vfoAWasCurrent;
    bool ok = RestoreVfo(!a, a ? saved_.vfoB : saved_.vfoA);
    progress_.StepProgress();
    ok = RestoreVfo(a, a ? saved_.vfoA : saved_.vfoB) && ok;
    progress_.StepProgress();
    const uint64_t refused = controller_.NotQueuedCount();
    controller_.SendSplit(saved_.split);
    ok = controller_.NotQueuedCount() == refused && ok;
    // The display and the buttons follow what the radio now reports.
    controller_.ReadFrequencyMode(false);
    progress_.StepProgress();
    progress_.CloseProgress();
    return ok;
}

VfoRecord CRadioSnapshot::Record() const
{
    const RadioState& s = controller_.State();
    VfoRecord r;
    r.frequencyHz = s.frequencyBlank ? 0 : s.frequencyHz;
    r.mode = ModeInfoFor(s.mode) != nullptr ? s.mode : -1;
    r.filterNarrow = s.filterNarrow;
    r.offsetKHz = s.duplexOffsetKHz;
    r.duplexPlus = s.duplexPlus;
    r.duplexMinus = s.duplexMinus;
    r.functions = s.functions;
    return r;
}

void CRadioSnapshot::SelectVfo(bool a)
{
    if (a)
        controller_.SelectVfoA();
    else
        controller_.SelectVfoB();
}

bool CRadioSnapshot::RestoreVfo(bool a, const VfoRecord& record)
{
    // Its switches are set below and read back at the end: reading them now would only tell
    // clients and the panel the states about to be replaced.
    controller_.ActivateVfo(a ? kVfoA : kVfoB, true);
    controller_.ReadFrequencyMode(true, false);
    // Outside the limits (or never known) the frequency is not sent: that VFO is not restored.
    bool ok = controller_.SetFrequency(record.frequencyHz);
    const ModeInfo* mode = ModeInfoFor(record.mode);
    if (mode != nullptr
        && Sent(civ::kCmdSetMode, mode->civ, {civ::FilterByte(mode->civ, record.filterNarrow)}))
        controller_.ShowTakenMode(record.mode, record.filterNarrow);
    else
        ok = false;
    if (controller_.State().extendedFunctions)
        ok = RestoreFunctions(record) && ok;
    return ok;
}

bool CRadioSnapshot::RestoreFunctions(const VfoRecord& record)
{
    const RadioState& s = controller_.State();
    const civ::ModelCaps* caps = civ::FindCaps(s.model);
    bool ok = true;
    if (caps == nullptr || caps->duplexOffset) {
        if (record.offsetKHz >= kMinOffsetKHz && record.offsetKHz <= kMaxOffsetKHz) {
            const uint64_t refused = controller_.NotQueuedCount();
            ok = controller_.SendDuplexOffset(record.offsetKHz)
                 && controller_.NotQueuedCount() == refused;
        }
    }
    if (caps == nullptr || caps->duplexShift) {
        ok = Sent(civ::kCmdSplitDuplex, civ::kSimplex) && ok;
        controller_.ClearDuplexButtons();
        const bool minus = record.duplexMinus && !record.duplexPlus;
        if (record.duplexPlus)
            ok = Sent(civ::kCmdSplitDuplex, civ::kDuplexPlus) && ok;
        else if (minus)
            ok = Sent(civ::kCmdSplitDuplex, civ::kDuplexMinus) && ok;
        controller_.ShowDuplexDirection(record.duplexPlus, minus);
    }
    for (size_t i = 0; i < kFunctionCount; ++i) {
        const FunctionCommand& f = FunctionTable()[i];
        if (!ModelHas(caps, f))
            continue;
        const uint8_t value = record.functions[i] ? f.onValue : f.offValue;
        if (f.command == civ::kCmdAttenuator)
            ok = Sent(civ::kCmdAttenuator, value) && ok;
        else
            ok = Sent(f.command, FunctionSub(f.function, s.model), {value}) && ok;
    }
    return ok;
}

bool CRadioSnapshot::Sent(uint8_t command, uint8_t sub, std::initializer_list<uint8_t> data)
{
    return controller_.SendCommand(command, sub, data, true) == SendResult::Answered;
}

void CRadioSnapshot::WaitForWorker()
{
    if (!controller_.WaitForIdle(kIdleWaitSteps) && !controller_.State().closing && log_ != nullptr
        && log_->IsOpen())
        log_->WriteText(language_.FormatText("Timeout :%dms\r\n", {kIdleWaitSteps}));
}

}  // namespace radio
