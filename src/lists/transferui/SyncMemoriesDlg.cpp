#include "SyncMemoriesDlg.h"

#include "BulkRadioRun.h"
#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "Ini.h"
#include "Language.h"
#include "ListTable.h"
#include "MainWindowServices.h"
#include "MemoryChannel.h"
#include "MemoryChannelEngine.h"
#include "MemoryListFile.h"
#include "MemorySync.h"
#include "NumEdit.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>

#include <algorithm>
#include <cstdio>

namespace {

using namespace tpl;
using D = CSincronizzaMem;

constexpr int kFirstInvalid = 1228;
constexpr int kLastInvalid = 1229;
constexpr int kAskAbort = 1072;
constexpr int kProgressText = 1073;
constexpr int kSaveFailed = 113;
constexpr int kCaptionError = 142;
constexpr const char* kNotRead = "The memories file could not be read: %s";

// The box's texts with the action each stands for, in the order of their English texts.
constexpr struct {
    int textId;
    int action;
} kActions[] = {{563, lists::SyncChoice::kNothing},
                {565, lists::SyncChoice::kToProgram},
                {564, lists::SyncChoice::kToRadio}};

const DialogTemplateRegistration kTemplate{DialogTemplate{
    D::kTemplateId, "Corvane - Memories Synchronization",
    Column({Grid(2, {Control(ctl::kIdStatic, "STATIC", "First memory"),
                     Control(D::kFirst, "CNumEdit", "", 0, 5),
                     Control(ctl::kIdStatic, "STATIC", "Last memory"),
                     Control(D::kLast, "CNumEdit", "", 0, 5)}),
            Control(ctl::kIdStatic, "STATIC", "If memory exist on RTX and on database execute:"),
            Control(D::kWhenBoth, "COMBOBOX"),
            Control(D::kClearRadioWhenBlank, "CHECKBOX", "If blank in database delete from RTX"),
            Control(D::kRemoveEntryWhenBlank, "CHECKBOX", "If blank in RTX delete from database"),
            Group("G Extensions",
                  {Control(D::kUsePtt, "CHECKBOX", "Use the PTT to calculate the DUP"),
                   Control(D::kWarning, "STATIC",
                           "ATTENTION: the RTX will TRANSMIT during the reading of each "
                           "memory.CONNECT ALL ANTENNA")}),
            Row({Stretch(), Control(D::kStart, "BUTTON", "Start"),
                 Control(ctl::kIdCancel, "BUTTON", "Abort")})})}};

}  // namespace

CSincronizzaMem::CSincronizzaMem(IMainWindowServices& services, std::string path, bool afterImport)
    : CMyFontDialog(kTemplateId),
      services_(services),
      path_(std::move(path)),
      afterImport_(afterImport)
{
}

bool CSincronizzaMem::OnInitDialog()
{
    CIni& ini = services_.Ini();
    const CLanguage& language = services_.Language();
    if (auto* box = GetDlgItemAs<QComboBox>(kWhenBoth)) {
        for (const auto& a : kActions)
            box->addItem(QString::fromStdString(language.LoadString(a.textId)), a.action);
        const int wanted = afterImport_ ? lists::SyncChoice::kToRadio
                                        : ini.GetInt(settings::currentset::SeEsisteMem);
        box->setCurrentIndex(std::max(0, box->findData(wanted)));
        box->setEnabled(!afterImport_);
    }
    const bool canKey = CanKeyTransmitter(services_);
    if (auto* ptt = GetDlgItemAs<QAbstractButton>(kUsePtt)) {
        ptt->setEnabled(canKey);
        ptt->setChecked(canKey && ini.GetInt(settings::memorieradio::UsaPTT) != 0);
    }
    for (int id : {kFirst, kLast})
        if (auto* e = GetDlgItemAs<CNumEdit>(id))
            e->SetFormat(0, ',');
    if (auto* e = GetDlgItemAs<CNumEdit>(kFirst))
        e->SetValue(ini.GetInt(settings::memorie::LeggiDa));
    if (auto* e = GetDlgItemAs<CNumEdit>(kLast))
        e->SetValue(ini.GetInt(settings::memorie::LeggiA));
    if (afterImport_) {
        SetChecked(kClearRadioWhenBlank, true);
        SetChecked(kRemoveEntryWhenBlank, false);
        if (QWidget* w = GetDlgItem(kRemoveEntryWhenBlank))
            w->setEnabled(false);
    }
    return CMyFontDialog::OnInitDialog();
}

bool CSincronizzaMem::Checked(int id) const
{
    const auto* b = GetDlgItemAs<QAbstractButton>(id);
    return b != nullptr && b->isChecked();
}

void CSincronizzaMem::SetChecked(int id, bool on)
{
    if (auto* b = GetDlgItemAs<QAbstractButton>(id))
        b->setChecked(on);
}

int CSincronizzaMem::NumberOf(int id) const
{
    const auto* e = GetDlgItemAs<CNumEdit>(id);
    const double v = e != nullptr ? e->GetValue() : 0.0;
    return v >= -1e6 && v <= 1e6 ? static_cast<int>(v) : -1;
}

int CSincronizzaMem::WhenBoth() const
{
    const auto* box = GetDlgItemAs<QComboBox>(kWhenBoth);
    return box != nullptr ? box->currentData().toInt() : lists::SyncChoice::kNothing;
}

bool CSincronizzaMem::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kStart: OnStart(); return true;
    case kUsePtt:
        if (!services_.Ini().WriteInt(settings::memorieradio::UsaPTT, Checked(kUsePtt) ? 1 : 0))
            std::fprintf(stderr, "memory sync PTT choice not saved: %s\n",
                         services_.Ini().LastError().c_str());
        return true;
    case kClearRadioWhenBlank:
    case kRemoveEntryWhenBlank:
        if (Checked(id))
            SetChecked(id == kClearRadioWhenBlank ? kRemoveEntryWhenBlank : kClearRadioWhenBlank,
                       false);
        return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CSincronizzaMem::Refuse(int stringId)
{
    services_.Language().MessageBox(stringId, mb::kOk | mb::kIconError);
    if (QWidget* w = GetDlgItem(kFirst))
        w->setFocus(Qt::OtherFocusReason);
}

void CSincronizzaMem::OnStart()
{
    const int first = NumberOf(kFirst);
    const int last = NumberOf(kLast);
    if (first < 1 || first > lists::radiomem::kChannels || first > last) {
        Refuse(kFirstInvalid);
        return;
    }
    if (last < 1 || last > lists::radiomem::kChannels) {
        Refuse(kLastInvalid);
        return;
    }
    CIni& ini = services_.Ini();
    bool saved = ini.WriteInt(settings::memorie::LeggiDa, first)
                 && ini.WriteInt(settings::memorie::LeggiA, last);
    if (!afterImport_)
        saved = saved && ini.WriteInt(settings::currentset::SeEsisteMem, WhenBoth());
    if (!saved)
        std::fprintf(stderr, "memory sync settings not saved: %s\n", ini.LastError().c_str());
    Synchronise();
    EndDialog(ctl::kIdOk);
}

void CSincronizzaMem::Synchronise()
{
    const CLanguage& language = services_.Language();
    lists::CTextTable table(lists::radiomem::kColumnCount);
    lists::ResetRadioChannels(table);
    lists::UnreadLines unread;
    const lists::ListFileResult read = lists::ReadRadioMemories(path_, table, &unread);
    // A list that cannot be read must not decide what the radio loses.
    if (!read.Ok()) {
        language.ShowMessage({language.FormatText(kNotRead, {read.error}),
                              language.LoadString(kCaptionError), mb::kOk | mb::kIconError, 0});
        return;
    }
    lists::SyncChoice choice;
    choice.first = NumberOf(kFirst);
    choice.last = NumberOf(kLast);
    choice.whenBoth = WhenBoth();
    choice.clearRadioWhenEntryBlank = Checked(kClearRadioWhenBlank);
    choice.removeEntryWhenRadioBlank = Checked(kRemoveEntryWhenBlank);
    choice.usePtt = Checked(kUsePtt);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    CBulkRadioRun run(services_, kAskAbort);
    if (!run.Start(this, 1, lists::radiomem::kChannels, language.LoadString(kProgressText))) {
        QApplication::restoreOverrideCursor();
        return;
    }
    radio::CRadioController& controller = services_.Controller();
    lists::CMemoryChannelEngine engine(controller, run);
    lists::CMemorySync sync(engine, controller, choice);
    sync.Run(table, [&run](int n) { return run.Step(n); });
    run.Finish();
    QApplication::restoreOverrideCursor();
    // Whatever was done so far is kept, also after a stop.
    const lists::ListFileResult written = lists::WriteRadioMemories(path_, table, unread);
    if (!written.Ok())
        language.ShowMessage({language.FormatString1(kSaveFailed, written.error),
                              language.LoadString(kCaptionError), mb::kOk | mb::kIconError, 0});
}
