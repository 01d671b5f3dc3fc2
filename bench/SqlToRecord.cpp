#include "SqlToRecord.h"

#include "AudioRecorder.h"
#include "CorvaneApp.h"
#include "CorvaneDlg.h"
#include "FrameworkContext.h"
#include "MainWindowFactory.h"
#include "MessagePump.h"
#include "Ini.h"
#include "Profile.h"
#include "ProgramParts.h"
#include "RadioModes.h"
#include "RemoteCodes.h"

#include <QTimer>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using ControlFn = int (*)(const char*, char*, int);

template <typename Pred>
bool PumpUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const auto end = Clock::now() + limit;
    while (!pred()) {
        if (Clock::now() > end)
            return false;
        platform::WaitPumpingMessages(1);
    }
    return true;
}

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The openings, inside the running window; empty when something did not work.
std::vector<SqlOpening> Openings(CCorvaneDlg& w, const fs::path& folder, int openings)
{
    auto* bar = qobject_cast<CAudioRecorder*>(w.ToolWindow(CAudioRecorder::kTemplateId));
    void* lib = ::dlopen((folder / "VekDriver.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (bar == nullptr || lib == nullptr)
        return {};
    auto control = reinterpret_cast<ControlFn>(::dlsym(lib, "SimRadioControl"));
    ::dlclose(lib);
    if (control == nullptr || !PumpUntil([&] { return w.Controller().State().frequencyHz > 0; }))
        return {};
    const long long hz = w.Controller().State().frequencyHz;
    const std::string signal =
        "signal " + std::to_string(hz - 100000) + " " + std::to_string(hz + 100000) + " 120";
    const auto& state = w.Controller().State();
    control("mode FM", nullptr, 0);
    control(signal.c_str(), nullptr, 0);
    if (!PumpUntil([&] { return state.mode == radio::kFm && state.squelchOpen; })
        || w.RemoteCommand(remote::kRecord, 1) != 0)
        return {};
    std::vector<SqlOpening> ms;
    for (int i = 0; i < openings; ++i) {
        control("signals clear", nullptr, 0);
        if (!PumpUntil([&] { return bar->Paused(); }))
            break;
        // Blocks may still be on their way: wait until the file stands still.
        platform::WaitPumpingMessages(100);
        const std::int64_t paused = bar->Engine().GetPositionBytes();
        platform::WaitPumpingMessages(100 + 37 * (i % 5));
        const auto opened = Clock::now();
        control(signal.c_str(), nullptr, 0);
        // Each step noted as the pump first sees it.
        std::optional<Clock::time_point> heard;
        std::optional<Clock::time_point> resumed;
        if (!PumpUntil([&] {
                const auto now = Clock::now();
                if (!heard && state.squelchOpen)
                    heard = now;
                if (!resumed && !bar->Paused())
                    resumed = now;
                return bar->Engine().GetPositionBytes() > paused;
            }))
            break;
        const auto written = Clock::now();
        ms.push_back({Ms(opened, heard.value_or(written)), Ms(opened, resumed.value_or(written)),
                      Ms(opened, written)});
    }
    w.RemoteCommand(remote::kRecord, 0);
    PumpUntil([&] { return !bar->Recording(); });
    return ms;
}

}  // namespace

std::optional<SqlOpening> MeasureSqlToRecordMs(const std::string& binDir,
                                               const std::string& firstRun, int openings)
{
    const fs::path folder = fs::temp_directory_path() / ("bench-sql-" + std::to_string(getpid()));
    fs::create_directories(folder / "Drivers");
    fs::copy_file(binDir + "/Drivers/SimRadio.so", folder / "Drivers/SimRadio.so");
    fs::copy_file(binDir + "/English.lng", folder / "English.lng");
    fs::copy_file(binDir + "/tolvash", folder / "tolvash");
    fs::copy_file(firstRun, folder / "Corvane.ini");
    {
        CIni ini;
        ini.SetPath((folder / "Corvane.ini").c_str());
        ini.WriteInt("AudioRecorder", "Abilitato", 1);
        ini.WriteInt("AudioRecorder", "RecSQL", 1);
        ini.WriteString("AudioRecorder", "AudioFile", "sql.wav");
    }
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    ::setenv("SIMRADIO_LATENCY", "20", 1);
    fs::create_directories(folder / "Dravik/Corvane");
    Profile registry((folder / "Dravik/Corvane/registry.ini").string());
    registry.Write(settings::reg::AudioFolder, folder.string());

    std::vector<SqlOpening> ms;
    {
        CMainWindowFactory factory(ProgramParts());
        CCorvaneApp::Setup setup;
        setup.executablePath = (folder / "Corvane").string();
        setup.profile = &registry;
        setup.mainWindow = &factory;
        CCorvaneApp app(setup);
        // No one answers a question here: every Yes/No is No.
        app.Language().SetMessageBoxSink([](const MessageBoxRequest& r) {
            std::fprintf(stderr, "bench: message box: %s\n", r.text.c_str());
            return (r.style & mb::kButtonsMask) == mb::kYesNo ? mb::kIdNo : mb::kIdOk;
        });
        framework::SetLanguage(&app.Language());
        framework::SetIni(&app.Ini());
        bool ran = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            CCorvaneDlg* w = factory.Window();
            if (ran || w == nullptr || !w->isVisible() || !w->IsInitialised())
                return;
            ran = true;
            poll.stop();
            ms = Openings(*w, folder, openings);
            w->PostClose();
        });
        poll.start();
        app.InitInstance();
        framework::SetIni(nullptr);
        framework::SetLanguage(nullptr);
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (ms.size() != static_cast<std::size_t>(openings))
        return std::nullopt;
    std::vector<double> heard;
    std::vector<double> resumed;
    std::vector<double> written;
    for (const SqlOpening& o : ms) {
        heard.push_back(o.heardMs);
        resumed.push_back(o.resumedMs);
        written.push_back(o.writtenMs);
    }
    return SqlOpening{Median(heard), Median(resumed), Median(written)};
}
