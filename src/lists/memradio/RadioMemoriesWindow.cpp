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
#include "MyDataGrid.h"
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
constexpr int kIconMemoryModeDim = 303;

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
              Control(R::kExport, "CFlatButton", "Export"),
              Control(R::kImport, "CFlatButton", "Import"), Stretch()})})}};

constexpr int kSwitches[] = {R::kFilterA,  R::kFilterB, R::kSplit, R::kDupPlus,
                             R::kDupMinus, R::kTone,    R::kTsql};
constexpr int kCommands[] = {R::kDelete, R::kSave,   R::kToVfo, R::kSynchronize,
                             R::kPrint,  R::kExport, R::kImport};

constexpr R::ControlTip kTips[] = {
    {R::kSplit, 1010},   {R::kDescription, 1035}, {R::kSave, 1037},     {R::kFilterA, 1038},
    {R::kFilterB, 1039}, {R::kModeA, 1040},       {R::kModeB, 1041},    {R::kDelete, 1042},
    {R::kVfoA, 1043},    {R::kVfoB, 1044},        {R::kToneHz, 1070},   {R::kTone, 1194},
    {R::kTsql, 1195},    {R::kDupPlus, 1199},     {R::kDupMinus, 1200}, {R::kPrint, 1205},
    {R::kNotice, 1253},  {R::kImport, 1368},      {R::kExport, 1369}};

constexpr int kToneControls[] = {R::kToneLabel, R::kToneHz};
// What the extended functions switch on and off in the editor.
constexpr int kExtendedControls[] = {R::kTone, R::kTsql, R::kDupPlus, R::kDupMinus};

GridCompareFunc CompareFor(int col)
{
    switch (col) {
    case lists::radiomem::kNumber:
    case lists::radiomem::kVfoA:
    case lists::radiomem::kVfoB: return &CMyDataGrid::CompareDigits;
    case lists::radiomem::kToneHz: return &CMyDataGrid::CompareDecimal;
    default: return nullptr;
    }
}

namespace keys = settings::memorieradio;

const R::Layout kLayout{lists::radiomem::kColumnCount,
                        1,
                        lists::radiomem::kFirstTitleId,
                        lists::radiomem::kModeA,
                        lists::radiomem::kTone,
                        lists::radiomem::kToneSquelch,
                        &CompareFor,
                        &lists::RadioMemoryChoices,
                        keys::RigaCorrente,
                        keys::ColonnaCorrente,
                        keys::ColonnaOrdinamento,
                        keys::ModoOrdinamento,
                        settings::reg::MemorieRadioRect,
                        "radio memories",
                        kSwitches,
                        kCommands,
                        kToneControls,
                        kExtendedControls,
                        kTips,
                        keys::LastFileCsv,
                        lists::RadioCsvLayout(),
                        &lists::RadioMemoriesText};

}  // namespace

CDlgMemRadio::CDlgMemRadio(IMainWindowServices& services)
    : CMemoryListWindow(kTemplateId, services, kLayout)
{
}

bool CDlgMemRadio::OnInitDialog()
{
    gridWidget_ = GetDlgItemAs<CGridWidget>(kGrid);
    SetUpControls();
    SetUpGrid();
    SetUpChannelRows();
    SetCheck(kMemoryMode, services_.Ini().GetInt(settings::memorieradio::RTM) != 0);
    if (path_.empty())
        path_ = platform::ResolveInFolder(platform::ProgramFolder(), lists::kRadioMemoryFile);
    LoadMemories();
    return CMemoryListWindow::OnInitDialog();
}

void CDlgMemRadio::SetUpControls()
{
    SetUpEditor();
    if (auto* combo = GetDlgItemAs<QComboBox>(kChannel)) {
        for (int n = 1; n <= lists::radiomem::kChannels; ++n)
            combo->addItem(QString::asprintf("%02d", n));
        connect(combo, QOverload<int>::of(&QComboBox::activated), this,
                [this](int) { OnChannelChosen(); });
    }
    if (auto* b = GetDlgItemAs<CFlatButton>(kMemoryMode)) {
        b->SetButtonType(CFlatButton::kCheckBox);
        b->SetIcon(kIconMemoryMode, kIconMemoryModeHovered);
        b->SetCursor(res::kCursorAvailable);
        b->SetFlat();
    }
}

bool CDlgMemRadio::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMemoryListWindow::OnCommand(id, code);
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
    default: return CMemoryListWindow::OnCommand(id, code);
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

void CDlgMemRadio::BlinkButtonIcon()
{
    auto* b = GetDlgItemAs<CFlatButton>(kMemoryMode);
    if (b == nullptr)
        return;
    // Off, the button rests on its own icons; on, it alternates while the mouse is elsewhere.
    blinkLit_ = MemoryMode() && !blinkLit_;
    const int shown = !MemoryMode() || !blinkLit_ ? kIconMemoryMode
                      : b->underMouse()           ? kIconMemoryModeHovered
                                                  : kIconMemoryModeDim;
    b->SetIcon(shown, kIconMemoryModeHovered);
}
