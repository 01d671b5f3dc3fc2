// Settings read by more than one window, each with its section, key text, store and default.
//
// Readers go through these descriptors (CIni and Profile take them directly), so no reader
// invents its own default. Where readers differ on purpose, each reader's default has its own
// named constant (e.g. Baud: 1200 when the link opens, 19200 shown in the dialog).
#pragma once

namespace settings {

enum class Store { Ini, Registry };

// INI values.
struct IniInt {
    const char* section;
    const char* key;
    int def;
    static constexpr Store store = Store::Ini;
};
struct IniString {
    const char* section;
    const char* key;
    const char* def;
    static constexpr Store store = Store::Ini;
};
// 8 bytes as 16 hex digits, section "Setup"; no default (absent = 0 bytes).
struct IniBytes {
    const char* section;
    const char* key;
    static constexpr Store store = Store::Ini;
};

// Registry profile values; the section is the key below Software\Dravik\Corvane.
struct RegInt {
    const char* section;
    const char* key;
    int def;
    static constexpr Store store = Store::Registry;
};
struct RegString {
    const char* section;
    const char* key;
    const char* def;
    static constexpr Store store = Store::Registry;
};
// A binary block; no default (absent = none stored).
struct RegBinary {
    const char* section;
    const char* key;
    static constexpr Store store = Store::Registry;
};
// A window rectangle stored as four integers; absent = the window's default place.
struct RegRect {
    const char* section;
    const char* top;
    const char* bottom;
    const char* left;
    const char* right;
    static constexpr Store store = Store::Registry;
};

// ---- INI, section "Setup" ----
namespace setup {
inline constexpr const char* kSection = "Setup";

inline constexpr IniInt Indirizzo{kSection, "Indirizzo", 0};
// Not 0: the beta number the title and the information page show.
inline constexpr IniInt Beta{kSection, "Beta", 0};
inline constexpr IniInt RTX{kSection, "RTX", -1};
// Absent (2) at link set-up asks for the flag to be derived from the model and stored.
inline constexpr IniInt VersioneGAtLink{kSection, "VersioneG", 2};
inline constexpr IniInt VersioneGInDialog{kSection, "VersioneG", 0};
// The link opens at 1200 until the dialog, which shows 19200, has been confirmed once.
inline constexpr IniInt BaudAtLink{kSection, "Baud", 1200};
inline constexpr IniInt BaudInDialog{kSection, "Baud", 19200};
inline constexpr IniInt Bit{kSection, "Bit", 8};
inline constexpr IniString Parita{kSection, "Parita", "N"};
inline constexpr IniInt Stop{kSection, "Stop", 1};
inline constexpr IniInt RTS{kSection, "RTS", 1};
inline constexpr IniInt DTR{kSection, "DTR", 1};
inline constexpr IniInt PortaModo{kSection, "PortaModo", 0};
// 0 = the driver named by "Driver". The link set-up's first read (default 0) tests for driver
// mode; every other reader, and the second read with an empty "Driver", uses 1 (COM1).
inline constexpr IniInt Porta{kSection, "Porta", 1};
inline constexpr IniInt PortaDriverTest{kSection, "Porta", 0};
inline constexpr IniString Driver{kSection, "Driver", ""};
inline constexpr IniString DriverInPortDialog{kSection, "Driver", "COM1"};
inline constexpr IniString Handshake{kSection, "Handshake", "HARD"};
inline constexpr IniString Log{kSection, "Log", ""};
inline constexpr IniString UTCOffset{kSection, "UTCOffset", "AUTO"};
inline constexpr IniInt DelayCommand{kSection, "DelayCommand", 100};
inline constexpr IniInt DelayMemory{kSection, "DelayMemory", 500};
inline constexpr IniInt Timeout{kSection, "Timeout", 200};
inline constexpr IniInt PTTPorta{kSection, "PTTPorta", 0};
inline constexpr IniInt PTTPin{kSection, "PTTPin", 0};
inline constexpr IniInt PTTKey{kSection, "PTTKey", 0};
inline constexpr IniString PTTCopyON{kSection, "PTTCopyON", "@[on]@"};
inline constexpr IniString PTTCopyOFF{kSection, "PTTCopyOFF", "@[off]@"};
// The dialogs and the TX/RX window use 1; one reader in the main window uses 0.
inline constexpr IniInt PTTFront{kSection, "PTTFront", 1};
inline constexpr IniInt PTTFrontInMainWindow{kSection, "PTTFront", 0};
inline constexpr IniInt BkgR{kSection, "BkgR", 0};
inline constexpr IniInt BkgG{kSection, "BkgG", 0};
inline constexpr IniInt BkgB{kSection, "BkgB", 0};
inline constexpr IniInt TextR{kSection, "TextR", 90};
inline constexpr IniInt TextG{kSection, "TextG", 230};
inline constexpr IniInt TextB{kSection, "TextB", 90};
inline constexpr IniInt CheckOnR{kSection, "CheckOnR", 255};
inline constexpr IniInt CheckOnG{kSection, "CheckOnG", 0};
inline constexpr IniInt CheckOnB{kSection, "CheckOnB", 0};
inline constexpr IniInt ToolTips{kSection, "ToolTips", 1};
inline constexpr IniInt GiorniUpd{kSection, "GiorniUpd", 30};
inline constexpr IniInt Latency{kSection, "Latency", 0};
inline constexpr IniString Language{kSection, "Language", ""};
inline constexpr IniInt LimiteInferiore{kSection, "LimiteInferiore", 0};
inline constexpr IniInt LimiteSuperiore{kSection, "LimiteSuperiore", 0};
inline constexpr IniBytes UltimoCheckUpd{kSection, "UltimoCheckUpd"};
inline constexpr IniInt ImportEseguito{kSection, "ImportEseguito", 0};
}  // namespace setup

// ---- INI, other sections ----
namespace txrx {
inline constexpr IniInt TuneSec{"TxRx", "TuneSec", 5};
// The tune carrier's time as read and as written: 0..600 s, so its wait in ms cannot overflow.
inline constexpr int kTuneSecondsMax = 600;
constexpr int ClampTuneSeconds(int seconds)
{
    return seconds < 0 ? 0 : seconds > kTuneSecondsMax ? kTuneSecondsMax : seconds;
}
inline constexpr IniInt TotalTimeO{"TxRx", "TotalTimeO", 0};  // hours
inline constexpr IniInt TotalTimeM{"TxRx", "TotalTimeM", 0};
inline constexpr IniInt TotalTimeS{"TxRx", "TotalTimeS", 0};
}  // namespace txrx

namespace smeter {
inline constexpr IniInt Inferiore{"S-Meter", "Inferiore", 38};
inline constexpr IniInt Divisore{"S-Meter", "Divisore", 10};
inline constexpr IniInt Refresh{"S-Meter", "Refresh", 300};
}  // namespace smeter

namespace cluster {
inline constexpr IniInt AutoMode{"Cluster", "AutoMode", 1};
inline constexpr IniInt Moltiplicatore{"Cluster", "Moltiplicatore", 1000};
inline constexpr IniInt Decimale{"Cluster", "Decimale", 46};
}  // namespace cluster

namespace currentset {
inline constexpr IniInt Polling{"CurrentSet", "Polling", 1};
// Minutes the program has run, all starts together.
inline constexpr IniInt Vita{"CurrentSet", "Vita", 0};
// What the memory sync does with a channel present on both sides (0 nothing, 1 to the program,
// 2 to the radio).
inline constexpr IniInt SeEsisteMem{"CurrentSet", "SeEsisteMem", 0};
}  // namespace currentset

namespace audiorecorder {
// The audio and configuration dialogs use 1; the link set-up uses 2 ("ask about the settings").
inline constexpr IniInt Abilitato{"AudioRecorder", "Abilitato", 1};
inline constexpr IniInt AbilitatoAtLink{"AudioRecorder", "Abilitato", 2};
inline constexpr IniString AudioFile{"AudioRecorder", "AudioFile", "AUTO"};
inline constexpr IniInt Front{"AudioRecorder", "Front", 0};
}  // namespace audiorecorder

// ---- Registry profile ----
// The view of the PC memories list (focused cell, sort).
namespace memorie {
inline constexpr const char* kSection = "Memorie";
inline constexpr IniInt RigaCorrente{kSection, "RigaCorrente", 1};
inline constexpr IniInt ColonnaCorrente{kSection, "ColonnaCorrente", 0};
inline constexpr IniInt ColonnaOrdinamento{kSection, "ColonnaOrdinamento", 0};
inline constexpr IniInt ModoOrdinamento{kSection, "ModoOrdinamento", 1};
inline constexpr IniString Gruppo{kSection, "Gruppo", "_base"};
inline constexpr IniString LastFileCsv{kSection, "LastFileCsv", "MemIC706pc.csv"};
// The range of the memory reads and the sync, and whether a read keys to measure the duplex.
inline constexpr IniInt LeggiDa{kSection, "LeggiDa", 1};
inline constexpr IniInt LeggiA{kSection, "LeggiA", 99};
inline constexpr IniInt UsaPTT{kSection, "UsaPTT", 0};
}  // namespace memorie

// The view of the radio memories list, and whether it drives the radio's memory.
namespace memorieradio {
inline constexpr const char* kSection = "MemorieRadio";
inline constexpr IniInt RigaCorrente{kSection, "RigaCorrente", 1};
inline constexpr IniInt ColonnaCorrente{kSection, "ColonnaCorrente", 0};
inline constexpr IniInt ColonnaOrdinamento{kSection, "ColonnaOrdinamento", 0};
inline constexpr IniInt ModoOrdinamento{kSection, "ModoOrdinamento", 1};
inline constexpr IniInt RTM{kSection, "RTM", 1};
inline constexpr IniString LastFileCsv{kSection, "LastFileCsv", "MemIC706.csv"};
// Whether the memory sync keys to measure the duplex.
inline constexpr IniInt UsaPTT{kSection, "UsaPTT", 0};
}  // namespace memorieradio

// The memory lists' CSV files: the separators and the file the dialog offers by default.
namespace importexport {
inline constexpr IniString Campi{"ImportExport", "Campi", ";"};
inline constexpr IniString Decimali{"ImportExport", "Decimali", ","};
inline constexpr IniString PathFile{"ImportExport", "PathFile", ""};
}  // namespace importexport

namespace reg {
inline constexpr RegRect MainWindowRect{"CurrentSet", "MainTop", "MainBottom", "MainLeft",
                                        "MainRight"};
inline constexpr RegRect MemorieRect{"Memorie", "Top", "Bottom", "Left", "Right"};
inline constexpr RegRect MemorieRadioRect{"MemorieRadio", "Top", "Bottom", "Left", "Right"};
inline constexpr RegRect TxRxRect{"TxRx", "Top", "Bottom", "Left", "Right"};
inline constexpr RegRect AudioRecorderRect{"AudioRecorder", "Top", "Bottom", "Left", "Right"};

inline constexpr RegString FontMain{"CurrentSet", "FontMain", ""};
inline constexpr RegString FontOther{"CurrentSet", "FontOther", ""};
// 0 at start-up keeps the template font; the configuration dialog shows 8.
inline constexpr RegInt FontSizeMainAtStartup{"CurrentSet", "FontSizeMain", 0};
inline constexpr RegInt FontSizeMainInDialog{"CurrentSet", "FontSizeMain", 8};
inline constexpr RegInt FontSizeOtherAtStartup{"CurrentSet", "FontSizeOther", 0};
inline constexpr RegInt FontSizeOtherInDialog{"CurrentSet", "FontSizeOther", 8};
inline constexpr RegInt FontDisplaySize{"CurrentSet", "FontDisplaySize", 26};
// The font sizes the configuration offers: from the largest, the main window still fits a
// 1366 x 768 screen with room for its pages.
inline constexpr int kSmallestFontSize = 6;
inline constexpr int kLargestFontSize = 12;
// A size to use: 0 (the template font) for none, else within the offered sizes.
constexpr int OfferedFontSize(int points)
{
    return points < 1 ? 0
                      : (points < kSmallestFontSize
                             ? kSmallestFontSize
                             : (points > kLargestFontSize ? kLargestFontSize : points));
}
inline constexpr RegInt ResetPosition{"CurrentSet", "ResetPosition", 0};
// Full path of the last backup archive.
inline constexpr RegString Backup{"CurrentSet", "Backup", ""};

// "" = the program folder.
inline constexpr RegString AudioFolder{"AudioRecorder", "AudioFolder", ""};
inline constexpr RegString AudioInput{"AudioRecorder", "AudioInput", "  Default"};
inline constexpr RegString AudioOutput{"AudioRecorder", "AudioOutput", "  Default"};
inline constexpr RegBinary Format{"AudioRecorder", "Format"};

// The program folder, written at every start; read by the extension library.
inline constexpr RegString LastPath{"Setup", "LastPath", ""};
}  // namespace reg

}  // namespace settings
