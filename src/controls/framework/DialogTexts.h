// The texts of a real dialog for CLanguage::TranslateDialog: its window title and the captions
// of every control inside it (nested ones too). Edit fields, combo and list contents are data
// and stay untouched; so do controls created with tpl::kNoTranslate.
#pragma once

#include "Language.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QtDialogTexts : public IDialogTexts {
public:
    explicit QtDialogTexts(QWidget* dialog);

    std::size_t ControlCount() const override { return controls_.size(); }
    std::string ControlText(std::size_t index) const override;
    void SetControlText(std::size_t index, const std::string& text) override;
    std::string Caption() const override;
    void SetCaption(const std::string& text) override;

private:
    QPointer<QWidget> dialog_;
    std::vector<QPointer<QWidget>> controls_;
};

namespace framework {
// language.TranslateDialog over the dialog's texts.
void TranslateDialog(QWidget* dialog, const CLanguage& language);
}  // namespace framework
