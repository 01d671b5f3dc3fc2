#include "ManualInput.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "NumEdit.h"
#include "NumText.h"
#include "Numbers.h"

namespace {
using namespace tpl;

constexpr int kLabelStringId = 177;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CManualInput::kTemplateId, "Corvane - Manual input",
    Column(
        {Control(ctl::kIdStatic, "STATIC", "Input the value and press Enter.\nPress Esc to abort."),
         Control(CManualInput::kValue, "CNumEdit", "", 0, 16),
         Control(CManualInput::kHidden, "CNumEdit", "", kHidden),
         Control(CManualInput::kRange, "STATIC", "", kNoTranslate),
         Row({Control(CManualInput::kLowerButton, "CFlatButton", "", kNoTranslate),
              Control(CManualInput::kMeanButton, "CFlatButton", "", kNoTranslate),
              Control(CManualInput::kUpperButton, "CFlatButton", "", kNoTranslate)}),
         Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
              Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};
}  // namespace

CManualInput::CManualInput() : CMyFontDialog(kTemplateId) {}

void CManualInput::SetLimits(const std::string& lowerText, const std::string& upperText)
{
    lowerText_ = lowerText;
    upperText_ = upperText;
}

double CManualInput::LimitValue(const std::string& text)
{
    const size_t blank = text.find_last_of(' ');
    return platform::ParseDoublePrefix(blank == std::string::npos ? text : text.substr(0, blank));
}

std::string CManualInput::Formatted(double value) const
{
    NumEditModel model;
    model.SetFormat(decimals_, '.', false, false);
    model.SetValue(value < 0 ? -value : value);
    return (value < 0 ? "-" : "") + model.Text();
}

bool CManualInput::OnInitDialog()
{
    for (int id : {kValue, kHidden}) {
        if (auto* edit = GetDlgItemAs<CNumEdit>(id)) {
            edit->SetFormat(decimals_, '.', true, true);
            edit->SetValue(value_);
        }
    }
    hasLimits_ = !lowerText_.empty() && !upperText_.empty();
    if (hasLimits_) {
        lower_ = LimitValue(lowerText_);
        upper_ = LimitValue(upperText_);
        SetDlgItemText(kRange, framework::Language().FormatString2(
                                   kLabelStringId, Formatted(lower_), Formatted(upper_)));
        SetDlgItemText(kLowerButton, Formatted(lower_));
        SetDlgItemText(kUpperButton, Formatted(upper_));
        SetDlgItemText(kMeanButton, Formatted((lower_ + upper_) / 2));
    } else {
        for (int id : {kLowerButton, kUpperButton, kMeanButton}) {
            if (QWidget* w = GetDlgItem(id))
                w->hide();
        }
    }
    CMyFontDialog::OnInitDialog();
    if (QWidget* edit = GetDlgItem(kValue))
        edit->setFocus();
    return false;
}

void CManualInput::OnOK()
{
    if (auto* edit = GetDlgItemAs<CNumEdit>(kValue))
        result_ = edit->GetValue();
    CMyFontDialog::OnOK();
}

bool CManualInput::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && hasLimits_
        && (id == kLowerButton || id == kUpperButton || id == kMeanButton)) {
        const double v = id == kLowerButton   ? lower_
                         : id == kUpperButton ? upper_
                                              : (lower_ + upper_) / 2;
        if (auto* edit = GetDlgItemAs<CNumEdit>(kValue))
            edit->SetValue(v);
        OnOK();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}
