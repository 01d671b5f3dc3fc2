#include "SetupSummary.h"

#include <cstdio>
#include <vector>

#include "AsciiCase.h"
#include "DriverInstall.h"
#include "Ini.h"
#include "Language.h"
#include "Profile.h"
#include "SettingsKeys.h"
#include "WaveEngine.h"

namespace setup {

namespace {
constexpr int kStrPttEnabled = 1250;
constexpr int kStrPttDisabled = 1242;
constexpr int kStrAudioDisabled = 1257;
constexpr int kEngineUnavailable = 1;
}  // namespace

std::string PortSummary(const SetupValues& v)
{
    if (v.driverMode)
        return v.driverEntry;
    return v.portText + ":" + v.speedText + "," + std::to_string(v.dataBits) + ","
           + std::to_string(v.stopBits) + "," + v.parity + "," + (v.rts == 1 ? "RTS ON" : "RTS OFF")
           + "," + (v.dtr == 1 ? "DTR ON" : "DTR OFF");
}

void ReleasePttLineOnCatPort(SetupValues& v)
{
    if (v.driverMode || v.ptt.port == 0
        || !platform::AsciiIEquals(txrx::PortText(v.ptt.port), v.portText))
        return;
    (txrx::UsesDtr(v.ptt) ? v.dtr : v.rts) = 0;
}

std::string PttSummary(const CLanguage& language, const SetupValues& v, const DriverSupport& driver)
{
    if (v.driverMode && driver.ptt)
        return "PTT: " + DriverEntryFileName(v.driverEntry);
    if (v.ptt.port == 0)
        return language.LoadString(kStrPttDisabled);
    return language.Format(kStrPttEnabled,
                           {txrx::PortText(v.ptt.port), txrx::UsesDtr(v.ptt) ? "DTR" : "RTS"});
}

AudioSummaryResult AudioSummary(const CLanguage& language, const CIni& ini, const Profile& registry,
                                const SetupValues& v, const DriverSupport& driver,
                                const WaveSystemFactory& makeSystem)
{
    if (v.driverMode && driver.audio)
        return {"Audio: " + DriverEntryFileName(v.driverEntry), 0, {}};
    const std::string disabled = language.LoadString(kStrAudioDisabled);
    if (ini.GetInt(settings::audiorecorder::Abilitato) == 0)
        return {disabled, 0, {}};
    const std::unique_ptr<audio::WaveSystem> system = makeSystem ? makeSystem() : nullptr;
    if (system == nullptr)
        return {disabled, kEngineUnavailable, {}};
    audio::WaveEngine engine(*system, registry);
    if (const int error = engine.Open(); error != 0)
        return {disabled, error, engine.LastProblem()};
    std::vector<std::uint8_t> format;
    if (registry.Get(settings::reg::Format, format) && !format.empty())
        engine.SetFormatData(format.data(), format.size());
    std::string text =
        language.FormatText("Audio : %s %s", {engine.GetFormatTagName(), engine.GetFormatName()});
    engine.Close();
    return {text, 0, {}};
}

}  // namespace setup
