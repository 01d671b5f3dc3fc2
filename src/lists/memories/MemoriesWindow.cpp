#include "MemoriesWindow.h"

#include "ColorLabel.h"
#include "ColorRef.h"
#include "CommandCodes.h"
#include "ControlFactory.h"
#include "ControlResources.h"
#include "DialogTemplate.h"
#include "FlatButton.h"
#include "GridControlClass.h"
#include "GridWidget.h"
#include "MainWindowServices.h"
#include "NumEdit.h"
#include "MemoryListFile.h"
#include "MyDataGrid.h"
#include "SettingsKeys.h"
#include "ProgramFolder.h"
#include "ToolTipLoc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <span>

namespace {

using namespace tpl;
using M = CDlgMem;

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
    M::kTemplateId, "Corvane - Memories",
    Column({Stretched(Control(M::kGrid, "CGridWidget"), 1),
            Row({Label("Description"), Stretched(Control(M::kDescription, "EDIT", "", 0, 30), 1)}),
            Row({VfoGroup("VFO A", M::kVfoA, M::kModeA, M::kFilterA),
                 VfoGroup("VFO B", M::kVfoB, M::kModeB, M::kFilterB),
                 Column({Switch(M::kSplit, "Split"), Label("VFO Active"),
                         Control(M::kActiveVfo, "COMBOBOX"), Stretch()}),
                 Stretch()}),
            Row({Switch(M::kDupPlus, "DUP +"), Switch(M::kDupMinus, "DUP -"),
                 Control(M::kDuplexLabel, "STATIC", "Duplex"),
                 Control(M::kDuplexValue, "CNumEdit", "", 0, 7),
                 Control(M::kDuplexUnit, "STATIC", "KHz"), Control(M::kToneLabel, "STATIC", "Tone"),
                 Control(M::kToneHz, "CNumEdit", "", 0, 7), Stretch()}),
            Control(M::kNotice, "CColorLabel", "Values that the RTX commands cannot read or write"),
            Row({Switch(M::kAtt, "Att"), Switch(M::kPre, "Pre"), Switch(M::kAgc, "AGC"),
                 Switch(M::kNb, "NB"), Switch(M::kTone, "Tone"), Switch(M::kTsql, "TSQL"),
                 Switch(M::kVox, "Vox"), Switch(M::kBkin, "BKin"), Switch(M::kComp, "Comp"),
                 Stretch()}),
            Row({Control(M::kNew, "CFlatButton", "New"), Control(M::kSave, "CFlatButton", "Save"),
                 Control(M::kDelete, "CFlatButton", "Delete"),
                 Control(M::kActive, "CFlatButton", "Active"),
                 Control(M::kActiveTransfer, "CFlatButton", "Act.  Tr.", kDisabled),
                 Control(M::kReadMem, "CFlatButton", "Read mem."),
                 Control(M::kWriteMem, "CFlatButton", "Write mem."),
                 Control(M::kPrint, "CFlatButton", "Print"),
                 Control(M::kImport, "CFlatButton", "Import"),
                 Control(M::kExport, "CFlatButton", "Export"), Stretch()})})}};

constexpr int kSwitches[] = {M::kFilterA, M::kFilterB, M::kSplit, M::kDupPlus, M::kDupMinus,
                             M::kAtt,     M::kPre,     M::kAgc,   M::kNb,      M::kTone,
                             M::kTsql,    M::kVox,     M::kBkin,  M::kComp};
constexpr int kCommands[] = {M::kNew,     M::kSave,     M::kDelete, M::kActive, M::kActiveTransfer,
                             M::kReadMem, M::kWriteMem, M::kPrint,  M::kImport, M::kExport};

constexpr M::ControlTip kTips[] = {
    {M::kSplit, 1010},    {M::kDescription, 1035}, {M::kNew, 1036},
    {M::kSave, 1037},     {M::kFilterA, 1038},     {M::kFilterB, 1039},
    {M::kModeA, 1040},    {M::kModeB, 1041},       {M::kDelete, 1042},
    {M::kVfoA, 1043},     {M::kVfoB, 1044},        {M::kReadMem, 1045},
    {M::kWriteMem, 1046}, {M::kActiveVfo, 1061},   {M::kToneHz, 1070},
    {M::kAtt, 1188},      {M::kPre, 1191},         {M::kAgc, 1192},
    {M::kNb, 1193},       {M::kTone, 1194},        {M::kTsql, 1195},
    {M::kVox, 1196},      {M::kBkin, 1197},        {M::kComp, 1198},
    {M::kDupPlus, 1199},  {M::kDupMinus, 1200},    {M::kDuplexValue, 1202},
    {M::kPrint, 1205},    {M::kActive, 1211},      {M::kNotice, 1253},
    {M::kImport, 1368},   {M::kExport, 1369},      {M::kActiveTransfer, 1391}};

// Fields whose text is checked when the focus leaves them.
constexpr int kCheckedOnLeaving[] = {M::kDescription, M::kDuplexValue};

// Shown only where the model has a duplex and a repeater tone.
constexpr int kToneControls[] = {M::kDuplexLabel, M::kDuplexUnit, M::kToneLabel, M::kDuplexValue,
                                 M::kToneHz,      M::kDupPlus,    M::kDupMinus};
// What the extended functions switch on and off in the editor.
constexpr int kExtendedControls[] = {M::kAtt,  M::kPre,     M::kAgc,      M::kNb,
                                     M::kTone, M::kTsql,    M::kVox,      M::kBkin,
                                     M::kComp, M::kDupPlus, M::kDupMinus, M::kDuplexValue};

GridCompareFunc CompareFor(int col)
{
    switch (col) {
    case lists::pcmem::kVfoA:
    case lists::pcmem::kVfoB:
    case lists::pcmem::kDuplexValue: return &CMyDataGrid::CompareDigits;
    case lists::pcmem::kToneHz: return &CMyDataGrid::CompareDecimal;
    default: return nullptr;
    }
}

namespace keys = settings::memorie;

const M::Layout kLayout{lists::pcmem::kColumnCount,
                        0,
                        lists::pcmem::kFirstTitleId,
                        lists::pcmem::kModeA,
                        lists::pcmem::kTone,
                        lists::pcmem::kToneSquelch,
                        &CompareFor,
                        &lists::PcMemoryChoices,
                        keys::RigaCorrente,
                        keys::ColonnaCorrente,
                        keys::ColonnaOrdinamento,
                        keys::ModoOrdinamento,
                        settings::reg::MemorieRect,
                        "memories",
                        kSwitches,
                        kCommands,
                        kToneControls,
                        kExtendedControls,
                        kTips,
                        keys::LastFileCsv,
                        lists::PcCsvLayout(),
                        &lists::PcMemoriesText};

}  // namespace

CDlgMem::CDlgMem(IMainWindowServices& services) : CMemoryListWindow(kTemplateId, services, kLayout)
{
}

void CDlgMem::SetOnActiveTransfer(std::function<void()> handOver)
{
    handOver_ = std::move(handOver);
    if (QWidget* b = GetDlgItem(kActiveTransfer))
        b->setEnabled(handOver_ != nullptr);
}

bool CDlgMem::OnInitDialog()
{
    caption_ = windowTitle().toStdString();
    gridWidget_ = GetDlgItemAs<CGridWidget>(kGrid);
    SetUpControls();
    SetUpGrid();
    Grid().AutoSize();
    // Delete on the grid deletes the focused row.
    gridWidget_->installEventFilter(this);
    if (QWidget* b = GetDlgItem(kActiveTransfer))
        b->setEnabled(handOver_ != nullptr);
    if (path_.empty())
        path_ = platform::ResolveInFolder(platform::ProgramFolder(), lists::kPcMemoryFile);
    LoadMemories();
    return CMemoryListWindow::OnInitDialog();
}

void CDlgMem::SetUpControls()
{
    SetUpEditor();
    if (auto* e = GetDlgItemAs<CNumEdit>(kDuplexValue))
        e->SetFormat(0, ',');
    if (auto* combo = GetDlgItemAs<QComboBox>(kActiveVfo)) {
        combo->addItem(QString::fromLatin1(lists::kVfoAText.data(), lists::kVfoAText.size()));
        combo->addItem(QString::fromLatin1(lists::kVfoBText.data(), lists::kVfoBText.size()));
        combo->setCurrentIndex(0);
    }
    for (int id : kCheckedOnLeaving)
        if (QWidget* w = GetDlgItem(id))
            w->installEventFilter(this);
}

bool CDlgMem::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMemoryListWindow::OnCommand(id, code);
    switch (id) {
    case kNew: ClearEditor(); return true;
    case kSave: SaveRow(false); return true;
    case kDelete: DeleteFocusedRow(); return true;
    case kActive: SendRowToRadio(); return true;
    case kActiveTransfer:
        if (handOver_ && SendRowToRadio())
            handOver_();
        return true;
    case kPrint: PrintMemories(); return true;
    case kReadMem: ReadMemoriesFromRadio(); return true;
    case kWriteMem: WriteMemoriesToRadio(); return true;
    case kDupPlus:
    case kDupMinus:
    case kSplit:
    case kAtt:
    case kPre: OnCheck(id); return true;
    default: return CMemoryListWindow::OnCommand(id, code);
    }
}

// The switches that exclude each other.
void CDlgMem::OnCheck(int id)
{
    if (!Check(id))
        return;
    const auto off = [this](std::initializer_list<int> ids) {
        for (int other : ids)
            SetCheck(other, false);
    };
    switch (id) {
    case kDupPlus: off({kDupMinus, kSplit}); break;
    case kDupMinus: off({kDupPlus, kSplit}); break;
    case kSplit: off({kDupPlus, kDupMinus}); break;
    case kAtt: off({kPre}); break;
    case kPre: off({kAtt}); break;
    default: break;
    }
}

bool CDlgMem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == GetDlgItem(kDescription))
            OnDescriptionLeft();
        else if (watched == GetDlgItem(kDuplexValue))
            OnDuplexValueLeft();
    } else if (event->type() == QEvent::KeyPress && watched == gridWidget_
               && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteFocusedRow();
        return true;
    }
    return CMemoryListWindow::eventFilter(watched, event);
}

void CDlgMem::OnDescriptionLeft()
{
    if (editing_)
        return;
    const int row = FindRow(GetDlgItemText(kDescription));
    if (row < 1)
        return;
    FocusRow(row);
    FillEditorFromRow();
}

bool CDlgMem::OnDuplexValueLeft()
{
    const double value = NumberOf(kDuplexValue);
    if (value >= 0 && value <= lists::kMaxDuplexKHz)
        return true;
    const CLanguage& language = services_.Language();
    language.ShowMessage({language.FormatString1(1203, GetDlgItemText(kDuplexValue)),
                          language.LoadString(142), mb::kOk | mb::kIconError, 0});
    Focus(kDuplexValue);
    return false;
}
