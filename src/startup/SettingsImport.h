// One-time import of the settings an older installation kept in the registry profile.
//
// It runs only while INI Setup/"ImportEseguito" is 0 and the registry holds a non-zero
// Setup/"Indirizzo" (an older installation); without one nothing is written and the test repeats
// at the next start. Values the registry does not hold are not copied, so the INI keeps its
// readers' defaults instead of zeros (a zero "Divisore" or "Refresh" would break the S-meter).
#pragma once

#include "Ini.h"
#include "Profile.h"

namespace settings_import {

enum class Kind { Int, String };

struct Value {
    const char* section;
    const char* key;
    Kind kind;
};

// The values copied after "Indirizzo", in copy order.
const std::vector<Value>& ImportedValues();

// True when the import ran and "ImportEseguito" was set. A write that fails leaves
// "ImportEseguito" unset, so the import is tried again at the next start.
bool ImportOldSettings(CIni& ini, const Profile& profile);

}  // namespace settings_import
