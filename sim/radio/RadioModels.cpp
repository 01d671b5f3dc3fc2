#include "RadioModels.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <charconv>

#include "CivCodes.h"

namespace sim {

namespace {

const ModelInfo kModels[] = {
    {RadioModel::IC706, "IC706", 0x48, 30000, 199999999, false, false, false, true, false, false,
     {{30000, 199999999}}, 1},
    {RadioModel::IC706MKII, "IC706MKII", 0x4E, 30000, 199999999, false, false, false, true, false,
     false, {{30000, 199999999}}, 1},
    // No receiver between 200 and 400 MHz.
    {RadioModel::IC706MKIIG, "IC706MKIIG", 0x58, 30000, 469999999, true, true, true, true, true,
     false, {{30000, 199999999}, {400000000, 469999999}}, 2},
    {RadioModel::IC718, "IC718", 0x5E, 30000, 29999999, true, true, false, false, false, true,
     {{30000, 29999999}}, 1},
};

const uint64_t kTuningSteps[kTuningStepCount] = {10,    100,   1000,  5000,  9000,
                                                 10000, 12500, 20000, 25000, 100000};

std::string Normalized(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '/' || c == '-' || c == ' ') continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

const ModelInfo& ModelInfoFor(RadioModel model) {
    for (const ModelInfo& info : kModels)
        if (info.model == model) return info;
    return kModels[2];
}

bool ModelHasMode(const ModelInfo& model, int mode) {
    if (mode < 0 || mode >= kModeCount) return false;
    return model.hasFm || (mode != kModeFm && mode != kModeWfm);
}

bool ModelReceives(const ModelInfo& model, uint64_t hz) {
    for (int i = 0; i < model.rangeCount; ++i)
        if (hz >= model.ranges[i].lowHz && hz <= model.ranges[i].highHz) return true;
    return false;
}

uint64_t NearestReceived(const ModelInfo& model, uint64_t hz) {
    uint64_t best = model.ranges[0].lowHz;
    uint64_t bestDistance = UINT64_MAX;
    for (int i = 0; i < model.rangeCount; ++i) {
        const uint64_t inside = std::clamp(hz, model.ranges[i].lowHz, model.ranges[i].highHz);
        const uint64_t distance = inside > hz ? inside - hz : hz - inside;
        if (distance < bestDistance) {
            best = inside;
            bestDistance = distance;
        }
    }
    return best;
}

uint64_t TuningStepHz(int index) {
    if (index < 0 || index >= kTuningStepCount) return 0;
    return kTuningSteps[index];
}

bool ParseRadioModel(const std::string& text, RadioModel& model) {
    const std::string name = Normalized(text);
    for (const ModelInfo& info : kModels) {
        if (name == info.name) {
            model = info.model;
            return true;
        }
    }
    return false;
}

bool ParseBusAddress(std::string text, int& address) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return false;
    if (value <= 0 || value > 0xFF || value == civ::kControllerAddress || value >= civ::kNg) return false;
    address = value;
    return true;
}

const char* RadioModelName(RadioModel model) { return ModelInfoFor(model).name; }

uint8_t DefaultAddress(RadioModel model) { return ModelInfoFor(model).address; }

}  // namespace sim
