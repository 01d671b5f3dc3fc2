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

// Shown only where the model has a duplex and a repeater tone.
constexpr int kDuplexToneControls[] = {
    CDlgMem::kDuplexLabel, CDlgMem::kDuplexUnit, CDlgMem::kToneLabel, CDlgMem::kDuplexValue,
    CDlgMem::kToneHz,      CDlgMem::kDupPlus,    CDlgMem::kDupMinus};

// What the extended functions switch on and off in the editor.
constexpr int kExtendedControls[] = {CDlgMem::kAtt,     CDlgMem::kPre,      CDlgMem::kAgc,
                                     CDlgMem::kNb,      CDlgMem::kTone,     CDlgMem::kTsql,
                                     CDlgMem::kVox,     CDlgMem::kBkin,     CDlgMem::kComp,
                                     CDlgMem::kDupPlus, CDlgMem::kDupMinus, CDlgMem::kDuplexValue};

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
    if (auto* active = GetDlgItemAs<QComboBox>(kActiveVfo))
        active->setCurrentIndex(onB ? 1 : 0);

    services_.Language().MessageBoxCaption(121, 141, mb::kIconInformation);
    SetDlgItemText(kDescription, "");
    if (QWidget* d = GetDlgItem(kDescription))
        d->setFocus(Qt::OtherFocusReason);
}

bool CDlgMem::SendRowToRadio()
{
    editing_ = false;
    const lists::MemoryChannel m = ReadEditor();
    radio::CRadioController& controller = services_.Controller();
    const radio::RadioState& st = controller.State();
    if (const int refusal = lists::CheckChannelLimits(m.tuning, st.lowerLimit, st.upperLimit)) {
        ShowError(services_.Language().Format(refusal, {static_cast<long long>(st.lowerLimit),
                                                        static_cast<long long>(st.upperLimit)}));
        if (QWidget* w = GetDlgItem(refusal == lists::kStrVfoBOutOfLimits ? kVfoB : kVfoA))
            w->setFocus(Qt::OtherFocusReason);
        return false;
    }
    lists::ChannelSendStyle style;
    style.waitForSelect = true;
    style.selectAFirst = true;
    lists::SendChannel(controller, m.tuning, style);
    lists::SendChannelFunctions(controller, m.functions);
    return true;
}

void CDlgMem::AdaptToRadio()
{
    const radio::RadioState& st = services_.Controller().State();
    if (st.model != appliedModel_) {
        appliedModel_ = st.model;
        const civ::ModelCaps* caps = civ::FindCaps(st.model);
        const bool nrAnf = caps != nullptr && caps->nrAnfSubs;
        for (int id : kDuplexToneControls)
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
        CDataGrid& g = Grid();
        g.SetItemText(0, lists::pcmem::kTone, tone);
        g.SetItemText(0, lists::pcmem::kToneSquelch, tsql);
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
