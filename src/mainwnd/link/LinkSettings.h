// The settings the radio link and the radio layer read when the link opens, with their defaults
// and the clamps that keep stored values usable.
#pragma once

#include <string>

#include "RadioModel.h"
#include "SerialParams.h"

class CIni;
class Profile;

struct LinkColour {
    int r = 0, g = 0, b = 0;
};

// The part read before the validity test.
struct LinkIdentity {
    LinkColour background;
    LinkColour text;
    LinkColour checkOn;
    int port = 0;          // Setup/"Porta"; 0 = the driver named by `driver`, or kInvalidPort
    std::string portText;  // Setup/"Porta" as stored, for the message that refuses it
    std::string driver;    // Setup/"Driver"
    int address = 0;       // Setup/"Indirizzo"
    int model = radio::kModelUnknown;
};

struct LinkSettings {
    LinkIdentity id;
    int fontDisplaySize = 26;
    bool extendedFunctions = false;
    int baud = 1200;
    int dataBits = 8;
    char parity = 'N';
    int stopBits = 1;
    std::string handshake = "HARD";
    int rts = 1;
    int dtr = 1;
    int portMode = 0;  // 0 listener back-end, else monitor back-end
    int pttPort = 0;
    int pttPin = 0;
    std::string pttCopyOn = "@[on]@";
    std::string pttCopyOff = "@[off]@";
    int pttFront = 1;
    int pttKey = 0;
    int tuneSeconds = 5;
    std::string logPath;
    int utcOffset = 127;  // 127 = take the offset from the system
    int delayCommand = 100;
    int delayMemory = 500;
    int sMeterLower = 38;
    int sMeterDivisor = 10;
    int pollInterval = 300;  // S-Meter/"Refresh"
    int timeout = 200;
    int toolTips = 1;
    int updateDays = 30;
    unsigned char lastUpdateCheck[8] = {};
    int latency = 0;
    int recorderEnabled = 2;
    int recorderFront = 0;
};

inline constexpr int kUtcOffsetAuto = 127;
// A stored "Porta" that is no port number (out of range, negative or no number at all).
inline constexpr int kInvalidPort = -1;

// Colours, port, driver, address and model. "Porta" reads as 0 (driver) when absent.
LinkIdentity ReadLinkIdentity(const CIni& ini);
// A COM port or a driver entry, an address and a model.
bool IsConfigValid(const LinkIdentity& id);
// Setup/"VersioneG": 2 (undecided) takes the flag from the model and stores it.
bool ResolveExtendedFunctions(CIni& ini, int model);
// Everything else; an absent "Porta" with no driver chosen means COM1.
void ReadRemainingSettings(const CIni& ini, const Profile& profile, LinkSettings& settings);
// The PTT keys alone, read again after the PTT settings changed.
void ReadPttKeys(const CIni& ini, LinkSettings& settings);
// The CAT port's framing with both lines off and no flow control, for every port the link opens.
cat::SerialParams CatPortFraming(const LinkSettings& settings);
// "AUTO" (any case) or text that is no hour offset gives kUtcOffsetAuto.
int ParseUtcOffset(const std::string& text);
