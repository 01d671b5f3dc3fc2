// The main window on a real X server: another program's copies tune and key the radio while
// "Hook Clipboard" is on, the program's own copies do not, and a held PTT key keys it once; and
// the colour scheme as a user sees it, from a capture of the root window (saved under
// tests/screens/).
#include "WindowTestSupport.h"
#include "XInput.h"
#include "XvfbSession.h"

#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "FlatButton.h"
#include "Ini.h"
#include "ProgramClipboard.h"
#include "RadioModes.h"
#include "ScreenCheck.h"

#include <csignal>
#include <cstring>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace wndtest;
namespace rc = radio::ctl;

namespace {

std::unique_ptr<testing_support::XvfbSession> g_x;

// A copy by another process; the process serves it until the next copy replaces it.
class OtherProgramCopy {
public:
    explicit OtherProgramCopy(const char* text)
    {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(CLIPBOARD_COPY_PATH, CLIPBOARD_COPY_PATH, text, static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~OtherProgramCopy()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    OtherProgramCopy(const OtherProgramCopy&) = delete;
    OtherProgramCopy& operator=(const OtherProgramCopy&) = delete;

private:
    pid_t pid_ = -1;
};

bool TraceHas(const WindowFixture& f, const std::string& line)
{
    return PumpUntil([&] { return f.Trace().find(line) != std::string::npos; },
                     std::chrono::seconds(10));
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The time stamps of the F12 presses the application gets, repeats included.
struct PressStamps : QObject {
    PressStamps() { qApp->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F12)
            stamps.insert(static_cast<QKeyEvent*>(e)->timestamp());
        return false;
    }
    std::set<unsigned long> stamps;
};

QColor Pixel(const QImage& screen, const QWidget* w, QPoint at)
{
    return screen.pixelColor(w->mapToGlobal(at));
}

// Whether the colour is painted somewhere inside the widget (the core of its text, say), or in
// its top `lines` text lines.
bool Shows(const QImage& screen, const QWidget* w, QColor colour, int lines = 0)
{
    const QRect r(w->mapToGlobal(QPoint(0, 0)),
                  lines > 0 ? QSize(w->width(), lines * w->fontMetrics().height()) : w->size());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (screen.pixelColor(x, y) == colour)
                return true;
    return false;
}

}  // namespace

TEST(ClipboardTuning, AnotherProgramsCopiesTuneAndKeyTheRadio)
{
    if (!g_x || !g_x->Ok())
        GTEST_SKIP() << "no Xvfb";
    WindowFixture f;
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "PTTKey", 123);  // F12
    }
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* hook = qobject_cast<COnOffButton*>(w.GetDlgItem(mainwnd::kHookClipboard));
        ASSERT_NE(hook, nullptr);
        ASSERT_TRUE(hook->isEnabled());
        {
            // While the button is off a copy does nothing.
            OtherProgramCopy copy("7050.0");
            screentest::Pump(std::chrono::milliseconds(1500));
            EXPECT_EQ(f.Trace().find("FE FE 58 E0 05 00 50 07 00 00 FD"), std::string::npos);
        }
        hook->click();
        EXPECT_TRUE(hook->IsOn());
        EXPECT_NE(f.Ini().find("Cluster=1"), std::string::npos);

        OtherProgramCopy tune("14025.0");
        EXPECT_TRUE(TraceHas(f, "FE FE 58 E0 05 00 50 02 14 00 FD"));
        EXPECT_TRUE(TraceHas(f, "FE FE 58 E0 06 03 0"));
        EXPECT_TRUE(PumpUntil([&] {
            const radio::RadioState& st = w.Controller().State();
            return st.frequencyHz == 14025000 && st.mode == radio::kCw;
        })) << w.Controller().State().frequencyHz;

        // The program's own copy (the offset field's "600") is no frequency to tune to.
        const size_t tunes = Count(f.Trace(), "E0 05 ");
        SetProgramClipboardText(QStringLiteral("600"));
        screentest::Pump(std::chrono::milliseconds(800));
        EXPECT_EQ(Count(f.Trace(), "E0 05 "), tunes);

        {
            OtherProgramCopy key("@[on]@ from the cluster");
            EXPECT_TRUE(TraceHas(f, "PTT 1"));
            EXPECT_TRUE(w.IsTransmitting());
            EXPECT_EQ(Count(f.Trace(), "E0 05 "), tunes);
        }
        OtherProgramCopy unkey("@[off]@");
        EXPECT_TRUE(TraceHas(f, "PTT 0"));
        EXPECT_FALSE(w.IsTransmitting());

        // "Key for PTT" held down through the server while its auto-repeat runs: one key, one
        // unkey, however the repeats come.
        w.activateWindow();
        ASSERT_TRUE(PumpUntil([&] { return QGuiApplication::focusWindow() != nullptr; }));
        testing_support::XInput x;
        ASSERT_TRUE(x.Ok());
        x.RepeatKeys(100, 20);
        PressStamps presses;
        const size_t from = f.Trace().size();
        x.SetKey("F12", true);
        EXPECT_TRUE(PumpUntil([&] { return presses.stamps.size() > 5; })) << presses.stamps.size();
        EXPECT_TRUE(w.IsTransmitting());
        x.SetKey("F12", false);
        EXPECT_TRUE(PumpUntil([&] { return !w.IsTransmitting(); }));
        EXPECT_TRUE(TraceHas(f, "PTT 0"));
        const std::string held = f.Trace().substr(from);
        EXPECT_EQ(Count(held, "PTT 1"), 1u) << held;
        EXPECT_EQ(Count(held, "PTT 0"), 1u) << held;
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}

TEST(ColourScheme, TheWindowShowsTheDerivedColours)
{
    if (!g_x || !g_x->Ok())
        GTEST_SKIP() << "no Xvfb";
    WindowFixture f;
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("Setup", "BkgR", 200);
        ini.WriteInt("Setup", "BkgG", 0);
        ini.WriteInt("Setup", "BkgB", 100);
        // Out of range in the file: clamped, not wrapped to 0.
        ini.WriteInt("Setup", "CheckOnR", 300);
    }
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        PumpUntil([&] { return w.Controller().State().frequencyHz >= 30000; });
        const screentest::Seen seen = screentest::Look(&w, "main_scheme");
        EXPECT_TRUE(seen.shown);
        EXPECT_LT(seen.differing, 0.1);
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();

        // The window's own background, between the display's frame and the groups under it
        // (a group box tints its inside slightly).
        const QWidget* display = w.GetDlgItem(mainwnd::kDisplayFrame);
        ASSERT_NE(display, nullptr);
        const QPoint below = display->mapTo(&w, QPoint(display->width() / 2, display->height()));
        QPoint free;
        for (int dy = 1; dy < 12 && free.isNull(); ++dy) {
            const QWidget* c = w.childAt(below + QPoint(0, dy));
            if (c == nullptr || std::strcmp(c->metaObject()->className(), "QWidget") == 0)
                free = below + QPoint(0, dy);
        }
        ASSERT_FALSE(free.isNull());
        EXPECT_EQ(Pixel(screen, &w, free), QColor(200, 0, 100));

        // A function button: the light background, its caption in the text colour; one that
        // is on keeps the on colour (the S-meter's On/Off).
        const QWidget* vfoB = w.GetDlgItem(rc::kVfoB);
        ASSERT_NE(vfoB, nullptr);
        EXPECT_EQ(Pixel(screen, vfoB, QPoint(4, vfoB->height() / 2)), QColor(255, 80, 180));
        EXPECT_TRUE(Shows(screen, vfoB, QColor(90, 230, 90)));
        const auto* sMeter = qobject_cast<const COnOffButton*>(w.GetDlgItem(rc::kSMeterButton));
        ASSERT_NE(sMeter, nullptr);
        ASSERT_TRUE(sMeter->IsOn());
        EXPECT_TRUE(Shows(screen, sMeter, QColor(255, 0, 0)));
        // The RX indicator and the group captions in the text colour as well.
        EXPECT_TRUE(Shows(screen, w.GetDlgItem(mainwnd::kRxA), QColor(90, 230, 90)));
        const QWidget* pages = w.GetDlgItem(mainwnd::kTabs);
        for (const QGroupBox* group : w.findChildren<QGroupBox*>())
            if (group->isVisible() && !group->title().isEmpty() && !pages->isAncestorOf(group)) {
                EXPECT_TRUE(Shows(screen, group, QColor(90, 230, 90), 1))
                    << group->title().toStdString();
            }
        // The frequency in the light text colour on the background.
        const QWidget* freq = w.GetDlgItem(rc::kFrequency);
        EXPECT_TRUE(Shows(screen, freq, QColor(130, 255, 130)));
        EXPECT_EQ(Pixel(screen, freq, QPoint(2, 2)), QColor(200, 0, 100));
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}

int main(int argc, char** argv)
{
    // The X server comes before the application object, which connects to it once.
    g_x = std::make_unique<testing_support::XvfbSession>(1366, 768, false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (g_x->Ok())
        delete &App();
    g_x.reset();
    return result;
}
