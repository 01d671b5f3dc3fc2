// What the radio memories window does with the radio: recalling a channel, writing one into the
// radio's memory, storing the radio's state in the editor, and following the model.
#include "RadioMemoriesWindow.h"

#include "Bcd.h"
#include "ChannelFunctions.h"
#include "ChannelTuning.h"
#include "CivCodes.h"
#include "CommandCodes.h"
#include "GridWidget.h"
#include "Language.h"
#include "LinkSettings.h"
#include "MainWindowServices.h"
#include "ModelCaps.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "RadioView.h"
#include "SyncMemoriesDlg.h"
#include "ToolTipLoc.h"

#include <QApplication>
#include <QComboBox>

namespace {

using R = CDlgMemRadio;

constexpr int kDefaultDelayMemory = 500;

}  // namespace

void CDlgMemRadio::SelectChannel(int channel)
{
    uint8_t bcd = 0;
    if (channel < 1 || channel > lists::radiomem::kChannels || !cat::NumberToBcd(channel, &bcd, 1))
        return;
    services_.Controller().SendCommand(civ::kCmdSelectChannel, 0x00, {bcd});
}

void CDlgMemRadio::WaitDelayMemory()
{
    int ms = services_.Link().Settings().delayMemory;
    if (ms < 1 || ms > 10000)
        ms = kDefaultDelayMemory;
    services_.WaitPumpingMessages(ms);
}

void CDlgMemRadio::RecallChannel(int channel, bool toVfo)
{
    radio::CRadioController& controller = services_.Controller();
    radio::IRadioView& view = services_.View();
    controller.SendCommand(civ::kCmdMemory);
    if (!toVfo) {
        view.SetButton(radio::ctl::kVfoA, false);
        view.SetButton(radio::ctl::kVfoB, false);
    }
    SelectChannel(channel);
    if (toVfo)
        controller.SendCommand(civ::kCmdMemoryToVfo);
    controller.ReadFrequencyMode(false);
    FillEditorFromRow();
    controller.ShowChannelSwitches(Check(kDupPlus), Check(kDupMinus), Check(kSplit));
}

void CDlgMemRadio::FollowMemoryMode()
{
    // A transfer or scan owns the radio's memory while it runs.
    if (MemoryMode() && !editing_ && QApplication::activeWindow() == this
        && !services_.Controller().InLongOperation())
        RecallChannel(ComboChannel(), false);
}

void CDlgMemRadio::ToVfo()
{
    radio::CRadioController& controller = services_.Controller();
    if (!controller.EnsureVfoKnown())
        return;
    RecallChannel(FocusedChannel(), true);
    controller.SendCommand(civ::kCmdVfo, civ::kVfoA);
}

void CDlgMemRadio::Synchronize()
{
    if (!ListMayChange() || !SaveMemories())
        return;
    CSincronizzaMem dialog(services_, path_, false);
    dialog.SetOwner(this);
    if (dialog.DoModal() == ctl::kIdOk)
        LoadMemories();
}

bool CDlgMemRadio::SendRowToRadio()
{
    const lists::RadioMemoryChannel m = ReadEditor();
    if (RefuseOutOfLimits(m.tuning))
        return false;
    radio::CRadioController& controller = services_.Controller();
    const radio::RadioState& st = controller.State();
    lists::ChannelSendStyle style;
    style.selectAFirst = true;
    style.selectActive = false;
    lists::SendChannel(controller, m.tuning, style);
    if (!st.extendedFunctions)
        return true;
    const civ::ModelCaps* caps = civ::FindCaps(st.model);
    if (caps == nullptr || caps->duplexShift)
        controller.SendDuplexDirection(m.duplexPlus, m.duplexMinus);
    controller.SendStoredFunction(radio::RadioFunction::Tone, m.tone);
    controller.SendStoredFunction(radio::RadioFunction::ToneSquelch, m.toneSquelch);
    controller.ReadFrequencyMode(false);
    return true;
}

void CDlgMemRadio::StoreCurrentState()
{
    radio::CRadioController& controller = services_.Controller();
    if (!controller.EnsureVfoKnown())
        return;
    ClearEditor();
    const radio::RadioState& st = controller.State();
    SetCheck(kSplit, st.split);
    SetCheck(kDupPlus, st.duplexPlus);
    SetCheck(kDupMinus, st.duplexMinus);
    SetCheck(kTone, st.Function(radio::RadioFunction::Tone));
    SetCheck(kTsql, st.Function(radio::RadioFunction::ToneSquelch));
    CopyRadioVfos();
    AskForDescription(124);
}
