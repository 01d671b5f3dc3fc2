// The program's topics: their items are plain text items, and an Execute runs a command on the
// main window. Only a command that is understood and carried out is acknowledged: a client is
// never told that nonsense, or a retune the radio cannot take, was done, and a command that is
// refused changed nothing.
#pragma once

#include "DdeItemNode.h"
#include "DdeTopicNode.h"

#include <cstdint>
#include <optional>
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
    // "000xcvrfreqmode<xcvrfreq:N>F<xcvrmode:M>D": tunes to F, then selects D when a mode tag
    // follows; true when all it asked for was done. A frequency or mode the radio cannot take
    // refuses the whole command before anything is sent.
    bool ParseFreqMode(const std::string& command);

private:
    // "14.195,000" and "14195,000" are kHz with ',' as the decimal point; nothing outside the
    // radio's limits.
    std::optional<int64_t> FrequencyFromText(const std::string& text) const;
    // The mode of the tag after the frequency (":M>D"); nothing for one that cannot be read or
    // that the current mode list lacks.
    std::optional<int> ModeFromTag(const std::string& rest) const;
    std::optional<int> ModeFromText(const std::string& text) const;

    IDdeWindow& window_;
};

}  // namespace dde
