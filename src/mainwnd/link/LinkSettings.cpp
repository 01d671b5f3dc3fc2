#include "LinkSettings.h"

#include "AsciiCase.h"
#include "ColourScheme.h"
#include "Ini.h"
#include "ModelCaps.h"
#include "Numbers.h"
#include "Profile.h"
#include "SettingsKeys.h"

namespace {

constexpr int kDelayMemoryMin = 1;
constexpr int kDelayMemoryMax = 10000;
constexpr int kDelayMemoryDefault = 500;
constexpr int kMaxUtcOffsetHours = 14;

LinkColour ReadColour(const CIni& ini, const settings::IniInt& r, const settings::IniInt& g,
                      const settings::IniInt& b)
{
    return LinkColour{ClampChannel(ini.GetInt(r)), ClampChannel(ini.GetInt(g)),
                      ClampChannel(ini.GetInt(b))};
}

// Setup/"Porta" with `key`'s default when absent. Read as a whole number, so an overflowing
// value is refused instead of wrapping to some other port.
int ReadPort(const CIni& ini, const settings::IniInt& key, std::string& text)
{
    text = ini.GetString(key.section, key.key, "");
    if (text.empty())
        return key.def;
    const std::optional<int> port = platform::ParseInt(text);
    return port && *port >= 0 ? *port : kInvalidPort;
}

}  // namespace

LinkIdentity ReadLinkIdentity(const CIni& ini)
{
    namespace s = settings::setup;
    LinkIdentity id;
    id.background = ReadColour(ini, s::BkgR, s::BkgG, s::BkgB);
    id.text = ReadColour(ini, s::TextR, s::TextG, s::TextB);
    id.checkOn = ReadColour(ini, s::CheckOnR, s::CheckOnG, s::CheckOnB);
    id.port = ReadPort(ini, s::PortaDriverTest, id.portText);
    id.driver = ini.GetString(s::Driver);
    id.address = ini.GetInt(s::Indirizzo);
    id.model = ini.GetInt(s::RTX);
    return id;
}

bool IsConfigValid(const LinkIdentity& id)
{
    return (id.port != 0 || !id.driver.empty()) && id.address != 0
           && id.model != radio::kModelUnknown;
}

bool ResolveExtendedFunctions(CIni& ini, int model)
{
    const int stored = ini.GetInt(settings::setup::VersioneGAtLink);
    if (stored != 2)
        return stored != 0;
    const civ::ModelCaps* caps = civ::FindCaps(model);
    const bool on = caps == nullptr || caps->functions;
    ini.WriteInt(settings::setup::VersioneGAtLink, on ? 1 : 0);
    return on;
}

int ParseUtcOffset(const std::string& text)
{
    if (platform::AsciiIEquals(text, "AUTO"))
        return kUtcOffsetAuto;
    const std::optional<int> hours = platform::ParseInt(text);
    if (!hours || *hours < -kMaxUtcOffsetHours || *hours > kMaxUtcOffsetHours)
        return kUtcOffsetAuto;
    return *hours;
}

void ReadRemainingSettings(const CIni& ini, const Profile& profile, LinkSettings& st)
{
    namespace s = settings::setup;
    if (st.id.driver.empty())
        st.id.port = ReadPort(ini, s::Porta, st.id.portText);
    st.fontDisplaySize = profile.Get(settings::reg::FontDisplaySize);
    st.baud = ini.GetInt(s::BaudAtLink);
    st.dataBits = ini.GetInt(s::Bit);
    const std::string parity = ini.GetString(s::Parita);
    st.parity = parity.empty() ? 'N' : parity[0];
    st.stopBits = ini.GetInt(s::Stop);
    st.handshake = ini.GetString(s::Handshake);
    st.rts = ini.GetInt(s::RTS);
    st.dtr = ini.GetInt(s::DTR);
    st.portMode = ini.GetInt(s::PortaModo);
    ReadPttKeys(ini, st);
    st.logPath = ini.GetString(s::Log);
    st.utcOffset = ParseUtcOffset(ini.GetString(s::UTCOffset));
    st.delayCommand = ini.GetInt(s::DelayCommand);
    st.delayMemory = ini.GetInt(s::DelayMemory);
    if (st.delayMemory < kDelayMemoryMin || st.delayMemory > kDelayMemoryMax)
        st.delayMemory = kDelayMemoryDefault;
    st.sMeterLower = ini.GetInt(settings::smeter::Inferiore);
    st.sMeterDivisor = ini.GetInt(settings::smeter::Divisore);
    if (st.sMeterDivisor < 1)
        st.sMeterDivisor = 1;  // it divides the S-meter reading
    st.pollInterval = ini.GetInt(settings::smeter::Refresh);
    st.timeout = ini.GetInt(s::Timeout);
    st.toolTips = ini.GetInt(s::ToolTips);
    st.updateDays = ini.GetInt(s::GiorniUpd);
    for (unsigned char& b : st.lastUpdateCheck)
        b = 0;
    ini.GetSetupBytes(s::UltimoCheckUpd, st.lastUpdateCheck);
    st.latency = ini.GetInt(s::Latency);
    st.recorderEnabled = ini.GetInt(settings::audiorecorder::AbilitatoAtLink);
    st.recorderFront = ini.GetInt(settings::audiorecorder::Front);
}

cat::SerialParams CatPortFraming(const LinkSettings& settings)
{
    cat::SerialParams params;
    params.baud = settings.baud;
    params.parity = settings.parity;
    params.dataBits = settings.dataBits;
    params.stopBits = settings.stopBits;
    params.rts = 0;
    params.dtr = 0;
    params.handshake = cat::kHandshakeOff;
    return params;
}

void ReadPttKeys(const CIni& ini, LinkSettings& st)
{
    namespace s = settings::setup;
    st.pttPort = ini.GetInt(s::PTTPorta);
    st.pttPin = ini.GetInt(s::PTTPin);
    st.pttCopyOn = ini.GetString(s::PTTCopyON);
    st.pttCopyOff = ini.GetString(s::PTTCopyOFF);
    st.pttFront = ini.GetInt(s::PTTFront);
    st.pttKey = ini.GetInt(s::PTTKey);
    st.tuneSeconds = settings::txrx::ClampTuneSeconds(ini.GetInt(settings::txrx::TuneSec));
}
