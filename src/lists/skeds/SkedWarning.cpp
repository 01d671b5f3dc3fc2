#include "SkedWarning.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "MessagePump.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>

namespace {
using namespace tpl;

constexpr int kIcon = 1097;
constexpr int kStrCaption = 141;  // the program's name and "ATTENTION"

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CAttivaSkeds::kTemplateId, "Corvane - ATTENTION",
    Column({Row({Control(kIcon, "STATIC", "", kNoTranslate),
                 Stretched(Control(CAttivaSkeds::kText, "STATIC", "", kNoTranslate, 40), 1)}),
            Row({Stretch(), Control(ctl::kIdCancel, "BUTTON", "Abort"), Stretch()})})}};

}  // namespace

CAttivaSkeds::CAttivaSkeds() : CMyFontDialog(kTemplateId) {}

CAttivaSkeds::~CAttivaSkeds()
{
    EnableOwner();
}

bool CAttivaSkeds::Create(QWidget* owner)
{
    QWidget* top = owner != nullptr ? owner->window() : nullptr;
    if (top != nullptr && top->isEnabled()) {
        top->setEnabled(false);
        disabled_ = top;
    }
    // A window of its own: a child of the disabled window would be disabled with it.
    SetOwner(top);
    if (!CMyFontDialog::Create(kTemplateId, nullptr)) {
        EnableOwner();
        return false;
    }
    setWindowFlag(Qt::WindowStaysOnTopHint);
    show();
    raise();
    activateWindow();
    return true;
}

bool CAttivaSkeds::OnInitDialog()
{
    const std::string caption = framework::Language().LoadString(kStrCaption);
    if (!caption.empty())
        setWindowTitle(QString::fromStdString(caption));
    if (auto* icon = GetDlgItemAs<QLabel>(kIcon))
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    if (auto* text = GetDlgItemAs<QLabel>(kText))
        text->setWordWrap(true);
    return CMyFontDialog::OnInitDialog();
}

void CAttivaSkeds::SetText(const std::string& text)
{
    SetDlgItemText(kText, text);
}

bool CAttivaSkeds::CheckAbort()
{
    platform::PumpMessages();
    const bool pressed = abort_;
    abort_ = false;
    return pressed;
}

void CAttivaSkeds::EnableOwner()
{
    if (disabled_)
        disabled_->setEnabled(true);
    disabled_ = nullptr;
}
