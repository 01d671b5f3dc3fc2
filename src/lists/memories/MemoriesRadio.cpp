// What the memories window does with the radio: storing its state, sending a channel, and
// following the model (which functions and captions it has).
#include "MemoriesWindow.h"

#include "ChannelFunctions.h"
#include "ChannelTuning.h"
#include "GridWidget.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "ModelCaps.h"
#include "ToolTipLoc.h"
#include "RadioController.h"

#include <QComboBox>

namespace {

using radio::RadioFunction;

constexpr struct {
    int control;
    RadioFunction function;
} kFunctionSwitches[] = {
    {CDlgMem::kAtt, RadioFunction::Attenuator},  {CDlgMem::kPre, RadioFunction::Preamp},
    {CDlgMem::kAgc, RadioFunction::Agc},         {CDlgMem::kNb, RadioFunction::NoiseBlanker},
    {CDlgMem::kTone, RadioFunction::Tone},       {CDlgMem::kTsql, RadioFunction::ToneSquelch},
    {CDlgMem::kVox, RadioFunction::Vox},         {CDlgMem::kBkin, RadioFunction::BreakIn},
    {CDlgMem::kComp, RadioFunction::Compressor},
};

}  // namespace

void CDlgMem::StoreCurrentState()
{
    radio::CRadioController& controller = services_.Controller();
    if (!controller.EnsureVfoKnown())
        return;
    ClearEditor();
    const radio::RadioState& st = controller.State();
    SetCheck(kSplit, st.split);
    SetCheck(kDupPlus, st.duplexPlus);
    SetCheck(kDupMinus, st.duplexMinus);
    for (const auto& s : kFunctionSwitches)
        SetCheck(s.control, st.Function(s.function));
    SetNumber(kDuplexValue, st.duplexOffsetKHz);

    const bool onB = CopyRadioVfos();
    if (auto* active = GetDlgItemAs<QComboBox>(kActiveVfo))
        active->setCurrentIndex(onB ? 1 : 0);

    AskForDescription(121);
}

bool CDlgMem::SendRowToRadio()
{
    editing_ = false;
    const lists::MemoryChannel m = ReadEditor();
    if (RefuseOutOfLimits(m.tuning))
        return false;
    radio::CRadioController& controller = services_.Controller();
    lists::ChannelSendStyle style;
    style.waitForSelect = true;
    style.selectAFirst = true;
    lists::SendChannel(controller, m.tuning, style);
    lists::SendChannelFunctions(controller, m.functions);
    return true;
}
