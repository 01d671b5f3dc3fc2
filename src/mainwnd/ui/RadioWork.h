// What long radio sequences (memory transfers, scans) use of the main window: its progress
// window and the radio state they remember before and put back after.
#pragma once

#include "RadioSnapshot.h"
#include "WindowProgress.h"

struct RadioWork {
    RadioWork(QWidget& window, radio::CRadioController& controller, const CLanguage& language,
              cat::CTraceLog* log)
        : progress(window, language), snapshot(controller, progress, language, log)
    {
    }

    CWindowProgress progress;
    radio::CRadioSnapshot snapshot;
};
