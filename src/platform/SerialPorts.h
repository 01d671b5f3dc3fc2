// Serial port numbers (COMn) and the devices behind them.
//
// A number maps to a device through the registry key Software\Dravik\Corvane\Ports, value "COMn"
// = device path. Numbers without an entry go to the serial devices found, in a stable order:
// /dev/ttyS0.. first, then /dev/ttyUSB*, then /dev/ttyACM*, each sorted by its number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryProfile;

inline constexpr const char* kPortsKey = "Software\\Dravik\\Corvane\\Ports";

struct SerialPortEntry {
    int number = 0;       // n of COMn, from 1
    std::string device;   // full device path
    bool exists = false;  // the device is present now
    bool mapped = false;  // taken from the registry rather than found
};

// Where devices are looked for; the default is "/dev". Tests point it at a folder of their own.
struct SerialPortScan {
    std::string devFolder = "/dev";
    const RegistryProfile* registry = nullptr;  // null: the user's registry profile
};

// "COM3" -> 3; 0 for anything else (no number, leading zero, out of 1..255).
int ParsePortName(std::string_view name);
std::string PortName(int number);

// The found devices in numbering order (full paths); index i is COM(i + 1).
std::vector<std::string> FindSerialDevices(const std::string& devFolder = "/dev");

// The device for COMn, or "" when the number is not mapped and no device has it.
std::string SerialPortDevice(int number, const SerialPortScan& scan = {});

// Every known port, by number: the found devices and every registry entry (which wins for its
// number). Entries name absolute device paths; others are ignored.
std::vector<SerialPortEntry> ListSerialPorts(const SerialPortScan& scan = {});

}  // namespace platform
