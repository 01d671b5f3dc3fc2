// What the configuration and port dialogs work with: the stores, the program folder, the serial
// devices, the main window's driver binding and the hooks the program installs.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "SerialPorts.h"

class CIni;
class CLanguage;
class Profile;
class QWidget;
namespace cat {
class CVekDriver;
}
namespace audio {
class WaveSystem;
}

namespace setup {

struct SetupContext {
    SetupContext(CIni& ini_, Profile& registry_, CLanguage& language_, std::string folder)
        : ini(ini_), registry(registry_), language(language_), programFolder(std::move(folder))
    {
    }

    CIni& ini;
    Profile& registry;
    CLanguage& language;
    std::string programFolder;
    platform::SerialPortScan scan;
    // The window's driver binding, stopped and unloaded before a driver is installed; null when
    // there is none.
    cat::CVekDriver* driver = nullptr;
    // The owner handed to the driver's own setup dialog.
    QWidget* driverOwner = nullptr;
    // The audio settings dialog, given the driver-mode flag; null: the button is disabled.
    std::function<void(bool driverMode)> audioDialog;
    // The sound devices for the audio summary; null: the wave engine cannot open.
    std::function<std::unique_ptr<audio::WaveSystem>()> audioSystem;
};

}  // namespace setup
