// A uniquely named file inside a folder that removes itself unless kept: where archives and
// restored entries are written before they take their final names.
#pragma once

#include <string>

namespace backup {

class TempFile {
public:
    // Creates "<folder>/.<stem>-XXXXXX"; Path() is empty when that failed (*error says why).
    TempFile(const std::string& folder, const std::string& stem, std::string* error);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }
    // The file open for writing, as created (so no second open truncates it); -1 once closed.
    int Fd() const { return fd_; }
    // Closes Fd(); false with *error when the close reports a lost write.
    bool CloseFd(std::string* error);
    // The name inside its folder.
    std::string Name() const;
    // The file was renamed away: nothing is left to remove.
    void Release() { path_.clear(); }

private:
    std::string path_;
    int fd_ = -1;
};

// Flushes a written file to disk; false with *error when that fails.
bool SyncFile(const std::string& path, std::string* error);

}  // namespace backup
