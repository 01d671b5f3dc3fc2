#include "PositionReset.h"

namespace position_reset {

const std::vector<Entry>& ResetValues()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> list;
        for (const char* name : {"FontDisplaySize", "FontSizeMain", "FontSizeOther", "FontMain",
                                 "FontOther", "MainBottom", "MainLeft", "MainRight", "MainTop"})
            list.push_back({"CurrentSet", name});
        for (const char* section : {"TxRx", "AudioRecorder", "Memorie", "MemorieRadio"})
            for (const char* name : {"Bottom", "Left", "Right", "Top"})
                list.push_back({section, name});
        list.push_back({settings::reg::ResetPosition.section, settings::reg::ResetPosition.key});
        return list;
    }();
    return entries;
}

bool ResetWindowPositions(Profile& profile)
{
    if (profile.Get(settings::reg::ResetPosition) == 0)
        return false;
    Profile::Batch batch(profile);
    for (const Entry& e : ResetValues())
        profile.DeleteValue(e.section, e.name);
    return batch.Commit();
}

}  // namespace position_reset
