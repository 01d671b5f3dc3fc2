#include "SerialPorts.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <map>
#include <sys/stat.h>

#include "AsciiCase.h"
#include "PrivateProfile.h"
#include "RegistryProfile.h"

namespace platform {

namespace {

constexpr int kMaxPortNumber = 255;

// The number after `prefix` when the rest of `name` is decimal digits only.
bool NumberAfter(std::string_view name, std::string_view prefix, unsigned long& number)
{
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 9)
        return false;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return ec == std::errc() && ptr == digits.data() + digits.size();
}

bool PathExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Registry entries COMn -> absolute device path.
std::map<int, std::string> MappedPorts(const RegistryProfile* registry)
{
    RegistryProfile own;
    const RegistryProfile& reg = registry != nullptr ? *registry : own;
    std::map<int, std::string> mapped;
    const std::string file = reg.FilePath();
    if (file.empty())
        return mapped;
    for (const std::string& name : ReadProfileKeyNames(file, reg.KeyPath(kPortsKey))) {
        const int number = ParsePortName(name);
        if (number == 0)
            continue;
        const std::string device = reg.GetProfileString(kPortsKey, name);
        if (device.empty() || device.front() != '/')
            continue;  // a relative path would depend on the current folder
        mapped[number] = device;
    }
    return mapped;
}

}  // namespace

int ParsePortName(std::string_view name)
{
    if (name.size() < 4 || !AsciiIStartsWith(name, "COM") || name[3] == '0')
        return 0;
    unsigned long number = 0;
    const std::string_view digits = name.substr(3);
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || number > kMaxPortNumber)
        return 0;
    return static_cast<int>(number);
}

std::string PortName(int number)
{
    return "COM" + std::to_string(number);
}

std::vector<std::string> FindSerialDevices(const std::string& devFolder)
{
    static const char* const kFamilies[] = {"ttyS", "ttyUSB", "ttyACM"};
    std::vector<std::pair<unsigned long, std::string>> found[3];
    if (DIR* dir = ::opendir(devFolder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            unsigned long number = 0;
            for (int family = 0; family < 3; ++family)
                if (NumberAfter(name, kFamilies[family], number)) {
                    found[family].emplace_back(number, std::string(name));
                    break;
                }
        }
        ::closedir(dir);
    }
    std::string folder = devFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    std::vector<std::string> devices;
    for (auto& family : found) {
        std::sort(family.begin(), family.end());
        for (const auto& [number, name] : family)
            devices.push_back(folder + name);
    }
    return devices;
}

std::string SerialPortDevice(int number, const SerialPortScan& scan)
{
    if (number < 1 || number > kMaxPortNumber)
        return {};
    const auto mapped = MappedPorts(scan.registry);
    if (const auto it = mapped.find(number); it != mapped.end())
        return it->second;
    const auto devices = FindSerialDevices(scan.devFolder);
    if (static_cast<size_t>(number) <= devices.size())
        return devices[static_cast<size_t>(number) - 1];
    return {};
}

std::vector<SerialPortEntry> ListSerialPorts(const SerialPortScan& scan)
{
    std::map<int, SerialPortEntry> ports;
    const auto devices = FindSerialDevices(scan.devFolder);
    for (size_t i = 0; i < devices.size() && i < static_cast<size_t>(kMaxPortNumber); ++i) {
        const int number = static_cast<int>(i) + 1;
        ports[number] = SerialPortEntry{number, devices[i], true, false};
    }
    for (const auto& [number, device] : MappedPorts(scan.registry))
        ports[number] = SerialPortEntry{number, device, PathExists(device), true};
    std::vector<SerialPortEntry> list;
    list.reserve(ports.size());
    for (auto& [number, entry] : ports)
        list.push_back(std::move(entry));
    return list;
}

}  // namespace platform
