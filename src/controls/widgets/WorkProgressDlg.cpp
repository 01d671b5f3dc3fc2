#include "WorkProgressDlg.h"

#include "ControlFactory.h"
#include "FrameworkContext.h"
#include "MessagePump.h"
#include "ProgressText.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace {
const DialogTemplateRegistration kProgressTemplate{DialogTemplate{
    CWorkProgressDlg::kTemplateId,
    "",
    tpl::Column({tpl::Control(CWorkProgressDlg::kTextId, "STATIC", " 0 ",
                              tpl::kCenter | tpl::kNoTranslate, 30),
                 tpl::Control(CWorkProgressDlg::kProgressId, "PROGRESS"),
                 tpl::Row({tpl::Stretch(), tpl::Control(ctl::kIdCancel, "BUTTON", "Abort"),
                           tpl::Stretch()})}),
    {},
    0}};
}  // namespace

CWorkProgressDlg::CWorkProgressDlg() : CMyFontDialog(kTemplateId)
{
    SetFontSubstitution(false);
}

CWorkProgressDlg::~CWorkProgressDlg()
{
    if (created_)
        DestroyWindow();
}

bool CWorkProgressDlg::Create(QWidget* owner)
{
    if (!owner)
        owner = framework::MainWindow();
    if (!owner)
        owner = QApplication::activeWindow();
    if (owner && owner->isEnabled()) {
        owner->setEnabled(false);
        disabledOwner_ = owner;
    }
    if (!CMyFontDialog::Create(kTemplateId, owner)) {
        if (disabledOwner_)
            disabledOwner_->setEnabled(true);
        disabledOwner_ = nullptr;
        return false;
    }
    created_ = true;
    // The caller owns this dialog, often on its stack: should the owner be destroyed while the
    // work runs, leave it before it deletes its children, and let the work see a cancel.
    if (QWidget* parent = parentWidget()) {
        connect(parent, &QObject::destroyed, this, [this] {
            setParent(nullptr, windowFlags());
            hide();
            cancelled_ = true;
        });
    }
    setModal(false);
    // Stays usable while its owner is disabled.
    setEnabled(true);
    show();
    return true;
}

bool CWorkProgressDlg::OnInitDialog()
{
    if (QProgressBar* bar = Bar()) {
        bar->setRange(lower_, upper_);
        bar->setValue(lower_);
    }
    ShowCount(lower_);
    return true;
}

QProgressBar* CWorkProgressDlg::Bar() const
{
    return GetDlgItemAs<QProgressBar>(kProgressId);
}

void CWorkProgressDlg::SetRange(int lower, int upper, const std::string& text)
{
    lower_ = lower;
    upper_ = upper;
    text_ = text;
    if (QProgressBar* bar = Bar())
        bar->setRange(lower, upper);
}

void CWorkProgressDlg::SetStep(int step)
{
    step_ = step;
}

void CWorkProgressDlg::SetStatus(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

void CWorkProgressDlg::HideCancel()
{
    if (QWidget* b = GetDlgItem(ctl::kIdCancel))
        b->hide();
    cancelEnabled_ = false;
}

std::string CWorkProgressDlg::CountText() const
{
    return GetDlgItemText(kTextId);
}

void CWorkProgressDlg::ShowCount(int pos)
{
    const std::string t = ProgressText(text_, pos, showCount_);
    if (GetDlgItemText(kTextId) != t)
        SetDlgItemText(kTextId, t);
}

int CWorkProgressDlg::SetPos(int pos)
{
    platform::PumpMessages();
    QProgressBar* bar = Bar();
    const int old = bar ? bar->value() : lower_;
    if (bar)
        bar->setValue(pos);
    ShowCount(pos);
    return old;
}

bool CWorkProgressDlg::CheckCancelButton()
{
    platform::PumpMessages();
    const bool c = cancelled_;
    cancelled_ = false;
    return c;
}

bool CWorkProgressDlg::OnCommand(int id, int code)
{
    if (id == ctl::kIdCancel && code == ctl::kBnClicked) {
        cancelled_ = true;
        return true;
    }
    return false;
}

void CWorkProgressDlg::HoldDisabled(QWidget* w)
{
    QWidget* window = w != nullptr ? w->window() : nullptr;
    if (!created_ || window == nullptr || window == this || !window->isEnabled())
        return;
    if (heldWindow_)
        heldWindow_->setEnabled(true);
    window->setEnabled(false);
    heldWindow_ = window;
}

void CWorkProgressDlg::DestroyWindow()
{
    for (QPointer<QWidget>* held : {&disabledOwner_, &heldWindow_}) {
        if (*held)
            (*held)->setEnabled(true);
        *held = nullptr;
    }
    created_ = false;
    hide();
}
