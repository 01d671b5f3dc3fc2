// The values the configuration dialog edits, as it reads them (each with its default), checks
// them and writes them: all of them or, when one is refused, none.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "ColorRef.h"
#include "PttSettings.h"

class CIni;
class Profile;

namespace setup {

struct SetupValues {
    // The link: a COM port ("COMn") or a driver entry.
    bool driverMode = false;
    std::string portText = "COM1";
    std::string driverEntry;
    std::string speedText = "19200";
    int dataBits = 8;
    int stopBits = 1;
    std::string parity = "N";
    int rts = 1;
    int dtr = 1;
    int portMode = 0;
    // Devices given by path in the port dialog: COMn -> device, stored in the registry at OK.
    std::map<int, std::string> portMappings;

    txrx::PttSettings ptt;

    int model = -1;  // 0..4, -1 none chosen
    bool extendedFunctions = false;
    std::string addressText = "0";  // hexadecimal

    int sMeterLower = 38;
    int sMeterDivisor = 10;
    int sMeterRefresh = 300;
    int clipboardFactor = 1000;
    bool clipboardAuto = true;
    std::string decimalChar = ".";
    std::string utcOffset = "AUTO";
    std::string logFile;
    int delayCommand = 100;
    int timeout = 200;

    COLORREF background = RgbColor(0, 0, 0);
    COLORREF text = RgbColor(90, 230, 90);
    COLORREF checkOn = RgbColor(255, 0, 0);

    bool toolTips = true;
    int updateDays = 30;
    int latency = 0;
    std::string fontMain;
    std::string fontOther;
    int fontSizeMain = 8;
    int fontSizeOther = 8;
};

// Every value with its default; an absent font face is `defaultFace`.
SetupValues ReadSetupValues(const CIni& ini, const Profile& registry,
                            const std::string& defaultFace);

// One or two hexadecimal digits of a value 1..255; nullopt for anything else.
std::optional<int> ParseAddress(const std::string& text);

enum class SetupRefusal { kNone, kAddress, kModel, kPort };
// The first value OK refuses, in the order the dialog checks them.
SetupRefusal CheckSetupValues(const SetupValues& values);

// Writes every value (after CheckSetupValues passed): the INI in one rewrite, then the registry.
// False with the reason in `error` when a file could not be written (it keeps its old content).
bool WriteSetupValues(CIni& ini, Profile& registry, const SetupValues& values, std::string* error);

// "Restore Default": deletes the display, S-meter, clipboard, time and general keys and asks for
// the window places and fonts to be reset at the next start. Port, PTT, model and address stay.
bool RestoreDefaultSettings(CIni& ini, Profile& registry, std::string* error);

}  // namespace setup
