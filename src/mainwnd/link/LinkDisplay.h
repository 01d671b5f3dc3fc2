// What the radio link shows in the main window: the mode list, the latency and off-line fields,
// the lost-line status, the tool windows and the diagnostics text for a new trace log.
#pragma once

#include <string>

class ILinkDisplay {
public:
    virtual ~ILinkDisplay() = default;

    // The mode list; without FM and WFM for a radio that lacks them.
    virtual void FillModeList(bool withFmModes) = 0;
    // The diagnostics text written at the top of a new trace log.
    virtual std::string DiagnosticsText() = 0;
    virtual void PlaceToolWindows() = 0;
    // The latency field ("" clears it) and "OFF LINE" in the frequency field.
    virtual void ShowLatency(const std::string& text) = 0;
    virtual void ShowOffLine() = 0;
    // The lost serial port in the status line until the link is back ("" clears it).
    virtual void ShowLineLost(const std::string& text) = 0;
};
