// The start-up test that the program folder and the INI file can be written, so settings are not
// lost silently. tolvash does the writing; when it is missing or fails, the program writes the
// same files itself, so only a real write failure stops the start.
#pragma once

#include "Ini.h"

#include <string>

class WriteTest {
public:
    struct Report {
        bool fileOk = false;  // the test file was created (and removed again)
        bool iniOk = false;   // Setup/"TestWrite" holds the number asked for
        bool fileByTolvash = false;
        bool iniByTolvash = false;
        std::string testFile;  // the test file's path
    };

    // `folder` is the program folder; `ini` is the configuration store, path already set.
    WriteTest(std::string folder, CIni& ini);

    // Creates a new file "<n>.dat" in the folder, checks that it can be read, removes it. Its name
    // is recorded first, and a file an earlier test was killed before removing goes first
    // (WriteTestRecord.h).
    bool TestFile();
    // Has Setup/"TestWrite" set to a fresh number and reads it back.
    bool TestIni();

    const Report& GetReport() const { return report_; }

private:
    std::string NewTestFileName();
    bool CreateFileSelf(const std::string& path);

    std::string folder_;
    CIni& ini_;
    Report report_;
};
