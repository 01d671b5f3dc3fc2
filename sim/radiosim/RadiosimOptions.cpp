#include "RadiosimOptions.h"

#include <charconv>
#include <cstdint>

#include "RadioModels.h"

namespace radiosim {

namespace {

constexpr int kMaxLatencyMs = 60000;
constexpr int kMaxBaud = 10000000;

template <class T>
bool ParseDecimal(const std::string& text, T& value)
{
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

const char* Usage()
{
    return "usage: radiosim [--model IC706|IC706MKII|IC706MKIIG|IC718] [--address HEX]\n"
           "                [--latency MS] [--baud N] [--no-echo] [--no-pacing] [--frequency HZ]\n"
           "Serves a simulated CI-V radio on a pseudo-terminal and prints its device path.\n"
           "Defaults: IC706MKIIG at 58, 14074000 Hz USB, latency 20 ms, 19200 baud pacing.\n"
           "Lines on standard input reach the front panel (knob N, frequency HZ, mode M,\n"
           "vfo A|B, key, unkey, signal LOW HIGH S, link up|down, fault KIND, state, ...).\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args, sim::SimConfig& config,
                         std::string& error)
{
    bool frequencyGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            return ParseResult::Help;
        if (arg == "--no-echo") {
            config.echo = false;
            continue;
        }
        if (arg == "--no-pacing") {
            config.pacing = false;
            continue;
        }
        const bool takesValue = arg == "--model" || arg == "--address" || arg == "--latency"
                                || arg == "--baud" || arg == "--frequency";
        if (!takesValue) {
            error = "unknown option: " + arg;
            return ParseResult::Error;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return ParseResult::Error;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (arg == "--model") {
            ok = sim::ParseRadioModel(value, config.model);
        } else if (arg == "--address") {
            ok = sim::ParseBusAddress(value, config.address);
        } else if (arg == "--latency") {
            ok = ParseDecimal(value, config.latencyMs) && config.latencyMs >= 0
                 && config.latencyMs <= kMaxLatencyMs;
        } else if (arg == "--baud") {
            ok = ParseDecimal(value, config.baud) && config.baud > 0 && config.baud <= kMaxBaud;
        } else {
            ok = ParseDecimal(value, config.frequencyHz);
            frequencyGiven = true;
        }
        if (!ok) {
            error = "invalid value for " + arg + ": " + value;
            return ParseResult::Error;
        }
    }
    const sim::ModelInfo& model = sim::ModelInfoFor(config.model);
    if (frequencyGiven && !civ::Receives(model, config.frequencyHz)) {
        error = "frequency outside the " + std::string(model.name) + " range "
                + std::to_string(model.bandEdges.lowHz) + ".."
                + std::to_string(model.bandEdges.highHz) + " Hz";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}

}  // namespace radiosim
