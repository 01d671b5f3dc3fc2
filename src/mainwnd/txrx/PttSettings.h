// How the transmitter is keyed when the radio link does not do it, as the INI holds it: the PTT
// port and its line, the keying key, the clipboard texts, keep-in-front and the tune time; and
// the texts the settings dialog and the TX/RX window show for them.
#pragma once

#include <string>
#include <string_view>

class CIni;

namespace txrx {

inline constexpr int kPttPortCount = 40;  // the dialog offers COM1 .. COM40
enum PttPin : int { kPinRts = 0, kPinDtr = 1 };

struct PttSettings {
    int port = 0;       // Setup/"PTTPorta": 0 none, else COMn
    int pin = kPinRts;  // Setup/"PTTPin": 1 DTR, anything else RTS
    int key = 0;        // Setup/"PTTKey": a virtual-key code, 0 none
    std::string copyOn = "@[on]@";
    std::string copyOff = "@[off]@";
    bool front = true;    // Setup/"PTTFront"
    int tuneSeconds = 5;  // TxRx/"TuneSec", 0..600
};

// A port number outside 0..255 reads as no port; TuneSec is clamped.
PttSettings ReadPttSettings(const CIni& ini);
// Writes every key at once; false (reason in ini.LastError()) when the file kept its old content.
bool WritePttSettings(CIni& ini, const PttSettings& settings);

bool UsesDtr(const PttSettings& settings);

// The port list's text: "OFF" or "COMn"; and back (the whole number of "COMn", else 0).
std::string PortText(int port);
int PortFromText(std::string_view text);
// The key list: "NONE", "CTRL", "ALT GR", "F11", "F12" for 0, 17, 18, 122, 123. Another code
// shows "NONE"; another text gives 0.
std::string KeyText(int code);
int KeyFromText(std::string_view text);
// The key's name in the TX/RX window: as above, but a single blank for none or another code.
std::string KeyName(int code);

}  // namespace txrx
