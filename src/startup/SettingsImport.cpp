#include "SettingsImport.h"

#include "RegistryProfile.h"

#include <optional>

namespace settings_import {

const std::vector<Value>& ImportedValues()
{
    static const std::vector<Value> values{
        {"Setup", "Baud", Kind::Int},
        {"Setup", "Bit", Kind::Int},
        {"Setup", "BitAdj", Kind::Int},
        {"Setup", "DelayCommand", Kind::Int},
        {"Setup", "DelayMemory", Kind::Int},
        {"Setup", "DTR", Kind::Int},
        {"Setup", "Porta", Kind::Int},
        {"Setup", "PTTFront", Kind::Int},
        {"Setup", "PTTKey", Kind::Int},
        {"Setup", "PTTPin", Kind::Int},
        {"Setup", "PTTPorta", Kind::Int},
        {"Setup", "RTS", Kind::Int},
        {"Setup", "RTX", Kind::Int},
        {"Setup", "Stop", Kind::Int},
        {"Setup", "VersioneG", Kind::Int},
        {"Setup", "Driver", Kind::String},
        {"Setup", "Log", Kind::String},
        {"Setup", "Parita", Kind::String},
        {"Setup", "PTTCopyOFF", Kind::String},
        {"Setup", "PTTCopyON", Kind::String},
        {"Setup", "UTCOffset", Kind::String},
        {"AudioRecorder", "Abilitato", Kind::Int},
        {"AudioRecorder", "RecSQL", Kind::Int},
        {"AudioRecorder", "AudioFile", Kind::String},
        {"S-Meter", "Divisore", Kind::Int},
        {"S-Meter", "Inferiore", Kind::Int},
        {"S-Meter", "Refresh", Kind::Int},
    };
    return values;
}

bool ImportOldSettings(CIni& ini, const Profile& profile)
{
    if (ini.GetInt(settings::setup::ImportEseguito) != 0)
        return false;
    int address = profile.GetProfileInt(settings::setup::kSection, "Indirizzo", 0);
    if (address == 0)
        return false;

    // The raw registry tells a value that is absent from one that holds 0 or "".
    platform::RegistryProfile registry(profile.FilePath());
    registry.SetRootKey(Profile::kRootKey);

    // One rewrite of the INI for all the values; the import is done only when it was written.
    CIni::Batch batch(ini);
    bool ok = ini.WriteInt(settings::setup::Indirizzo, address);
    for (const Value& v : ImportedValues()) {
        if (v.kind == Kind::Int) {
            std::optional<int> value = registry.FindProfileInt(v.section, v.key);
            if (value)
                ok = ini.WriteInt(v.section, v.key, *value) && ok;
        } else if (registry.HasValue(v.section, v.key)) {
            std::string value = registry.GetProfileString(v.section, v.key);
            ok = ini.WriteString(v.section, v.key, value.c_str()) && ok;
        }
    }
    ok = ok && ini.WriteInt(settings::setup::ImportEseguito, 1);
    return batch.Commit() && ok;
}

}  // namespace settings_import
