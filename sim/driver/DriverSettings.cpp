#include "DriverSettings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "RadioModels.h"

namespace simdriver {

namespace {
constexpr int kMaxLatencyMs = 60000;

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

template <typename T>
bool ParseWhole(std::string_view text, T& out)
{
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// "LOW-HIGH:READING"
bool ParseSignal(std::string_view text, sim::SignalRange& out)
{
    const std::size_t dash = text.find('-');
    const std::size_t colon = text.find(':');
    return dash != std::string_view::npos && colon != std::string_view::npos && dash < colon
           && ParseWhole(text.substr(0, dash), out.lowHz)
           && ParseWhole(text.substr(dash + 1, colon - dash - 1), out.highHz)
           && ParseWhole(text.substr(colon + 1), out.reading) && out.reading >= 0
           && out.reading <= 255 && out.lowHz <= out.highHz;
}
}  // namespace

DriverSettings ReadSettings()
{
    DriverSettings s;
    s.config.echo = false;  // a driver hands over answers only
    const std::string model = Env("SIMRADIO_MODEL");
    if (!model.empty() && !sim::ParseRadioModel(model, s.config.model))
        s.problems += "SIMRADIO_MODEL=" + model + " not known; ";
    const std::string address = Env("SIMRADIO_ADDRESS");
    if (!address.empty() && !sim::ParseBusAddress(address, s.config.address)) {
        s.config.address = -1;
        s.problems += "SIMRADIO_ADDRESS=" + address + " not valid; ";
    }
    const std::string latency = Env("SIMRADIO_LATENCY");
    if (!latency.empty()) {
        int ms = 0;
        auto [ptr, ec] = std::from_chars(latency.data(), latency.data() + latency.size(), ms);
        if (ec == std::errc() && ptr == latency.data() + latency.size() && ms >= 0
            && ms <= kMaxLatencyMs)
            s.config.latencyMs = ms;
        else
            s.problems += "SIMRADIO_LATENCY=" + latency + " not valid; ";
    }
    const std::string signals = Env("SIMRADIO_SIGNALS");
    for (std::size_t from = 0; from < signals.size();) {
        const std::size_t end = std::min(signals.find(',', from), signals.size());
        sim::SignalRange signal;
        if (ParseSignal(std::string_view(signals).substr(from, end - from), signal))
            s.signals.push_back(signal);
        else
            s.problems +=
                "SIMRADIO_SIGNALS entry " + signals.substr(from, end - from) + " not valid; ";
        from = end + 1;
    }
    const std::string hang = Env("SIMRADIO_HANG");
    if (!hang.empty() && !(ParseWhole(std::string_view(hang), s.hangFrom) && s.hangFrom > 0)) {
        s.hangFrom = 0;
        s.problems += "SIMRADIO_HANG=" + hang + " not valid; ";
    }
    s.tracePath = Env("SIMRADIO_TRACE");
    s.audio = Env("SIMRADIO_AUDIO") != "0";
    return s;
}

std::string DescribeSettings(const DriverSettings& s)
{
    const int address =
        s.config.address >= 0 ? s.config.address : sim::DefaultAddress(s.config.model);
    char text[256];
    std::snprintf(
        text, sizeof text,
        "Simulated CI-V radio\nModel: %s\nAddress: %02X\nLatency: %d ms\nAudio: %s\nTrace: %s",
        sim::RadioModelName(s.config.model), address, s.config.latencyMs, s.audio ? "on" : "off",
        s.tracePath.empty() ? "(none)" : s.tracePath.c_str());
    std::string out = text;
    if (!s.problems.empty())
        out += "\nIgnored: " + s.problems;
    return out;
}

}  // namespace simdriver
