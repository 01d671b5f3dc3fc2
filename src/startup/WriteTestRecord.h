// The start-up write test must leave no file behind even when the program is killed during it.
// Before the test file is made, its name goes into a marker beside it (".writetest.<name>",
// holding the name); the next start removes the file a marker names, then the marker. A running
// test holds a lock on its marker, so a start at the same time leaves that test alone.
#pragma once

#include <string>
#include <string_view>

namespace write_test_record {

inline constexpr std::string_view kMarkerPrefix = ".writetest.";

// The names the write test makes: 1 to 5 digits, then ".dat".
bool IsTestFileName(std::string_view name);

// The marker of one running test.
class Record {
public:
    Record() = default;
    ~Record();  // keeps the marker when Close was not called: the file may still be there
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    // Writes and locks the marker of `testName` in `folder`; the name must pass IsTestFileName.
    // False when it cannot be written (or already exists).
    bool Open(const std::string& folder, const std::string& testName);
    // Removes the marker; call once the test file is gone.
    void Close();

private:
    std::string path_;
    int fd_ = -1;
};

// Removes the test files named by markers in `folder` that no running test holds, and those
// markers. Only a name of the test's own form inside the folder is ever removed. Returns the
// number of test files removed.
int RemoveLeftOvers(const std::string& folder);

}  // namespace write_test_record
