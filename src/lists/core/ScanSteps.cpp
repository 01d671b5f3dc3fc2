#include "ScanSteps.h"

namespace lists {

int ScanStepIndex(std::string_view text)
{
    for (size_t i = 0; i < kScanSteps.size(); ++i)
        if (kScanSteps[i].text == text)
            return static_cast<int>(i);
    return -1;
}

int64_t ScanStepHz(std::string_view text)
{
    const int index = ScanStepIndex(text);
    return index < 0 ? 0 : kScanSteps[static_cast<size_t>(index)].hz;
}

}  // namespace lists
