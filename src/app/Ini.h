// CIni: the program's configuration store over its INI file.
//
// Every operation takes section, key, then value or default. A null section or key makes a read
// return the default and a write fail without touching the file; a key not yet in the file is
// created by a write. Writes return false, keep the old file and leave the reason in LastError()
// when they cannot be done (no path, read-only file or folder, full disk). Each read sees the
// file on disk.
//
// Many writes in a row go into a batch (BeginBatch ... CommitBatch, or a Batch scope): the file
// is then rewritten once at the end instead of once per key, with the same result; reads in the
// batch see its writes. A write in a batch fails at once only for names or a value that cannot
// be stored; a failure to write the file is told by CommitBatch.
#pragma once

#include "ProfileBatch.h"
#include "SettingsKeys.h"

#include <optional>
#include <string>
#include <vector>

class CIni {
public:
    CIni() = default;
    virtual ~CIni() = default;

    // Stores a copy of the path; null empties an existing path. An open batch first writes what it
    // holds to the old file.
    void SetPath(const char* path);
    // Null until a path is set.
    const char* GetPath() const { return path_ ? path_->c_str() : nullptr; }

    // The value, or the default (null = empty) when the key is absent.
    std::string GetString(const char* section, const char* key, const char* def = nullptr) const;
    // A null value writes an empty value; it does not delete the key.
    bool WriteString(const char* section, const char* key, const char* value);

    // An absent or empty value gives the default. Otherwise at most 64 characters are read and
    // converted as an unsigned 32-bit decimal number: leading spaces skipped, a sign allowed,
    // digits up to the first other character ("12abc" = 12, "abc" = 0), "-1" and "4294967295"
    // both give -1, an overflow saturates at 0xFFFFFFFF (-1).
    int GetInt(const char* section, const char* key, int def) const;
    // Writes "%d".
    bool WriteInt(const char* section, const char* key, int value);

    bool DeleteKey(const char* section, const char* key);

    // Reads Setup/key: fewer than 2 characters or any character that is not a hex digit gives 0;
    // otherwise the number of whole byte pairs, at most 8. With a buffer (8 bytes) those bytes
    // are converted in memory order.
    int GetSetupBytes(const char* key, unsigned char* out) const;
    // Writes 8 bytes as 16 upper-case hex digits into Setup/key. Null bytes: nothing, false.
    bool WriteSetupBytes(const char* key, const unsigned char* bytes);

    // Section names in file order.
    std::vector<std::string> GetSectionNames() const;

    // Batches nest; the outermost CommitBatch writes the file. False (reason in LastError) when
    // the file could not be written: it then keeps its old content.
    void BeginBatch();
    bool CommitBatch();

    // A batch for the length of a scope; the end of the scope commits when Commit was not called.
    using Batch = platform::BatchScope<CIni>;

    // The reason the last failed write failed.
    const std::string& LastError() const { return lastError_; }

    // Descriptor forms: the section, key and default come from SettingsKeys.h.
    std::string GetString(const settings::IniString& s) const
    {
        return GetString(s.section, s.key, s.def);
    }
    bool WriteString(const settings::IniString& s, const char* value)
    {
        return WriteString(s.section, s.key, value);
    }
    bool WriteString(const settings::IniString& s, const std::string& value)
    {
        return WriteString(s.section, s.key, value.c_str());
    }
    int GetInt(const settings::IniInt& s) const { return GetInt(s.section, s.key, s.def); }
    bool WriteInt(const settings::IniInt& s, int value)
    {
        return WriteInt(s.section, s.key, value);
    }
    bool DeleteKey(const settings::IniInt& s) { return DeleteKey(s.section, s.key); }
    bool DeleteKey(const settings::IniString& s) { return DeleteKey(s.section, s.key); }
    int GetSetupBytes(const settings::IniBytes& s, unsigned char* out) const
    {
        return GetSetupBytes(s.key, out);
    }
    bool WriteSetupBytes(const settings::IniBytes& s, const unsigned char* bytes)
    {
        return WriteSetupBytes(s.key, bytes);
    }

private:
    // The raw value (trimmed, quotes removed), or nullopt.
    std::optional<std::string> Read(const char* section, const char* key) const;
    bool Fail(const char* text);

    std::optional<std::string> path_;
    std::string lastError_;
    platform::NestedProfileBatch batch_;
};
