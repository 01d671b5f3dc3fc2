// The program's topics: their items are plain text items, and an Execute runs a command on the
// main window. Only a command that is understood and carried out is acknowledged: a client is
// never told that nonsense, or a retune the radio cannot take, was done.
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

    // Runs the command when it starts with "000"; true when it was understood and done (a
    // switch already where the command asks counts as done).
    bool Exec(std::string_view data) override;

    bool DispatchCommand(const std::string& command);
    // "000xcvrfreqmode<xcvrfreq:N>F<xcvrmode:M>D": tunes to F, then selects D when given; true
    // when all it asked for was done.
    bool ParseFreqMode(const std::string& command);
    // "14.195,000" and "14195,000" are kHz with ',' as the decimal point; a result outside the
    // radio's limits changes nothing and is false.
    bool SetFrequencyText(const std::string& text);
    // A mode the current mode list lacks is ignored (false).
    bool SetModeText(const std::string& text);

private:
    IDdeWindow& window_;
};

}  // namespace dde
