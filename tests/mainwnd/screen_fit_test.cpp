// The real program on a real X server with a window manager, at the largest font the
// configuration offers, looked at and driven from outside as a user's desktop would: the main
// window with its frame fits the screen, a TX/RX place stored on top of the main window gives
// way, and a dialog opened by a right-click comes above the TX/RX window kept in front.
#include <gtest/gtest.h>

#include <QRect>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "SettingsKeys.h"
#include "TempDir.h"
#include "ShellOutput.h"
#include "XvfbSession.h"

using testing_support::Shell;

namespace {

bool WaitFor(const std::function<bool()>& pred)
{
    return testing_support::WaitUntil(pred);
}

namespace fs = std::filesystem;

std::vector<long> Numbers(const std::string& text)
{
    std::vector<long> numbers;
    std::string digits;
    for (char c : text + " ") {
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            digits += c;
        } else if (!digits.empty()) {
            numbers.push_back(std::stol(digits));
            digits.clear();
        }
    }
    return numbers;
}

// The shown window of that title, 0 when there is none.
unsigned long WindowNamed(const std::string& title)
{
    const std::string ids =
        Shell("xdotool search --onlyvisible --name '" + title + "' 2>/dev/null");
    return ids.empty() ? 0 : std::stoul(ids.substr(0, ids.find('\n')));
}

// The window's frame as the window manager drew it (title bar and borders included); empty
// until the window is framed.
QRect Frame(unsigned long id)
{
    if (id == 0)
        return {};
    const std::string win = std::to_string(id);
    const std::vector<long> extents =
        Numbers(Shell("xprop -id " + win + " _NET_FRAME_EXTENTS 2>/dev/null | sed 's/.*=//'"));
    if (extents.size() != 4)
        return {};
    const std::string info = Shell("xwininfo -id " + win + " 2>/dev/null");
    const auto value = [&](const std::string& key) {
        const auto at = info.find(key);
        return at == std::string::npos ? -1L : std::stol(info.substr(at + key.size()));
    };
    const long x = value("Absolute upper-left X:"), y = value("Absolute upper-left Y:");
    const long w = value("Width:"), h = value("Height:");
    if (w <= 0 || h <= 0)
        return {};
    // left, right, top, bottom
    return QRect(int(x - extents[0]), int(y - extents[2]), int(w + extents[0] + extents[1]),
                 int(h + extents[2] + extents[3]));
}

QRect WorkArea()
{
    const std::vector<long> n =
        Numbers(Shell("xprop -root _NET_WORKAREA 2>/dev/null | sed 's/.*=//'"));
    return n.size() >= 4 ? QRect(int(n[0]), int(n[1]), int(n[2]), int(n[3])) : QRect();
}

// Bottom first, as the window manager stacks them.
std::vector<unsigned long> Stacking()
{
    std::vector<unsigned long> ids;
    const std::string list =
        Shell("xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | sed 's/.*#//'");
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        if (item.find("0x") != std::string::npos)
            ids.push_back(std::stoul(item, nullptr, 16));
    return ids;
}

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width())
           + "x" + std::to_string(r.height());
}

void Capture(const std::string& name)
{
    const fs::path folder = fs::path(CORVANE_BIN_DIR).parent_path() / "tests/screens";
    fs::create_directories(folder);
    Shell("xwd -root -silent | convert xwd:- '" + (folder / name).string() + "' 2>/dev/null");
}

class ScreenFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(screen_.Ok()) << "no X server";
        ASSERT_TRUE(WaitFor([] {
            return Shell("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id")
                   != std::string::npos;
        })) << "no window manager";
        const std::string bin = CORVANE_BIN_DIR;
        fs::create_directories(folder_ / "Drivers");
        for (const char* file : {"Corvane", "English.lng", "tolvash"})
            fs::copy_file(bin + "/" + file, folder_ / file);
        fs::copy_file(bin + "/Drivers/SimRadio.so", folder_ / "Drivers/SimRadio.so");
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/resources/FirstRun.ini",
                      folder_ / "Corvane.ini");
        const fs::path config = folder_ / ".config";
        fs::create_directories(config / "Dravik/Corvane");
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", config.c_str(), 1);
        registry_ = config / "Dravik/Corvane/registry.ini";
    }
    void TearDown() override
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    void Start()
    {
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::chdir(folder_.path.c_str()) != 0)
                ::_exit(127);
            ::freopen("/dev/null", "w", stderr);
            ::execl("./Corvane", "Corvane", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_GT(pid_, 0);
    }
    int Stop()
    {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    testing_support::XvfbSession screen_{1366, 768, true};
    testing_support::TempDir folder_{"corvane-fit"};
    fs::path registry_;
    pid_t pid_ = -1;
};

TEST_F(ScreenFit, LargestFontFitsAndDialogsComeAboveTheWindowKeptInFront)
{
    // The largest font the configuration offers for every window, and a TX/RX place stored in
    // the middle of where the main window opens.
    {
        std::ofstream reg(registry_);
        const int size = settings::reg::kLargestFontSize;
        reg << "[Software\\Dravik\\Corvane\\CurrentSet]\n"
            << "FontMain=DejaVu Sans\nFontOther=DejaVu Sans\n"
            << "FontSizeMain=dword:" << size << "\nFontSizeOther=dword:" << size << "\n"
            << "[Software\\Dravik\\Corvane\\TxRx]\n"
            << "Top=dword:300\nBottom=dword:529\nLeft=dword:600\nRight=dword:893\n";
    }
    Start();
    unsigned long main = 0, txRx = 0;
    ASSERT_TRUE(WaitFor([&] {
        main = WindowNamed("Corvane Icom");
        txRx = WindowNamed("^TX/RX$");
        return !Frame(main).isEmpty() && !Frame(txRx).isEmpty();
    })) << "the main and TX/RX windows did not come up framed";

    // The window manager and the program may place the windows more than once: what counts is
    // where they come to rest.
    const QRect work = WorkArea();
    ASSERT_FALSE(work.isEmpty());
    QRect m, t;
    const bool settled = WaitFor([&] {
        m = Frame(main);
        t = Frame(txRx);
        return work.contains(m) && work.contains(t) && !m.intersects(t);
    });
    Capture("fit_largest_font.png");
    EXPECT_TRUE(settled) << "main window " << Text(m) << ", TX/RX " << Text(t) << ", screen "
                         << Text(work);
    // The font took effect: the main window is larger than the 8-point layout's minimum.
    EXPECT_GT(m.height(), 700) << Text(m);

    // A right-click on the frequency digits opens "Manual input", above the TX/RX window.
    const std::string info = Shell("xwininfo -id " + std::to_string(main));
    const auto value = [&](const std::string& key) {
        return std::stoi(info.substr(info.find(key) + key.size()));
    };
    const int x = value("Absolute upper-left X:") + value("Width:") * 3 / 4;
    const int y = value("Absolute upper-left Y:") + 90;
    Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 3");
    unsigned long dialog = 0;
    ASSERT_TRUE(WaitFor([&] {
        dialog = WindowNamed("Manual input");
        return !Frame(dialog).isEmpty();
    })) << "no dialog after the right-click at "
        << x << "," << y;
    std::vector<unsigned long> order;
    const bool above = WaitFor([&] {
        order = Stacking();
        const auto d = std::find(order.begin(), order.end(), dialog);
        const auto tx = std::find(order.begin(), order.end(), txRx);
        return d != order.end() && tx != order.end() && d > tx;
    });
    Capture("fit_dialog_above.png");
    EXPECT_TRUE(above) << "the dialog is stacked under the TX/RX window";
    EXPECT_TRUE(work.contains(Frame(dialog))) << Text(Frame(dialog));

    Shell("xdotool key --window " + std::to_string(dialog) + " Escape");
    EXPECT_TRUE(WaitFor([&] { return WindowNamed("Manual input") == 0; }));
    EXPECT_EQ(Stop(), 0);
}

}  // namespace
