#include "PttSettings.h"

#include "Ini.h"
#include "SerialPorts.h"
#include "SettingsKeys.h"

namespace txrx {

namespace {

constexpr int kMaxPort = 255;

struct KeyEntry {
    int code;
    const char* text;
};
constexpr KeyEntry kKeys[] = {
    {0, "NONE"}, {17, "CTRL"}, {18, "ALT GR"}, {122, "F11"}, {123, "F12"}};

}  // namespace

PttSettings ReadPttSettings(const CIni& ini)
{
    namespace s = settings::setup;
    PttSettings p;
    p.port = ini.GetInt(s::PTTPorta);
    if (p.port < 0 || p.port > kMaxPort)
        p.port = 0;
    p.pin = ini.GetInt(s::PTTPin) == kPinDtr ? kPinDtr : kPinRts;
    p.key = ini.GetInt(s::PTTKey);
    p.copyOn = ini.GetString(s::PTTCopyON);
    p.copyOff = ini.GetString(s::PTTCopyOFF);
    p.front = ini.GetInt(s::PTTFront) != 0;
    p.tuneSeconds = settings::txrx::ClampTuneSeconds(ini.GetInt(settings::txrx::TuneSec));
    return p;
}

bool WritePttSettings(CIni& ini, const PttSettings& p)
{
    namespace s = settings::setup;
    CIni::Batch batch(ini);
    bool ok = ini.WriteInt(s::PTTPorta, p.port);
    ok = ini.WriteInt(s::PTTPin, p.pin) && ok;
    // A text the file cannot hold (a line break) fails here, not at the commit.
    ok = ini.WriteString(s::PTTCopyON, p.copyOn) && ok;
    ok = ini.WriteString(s::PTTCopyOFF, p.copyOff) && ok;
    ok = ini.WriteInt(s::PTTFront, p.front ? 1 : 0) && ok;
    ok = ini.WriteInt(s::PTTKey, p.key) && ok;
    ok = ini.WriteInt(settings::txrx::TuneSec, settings::txrx::ClampTuneSeconds(p.tuneSeconds))
         && ok;
    return batch.Commit() && ok;
}

bool UsesDtr(const PttSettings& settings)
{
    return settings.pin == kPinDtr;
}

std::string PortText(int port)
{
    return port == 0 ? "OFF" : "COM" + std::to_string(port);
}

int PortFromText(std::string_view text)
{
    return platform::ParsePortName(text);
}

std::string KeyText(int code)
{
    for (const KeyEntry& k : kKeys)
        if (k.code == code)
            return k.text;
    return kKeys[0].text;
}

int KeyFromText(std::string_view text)
{
    for (const KeyEntry& k : kKeys)
        if (text == k.text)
            return k.code;
    return 0;
}

std::string KeyName(int code)
{
    return code == 0 || KeyFromText(KeyText(code)) != code ? " " : KeyText(code);
}

}  // namespace txrx
