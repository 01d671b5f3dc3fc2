// The main window: construction, title, the push-to-talk switch and access to its parts.
#include "CorvaneDlg.h"

#include "FlatButton.h"
#include "FrameworkContext.h"
#include "Help.h"
#include "Language.h"
#include "ModelCaps.h"
#include "MainWindowTemplate.h"
#include "NumEdit.h"
#include "QuietStart.h"
#include "PageTabCtrl.h"
#include "PlaceholderWindows.h"
#include "RadioWork.h"

#include <QEventLoop>

#include <algorithm>
#include <iterator>

namespace {

namespace rc = radio::ctl;
using namespace mainwnd;

constexpr int kStrModelFirst = 200;

// The display name, kept out of plain sight in the binary.
constexpr unsigned char kHiddenName[] = {0xE6, 0xCA, 0xD7, 0xD3, 0xC4, 0xCB, 0xC0, 0x85,
                                         0xEC, 0xC6, 0xCA, 0xC8, 0x85, 0x92, 0x95, 0x93,
                                         0x85, 0xE6, 0xCA, 0xCB, 0xD1, 0xD7, 0xCA, 0xC9};
constexpr unsigned char kNameKey = 0xA5;

// The order the pages and tool windows are created in.
constexpr unsigned kCreateOrder[] = {141, 154, 144, 146, 230, 4002, 150,
                                     152, 227, 249, 252, 253, 274,  4001};

struct ToolWindowInfo {
    unsigned id;
    const char* caption;
};
constexpr ToolWindowInfo kToolWindows[] = {
    {230, "PC Memories"}, {4002, "RTX Memories"}, {249, "TX/RX"}, {252, "Audio Recorder"}};

bool IsToolWindow(unsigned id)
{
    return std::any_of(std::begin(kToolWindows), std::end(kToolWindows),
                       [id](const ToolWindowInfo& t) { return t.id == id; });
}

}  // namespace

std::string CCorvaneDlg::DisplayName()
{
    std::string name;
    for (unsigned char c : kHiddenName)
        name += static_cast<char>(c ^ kNameKey);
    return name;
}

std::string CCorvaneDlg::BuildTitle(const CLanguage& language, const std::string& version,
                                    int model, int beta)
{
    std::string title = DisplayName() + " - " + version;
    if (civ::FindCaps(model) != nullptr)
        title += "  -  RTX: " + language.LoadString(kStrModelFirst + model);
    if (beta != 0)
        title += " BETA " + std::to_string(beta);
    return title;
}

CCorvaneDlg::CCorvaneDlg(IMainWindowContext& context, const MainWindowPartList& parts)
    : CMyFontDialog(kDialogId),
      context_(context),
      ini_(context.Ini()),
      language_(context.Language()),
      profile_(context.RegistryProfile())
{
    RegisterMainWindowTemplates();
    framework::SetMainWindow(this);
    controller_ = std::make_unique<radio::CRadioController>(*this, ini_, language_);
    controller_->SetDriver(&driver_);
    const RadioLinkHost linkHost{*this, *this, *this, *this, *this, *this};
    link_ = std::make_unique<CRadioLink>(linkHost, ini_, profile_, language_, controller_->Worker(),
                                         driver_);
    work_ = std::make_unique<RadioWork>(*this, *controller_, language_, &link_->Log());
    controller_->SetLineLostHandler([this](int port, int error) { OnLineLost(port, error); });
    controller_->SetDriverAudioHandler([this](std::uintptr_t count, std::intptr_t handle) {
        if (IMainWindowPart* part = AudioPart())
            part->OnDriverAudio(count, handle);
    });
    controller_->SetDriverHelpHandler([](int topic) { framework::OpenHelpTopic(topic); });
    CreateParts(parts);
    // The pages and tool windows exist from now on; their windows are built at start-up.
    for (unsigned id : kCreateOrder) {
        if (IsToolWindow(id)) {
            const auto* info = std::find_if(std::begin(kToolWindows), std::end(kToolWindows),
                                            [id](const ToolWindowInfo& t) { return t.id == id; });
            std::unique_ptr<CMyFontDialog> window = PartToolWindow(id);
            if (!window)
                window = std::make_unique<CPlaceholderToolWindow>(id, info->caption);
            window->SetOwner(this);
            toolWindows_.push_back(std::move(window));
        } else if (CTabPage* page = PartPage(id)) {
            pages_.push_back(page);
        } else {
            pages_.push_back(new CPlaceholderPage(id));
        }
    }
}

CCorvaneDlg::~CCorvaneDlg()
{
    controller_->BeginClosing();
    // The worker stops before the link and the driver go; the parts use all three.
    controller_->Worker().Stop(true);
    DestroyParts();
    work_.reset();
    link_.reset();
    for (auto& page : pages_)
        if (page && page->parent() == nullptr)
            delete page.data();
    if (framework::MainWindow() == this)
        framework::SetMainWindow(nullptr);
}

// ---- IMainWindow ----

void CCorvaneDlg::SetOtherDialogFont(const std::string& face, int pointSize)
{
    otherFace_ = face;
    otherSize_ = pointSize;
}

int CCorvaneDlg::DoModalWithFont(const std::string& face, int pointSize)
{
    // The main window runs for the program's life without blocking the tool windows, so it is
    // shown modeless and waited for in an event loop of its own.
    SetTemplateFont(face, pointSize);
    QEventLoop loop;
    bool finished = false;
    int result = ctl::kIdCancel;
    connect(this, &QDialog::finished, &loop, [&](int r) {
        finished = true;
        result = r;
        loop.quit();
    });
    if (!Create(kDialogId, nullptr))
        return -1;
    if (!finished && !endedEarly_) {
        ShowAtStart();
        loop.exec();
    }
    disconnect(this, &QDialog::finished, &loop, nullptr);
    return result;
}

int CCorvaneDlg::PttKey() const
{
    return link_->Settings().pttKey;
}

// ---- Start-up ----

void CCorvaneDlg::CreateChildWindows()
{
    const std::string face = GetFontFace();
    const int size = GetFontSize();
    size_t page = 0, tool = 0;
    for (unsigned id : kCreateOrder) {
        if (IsToolWindow(id)) {
            auto* w = static_cast<CMyFontDialog*>(toolWindows_[tool++].get());
            w->SetTemplateFont(face, size);
            w->Create(id, nullptr);
            // Where it is shown and placed, whoever shows it.
            w->installEventFilter(this);
        } else {
            auto* p = static_cast<CMyFontDialog*>(pages_[page++].data());
            if (p == nullptr)
                continue;
            p->SetTemplateFont(face, size);
            p->Create(id, this);
        }
    }
}

CPageTabCtrl* CCorvaneDlg::Tabs() const
{
    return qobject_cast<CPageTabCtrl*>(GetDlgItem(kTabs));
}

QWidget* CCorvaneDlg::ToolWindow(int dialogId) const
{
    for (const auto& w : toolWindows_)
        if (auto* d = dynamic_cast<CMyFontDialog*>(w.get());
            d != nullptr && static_cast<int>(d->TemplateId()) == dialogId)
            return w.get();
    return nullptr;
}

QWidget* CCorvaneDlg::Page(int dialogId) const
{
    for (const auto& p : pages_)
        if (auto* d = qobject_cast<CMyFontDialog*>(p.data());
            d != nullptr && static_cast<int>(d->TemplateId()) == dialogId)
            return d;
    return nullptr;
}

bool CCorvaneDlg::IsPlaceholder(const QWidget* w)
{
    return qobject_cast<const CPlaceholderToolWindow*>(w) != nullptr;
}

COnOffButton* CCorvaneDlg::Button(int id) const
{
    return qobject_cast<COnOffButton*>(GetDlgItem(id));
}

CNumEdit* CCorvaneDlg::NumField(int id) const
{
    return qobject_cast<CNumEdit*>(GetDlgItem(id));
}
