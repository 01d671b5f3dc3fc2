// The program's topics: their items are plain text items, and an Execute runs a command on the
// main window. Every Execute is acknowledged, whether the command matched anything or not.
#pragma once

#include "DdeItemNode.h"
#include "DdeTopicNode.h"

#include <string>
#include <string_view>

namespace dde {

class IDdeWindow;

class CMyStringItem : public CDdeTextItem {};

class CMyTopic : public CDdeTopicNode {
public:
    explicit CMyTopic(IDdeWindow& window) : window_(window) {}

    // Runs the command when it starts with "000"; always true.
    bool Exec(std::string_view data) override;

    void DispatchCommand(const std::string& command);
    // "000xcvrfreqmode<xcvrfreq:N>F<xcvrmode:M>D": tunes to F, then selects D when given.
    void ParseFreqMode(const std::string& command);
    // "14.195,000" and "14195,000" are kHz with ',' as the decimal point; a result outside the
    // radio's limits changes nothing.
    void SetFrequencyText(const std::string& text);
    // A mode the current mode list lacks is ignored.
    void SetModeText(const std::string& text);

private:
    IDdeWindow& window_;
};

}  // namespace dde
