// What the port dialog offers: the serial ports of the machine with names a person can tell
// apart, the radio drivers of the program's "Drivers" folder, and a device given by its path.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "SerialPorts.h"

namespace setup {

// Calls `found` once per port ("COMn" and its friendly name: the device path, plus its
// /dev/serial/by-id name where one exists, or "(absent)" for a mapped device not present).
// Mappings not yet stored (chosen in this session) count as registry entries.
bool EnumerateSerialPorts(
    const platform::SerialPortScan& scan, const std::map<int, std::string>& pendingMappings,
    const std::function<void(const std::string& name, const std::string& friendlyName)>& found);

// A port's list entry: "COMn - friendly name " (its key is the port name).
std::string PortEntryText(const std::string& name, const std::string& friendlyName);

// "Name.so - Description - Ver. 1.2.5" of every "*.so" of folder/Drivers (no description: the
// middle part is left out), sorted by file name.
std::vector<std::string> DriverEntries(const std::string& programFolder);

// The port number a device given by path takes: its own number when a device or mapping
// already has it, else the first number neither uses. 0 when every number is taken.
int PortNumberForDevice(const platform::SerialPortScan& scan,
                        const std::map<int, std::string>& pendingMappings,
                        const std::string& device);

// Whether `path` is a character device (a serial line or a pseudo-terminal).
bool IsCharacterDevice(const std::string& path);

}  // namespace setup
