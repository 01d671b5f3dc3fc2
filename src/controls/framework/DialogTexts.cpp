#include "DialogTexts.h"

#include "ControlFactory.h"

QtDialogTexts::QtDialogTexts(QWidget* dialog) : dialog_(dialog)
{
    if (!dialog)
        return;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (HasCaption(w) && !w->property("corvaneNoTranslate").toBool())
            controls_.emplace_back(w);
    }
}

std::string QtDialogTexts::ControlText(std::size_t index) const
{
    return index < controls_.size() ? CaptionOf(controls_[index]) : std::string();
}

void QtDialogTexts::SetControlText(std::size_t index, const std::string& text)
{
    if (index < controls_.size())
        SetCaptionOf(controls_[index], text);
}

std::string QtDialogTexts::Caption() const
{
    return dialog_ ? dialog_->windowTitle().toStdString() : std::string();
}

void QtDialogTexts::SetCaption(const std::string& text)
{
    if (dialog_)
        dialog_->setWindowTitle(QString::fromStdString(text));
}

namespace framework {

void TranslateDialog(QWidget* dialog, const CLanguage& language)
{
    if (!dialog || !language.IsLoaded())
        return;
    QtDialogTexts texts(dialog);
    language.TranslateDialog(texts);
}

}  // namespace framework
