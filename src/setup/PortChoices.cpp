#include "PortChoices.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

#include "DriverInstall.h"
#include "ProgramFolder.h"
#include "VersionInfo.h"

namespace setup {

namespace {

constexpr int kMaxPortNumber = 255;

std::string RealPath(const std::string& path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

// devFolder/serial/by-id: the device each name points to, resolved.
std::map<std::string, std::string> ByIdNames(const std::string& devFolder)
{
    std::map<std::string, std::string> names;
    const std::string folder = platform::JoinPath(devFolder, "serial/by-id");
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string target = RealPath(platform::JoinPath(folder, name));
            if (!target.empty())
                names.emplace(target, name);
        }
        ::closedir(dir);
    }
    return names;
}

std::vector<platform::SerialPortEntry> AllPorts(const platform::SerialPortScan& scan,
                                                const std::map<int, std::string>& pending)
{
    std::map<int, platform::SerialPortEntry> ports;
    for (auto& entry : platform::ListSerialPorts(scan))
        ports[entry.number] = entry;
    for (const auto& [number, device] : pending)
        ports[number] = platform::SerialPortEntry{number, device, IsCharacterDevice(device), true};
    std::vector<platform::SerialPortEntry> list;
    for (auto& [number, entry] : ports)
        list.push_back(std::move(entry));
    return list;
}

}  // namespace

bool EnumerateSerialPorts(
    const platform::SerialPortScan& scan, const std::map<int, std::string>& pendingMappings,
    const std::function<void(const std::string& name, const std::string& friendlyName)>& found)
{
    const auto byId = ByIdNames(scan.devFolder);
    for (const auto& port : AllPorts(scan, pendingMappings)) {
        std::string friendly = port.device;
        if (!port.exists) {
            friendly += " (absent)";
        } else if (const auto it = byId.find(RealPath(port.device)); it != byId.end()) {
            friendly += " (" + it->second + ")";
        }
        found(platform::PortName(port.number), friendly);
    }
    return true;
}

std::string PortEntryText(const std::string& name, const std::string& friendlyName)
{
    return name + " - " + friendlyName + " ";
}

std::vector<std::string> DriverEntries(const std::string& programFolder)
{
    const std::string folder = platform::ResolveInFolder(programFolder, "Drivers");
    std::vector<std::string> entries;
    for (const std::string& name : platform::GlobFolder(folder, "*.so")) {
        const std::string path = platform::JoinPath(folder, name);
        const platform::CVersionInfoReader reader(path);
        std::string entry = name + " - ";
        if (reader.HasDescription())
            entry += reader.GetString("FileDescription") + " - ";
        entries.push_back(entry + DriverVersionText(path));
    }
    return entries;
}

int PortNumberForDevice(const platform::SerialPortScan& scan,
                        const std::map<int, std::string>& pendingMappings,
                        const std::string& device)
{
    const std::string real = RealPath(device);
    std::set<int> used;
    for (const auto& port : AllPorts(scan, pendingMappings)) {
        if (port.device == device || (!real.empty() && RealPath(port.device) == real))
            return port.number;
        used.insert(port.number);
    }
    for (int n = 1; n <= kMaxPortNumber; ++n)
        if (used.count(n) == 0)
            return n;
    return 0;
}

bool IsCharacterDevice(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

}  // namespace setup
