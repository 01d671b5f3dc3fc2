// The main window as the host of its parts: creating them, asking them for windows, passing on
// commands and the controller's reports, and the services a part may use.
#include "CorvaneDlg.h"

#include "RadioLink.h"
#include "TabPage.h"

#include <QPointer>
#include <QTimer>

void CCorvaneDlg::CreateParts(const MainWindowPartList& parts)
{
    for (const MainWindowPartFactory& make : parts)
        if (std::unique_ptr<IMainWindowPart> part = make(*this))
            parts_.push_back(std::move(part));
    controller_->SetClients(this);
}

void CCorvaneDlg::DestroyParts()
{
    controller_->SetClients(nullptr);
    // Last created, first gone: a later part may use what an earlier one set up.
    while (!parts_.empty())
        parts_.pop_back();
}

CTabPage* CCorvaneDlg::PartPage(unsigned dialogId)
{
    for (const auto& part : parts_)
        if (CTabPage* page = part->CreatePage(dialogId))
            return page;
    return nullptr;
}

std::unique_ptr<CMyFontDialog> CCorvaneDlg::PartToolWindow(unsigned dialogId)
{
    for (const auto& part : parts_)
        if (CMyFontDialog* window = part->CreateToolWindow(dialogId))
            return std::unique_ptr<CMyFontDialog>(window);
    return nullptr;
}

QMenu* CCorvaneDlg::PartsBandMenu()
{
    for (const auto& part : parts_)
        if (QMenu* menu = part->CreateBandMenu())
            return menu;
    return nullptr;
}

bool CCorvaneDlg::RouteToParts(int id, int code)
{
    for (const auto& part : parts_)
        if (part->OnCommand(id, code))
            return true;
    return false;
}

const bands::CBandTable* CCorvaneDlg::BandTable() const
{
    for (const auto& part : parts_)
        if (const bands::CBandTable* table = part->BandTable())
            return table;
    return nullptr;
}

std::vector<std::string> CCorvaneDlg::ListLines(unsigned dialogId) const
{
    for (const auto& part : parts_)
        if (std::optional<std::vector<std::string>> lines = part->ListLines(dialogId))
            return std::move(*lines);
    return {};
}

bool CCorvaneDlg::PrintList(unsigned dialogId)
{
    for (const auto& part : parts_)
        if (part->PrintList(dialogId))
            return true;
    return false;
}

bool CCorvaneDlg::RunLimitsDialog()
{
    for (const auto& part : parts_)
        if (part->RunLimitsDialog())
            return true;
    return false;
}

bool CCorvaneDlg::PartsServeBands() const
{
    for (const auto& part : parts_)
        if (part->ServesBands())
            return true;
    return false;
}

IMainWindowPart* CCorvaneDlg::PttPart() const
{
    for (const auto& part : parts_)
        if (part->KeysTransmitter())
            return part.get();
    return nullptr;
}

IMainWindowPart* CCorvaneDlg::AudioPart() const
{
    for (const auto& part : parts_)
        if (part->ServesAudio())
            return part.get();
    return nullptr;
}

// ---- Keying: every caller goes through the part that keys ----

bool CCorvaneDlg::IsTransmitting() const
{
    const IMainWindowPart* part = PttPart();
    return part != nullptr && part->IsTransmitting();
}

void CCorvaneDlg::SetPtt(bool on)
{
    if (on && (Closing() || IsOffLine()))
        return;
    if (IMainWindowPart* part = PttPart())
        part->SetPtt(on);
}

// ---- IMainWindowServices ----

remote::CAuxiliaryPort* CCorvaneDlg::AuxiliaryPort()
{
    for (const auto& part : parts_)
        if (remote::CAuxiliaryPort* port = part->AuxiliaryPort())
            return port;
    return nullptr;
}

int CCorvaneDlg::RemoteCommand(int code, int argument)
{
    for (const auto& part : parts_)
        if (std::optional<int> answer = part->OnRemoteCommand(code, argument))
            return *answer;
    return -1;
}

void CCorvaneDlg::CheckDueSked(int utcMinute, const std::string& key)
{
    for (const auto& part : parts_)
        part->CheckDueSked(utcMinute, key);
}

void CCorvaneDlg::GoOffLine()
{
    ShowOffLine();
    link_->SetOffLine(true);
    controller_->Worker().Stop(true);
}

void CCorvaneDlg::ShowToolWindow(unsigned dialogId)
{
    if (dialogId == 230)
        PlaceMemoryWindow(1);
    else if (dialogId == 4002)
        PlaceMemoryRadioWindow(1);
    // Asked for by the user or by a command that works there: in front, not behind the main
    // window. The focus stays where it is: leaving a field has effects of its own.
    if (QWidget* w = ToolWindow(static_cast<int>(dialogId)); w != nullptr && !IsPlaceholder(w)) {
        w->show();
        w->raise();
    }
}

void CCorvaneDlg::RunUpdateCheck()
{
    context_.RunUpdateCheck(true);
}

void CCorvaneDlg::TellUsageTime(int minutes)
{
    for (const auto& part : parts_)
        part->OnUsageTime(minutes);
}

void CCorvaneDlg::PostClose()
{
    QPointer<CCorvaneDlg> target(this);
    QTimer::singleShot(0, this, [target] {
        if (target)
            target->CloseProgram();
    });
}

// ---- radio::IRadioClients ----

void CCorvaneDlg::TellParts(const RadioStateChange& change)
{
    for (const auto& part : parts_)
        part->OnRadioStateChanged(change);
}

void CCorvaneDlg::NotifyClients(int code, int64_t value)
{
    TellParts({RadioStateChange::Kind::Notification, code, value, {}});
}

void CCorvaneDlg::DdeFrequency(int64_t hz)
{
    TellParts({RadioStateChange::Kind::Frequency, 0, hz, {}});
}

void CCorvaneDlg::DdeMode(const std::string& modeText)
{
    TellParts({RadioStateChange::Kind::Mode, 0, 0, modeText});
}

void CCorvaneDlg::DdeVfo(int vfo)
{
    TellParts({RadioStateChange::Kind::Vfo, 0, vfo, {}});
}

void CCorvaneDlg::DdeSplit(bool on)
{
    TellParts({RadioStateChange::Kind::Split, 0, on ? 1 : 0, {}});
}

void CCorvaneDlg::DdeSMeter(const std::string& text)
{
    TellParts({RadioStateChange::Kind::SMeter, 0, 0, text});
}

void CCorvaneDlg::DdeAltFrequency(int64_t hz)
{
    TellParts({RadioStateChange::Kind::AltFrequency, 0, hz, {}});
}

void CCorvaneDlg::TellTransmitState(bool on)
{
    TellParts({RadioStateChange::Kind::Transmit, 0, on ? 1 : 0, {}});
}
