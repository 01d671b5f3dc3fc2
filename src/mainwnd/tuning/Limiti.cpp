#include "Limiti.h"

#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "NumEdit.h"

#include <QListWidget>

namespace {
using namespace tpl;
using namespace bands::limits;

constexpr int kNumberWidth = 14;

TemplateItem Number(int id)
{
    return Control(id, "CNumEdit", "", 0, kNumberWidth);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CLimiti::kTemplateId, "Corvane - Band and mode limits",
    Column({Group("General coverage",
                  {Row({Control(ctl::kIdStatic, "STATIC", "From"), Number(kGeneralFrom),
                        Control(ctl::kIdStatic, "STATIC", "To"), Number(kGeneralTo),
                        Control(kReadFromRadio, "BUTTON", "Read from RTX")})}),
            Row({Control(kBandList, "LISTBOX", "", 0, 10),
                 Group("Band and mode limits", {Grid(3, {Control(ctl::kIdStatic, "STATIC", ""),
                                                         Control(ctl::kIdStatic, "STATIC", "From"),
                                                         Control(ctl::kIdStatic, "STATIC", "To"),
                                                         Control(ctl::kIdStatic, "STATIC", "Band"),
                                                         Number(kBandFrom),
                                                         Number(kBandTo),
                                                         Control(ctl::kIdStatic, "STATIC", "CW"),
                                                         Number(kCwLow),
                                                         Number(kCwHigh),
                                                         Control(ctl::kIdStatic, "STATIC", "RTTY"),
                                                         Number(kRttyLow),
                                                         Number(kRttyHigh),
                                                         Control(ctl::kIdStatic, "STATIC", "LSB"),
                                                         Number(kLsbLow),
                                                         Number(kLsbHigh),
                                                         Control(ctl::kIdStatic, "STATIC", "USB"),
                                                         Number(kUsbLow),
                                                         Number(kUsbHigh),
                                                         Control(ctl::kIdStatic, "STATIC", "FM"),
                                                         Number(kFmLow),
                                                         Number(kFmHigh)})})}),
            Row({Control(ctl::kIdOk, "BUTTON", "Save"),
                 Control(CLimiti::kRestoreDefault, "BUTTON", "Restore default"), Stretch(),
                 Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

constexpr int kMsgRestore = 1091;
constexpr int kMsgSave = 1092;
constexpr int kMsgLoseChanges = 1093;
constexpr int kMsgInvalid = 1094;
constexpr int kMsgNotSaved = 193;
}  // namespace

CLimiti::CLimiti(bands::CBandTable& table, CIni& ini, ILimitsHost& host)
    : CMyFontDialog(kTemplateId), table_(table), ini_(ini), host_(host)
{
}

CLimiti::~CLimiti() = default;

double CLimiti::Field(int id) const
{
    auto* edit = GetDlgItemAs<CNumEdit>(id);
    return edit != nullptr ? edit->GetValue() : 0.0;
}

void CLimiti::SetField(int id, double value)
{
    if (auto* edit = GetDlgItemAs<CNumEdit>(id))
        edit->SetValue(value);
}

bands::LimitFields CLimiti::ReadFields() const
{
    bands::LimitFields f;
    for (int id = kFirstField; id <= kLastField; ++id)
        f[id] = Field(id);
    return f;
}

bool CLimiti::OnInitDialog()
{
    for (int id = kGeneralFrom; id <= kLastField; ++id) {
        if (auto* edit = GetDlgItemAs<CNumEdit>(id))
            edit->SetFormat(0, ',');
    }
    if (auto* list = GetDlgItemAs<QListWidget>(kBandList)) {
        list->clear();
        for (int i = 0; i < bands::kBandCount; ++i)
            list->addItem(QString::fromLatin1(bands::BandName(i)));
    }
    editor_ = std::make_unique<bands::CLimitsEditor>(table_, host_.RadioLowerLimit(),
                                                     host_.RadioUpperLimit());
    ShowRadioLimits();
    SelectListRow(0);
    ShowBand(0);
    return CMyFontDialog::OnInitDialog();
}

void CLimiti::ShowRadioLimits()
{
    SetField(kGeneralFrom, static_cast<double>(host_.RadioLowerLimit()));
    SetField(kGeneralTo, static_cast<double>(host_.RadioUpperLimit()));
}

void CLimiti::SelectListRow(int row)
{
    if (auto* list = GetDlgItemAs<QListWidget>(kBandList)) {
        selecting_ = true;
        list->setCurrentRow(row);
        selecting_ = false;
    }
}

void CLimiti::ShowBand(int row)
{
    editor_->Show(row);
    const bands::LimitFields f = editor_->Fields(row);
    for (int id = kFirstField; id <= kLastField; ++id)
        SetField(id, f[id]);
    // The general row spans the whole coverage; its edges are the radio's.
    const bool general = row == bands::kGeneralRow;
    for (int id : {kBandFrom, kBandTo}) {
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(!general);
    }
}

void CLimiti::Refuse(int field)
{
    framework::Language().MessageBox(kMsgInvalid, mb::kIconError);
    if (QWidget* w = GetDlgItem(field))
        w->setFocus();
}

void CLimiti::OnBandChanged()
{
    auto* list = GetDlgItemAs<QListWidget>(kBandList);
    if (list == nullptr || selecting_ || !editor_)
        return;
    const int row = list->currentRow();
    if (row == editor_->ShownBand() || !bands::CBandTable::IsRow(row))
        return;
    if (const int bad = editor_->StoreShown(Field(kGeneralFrom), ReadFields()); bad != 0) {
        SelectListRow(editor_->ShownBand());
        Refuse(bad);
        return;
    }
    ShowBand(row);
}

void CLimiti::OnReadFromRadio()
{
    host_.RequestBandEdges();
    const int lower = ini_.GetInt(settings::setup::LimiteInferiore);
    const int upper = ini_.GetInt(settings::setup::LimiteSuperiore);
    if (lower != 0 && upper != 0) {
        SetField(kGeneralFrom, lower);
        SetField(kGeneralTo, upper);
    }
}

void CLimiti::OnRestoreDefault()
{
    if (framework::Language().MessageBox(kMsgRestore,
                                         mb::kYesNo | mb::kIconExclamation | mb::kDefButton2)
        != mb::kIdYes)
        return;
    editor_->RestoreDefaults(table_, ini_);
    host_.ReadFrequencyMode();
    ShowRadioLimits();
    SelectListRow(0);
    ShowBand(0);
}

void CLimiti::OnOK()
{
    if (!editor_)
        return;
    if (framework::Language().MessageBox(kMsgSave, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return;
    const int bad =
        editor_->Save(Field(kGeneralFrom), Field(kGeneralTo), ReadFields(), table_, ini_);
    if (bad == kNotWritten) {
        // The limits hold for this run; the dialog stays open so the user knows they are not kept.
        const CLanguage& language = framework::Language();
        language.ShowMessage(
            {language.FormatString1(kMsgNotSaved, ini_.GetPath() ? ini_.GetPath() : ""),
             {},
             mb::kIconError,
             0});
        return;
    }
    if (bad != 0) {
        Refuse(bad);
        return;
    }
    host_.ReadFrequencyMode();
    CMyFontDialog::OnOK();
}

void CLimiti::OnCancel()
{
    if (editor_) {
        // Fields that cannot be stored are a change too: closing without asking would lose them.
        const bool unstored = editor_->StoreShown(Field(kGeneralFrom), ReadFields()) != 0;
        if ((unstored || editor_->Differs(Field(kGeneralFrom), Field(kGeneralTo), table_))
            && framework::Language().MessageBox(kMsgLoseChanges,
                                                mb::kYesNo | mb::kIconExclamation | mb::kDefButton2)
                   == mb::kIdNo)
            return;
    }
    CMyFontDialog::OnCancel();
}

bool CLimiti::OnCommand(int id, int code)
{
    if (id == kBandList && code == ctl::kLbnSelChange) {
        OnBandChanged();
        return true;
    }
    if (code == ctl::kBnClicked && id == kReadFromRadio) {
        OnReadFromRadio();
        return true;
    }
    if (code == ctl::kBnClicked && id == kRestoreDefault) {
        OnRestoreDefault();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}
