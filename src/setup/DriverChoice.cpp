#include "DriverChoice.h"

#include <QApplication>
#include <QCursor>

#include "DriverInstall.h"
#include "Ini.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"
#include "VekDriver.h"
#include "WindowMessages.h"

#include <chrono>
#include <thread>

namespace setup {

namespace {

constexpr auto kSettleTime = std::chrono::milliseconds(100);
constexpr const char* kPollingOffPrefix = "VekClient";

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

bool InstallChosenDriver(const SetupContext& context, const std::string& entry)
{
    WaitCursor wait;
    if (context.driver != nullptr && context.driver->IsLoaded()) {
        // Unload stops the driver first, after every running call has returned.
        context.driver->Unload();
        std::this_thread::sleep_for(kSettleTime);
    }
    std::string error;
    switch (InstallDriver(context.programFolder, entry, &error)) {
    case DriverInstallResult::kNotADriver: return false;
    case DriverInstallResult::kFailed:
        context.language.MessageBoxText(error, mb::kOk | mb::kIconError);
        return false;
    case DriverInstallResult::kUpToDate:
    case DriverInstallResult::kCopied: break;
    }
    if (entry.size() > 9 && entry.compare(0, 9, kPollingOffPrefix) == 0)
        context.ini.WriteInt(settings::currentset::Polling, 0);
    return true;
}

DriverSupport QueryDriverSupport(const SetupContext& context, const std::string& entry)
{
    const std::string name = DriverEntryFileName(entry);
    if (!platform::IsPlainName(name))
        return {};
    const std::string path = platform::ResolveInFolder(
        platform::ResolveInFolder(context.programFolder, "Drivers"), name);
    cat::CVekDriver probe;
    if (!probe.Load(path))
        return {};
    DriverSupport support{probe.IsSupportPTT() != 0, probe.IsSupportAudio() != 0};
    probe.Unload();
    return support;
}

bool RunDriverSetup(const SetupContext& context)
{
    cat::CVekDriver own;
    cat::CVekDriver& driver = context.driver != nullptr ? *context.driver : own;
    const std::string path =
        platform::ResolveInFolder(context.programFolder, cat::CVekDriver::kLibraryName);
    if (!driver.Load(path)) {
        context.language.MessageBoxText(driver.LastError(), mb::kOk | mb::kIconError);
        return false;
    }
    driver.Setup(context.driverOwner, msg::kDriverHelp);
    return true;
}

}  // namespace setup
