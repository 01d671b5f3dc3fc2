// The words of a typed command line: blanks and tabs separate, double quotes group (and are
// dropped), nothing else is special. No shell ever sees the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace startup_programs {

std::vector<std::string> SplitCommandLine(std::string_view text);

}  // namespace startup_programs
