// The application's registry profile: the per-user settings under Software\Dravik\Corvane
// (window places, fonts, audio devices and format, backup folder, "LastPath").
// Sections are the keys below the root; see RegistryProfile.h for the file and its encodings.
// A null section or name makes a read return the default and a write fail.
// Many writes in a row go into a batch (BeginBatch ... CommitBatch, or a Batch scope), which
// rewrites the file once at the end; CommitBatch tells whether that worked.
#pragma once

#include "RegistryProfile.h"
#include "SettingsKeys.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ProfileRect {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

class Profile {
public:
    static constexpr const char* kRootKey = "Software\\Dravik\\Corvane";

    // The user's file (XDG_CONFIG_HOME is looked up at every call).
    Profile();
    // Another file, for tests.
    explicit Profile(std::string filePath);

    std::string FilePath() const { return registry_.FilePath(); }

    int GetProfileInt(const char* section, const char* name, int def) const;
    std::string GetProfileString(const char* section, const char* name,
                                 const char* def = nullptr) const;
    bool GetProfileBinary(const char* section, const char* name,
                          std::vector<std::uint8_t>& out) const;
    bool WriteProfileInt(const char* section, const char* name, int value);
    bool WriteProfileString(const char* section, const char* name, const char* value);
    bool WriteProfileBinary(const char* section, const char* name, const std::uint8_t* data,
                            std::size_t size);
    bool DeleteValue(const char* section, const char* name);
    bool DeleteKey(const char* section);

    // Descriptor forms (SettingsKeys.h).
    int Get(const settings::RegInt& s) const { return GetProfileInt(s.section, s.key, s.def); }
    std::string Get(const settings::RegString& s) const
    {
        return GetProfileString(s.section, s.key, s.def);
    }
    bool Get(const settings::RegBinary& s, std::vector<std::uint8_t>& out) const
    {
        return GetProfileBinary(s.section, s.key, out);
    }
    bool Write(const settings::RegInt& s, int value)
    {
        return WriteProfileInt(s.section, s.key, value);
    }
    bool Write(const settings::RegString& s, const std::string& value)
    {
        return WriteProfileString(s.section, s.key, value.c_str());
    }
    bool Write(const settings::RegBinary& s, const std::vector<std::uint8_t>& data)
    {
        return WriteProfileBinary(s.section, s.key, data.data(), data.size());
    }
    bool Delete(const settings::RegInt& s) { return DeleteValue(s.section, s.key); }
    bool Delete(const settings::RegString& s) { return DeleteValue(s.section, s.key); }
    bool Delete(const settings::RegBinary& s) { return DeleteValue(s.section, s.key); }

    // A rectangle is stored only as a whole: nullopt unless all four integers are present.
    std::optional<ProfileRect> GetRect(const settings::RegRect& r) const;
    bool WriteRect(const settings::RegRect& r, const ProfileRect& rect);
    bool DeleteRect(const settings::RegRect& r);

    // Batches nest; the outermost CommitBatch writes the file (false and LastError when it
    // cannot; the old file is then kept).
    void BeginBatch() { registry_.BeginBatch(); }
    bool CommitBatch() { return registry_.CommitBatch(&lastError_); }

    // A batch for the length of a scope; the end of the scope commits when Commit was not called.
    using Batch = platform::BatchScope<Profile>;

    const std::string& LastError() const { return lastError_; }

private:
    bool Fail(const char* text);

    platform::RegistryProfile registry_;
    std::string lastError_;
};

// The program's one instance, over the user's file.
Profile& AppProfile();
