// What tolvash does for each way the program calls it.
//
//   tolvash <file> [""]                          write test: creates <file>, which must be new
//   tolvash ControllaIni <ini> <number>          writes <number> to [Setup] TestWrite of <ini>
//   tolvash GetUpdateFromWeb <ini> <flag>        update check: no network here, so no update
//
// Each returns the exit status: 0 done, 1 the write failed, 2 bad arguments. Errors go to
// `err`; nothing is printed on success.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvash {

int CreateTestFile(const std::string& path, std::ostream& err);
int WriteTestValue(const std::string& iniPath, const std::string& number, std::ostream& err);
int CheckForUpdate(const std::string& iniPath, std::ostream& err);

// Dispatches on the arguments after the program name.
int Run(const std::vector<std::string>& args, std::ostream& err);

}  // namespace tolvash
