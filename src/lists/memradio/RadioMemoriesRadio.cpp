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

// What the extended functions switch on and off in the editor.
constexpr int kExtendedControls[] = {R::kTone, R::kTsql, R::kDupPlus, R::kDupMinus};

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
    view.SetButton(radio::ctl::kDupPlus, Check(kDupPlus));
    view.SetButton(radio::ctl::kDupMinus, Check(kDupMinus));
    view.SetButton(radio::ctl::kSplit, Check(kSplit));
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
    if (!SaveMemories())
        return;
    CSincronizzaMem dialog(services_, path_, false);
    dialog.SetOwner(this);
    if (dialog.DoModal() == ctl::kIdOk)
        LoadMemories();
}

bool CDlgMemRadio::SendRowToRadio()
{
    const lists::RadioMemoryChannel m = ReadEditor();
    radio::CRadioController& controller = services_.Controller();
    const radio::RadioState& st = controller.State();
    if (const int refusal = lists::CheckChannelLimits(m.tuning, st.lowerLimit, st.upperLimit)) {
        ShowError(services_.Language().Format(refusal, {static_cast<long long>(st.lowerLimit),
                                                        static_cast<long long>(st.upperLimit)}));
        return false;
    }
    lists::ChannelSendStyle style;
    style.selectAFirst = true;
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

    const auto copyVfo = [&](bool b) {
        SetNumber(b ? kVfoB : kVfoA, static_cast<double>(st.frequencyHz));
        SetCheck(b ? kFilterB : kFilterA, st.filterNarrow);
        if (st.mode >= 0 && st.mode < static_cast<int>(st.modeNames.size()))
            if (auto* combo = GetDlgItemAs<QComboBox>(b ? kModeB : kModeA))
                combo->setCurrentIndex(
                    combo->findText(QString::fromStdString(st.modeNames[st.mode])));
    };
    const bool onB = st.currentVfo == radio::kVfoB;
    copyVfo(onB);
    if (onB)
        controller.SelectVfoA();
    else
        controller.SelectVfoB();
    copyVfo(!onB);
    if (onB)
        controller.SelectVfoB();
    else
        controller.SelectVfoA();

    services_.Language().MessageBoxCaption(124, 141, mb::kIconInformation);
    SetDlgItemText(kDescription, "");
    if (QWidget* d = GetDlgItem(kDescription))
        d->setFocus(Qt::OtherFocusReason);
}

void CDlgMemRadio::AdaptToRadio()
{
    const radio::RadioState& st = services_.Controller().State();
    if (st.model != appliedModel_) {
        appliedModel_ = st.model;
        const civ::ModelCaps* caps = civ::FindCaps(st.model);
        const bool nrAnf = caps != nullptr && caps->nrAnfSubs;
        for (int id : {kToneLabel, kToneHz})
            if (QWidget* w = GetDlgItem(id))
                w->setVisible(!nrAnf);
        const CLanguage& language = services_.Language();
        const std::string tone = nrAnf ? "NR" : language.Translate("Tone");
        const std::string tsql = nrAnf ? "ANF" : language.Translate("TSQL");
        SetDlgItemText(kTone, tone);
        SetDlgItemText(kTsql, tsql);
        if (QWidget* w = GetDlgItem(kTone))
            ToolTips().AddToolId(w, nrAnf ? 1302 : 1194);
        if (QWidget* w = GetDlgItem(kTsql))
            ToolTips().AddToolId(w, nrAnf ? 1301 : 1195);
        // The grid's columns say what its cells hold on this model.
        CDataGrid& g = Grid();
        g.SetItemText(0, lists::radiomem::kTone, tone);
        g.SetItemText(0, lists::radiomem::kToneSquelch, tsql);
        g.Refresh();
        if (!st.modeNames.empty())
            for (int id : {kModeA, kModeB})
                if (auto* combo = GetDlgItemAs<QComboBox>(id)) {
                    const QString current = combo->currentText();
                    combo->clear();
                    for (const std::string& mode : st.modeNames)
                        combo->addItem(QString::fromStdString(mode));
                    combo->setCurrentIndex(combo->findText(current));
                }
    }
    const int extended = st.extendedFunctions ? 1 : 0;
    if (extended != appliedExtended_) {
        appliedExtended_ = extended;
        for (int id : kExtendedControls)
            if (QWidget* w = GetDlgItem(id))
                w->setEnabled(extended != 0);
    }
}
