// CRegistry: reads string values of one key of the per-user registry stand-in.
#pragma once

#include <string>

class CRegistry {
public:
    // False when the key does not exist (or the file cannot be read).
    bool OpenKey(const std::string& path);
    void Close();
    bool IsOpen() const { return open_; }

    // The text of a value of the open key; `out` stays unchanged when there is no such value.
    bool ReadString(const std::string& name, std::string& out) const;

private:
    std::string path_;
    bool open_ = false;
};

namespace vek {

inline constexpr const char* kSetupKey = "Software\\Dravik\\Corvane\\Setup";

// Setup/"LastPath": the main program's folder, as it wrote it at its last start; empty when
// unknown.
std::string ReadLastPath();

}  // namespace vek
