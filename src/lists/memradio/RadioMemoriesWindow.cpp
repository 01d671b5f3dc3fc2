#include "RadioMemoriesWindow.h"

#include "ColorLabel.h"
#include "ColorRef.h"
#include "CommandCodes.h"
#include "ControlFactory.h"
#include "ControlResources.h"
#include "DialogTemplate.h"
#include "FlatButton.h"
#include "GridControlClass.h"
#include "GridWidget.h"
#include "Ini.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MemoryListFile.h"
#include "NumEdit.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>

#include <cstdio>

namespace {

using namespace tpl;
using R = CDlgMemRadio;

constexpr int kIconMemoryMode = 301;
constexpr int kIconMemoryModeHovered = 302;

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

TemplateItem Switch(int id, const char* caption)
{
    return Control(id, "CFlatButton", caption);
}

TemplateItem VfoGroup(const char* caption, int frequency, int mode, int filter)
{
    return Group(caption, {Grid(2, {Label("Frequency"), Control(frequency, "CNumEdit", "", 0, 14),
                                    Label("Mode"), Control(mode, "COMBOBOX"),
                                    Spanned(Switch(filter, "Filter"), 2)})});
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    R::kTemplateId, "Corvane - Radio Memories",
    Column(
        {Stretched(Control(R::kGrid, "CGridWidget"), 1),
         Row({Label("Memory : "), Control(R::kChannel, "COMBOBOX"), Label("Description"),
              Stretched(Control(R::kDescription, "EDIT", "", 0, 30), 1)}),
         Row({VfoGroup("VFO A", R::kVfoA, R::kModeA, R::kFilterA),
              VfoGroup("VFO B", R::kVfoB, R::kModeB, R::kFilterB),
              Column({Switch(R::kSplit, "Split"), Switch(R::kDupPlus, "DUP +"),
                      Switch(R::kDupMinus, "DUP -"), Stretch()}),
              Column({Switch(R::kTone, "Tone"), Switch(R::kTsql, "TSQL"),
                      Control(R::kToneLabel, "STATIC", "Tone"),
                      Control(R::kToneHz, "CNumEdit", "", 0, 7), Stretch()}),
              Stretch()}),
         Control(R::kNotice, "CColorLabel", "Values that the RTX commands cannot read or write"),
         Row({Control(R::kDelete, "CFlatButton", "Delete"),
              Control(R::kSave, "CFlatButton", "Save"), Control(R::kToVfo, "CFlatButton", "To VFO"),
              Control(R::kSynchronize, "CFlatButton", "Synchronize"),
              Control(R::kPrint, "CFlatButton", "Print"),
              Control(R::kMemoryMode, "CFlatButton", "Memory Mode"),
              Control(R::kExport, "CFlatButton", "Export", kDisabled),
              Control(R::kImport, "CFlatButton", "Import", kDisabled), Stretch()})})}};

constexpr int kSwitches[] = {R::kFilterA,  R::kFilterB, R::kSplit, R::kDupPlus,
                             R::kDupMinus, R::kTone,    R::kTsql,  R::kMemoryMode};
constexpr int kCommands[] = {R::kDelete, R::kSave,   R::kToVfo, R::kSynchronize,
                             R::kPrint,  R::kExport, R::kImport};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {
    {R::kSplit, 1010},   {R::kDescription, 1035}, {R::kSave, 1037},     {R::kFilterA, 1038},
    {R::kFilterB, 1039}, {R::kModeA, 1040},       {R::kModeB, 1041},    {R::kDelete, 1042},
    {R::kVfoA, 1043},    {R::kVfoB, 1044},        {R::kToneHz, 1070},   {R::kTone, 1194},
    {R::kTsql, 1195},    {R::kDupPlus, 1199},     {R::kDupMinus, 1200}, {R::kPrint, 1205},
    {R::kNotice, 1253},  {R::kImport, 1368},      {R::kExport, 1369}};

}  // namespace

CDlgMemRadio::CDlgMemRadio(IMainWindowServices& services)
    : CMyFontDialog(kTemplateId), services_(services)
{
    RegisterGridControlClass();
}

CDataGrid& CDlgMemRadio::Grid()
{
    return gridWidget_->Grid();
}

bool CDlgMemRadio::OnInitDialog()
{
    gridWidget_ = GetDlgItemAs<CGridWidget>(kGrid);
    SetUpControls();
    SetUpGrid();
    SetCheck(kMemoryMode, services_.Ini().GetInt(settings::memorieradio::RTM) != 0);
    if (path_.empty())
        path_ = platform::ResolveInFolder(platform::ProgramFolder(), lists::kRadioMemoryFile);
    LoadMemories();
    return CMyFontDialog::OnInitDialog();
}

void CDlgMemRadio::SetUpControls()
{
    for (int id : {kVfoA, kVfoB})
        if (auto* e = GetDlgItemAs<CNumEdit>(id))
            e->SetFormat(0, ',');
    if (auto* e = GetDlgItemAs<CNumEdit>(kToneHz))
        e->SetFormat(1, ',');
    for (int id : {kModeA, kModeB})
        if (auto* combo = GetDlgItemAs<QComboBox>(id))
            for (const std::string& mode : lists::RadioMemoryChoices(lists::radiomem::kModeA))
                combo->addItem(QString::fromStdString(mode));
    if (auto* combo = GetDlgItemAs<QComboBox>(kChannel)) {
        for (int n = 1; n <= lists::radiomem::kChannels; ++n)
            combo->addItem(QString::asprintf("%02d", n));
        connect(combo, QOverload<int>::of(&QComboBox::activated), this,
                [this](int) { OnChannelChosen(); });
    }
    for (int id : kSwitches)
        if (auto* b = GetDlgItemAs<CFlatButton>(id))
            b->SetButtonType(CFlatButton::kCheckBox);
    for (int id : kCommands)
        if (auto* b = GetDlgItemAs<CFlatButton>(id)) {
            b->SetBitmaps(res::kImageKeyCapHovered, res::kImageKeyCap);
            b->SetCursor(res::kCursorAvailable);
        }
    if (auto* b = GetDlgItemAs<CFlatButton>(kMemoryMode)) {
        b->SetIcon(kIconMemoryMode, kIconMemoryModeHovered);
        b->SetCursor(res::kCursorAvailable);
    }
    if (auto* notice = GetDlgItemAs<CColorLabel>(kNotice))
        notice->SetBkColor(RgbColor(255, 255, 0));
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
}

bool CDlgMemRadio::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kSave: SaveRow(); return true;
    case kDelete: DeleteFocusedRow(); return true;
    case kToVfo: ToVfo(); return true;
    case kSynchronize: Synchronize(); return true;
    case kPrint: PrintMemories(); return true;
    case kMemoryMode: OnMemoryModeClicked(); return true;
    case kDupPlus:
    case kDupMinus:
    case kSplit: OnCheck(id); return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

// Split and the two duplex directions exclude each other.
void CDlgMemRadio::OnCheck(int id)
{
    if (!Check(id))
        return;
    for (int other : {kSplit, kDupPlus, kDupMinus})
        if (other != id)
            SetCheck(other, false);
}

void CDlgMemRadio::OnMemoryModeClicked()
{
    services_.Ini().WriteInt(settings::memorieradio::RTM, MemoryMode() ? 1 : 0);
    FollowMemoryMode();
}

bool CDlgMemRadio::MemoryMode() const
{
    return Check(kMemoryMode);
}

void CDlgMemRadio::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void CDlgMemRadio::showEvent(QShowEvent* event)
{
    AdaptToRadio();
    FillEditorFromRow();
    CMyFontDialog::showEvent(event);
}

void CDlgMemRadio::hideEvent(QHideEvent* event)
{
    SaveWindowPos();
    if (onHidden_)
        onHidden_();
    CMyFontDialog::hideEvent(event);
}

void CDlgMemRadio::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        AdaptToRadio();
        FillEditorFromRow();
    }
    CMyFontDialog::changeEvent(event);
}

bool CDlgMemRadio::Check(int id) const
{
    const auto* b = GetDlgItemAs<CFlatButton>(id);
    return b != nullptr && b->GetCheck() != 0;
}

void CDlgMemRadio::SetCheck(int id, bool on)
{
    if (auto* b = GetDlgItemAs<CFlatButton>(id))
        b->SetCheck(on ? 1 : 0);
}

double CDlgMemRadio::NumberOf(int id) const
{
    const auto* e = GetDlgItemAs<CNumEdit>(id);
    return e != nullptr ? e->GetValue() : 0.0;
}

void CDlgMemRadio::SetNumber(int id, double value)
{
    if (auto* e = GetDlgItemAs<CNumEdit>(id))
        e->SetValue(value);
}

void CDlgMemRadio::ShowError(const std::string& text) const
{
    const CLanguage& language = services_.Language();
    language.ShowMessage({text, language.LoadString(142), mb::kOk | mb::kIconError, 0});
}
