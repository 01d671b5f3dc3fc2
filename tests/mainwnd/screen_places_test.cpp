// The real program on a real X server with a window manager, started and ended three times with
// its list windows open: every stored place and size comes back exactly as it was left.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "Ini.h"
#include "Profile.h"
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

// The window of that title, shown and framed by the window manager.
bool Framed(const std::string& title)
{
    const std::string id = Shell("xdotool search --onlyvisible --name '" + title + "' 2>/dev/null");
    if (id.empty())
        return false;
    const std::string first = id.substr(0, id.find('\n'));
    return Shell("xprop -id " + first + " _NET_FRAME_EXTENTS 2>/dev/null").find(" = ")
           != std::string::npos;
}

// The stored rectangles of the windows that keep one, as "left,top right,bottom".
std::map<std::string, std::string> StoredPlaces(const fs::path& registry)
{
    std::map<std::string, std::string> places;
    const Profile profile(registry.string());
    namespace reg = settings::reg;
    for (const settings::RegRect& r :
         {reg::MainWindowRect, reg::MemorieRect, reg::MemorieRadioRect, reg::TxRxRect}) {
        const auto rect = profile.GetRect(r);
        places[std::string(r.section) + "/" + r.top] =
            rect ? std::to_string(rect->left) + "," + std::to_string(rect->top) + " "
                       + std::to_string(rect->right) + "," + std::to_string(rect->bottom)
                 : "none";
    }
    return places;
}

}  // namespace

TEST(ScreenPlaces, EveryStoredPlaceAndSizeComesBackExactly)
{
    testing_support::XvfbSession screen(1366, 768, true);
    ASSERT_TRUE(screen.Ok()) << "no X server";
    ASSERT_TRUE(WaitFor(testing_support::WindowManagerRuns)) << "no window manager";

    testing_support::TempDir folder{"corvane-places"};
    const std::string bin = CORVANE_BIN_DIR;
    fs::create_directories(folder / "Drivers");
    for (const char* file : {"Corvane", "English.lng", "Corvane.html", "tolvash"})
        fs::copy_file(bin + "/" + file, folder / file);
    fs::copy_file(bin + "/Drivers/SimRadio.so", folder / "Drivers/SimRadio.so");
    fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/resources/FirstRun.ini",
                  folder / "Corvane.ini");
    {
        CIni ini;
        ini.SetPath((folder / "Corvane.ini").c_str());
        ini.WriteInt("CurrentSet", "OnMemGrid", 1);
        ini.WriteInt("CurrentSet", "OnMemGridRadio", 1);
    }
    const fs::path config = folder / ".config";
    fs::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", config.c_str(), 1);
    const fs::path registry = config / "Dravik/Corvane/registry.ini";

    std::vector<std::map<std::string, std::string>> runs;
    for (int run = 0; run < 3; ++run) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::chdir(folder.path.c_str()) != 0)
                ::_exit(127);
            ::execl("./Corvane", "Corvane", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_GT(pid, 0);
        const bool up = WaitFor([] {
            return Framed("Corvane Icom") && Framed("Corvane - Memories") && Framed("TX/RX");
        });
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(up) << "run " << run << ": the windows did not come up";
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "run " << run;
        runs.push_back(StoredPlaces(registry));
    }
    for (const auto& [window, place] : runs[0]) {
        EXPECT_NE(place, "none") << window << " stored no place";
        // The main window keeps no stored size: the first start lays it out from nothing, and
        // from the second start on it comes back as it was left.
        const bool main = window.rfind(settings::reg::MainWindowRect.section, 0) == 0;
        if (!main) {
            EXPECT_EQ(runs[1][window], place) << window;
        }
        EXPECT_EQ(runs[2][window], runs[1][window]) << window;
    }
}
