// The program's version text ("4.7.1", "Beta.3" or the free text of "Comments") for the title,
// the About pages, the diagnostics and the extension protocol.
#pragma once

#include "VersionInfo.h"

#include <string>

struct VersionText {
    std::string text;
    bool beta = false;  // a beta or a free text
};

// From the "%d.%d" texts of the product version's two words and the "Comments" value.
VersionText MakeVersionText(const std::string& msText, const std::string& lsText,
                            const std::string& comments);

// From a file's version information (empty texts when it has none).
VersionText MakeVersionText(const platform::CVersionInfoReader& reader);
