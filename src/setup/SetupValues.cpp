#include "SetupValues.h"

#include <cctype>
#include <cstdio>

#include "Ini.h"
#include "Numbers.h"
#include "Profile.h"
#include "SerialPorts.h"
#include "SettingsKeys.h"

namespace setup {

namespace {
namespace s = settings::setup;
namespace k = settings;

constexpr int kRefreshMin = 1;
constexpr int kRefreshMax = 30000;
constexpr int kTimeoutWhenTooLow = 200;
constexpr const char* kPortsSection = "Ports";

COLORREF ReadColour(const CIni& ini, const k::IniInt& r, const k::IniInt& g, const k::IniInt& b)
{
    return RgbColor(ini.GetInt(r), ini.GetInt(g), ini.GetInt(b));
}

std::string HexText(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

}  // namespace

SetupValues ReadSetupValues(const CIni& ini, const Profile& registry,
                            const std::string& defaultFace)
{
    SetupValues v;
    v.speedText = std::to_string(ini.GetInt(s::BaudInDialog));
    v.dataBits = ini.GetInt(s::Bit);
    v.stopBits = ini.GetInt(s::Stop);
    v.parity = ini.GetString(s::Parita);
    v.rts = ini.GetInt(s::RTS);
    v.dtr = ini.GetInt(s::DTR);
    v.portMode = ini.GetInt(s::PortaModo);
    const int port = ini.GetInt(s::Porta);
    v.driverEntry = ini.GetString(s::Driver);
    v.driverMode = port == 0 && !v.driverEntry.empty();
    if (v.driverMode)
        v.portText = "COM0";
    else
        v.portText = platform::PortName(port > 0 && port <= 255 ? port : 1);

    v.ptt = txrx::ReadPttSettings(ini);

    v.model = ini.GetInt(s::RTX);
    if (v.model < 0 || v.model > 4)
        v.model = -1;
    v.extendedFunctions = ini.GetInt(s::VersioneGInDialog) != 0;
    v.addressText = HexText(ini.GetInt(s::Indirizzo));

    v.sMeterLower = ini.GetInt(k::smeter::Inferiore);
    v.sMeterDivisor = ini.GetInt(k::smeter::Divisore);
    v.sMeterRefresh = ini.GetInt(k::smeter::Refresh);
    v.clipboardFactor = ini.GetInt(k::cluster::Moltiplicatore);
    v.clipboardAuto = ini.GetInt(k::cluster::AutoMode) != 0;
    const int decimal = ini.GetInt(k::cluster::Decimale) & 0x7F;
    v.decimalChar = decimal != 0 ? std::string(1, static_cast<char>(decimal)) : std::string();
    v.utcOffset = ini.GetString(s::UTCOffset);
    v.logFile = ini.GetString(s::Log);
    v.delayCommand = ini.GetInt(s::DelayCommand);
    v.timeout = ini.GetInt(s::Timeout);

    v.background = ReadColour(ini, s::BkgR, s::BkgG, s::BkgB);
    v.text = ReadColour(ini, s::TextR, s::TextG, s::TextB);
    v.checkOn = ReadColour(ini, s::CheckOnR, s::CheckOnG, s::CheckOnB);

    v.toolTips = ini.GetInt(s::ToolTips) != 0;
    v.updateDays = ini.GetInt(s::GiorniUpd);
    v.latency = ini.GetInt(s::Latency);
    v.fontMain = registry.Get(k::reg::FontMain);
    if (v.fontMain.empty())
        v.fontMain = defaultFace;
    v.fontOther = registry.Get(k::reg::FontOther);
    if (v.fontOther.empty())
        v.fontOther = defaultFace;
    v.fontSizeMain = k::reg::OfferedFontSize(registry.Get(k::reg::FontSizeMainInDialog));
    v.fontSizeOther = k::reg::OfferedFontSize(registry.Get(k::reg::FontSizeOtherInDialog));
    return v;
}

std::optional<int> ParseAddress(const std::string& text)
{
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value =
            value * 16
            + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    if (value < 1 || value > 255)
        return std::nullopt;
    return value;
}

SetupRefusal CheckSetupValues(const SetupValues& values)
{
    if (!ParseAddress(values.addressText))
        return SetupRefusal::kAddress;
    if (values.model < 0 || values.model > 4)
        return SetupRefusal::kModel;
    if (values.driverMode ? values.driverEntry.empty()
                          : platform::ParsePortName(values.portText) == 0)
        return SetupRefusal::kPort;
    return SetupRefusal::kNone;
}

bool WriteSetupValues(CIni& ini, Profile& registry, const SetupValues& v, std::string* error)
{
    const auto fail = [error](const std::string& why) {
        if (error != nullptr)
            *error = why;
        return false;
    };
    {
        CIni::Batch batch(ini);
        const std::optional<int> speed = platform::ParseInt(v.speedText);
        ini.WriteInt(s::BaudInDialog, speed.value_or(19200));
        ini.WriteInt(s::Bit, v.dataBits);
        ini.WriteInt(s::RTS, v.rts);
        ini.WriteInt(s::DTR, v.dtr);
        ini.WriteInt(s::PortaModo, v.portMode);
        ini.WriteInt(s::RTX, v.model);
        ini.WriteInt(s::Indirizzo, ParseAddress(v.addressText).value_or(0));
        ini.WriteInt(s::VersioneGInDialog, v.extendedFunctions ? 1 : 0);
        ini.WriteString(s::Parita, v.parity);
        if (v.driverMode) {
            ini.WriteString(s::Driver, v.driverEntry);
            ini.WriteInt(s::Porta, 0);
        } else {
            ini.WriteString(s::Driver, "");
            ini.WriteInt(s::Porta, platform::ParsePortName(v.portText));
        }
        ini.WriteInt(s::Stop, v.stopBits);
        ini.WriteString(s::Log, v.logFile);
        ini.WriteString(s::UTCOffset, v.utcOffset);
        ini.WriteInt(s::DelayCommand, v.delayCommand);
        ini.WriteInt(k::cluster::AutoMode, v.clipboardAuto ? 1 : 0);
        ini.WriteInt(k::cluster::Decimale,
                     v.decimalChar.empty() ? 0 : static_cast<unsigned char>(v.decimalChar[0]));
        ini.WriteInt(k::cluster::Moltiplicatore, v.clipboardFactor);
        ini.WriteInt(k::smeter::Inferiore, v.sMeterLower);
        ini.WriteInt(k::smeter::Divisore, v.sMeterDivisor);
        const int refresh = v.sMeterRefresh < kRefreshMin   ? kRefreshMin
                            : v.sMeterRefresh > kRefreshMax ? kRefreshMax
                                                            : v.sMeterRefresh;
        ini.WriteInt(k::smeter::Refresh, refresh);
        ini.WriteInt(s::Timeout, v.timeout < 1 ? kTimeoutWhenTooLow : v.timeout);
        ini.WriteInt(s::BkgR, RedOf(v.background));
        ini.WriteInt(s::BkgG, GreenOf(v.background));
        ini.WriteInt(s::BkgB, BlueOf(v.background));
        ini.WriteInt(s::TextR, RedOf(v.text));
        ini.WriteInt(s::TextG, GreenOf(v.text));
        ini.WriteInt(s::TextB, BlueOf(v.text));
        ini.WriteInt(s::CheckOnR, RedOf(v.checkOn));
        ini.WriteInt(s::CheckOnG, GreenOf(v.checkOn));
        ini.WriteInt(s::CheckOnB, BlueOf(v.checkOn));
        txrx::WritePttSettings(ini, v.ptt);
        ini.WriteInt(s::ToolTips, v.toolTips ? 1 : 0);
        ini.WriteInt(s::GiorniUpd, v.updateDays);
        ini.WriteInt(s::Latency, v.latency);
        if (!batch.Commit())
            return fail(ini.LastError());
    }
    Profile::Batch batch(registry);
    registry.Write(k::reg::FontSizeMainInDialog, k::reg::OfferedFontSize(v.fontSizeMain));
    registry.Write(k::reg::FontSizeOtherInDialog, k::reg::OfferedFontSize(v.fontSizeOther));
    registry.Write(k::reg::FontMain, v.fontMain);
    registry.Write(k::reg::FontOther, v.fontOther);
    for (const auto& [number, device] : v.portMappings)
        registry.WriteProfileString(kPortsSection, platform::PortName(number).c_str(),
                                    device.c_str());
    if (!batch.Commit())
        return fail(registry.LastError());
    return true;
}

bool RestoreDefaultSettings(CIni& ini, Profile& registry, std::string* error)
{
    {
        CIni::Batch batch(ini);
        ini.DeleteKey(s::DelayCommand);
        ini.DeleteKey(s::Log);
        ini.DeleteKey(k::cluster::AutoMode);
        ini.DeleteKey(k::cluster::Moltiplicatore);
        ini.DeleteKey(k::cluster::Decimale);
        ini.DeleteKey(k::smeter::Inferiore);
        ini.DeleteKey(k::smeter::Divisore);
        ini.DeleteKey(k::smeter::Refresh);
        for (const auto* key :
             {&s::Timeout, &s::BkgR, &s::BkgG, &s::BkgB, &s::TextB, &s::TextR, &s::TextG,
              &s::CheckOnR, &s::CheckOnG, &s::CheckOnB, &s::ToolTips, &s::GiorniUpd, &s::Latency})
            ini.DeleteKey(*key);
        ini.DeleteKey(s::Language);
        if (!batch.Commit()) {
            if (error != nullptr)
                *error = ini.LastError();
            return false;
        }
    }
    if (!registry.Write(k::reg::ResetPosition, 1)) {
        if (error != nullptr)
            *error = registry.LastError();
        return false;
    }
    return true;
}

}  // namespace setup
