// What a scan page asks of the scan presets: the user picks one (or cancels).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class IMainWindowServices;
class QComboBox;
class QWidget;

namespace scans {

struct ScanPresetChoice {
    int64_t start = 0;
    int64_t end = 0;
    std::string mode;  // select the first entry beginning with it
    std::string step;
    bool filter = false;
};

// Runs the preset dialog (4003) over `owner` on the program folder's "ScanPreset.Dat" (or
// `path` when given); nothing when the user cancelled.
std::optional<ScanPresetChoice> RunScanPresetDialog(IMainWindowServices& services, QWidget* owner,
                                                    const std::string& path = {});

// Fills a step box with the scan steps, in their code order.
void FillScanStepBox(QComboBox* box);

// Selects the first entry of the box that begins with `text` (ignoring case); false (the box
// unchanged) when none does.
bool SelectComboPrefix(QComboBox* combo, const std::string& text);

}  // namespace scans
