#include "RadioModels.h"

#include <charconv>
#include <cstdint>

#include "CivCodes.h"

namespace sim {

namespace {

const uint64_t kTuningSteps[kTuningStepCount] = {10,    100,   1000,  5000,  9000,
                                                 10000, 12500, 20000, 25000, 100000};

}  // namespace

const ModelInfo& ModelInfoFor(RadioModel model)
{
    return civ::Caps(model);
}

uint64_t TuningStepHz(int index)
{
    if (index < 0 || index >= kTuningStepCount)
        return 0;
    return kTuningSteps[index];
}

bool ParseRadioModel(const std::string& text, RadioModel& model)
{
    const civ::ModelCaps* caps = civ::FindCapsByName(text);
    if (caps == nullptr)
        return false;
    model = caps->model;
    return true;
}

bool ParseBusAddress(std::string text, int& address)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.erase(0, 2);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        return false;
    if (value <= 0 || value > 0xFF || value == civ::kControllerAddress || value >= civ::kNg)
        return false;
    address = value;
    return true;
}

const char* RadioModelName(RadioModel model)
{
    return ModelInfoFor(model).name;
}

uint8_t DefaultAddress(RadioModel model)
{
    return ModelInfoFor(model).address;
}

}  // namespace sim
