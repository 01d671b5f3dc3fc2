#include "WindowProgress.h"

#include "Language.h"
#include "WorkProgressDlg.h"

CWindowProgress::CWindowProgress(QWidget& owner, const CLanguage& language)
    : owner_(owner), language_(language)
{
}

CWindowProgress::~CWindowProgress()
{
    Close();
}

void CWindowProgress::Open(const std::string& text, int steps)
{
    Close();
    auto dialog = std::make_unique<CWorkProgressDlg>();
    if (!dialog->Create(&owner_))
        return;
    dialog->setWindowTitle(owner_.windowTitle());
    dialog->SetRange(0, steps, text);
    dialog->SetStep(1);
    dialog_ = std::move(dialog);
    position_ = 0;
}

void CWindowProgress::Step()
{
    if (dialog_)
        dialog_->SetPos(++position_);
}

bool CWindowProgress::Cancelled()
{
    return dialog_ && dialog_->CheckCancelButton();
}

void CWindowProgress::Close()
{
    // Gone from here first: a close inside the dialog's own handling finds nothing left.
    std::unique_ptr<CWorkProgressDlg> dialog = std::move(dialog_);
    if (dialog)
        dialog->DestroyWindow();
}

void CWindowProgress::OpenProgress(int textId, int steps)
{
    Open(language_.LoadString(textId), steps);
}
