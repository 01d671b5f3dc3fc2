// The real program on a real X server (Xvfb at 1366 x 768), driven from this separate process by
// clicks and keys through the server's test extension, as xdotool sends them, and looked at as a
// user sees it: the root window read back by xwd. Every window it opens must be drawn (neither
// blank nor black), wholly on the screen with its title bar, show its whole caption, and not be
// covered by another of the program's windows; no caption or button text is cut, and no tool
// window lies on the readout or the operating controls (nor anywhere on the main window where
// the screen has room beside it). Screenshots land in screens/program_*.png.
// CORVANE_SCREEN_WM=0 runs without a window manager; CORVANE_SCREEN_LARGE=1 runs at the largest
// font the configuration offers; CORVANE_SCREEN_SIZE=1920x1080 on another screen (with
// QT_SCALE_FACTOR for a scaled one).
//
// Where the controls lie inside the program's windows is learned from the same windows built in
// this process (on a second, unseen X server: same fonts, same sizes); the clicks themselves go
// to the real program.
#include "ModalDialog.h"
#include "ProgramRun.h"
#include "WindowTestSupport.h"
#include "XInput.h"
#include "XWindows.h"
#include "XvfbSession.h"

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include <csignal>
#include <cstdlib>
#include <map>
#include <optional>
#include <sys/wait.h>

#include "AudioRecorder.h"
#include "FlatButton.h"
#include "Ini.h"
#include "MainWindowIds.h"
#include "PageTabCtrl.h"
#include "PlaceholderWindows.h"
#include "RadioView.h"
#include "SettingsKeys.h"
#include "SkedLine.h"
#include "SkedsPage.h"
#include "Tuning.h"
#include "TxRxWindow.h"
#include "UtilityPage.h"

using testing_support::XRect;
using testing_support::XTopWindow;

namespace {

namespace fs = std::filesystem;

bool EnvIs(const char* name, const char* value)
{
    const char* v = std::getenv(name);
    return v != nullptr && std::string(v) == value;
}

const bool kLarge = EnvIs("CORVANE_SCREEN_LARGE", "1");
const bool kWindowManager = !EnvIs("CORVANE_SCREEN_WM", "0");
const double kScale =
    std::getenv("QT_SCALE_FACTOR") ? std::atof(std::getenv("QT_SCALE_FACTOR")) : 1.0;
const QSize kScreen = [] {
    int w = 1366, h = 768;
    if (const char* size = std::getenv("CORVANE_SCREEN_SIZE"))
        std::sscanf(size, "%dx%d", &w, &h);
    return QSize(w, h);
}();
const std::string kSuffix = kLarge            ? "_large"
                            : !kWindowManager ? "_nowm"
                            : kScale != 1.0   ? "_" + std::to_string(kScreen.width()) + "_scaled"
                                              : "";
const char* const kClass = "Corvane";

// Device pixels of the model's (logical) ones, and back.
QPoint Px(QPoint p)
{
    return (QPointF(p) * kScale).toPoint();
}
QRect Px(const QRect& r)
{
    return QRect(Px(r.topLeft()), Px(r.bottomRight() + QPoint(1, 1)) - QPoint(1, 1));
}
QSize Logical(QSize s)
{
    return (QSizeF(s) / kScale).toSize();
}

std::string Text(const XRect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x"
           + std::to_string(r.height);
}

bool Wait(const std::function<bool()>& pred,
          std::chrono::seconds ceiling = std::chrono::seconds(30))
{
    return wndtest::WaitFor(pred, ceiling);
}

// The settings both the real program and the layout model start from.
void PrepareFolder(const std::string& folder, Profile& registry)
{
    std::string skeds;
    for (const char* sked : {"203001011200 ~ Morning net", "203001021830 ~ DX window 20 m"}) {
        lists::SkedLine line;
        line.key = std::string(sked).substr(0, 12);
        line.description = std::string(sked).substr(15);
        line.frequencyA = "14.074.000";
        line.modeA = "USB";
        line.frequencyB = "7.074.000";
        line.modeB = "LSB";
        skeds += lists::JoinSkedLine(line) + "\n";
    }
    testing_support::PutFile(folder + "/Skeds.Dat", skeds);
    testing_support::PutFile(
        folder + "/MemPC.Dat",
        "Calling ~ 145.500.000 ~ FM ~ OFF ~ 145.500.000 ~ FM ~ OFF ~ NOSPLIT ~ VFO A ~ NODUP ~ DEF "
        "~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ NO ~ \n");
    CIni ini;
    ini.SetPath((folder + "/Corvane.ini").c_str());
    ini.WriteInt("AudioRecorder", "Abilitato", 1);
    // Left by a session at another scale: the main window a little off the screen, the tool
    // windows on it.
    registry.WriteRect(settings::reg::MainWindowRect, {-13, 500, -1, 900});
    registry.WriteRect(settings::reg::AudioRecorderRect, {0, 95, 300, 750});
    registry.WriteRect(settings::reg::TxRxRect, {200, 430, 400, 692});
    if (kLarge) {
        registry.WriteProfileString("CurrentSet", "FontMain", "DejaVu Sans");
        registry.WriteProfileInt("CurrentSet", "FontSizeMain", settings::reg::kLargestFontSize);
        registry.WriteProfileString("CurrentSet", "FontOther", "DejaVu Sans");
        registry.WriteProfileInt("CurrentSet", "FontSizeOther", settings::reg::kLargestFontSize);
    }
}

// The real program, started from its own program folder on the test's X server.
class Program {
public:
    Program()
    {
        const std::string bin = CORVANE_BIN_DIR;
        fs::create_directories(folder_ / "Drivers");
        for (const char* file : {"Corvane", "English.lng", "Corvane.html", "tolvash"})
            fs::copy_file(bin + "/" + file, folder_ / file);
        fs::copy_file(bin + "/Drivers/SimRadio.so", folder_ / "Drivers/SimRadio.so");
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/resources/FirstRun.ini",
                      folder_ / "Corvane.ini");
        fs::create_directories(config_ / "Dravik/Corvane");
        registry_ = std::make_unique<Profile>(config_ / "Dravik/Corvane/registry.ini");
    }
    ~Program() { Stop(); }

    const std::string& Folder() const { return folder_.path; }
    Profile& Registry() { return *registry_; }

    bool Start(const std::string& display)
    {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("DISPLAY", display.c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "xcb", 1);
            ::setenv("XDG_CONFIG_HOME", config_.path.c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", config_.path.c_str(), 1);
            ::unsetenv("SIMRADIO_TRACE");
            if (::chdir(folder_.path.c_str()) != 0)
                ::_exit(127);
            ::freopen("Corvane.stderr", "w", stderr);
            ::execl("./Corvane", "Corvane", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid_ > 0;
    }
    bool Running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }
    void Stop()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        if (!Wait([&] { return ::waitpid(pid_, nullptr, WNOHANG) == pid_; })) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

private:
    testing_support::TempDir folder_{"corvane-screen"};
    testing_support::TempDir config_{"corvane-screen-config"};
    std::unique_ptr<Profile> registry_;
    pid_t pid_ = -1;
};

// The texts a window shows cut: a caption, button or read-only field narrower or lower than its
// text (a flat button's beside its icon).
void FindCutTexts(const QWidget& window, const std::string& name, std::vector<std::string>& cut)
{
    for (const QWidget* c : window.findChildren<QWidget*>()) {
        QString text;
        int room = c->width();
        if (const auto* b = qobject_cast<const QAbstractButton*>(c)) {
            text = b->text();
            room -= qobject_cast<const QCheckBox*>(c)
                        ? b->sizeHint().width() - b->fontMetrics().horizontalAdvance(text)
                        : 4;
            // A flat button's icon stands beside its caption.
            if (const auto* f = qobject_cast<const CFlatButton*>(c))
                room -= c->sizeHint().width() - f->QPushButton::sizeHint().width();
        } else if (const auto* e = qobject_cast<const QLineEdit*>(c); e && e->isReadOnly()) {
            // Beside its text a field keeps its frame and margins (as in its smallest size) and
            // two pixels each side.
            text = e->text();
            room -= e->minimumSizeHint().width() - e->fontMetrics().maxWidth() + 4;
        } else if (const auto* l = qobject_cast<const QLabel*>(c); l && !l->wordWrap()) {
            text = l->textFormat() == Qt::RichText ? QString() : l->text();
        } else if (const auto* g = qobject_cast<const QGroupBox*>(c)) {
            text = g->title();
            room -= 16;
        }
        text.remove(QLatin1Char('&'));
        if (text.isEmpty() || !c->isVisibleTo(&window))
            continue;
        int wide = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            wide = std::max(wide, c->fontMetrics().horizontalAdvance(line));
        if (wide > room || c->height() < c->fontMetrics().height())
            cut.push_back(name + ": \"" + text.toStdString() + "\" (" + std::to_string(wide)
                          + " px in " + std::to_string(c->width()) + "x"
                          + std::to_string(c->height()) + ")");
    }
}

const QRect kNone;

QRect OnWindow(const QWidget* within, const QWidget* control)
{
    return control ? QRect(control->mapTo(within, QPoint(0, 0)), control->size()) : kNone;
}

// The controls of the group holding `w`, without its title.
QRect GroupControls(const QWidget* within, QWidget* w)
{
    while (w != nullptr && qobject_cast<QGroupBox*>(w) == nullptr)
        w = w->parentWidget();
    QRect controls;
    for (const QWidget* c : w ? w->findChildren<QWidget*>() : QList<QWidget*>())
        if (c->isVisibleTo(within))
            controls |= OnWindow(within, c);
    return controls;
}

// The program's windows as this process models them, by dialog id (102 the main window), at
// the sizes (logical pixels) they have on the screen.
using Sizes = std::map<int, QSize>;
constexpr int kMainId = static_cast<int>(mainwnd::kDialogId);
constexpr int kMemoriesId = 230, kRadioMemoriesId = 4002;

// Where to click, relative to the client area of the main window, the TX/RX window or the
// recorder bar, as the same windows lay themselves out at the same sizes (logical pixels).
struct Layout {
    std::map<std::string, QPoint> main, txRx, recorder;
    struct Tab {
        int pageId = 0;
        QPoint at;
        QRect page;  // the page's visible part
    };
    std::vector<Tab> tabs;
    std::map<int, std::map<std::string, QPoint>> pageControls;  // by page id
    // The readout, the mode and filter buttons, the VFO, band and duplex controls.
    std::map<std::string, QRect> keep;
    using Buttons = std::map<int, std::vector<QRect>>;
    Buttons buttons;               // of the memories windows, by dialog id
    std::vector<std::string> cut;  // texts shown cut, in every window
    bool pagesShort = false;       // the tab control lower than it asks to be
};

Layout LearnLayout(const Sizes& sizes)
{
    Layout layout;
    wndtest::WindowFixture f;
    PrepareFolder(f.folder.path, *f.profile);
    f.Run([&](CCorvaneDlg& w) {
        const QSize mainSize = sizes.at(kMainId);
        w.resize(mainSize);
        for (const auto& [id, size] : sizes)
            if (QWidget* tool = w.ToolWindow(id))
                tool->resize(size);
        wndtest::PumpUntil([&] { return w.size() == mainSize; }, std::chrono::seconds(5));
        const auto centre = [](QWidget* within, QWidget* control) {
            return control ? control->mapTo(within, control->rect().center()) : QPoint(-1, -1);
        };
        const std::map<std::string, int> mainControls = {{"stack", bands::kStackButtons[0]},
                                                         {"band", mainwnd::kBand},
                                                         {"mode", mainwnd::kMode},
                                                         {"offset", radio::ctl::kOffset},
                                                         {"vfo_a", radio::ctl::kVfoA},
                                                         {"store", mainwnd::kStore},
                                                         {"store_r", radio::ctl::kStoreR},

                                                         {"background", mainwnd::kStackLabel}};
        for (const auto& [name, id] : mainControls)
            layout.main[name] = centre(&w, w.GetDlgItem(id));
        // The digits and their step buttons, not the empty part of the field on their left.
        QRect digits;
        for (const int* ids : {mainwnd::kPlusIds, mainwnd::kMinusIds})
            for (int i = 0; i < 9; ++i)
                digits |= OnWindow(&w, w.GetDlgItem(ids[i]));
        const QRect field = OnWindow(&w, w.GetDlgItem(radio::ctl::kFrequency));
        const QRect readout =
            digits | (field & QRect(digits.left(), field.top(), digits.width(), field.height()));
        layout.main["frequency"] = readout.center();
        layout.keep = {
            {"the frequency readout", readout},
            {"the mode button", OnWindow(&w, w.GetDlgItem(mainwnd::kMode))},
            {"the filter button", OnWindow(&w, w.GetDlgItem(radio::ctl::kFilter))},
            {"the VFO controls", GroupControls(&w, w.GetDlgItem(radio::ctl::kVfoA))},
            {"the band controls", GroupControls(&w, w.GetDlgItem(mainwnd::kBand))},
            {"the duplex controls", GroupControls(&w, w.GetDlgItem(radio::ctl::kDupPlus))},
            {"the tabs", OnWindow(&w, w.GetDlgItemAs<CPageTabCtrl>(mainwnd::kTabs)->TabBar())}};
        FindCutTexts(w, "main window", layout.cut);
        QWidget* txRx = w.ToolWindow(CTxRx::kTemplateId);
        QWidget* recorder = w.ToolWindow(CAudioRecorder::kTemplateId);
        if (auto* t = static_cast<CMyFontDialog*>(txRx))
            layout.txRx["setup"] = centre(t, t->GetDlgItem(CTxRx::kSetup));
        if (auto* r = static_cast<CMyFontDialog*>(recorder))
            layout.recorder["settings"] = centre(r, r->GetDlgItem(CAudioRecorder::kSettings));
        for (const auto& [id, size] : sizes)
            if (QWidget* tool = w.ToolWindow(id))
                FindCutTexts(*tool, tool->windowTitle().toStdString(), layout.cut);
        auto* tabs = w.GetDlgItemAs<CPageTabCtrl>(mainwnd::kTabs);
        layout.pagesShort = tabs != nullptr && tabs->height() < tabs->sizeHint().height();
        for (int i = 0; tabs != nullptr && i < tabs->GetItemCount(); ++i) {
            QWidget* page = tabs->GetPage(i);
            if (page == nullptr || qobject_cast<CPlaceholderPage*>(page) != nullptr)
                continue;
            tabs->ActivatePage(i);
            wndtest::PumpUntil([&] { return page->isVisible(); }, std::chrono::seconds(5));
            FindCutTexts(*page, "page " + std::to_string(tabs->GetPageId(i)), layout.cut);
            const QRect visible = page->visibleRegion().boundingRect();
            layout.tabs.push_back({tabs->GetPageId(i),
                                   centre(&w, tabs->TabBar()) - tabs->TabBar()->rect().center()
                                       + tabs->TabBar()->tabRect(i).center(),
                                   QRect(page->mapTo(&w, visible.topLeft()), visible.size())});
            auto& controls = layout.pageControls[tabs->GetPageId(i)];
            auto* dialog = static_cast<CMyFontDialog*>(page);
            if (tabs->GetPageId(i) == static_cast<int>(CSkeds::kTemplateId)) {
                controls["recur"] = centre(&w, dialog->GetDlgItem(CSkeds::kCreateRecur));
                controls["delete"] = centre(&w, dialog->GetDlgItem(CSkeds::kDeleteSkeds));
            } else if (tabs->GetPageId(i) == static_cast<int>(CUtility::kTemplateId)) {
                controls["limits"] = centre(&w, dialog->GetDlgItem(CUtility::kBandLimits));
                controls["setup"] = centre(&w, dialog->GetDlgItem(CUtility::kConfiguration));
            }
        }
        if (tabs != nullptr)
            tabs->ActivatePage(0);
        // The configuration dialog as it opens, with the driver's name on its port button.
        testing_support::WithModal<QDialog>([&] { w.OnSetup(); },
                                            [&](QDialog* setup) {
                                                FindCutTexts(*setup, "configuration", layout.cut);
                                                setup->reject();
                                            });
        w.CloseProgram();
    });
    return layout;
}

// The memories windows as the main window opens them, the PC memories window at its size on
// the screen: their cut texts and the PC memories window's buttons.
Layout LearnMemories(QSize memoriesSize)
{
    Layout layout;
    wndtest::WindowFixture f;
    PrepareFolder(f.folder.path, *f.profile);
    f.Run([&](CCorvaneDlg& w) {
        w.PlaceMemoryWindow(1);
        w.PlaceMemoryRadioWindow(1);
        QWidget* memories = w.ToolWindow(kMemoriesId);
        QWidget* radio = w.ToolWindow(kRadioMemoriesId);
        wndtest::PumpUntil([&] { return memories->isVisible() && radio->isVisible(); },
                           std::chrono::seconds(5));
        // Never below the least size Qt gives it (the screen's pixels round either way).
        const QSize size = memoriesSize.expandedTo(memories->minimumSize());
        memories->resize(size);
        wndtest::PumpUntil([&] { return memories->size() == size; }, std::chrono::seconds(5));
        for (const QWidget* list : {memories, radio})
            FindCutTexts(*list, list->windowTitle().toStdString(), layout.cut);
        for (const QAbstractButton* b : memories->findChildren<QAbstractButton*>())
            if (b->isVisibleTo(memories))
                layout.buttons[kMemoriesId].push_back(OnWindow(memories, b));
        w.CloseProgram();
    });
    return layout;
}

struct Looked {
    bool blank = true;   // one colour over the whole client area
    double black = 1.0;  // share of (nearly) black pixels
};

std::string g_display;  // the program's X server

// The whole screen as xwd reads the root window.
QImage Capture(const std::string& name)
{
    const std::string base = QApplication::applicationDirPath().toStdString() + "/screens";
    fs::create_directories(base);
    const std::string xwd = base + "/program_" + name + kSuffix + ".xwd";
    const std::string png = base + "/program_" + name + kSuffix + ".png";
    const std::string command = "xwd -display " + g_display + " -root -silent > '" + xwd
                                + "' && convert 'xwd:" + xwd + "' '" + png + "'; rm -f '" + xwd
                                + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    return QImage(QString::fromStdString(png));
}

// The part of `r` not under any of `above`.
Looked LookAt(const QImage& screen, const XRect& r, const std::vector<XRect>& above = {})
{
    Looked seen;
    const QRect area = QRect(r.x, r.y, r.width, r.height) & screen.rect();
    const auto hidden = [&](int x, int y) {
        for (const XRect& a : above)
            if (x >= a.x && x < a.Right() && y >= a.y && y < a.Bottom())
                return true;
        return false;
    };
    std::optional<QRgb> first;
    long long black = 0, seenPixels = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (hidden(x, y))
                continue;
            const QRgb p = screen.pixel(x, y);
            if (!first)
                first = p;
            seen.blank = seen.blank && p == *first;
            black += qRed(p) < 16 && qGreen(p) < 16 && qBlue(p) < 16;
            ++seenPixels;
        }
    seen.black = seenPixels ? static_cast<double>(black) / static_cast<double>(seenPixels) : 1.0;
    return seen;
}

// The frame width the window manager's title bar needs to show a caption whole: the text in its
// bold title font, and per title bar height the icon, the three buttons and the margins (as
// openbox's default theme lays them out: a caption 204 pixels wide is cut in a frame 314 wide and
// whole in one 322 wide, under a title bar 20 high).
int CaptionRoom(const std::string& title, int titleBarHeight)
{
    QFont font(QStringLiteral("Sans"), 8);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(QString::fromStdString(title)) + 5 * titleBarHeight
           + 16;
}

class ScreenDriver {
public:
    ScreenDriver(testing_support::XInput& input, testing_support::XWindows& windows)
        : input_(input), windows_(windows)
    {
    }

    std::vector<XTopWindow> Windows() const { return windows_.List(kClass); }

    std::optional<XTopWindow> Find(const std::string& titlePart) const
    {
        for (const XTopWindow& w : Windows())
            if (!w.popup && w.title.find(titlePart) != std::string::npos)
                return w;
        return std::nullopt;
    }

    // Clicks and waits for a window of the program that was not there before, with `title` in
    // its caption when one is given.
    std::optional<XTopWindow> Open(const std::string& name, QPoint at, int button,
                                   const std::string& title)
    {
        const std::vector<XTopWindow> before = Windows();
        input_.Click(at.x(), at.y(), button);
        std::optional<XTopWindow> opened;
        Wait(
            [&] {
                for (const XTopWindow& w : Windows()) {
                    bool known = false;
                    for (const XTopWindow& b : before)
                        known = known || b.id == w.id;
                    if (!known && (title.empty() || w.title.find(title) != std::string::npos))
                        opened = w;
                }
                // A managed window is looked at once the window manager has framed it.
                return opened
                       && (!kWindowManager || opened->popup
                           || !(opened->frame.x == opened->client.x
                                && opened->frame.y == opened->client.y));
            },
            std::chrono::seconds(15));
        std::string present;
        for (const XTopWindow& w : Windows())
            present += " \"" + w.title + "\" " + Text(w.frame) + (w.popup ? " popup;" : ";");
        EXPECT_TRUE(opened) << name << " did not open (clicked at " << at.x() << "," << at.y()
                            << "); the program's windows:" << present;
        if (opened)
            opened = Refreshed(*opened);
        return opened;
    }

    // Framed by the window manager (always, without one).
    bool Framed(const XTopWindow& w) const
    {
        const auto now = Refreshed(w);
        return now
               && (!kWindowManager || now->popup || now->frame.x != now->client.x
                   || now->frame.y != now->client.y);
    }

    std::optional<XTopWindow> Refreshed(const XTopWindow& w) const
    {
        for (const XTopWindow& now : Windows())
            if (now.id == w.id)
                return now;
        return std::nullopt;
    }

    // Looks at a window on the screen: drawn, on the screen with its title bar and whole caption,
    // and (a dialog or menu) covered by no other window of the program.
    void Check(const std::string& name, XTopWindow target, bool darkByDesign = false,
               bool inFront = true)
    {
        ++checked_;
        Looked seen;
        QImage screen;
        std::vector<XRect> above;
        bool over = false;
        for (const XTopWindow& w : Windows()) {
            if (over)
                above.push_back(w.frame);
            over = over || w.id == target.id;
        }
        // Time for the window to draw itself, as a user would wait; a window that stays blank
        // fails.
        Wait(
            [&] {
                // The program may still be placing it.
                if (const auto now = Refreshed(target))
                    target = *now;
                screen = Capture(name);
                seen = LookAt(screen, target.client, above);
                return !seen.blank && (darkByDesign || seen.black < 0.6)
                       && target.frame.Inside(windows_.Screen());
            },
            std::chrono::seconds(10));
        const std::string shot = "screens/program_" + name + kSuffix + ".png";
        EXPECT_FALSE(screen.isNull()) << name << ": no screen capture";
        EXPECT_FALSE(seen.blank) << name << " is blank on the screen (" << shot << ")";
        if (!darkByDesign) {
            EXPECT_LT(seen.black, 0.6) << name << " is black on the screen (" << shot << ")";
        }
        const XRect display = windows_.Screen();
        EXPECT_TRUE(target.frame.Inside(display))
            << name << " at " << Text(target.frame) << " is not wholly on the screen";
        if (kWindowManager && !target.popup) {
            const int titleBar = target.client.y - target.frame.y;
            EXPECT_GE(target.frame.y, 0) << name << ": its title bar is off the screen";
            EXPECT_GE(target.frame.width, CaptionRoom(target.title, titleBar))
                << name << ": the caption \"" << target.title << "\" is cut short";
        }
        if (inFront) {
            bool above = false;
            for (const XTopWindow& w : Windows()) {
                if (w.id == target.id) {
                    above = true;
                    continue;
                }
                EXPECT_FALSE(above && w.frame.Intersects(target.frame))
                    << name << " is covered by \"" << w.title << "\" at " << Text(w.frame);
            }
        }
    }

    // Esc closes the window; waits until it is gone.
    void Close(const std::string& name, const XTopWindow& w)
    {
        Key(w, "Escape");
        EXPECT_TRUE(Wait([&] { return !Refreshed(w); }, std::chrono::seconds(20)))
            << name << " did not close on Esc";
    }

    void OpenCheckClose(const std::string& name, QPoint at, int button, const std::string& title)
    {
        if (const auto w = Open(name, at, button, title)) {
            Check(name, *w);
            Close(name, *w);
        }
    }

    void Click(QPoint at) { input_.Click(at.x(), at.y()); }
    void Drag(QPoint from, QPoint to) { input_.Drag(from.x(), from.y(), to.x(), to.y()); }

    // A key for that window: a user first clicks into a dialog (on its margin) to type to it.
    void Key(const XTopWindow& w, const char* key)
    {
        if (!w.popup)
            input_.Click(w.client.x + 3, w.client.y + 3);
        input_.Key(key);
    }
    int Checked() const { return checked_; }

private:
    testing_support::XInput& input_;
    testing_support::XWindows& windows_;
    int checked_ = 0;
};

// The X server this process models the layout on, with the same fonts and theme as the
// program's but out of its sight; it and the application on it last as long as the process.
void StartModel()
{
    static testing_support::XvfbSession model(kScreen.width(), kScreen.height(), false);
    ASSERT_TRUE(model.Ok()) << "no second X server";
    wndtest::App();
}

// The program's X server, with or without the window manager.
bool ScreenReady(const testing_support::XvfbSession& session)
{
    g_display = session.Display();
    if (!session.Ok())
        return false;
    return !kWindowManager || Wait([&] {
        return std::system(("xprop -display " + g_display
                            + " -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'")
                               .c_str())
               == 0;
    });
}

QPoint At(const XTopWindow& w, QPoint relative)
{
    return QPoint(w.client.x, w.client.y) + Px(relative);
}

QSize SizeOf(const XTopWindow& w)
{
    return Logical({w.client.width, w.client.height});
}

XRect OnScreen(const XTopWindow& w, const QRect& relative)
{
    const QRect r = Px(relative).translated(w.client.x, w.client.y);
    return {r.x(), r.y(), r.width(), r.height()};
}

// Whether the screen has room for the tool window beside or below the main window.
bool HasRoom(const XTopWindow& main, const XTopWindow& tool, const XRect& screen)
{
    return tool.frame.width <= main.frame.x
           || tool.frame.width <= screen.Right() - main.frame.Right()
           || tool.frame.height <= screen.Bottom() - main.frame.Bottom();
}

// No TX/RX window or recorder bar lies on the readout, the operating controls or the tabs; no
// tool window lies on the main window where the screen has room for it beside or below it, and
// a memories window with that room lies on no other of the program's windows either. The window
// kept on top covers no button of a memories window.
void ExpectToolWindowsClear(const XTopWindow& main, const Layout& layout,
                            const std::vector<std::pair<int, XTopWindow>>& tools,
                            const XRect& screen, const Layout::Buttons& buttons = {})
{
    for (const auto& [id, tool] : tools) {
        const bool list = id == kMemoriesId || id == kRadioMemoriesId;
        for (const auto& [part, rect] : layout.keep)
            EXPECT_FALSE(!list && tool.frame.Intersects(OnScreen(main, rect)))
                << "\"" << tool.title << "\" at " << Text(tool.frame) << " lies on " << part;
        if (!HasRoom(main, tool, screen))
            continue;
        EXPECT_FALSE(tool.frame.Intersects(main.frame))
            << "\"" << tool.title << "\" at " << Text(tool.frame) << " lies on the main window at "
            << Text(main.frame) << " with room beside it";
        for (const auto& [other, window] : tools)
            EXPECT_FALSE(list && other != id && tool.frame.Intersects(window.frame))
                << "\"" << tool.title << "\" lies on \"" << window.title << "\" with room beside "
                << "the main window";
    }
    const XTopWindow& txRx = tools.front().second;
    for (const auto& [id, rects] : buttons)
        for (const auto& [other, window] : tools)
            for (const QRect& b : rects)
                EXPECT_FALSE(other == id && txRx.frame.Intersects(OnScreen(window, b)))
                    << "the TX/RX window covers a button of \"" << window.title << "\" at "
                    << Text(OnScreen(window, b));
}

}  // namespace

// A new user's first window, the choice of language, opens by itself in the middle of the
// screen, drawn and with its whole caption.
TEST(ScreenProgram, TheFirstStartsLanguageChoiceIsWholeAndCentred)
{
    testing_support::XvfbSession session(kScreen.width(), kScreen.height(), kWindowManager);
    ASSERT_TRUE(ScreenReady(session)) << "no X server";
    testing_support::XInput input;
    testing_support::XWindows windows;
    ASSERT_TRUE(input.Ok() && windows.Ok()) << "no X test extension";
    StartModel();

    Program program;
    PrepareFolder(program.Folder(), program.Registry());
    {
        CIni ini;
        ini.SetPath((program.Folder() + "/Corvane.ini").c_str());
        ini.WriteString("Setup", "Language", nullptr);
    }
    ASSERT_TRUE(program.Start(g_display));
    ScreenDriver driver(input, windows);
    std::optional<XTopWindow> choice;
    ASSERT_TRUE(Wait([&] { return (choice = driver.Find("Select Language")).has_value(); },
                     std::chrono::seconds(120)))
        << testing_support::GetFile(program.Folder() + "/Corvane.stderr");
    Wait([&] { return driver.Framed(*choice); });
    choice = driver.Refreshed(*choice);
    ASSERT_TRUE(choice);
    driver.Check("language", *choice);
    const XRect screen = windows.Screen();
    const int dx = choice->frame.x + choice->frame.width / 2 - screen.width / 2;
    const int dy = choice->frame.y + choice->frame.height / 2 - screen.height / 2;
    EXPECT_LE(std::abs(dx), screen.width / 10) << "not centred: " << Text(choice->frame);
    EXPECT_LE(std::abs(dy), screen.height / 10) << "not centred: " << Text(choice->frame);
    program.Stop();
}

TEST(ScreenProgram, EveryWindowOpenedFromOutsideIsWholeAndDrawnOnTheScreen)
{
    testing_support::XvfbSession session(kScreen.width(), kScreen.height(), kWindowManager);
    ASSERT_TRUE(ScreenReady(session)) << "no X server";
    testing_support::XInput input;
    testing_support::XWindows windows;
    ASSERT_TRUE(input.Ok() && windows.Ok()) << "no X test extension";
    StartModel();

    Program program;
    PrepareFolder(program.Folder(), program.Registry());
    ASSERT_TRUE(program.Start(g_display));
    ScreenDriver driver(input, windows);
    std::optional<XTopWindow> main, txRx, recorder, memories;
    const bool up = Wait(
        [&] {
            main = driver.Find("RTX:");
            txRx = driver.Find("TX/RX");
            recorder = driver.Find("AudioRecorder");
            return main && txRx && recorder;
        },
        std::chrono::seconds(120));
    ASSERT_TRUE(up) << "the program's windows did not come up: "
                    << testing_support::GetFile(program.Folder() + "/Corvane.stderr");

    // The start-up places and sizes its windows after showing them: looked at once they stay put.
    const auto places = [&] {
        std::string text;
        for (const XTopWindow& w : driver.Windows())
            text += Text(w.frame) + ";";
        return text;
    };
    EXPECT_TRUE(Wait([&] {
        const std::string before = places();
        ::usleep(500000);
        return places() == before;
    })) << "the windows keep moving";
    for (auto* w : {&main, &txRx, &recorder}) {
        *w = driver.Refreshed(**w);
        ASSERT_TRUE(*w);
    }
    driver.Check("main", *main, true, false);
    driver.Check("txrx", *txRx, false, false);
    driver.Check("recorder_bar", *recorder, false, false);

    const Layout layout = LearnLayout({{kMainId, SizeOf(*main)},
                                       {CTxRx::kTemplateId, SizeOf(*txRx)},
                                       {CAudioRecorder::kTemplateId, SizeOf(*recorder)}});
    EXPECT_EQ(layout.cut, std::vector<std::string>{});
    ExpectToolWindowsClear(*main, layout,
                           {{CTxRx::kTemplateId, *txRx}, {CAudioRecorder::kTemplateId, *recorder}},
                           windows.Screen());
    // Pages shorter than they would be: the window takes all the height the screen has.
    EXPECT_TRUE(!layout.pagesShort || main->frame.height >= windows.Screen().height - 2)
        << "the pages are short in a main window at " << Text(main->frame);
    // The readout whole on the screen, the window scrolling or not.
    const XRect readout = OnScreen(*main, layout.keep.at("the frequency readout"));
    EXPECT_TRUE(readout.Inside(windows.Screen()) && readout.Inside(main->client))
        << "the readout at " << Text(readout) << " in the main window at " << Text(main->client);
    ASSERT_TRUE(program.Running());
    main = driver.Refreshed(*main);
    ASSERT_TRUE(main);
    const auto& m = layout.main;
    // A point of the main window where it is now.
    const auto atMain = [&](QPoint relative) {
        if (const auto now = driver.Refreshed(*main))
            main = now;
        return At(*main, relative);
    };

    driver.OpenCheckClose("manual_input", atMain(m.at("frequency")), 3, "Manual input");
    driver.OpenCheckClose("band_stacking", atMain(m.at("stack")), 1, "Band Stacking");
    driver.OpenCheckClose("band_menu", atMain(m.at("band")), 1, "");
    driver.OpenCheckClose("mode_menu", atMain(m.at("mode")), 1, "");
    driver.OpenCheckClose("offset_menu", atMain(m.at("offset")), 3, "");
    txRx = driver.Refreshed(*txRx);
    ASSERT_TRUE(txRx);
    driver.OpenCheckClose("ptt_settings", At(*txRx, layout.txRx.at("setup")), 1, "");
    recorder = driver.Refreshed(*recorder);
    ASSERT_TRUE(recorder);
    driver.OpenCheckClose("audio_settings", At(*recorder, layout.recorder.at("settings")), 1, "");

    // "About" on the window's background menu.
    if (const auto menu = driver.Open("background_menu", atMain(m.at("background")), 3, "")) {
        driver.Check("background_menu", *menu);
        driver.OpenCheckClose(
            "about", QPoint(menu->client.x + menu->client.width / 2, menu->client.y + 12), 1, "");
    }

    // A control under a tool window is reached by moving it: not clicked here.
    const auto underTool = [&](QPoint at) {
        for (const auto* tool : {&txRx, &recorder})
            if (const auto now = driver.Refreshed(**tool)) {
                const XRect& f = now->frame;
                if (QRect(f.x, f.y, f.width, f.height).contains(atMain(at)))
                    return true;
            }
        return false;
    };
    // Every page by its tab, and the dialogs of the skeds and utility pages by their buttons.
    for (const Layout::Tab& tab : layout.tabs) {
        const std::string name = "page_" + std::to_string(tab.pageId);
        driver.Click(atMain(tab.at));
        const XRect page = OnScreen(*main, tab.page);
        Looked seen;
        Wait(
            [&] {
                seen = LookAt(Capture(name), page);
                return !seen.blank;
            },
            std::chrono::seconds(10));
        EXPECT_FALSE(seen.blank) << name << " is blank on the screen";
        const auto controls = layout.pageControls.find(tab.pageId);
        if (controls == layout.pageControls.end())
            continue;
        // A button below the page's visible part is reached by scrolling: not looked at here.
        for (const auto& [control, at] : controls->second)
            if (control != "setup" && tab.page.contains(at) && !underTool(at))
                driver.OpenCheckClose(name + "_" + control, atMain(at), 1, "");
    }

    // The configuration dialog, by its button on the utility page; Esc cancels it. A tool
    // window over the button (a small screen) is first moved aside by its title, to the
    // screen's top left.
    for (const Layout::Tab& tab : layout.tabs)
        if (tab.pageId == static_cast<int>(CUtility::kTemplateId)
            && tab.page.contains(layout.pageControls.at(tab.pageId).at("setup"))) {
            const QPoint setup = atMain(layout.pageControls.at(tab.pageId).at("setup"));
            for (const auto* tool : {&txRx, &recorder})
                if (const auto now = driver.Refreshed(**tool);
                    now
                    && QRect(now->frame.x, now->frame.y, now->frame.width, now->frame.height)
                           .contains(setup)) {
                    const int title = (now->client.y - now->frame.y) / 2;
                    driver.Drag(QPoint(now->frame.x + now->frame.width / 2, now->frame.y + title),
                                QPoint(now->frame.width / 2, title));
                    EXPECT_TRUE(Wait(
                        [&] { return !underTool(layout.pageControls.at(tab.pageId).at("setup")); },
                        std::chrono::seconds(10)))
                        << "\"" << now->title << "\" was not moved off the configuration button";
                }
            driver.Click(atMain(tab.at));
            driver.OpenCheckClose("setup", atMain(layout.pageControls.at(tab.pageId).at("setup")),
                                  1, "Configuration");
        }

    // "Store" shows the memories window; the program may ask which VFO is in use, and then for
    // a description, each in a box that must come above it.
    // After the configuration dialog the program connects again; until it has, "Store" does
    // nothing, and a user clicks it again.
    driver.Click(atMain(m.at("store")));
    auto clicked = std::chrono::steady_clock::now();
    std::optional<XTopWindow> question, box;
    EXPECT_TRUE(Wait([&] {
        if (driver.Find("VFO in Use") || driver.Find("ATTENTION"))
            return true;
        if (std::chrono::steady_clock::now() - clicked > std::chrono::seconds(3)) {
            driver.Click(atMain(m.at("store")));
            clicked = std::chrono::steady_clock::now();
        }
        return false;
    })) << "Store did nothing";
    if (Wait([&] { return (question = driver.Find("VFO in Use")).has_value(); },
             std::chrono::seconds(5))) {
        driver.Check("vfo_question", *question);
        driver.Key(*question, "Return");
        EXPECT_TRUE(Wait([&] { return !driver.Refreshed(*question); }))
            << "the VFO question did not close on Enter";
    }
    EXPECT_TRUE(Wait([&] { return (memories = driver.Find("Corvane - Memories")).has_value(); }))
        << "the memories window did not open";
    if (memories) {
        driver.Check("memories", *memories, false, false);
        // Opened by the main window, with no place of its own yet.
        main = driver.Refreshed(*main);
        memories = driver.Refreshed(*memories);
        const Layout lists = LearnMemories(SizeOf(*memories));
        EXPECT_EQ(lists.cut, std::vector<std::string>{});
        // The TX/RX window makes way for the new window's buttons once that is placed.
        Wait([&] {
            const auto t = driver.Refreshed(*txRx);
            const auto list = driver.Refreshed(*memories);
            const auto found = lists.buttons.find(kMemoriesId);
            if (!t || !list || found == lists.buttons.end())
                return true;
            const auto& rects = found->second;
            return std::none_of(rects.begin(), rects.end(), [&](const QRect& b) {
                return t->frame.Intersects(OnScreen(*list, b));
            });
        });
        memories = driver.Refreshed(*memories);
        if (main && memories)
            ExpectToolWindowsClear(*main, layout,
                                   {{CTxRx::kTemplateId, *driver.Refreshed(*txRx)},
                                    {CAudioRecorder::kTemplateId, *driver.Refreshed(*recorder)},
                                    {kMemoriesId, *memories}},
                                   windows.Screen(), lists.buttons);
    }
    if (Wait([&] { return (box = driver.Find("ATTENTION")).has_value(); },
             std::chrono::seconds(5))) {
        driver.Check("memories_box", *box);
        driver.Close("memories_box", *box);
    }

    EXPECT_GE(driver.Checked(), 15);
    EXPECT_TRUE(program.Running())
        << testing_support::GetFile(program.Folder() + "/Corvane.stderr");
    program.Stop();
}
