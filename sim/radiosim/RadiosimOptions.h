// radiosim's command line.
#pragma once

#include <string>
#include <vector>

#include "SimulatedRadio.h"

namespace radiosim {

enum class ParseResult { Run, Help, Error };

// Fills config from argv; on Error, `error` says what was wrong.
ParseResult ParseOptions(const std::vector<std::string>& args, sim::SimConfig& config,
                         std::string& error);
const char* Usage();

}  // namespace radiosim
