// The texts of the configuration dialog's three summary buttons (port, PTT, audio).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "SetupValues.h"

class CIni;
class CLanguage;
class Profile;
namespace audio {
class WaveSystem;
}

namespace setup {

// What the chosen driver library says it does itself.
struct DriverSupport {
    bool ptt = false;
    bool audio = false;
};

// A COM port: "COM3:19200,8,1,N,RTS ON,DTR OFF"; a driver: its entry.
std::string PortSummary(const SetupValues& values);

// PTT on the CAT port itself: the CAT port's value of the line that keys is switched off.
void ReleasePttLineOnCatPort(SetupValues& values);

// "PTT: <driver file>" when the driver keys, else "PTT enabled on COM3: DTR" or "PTT disabled".
std::string PttSummary(const CLanguage& language, const SetupValues& values,
                       const DriverSupport& driver);

struct AudioSummaryResult {
    std::string text;
    int engineError = 0;  // the wave engine's error when it could not be opened, else 0
    std::string problem;  // the device and the cause of that error, when the engine could tell
};
// The driver's audio, "Audio support disabled", or the stored recording format as the wave
// engine names it (the engine is opened over `system` and closed again). Without a system the
// engine cannot open: error 1. The system is made only when the engine is needed.
using WaveSystemFactory = std::function<std::unique_ptr<audio::WaveSystem>()>;
AudioSummaryResult AudioSummary(const CLanguage& language, const CIni& ini, const Profile& registry,
                                const SetupValues& values, const DriverSupport& driver,
                                const WaveSystemFactory& makeSystem);

}  // namespace setup
