#include "Tolvash.h"

#include "ProgramFolder.h"

#include <optional>

namespace tolvash_call {

std::string ProgramPath(const std::string& folder)
{
    std::optional<std::string> found = platform::FindInFolder(folder, kProgramName);
    return found ? *found : platform::JoinPath(folder, kProgramName);
}

std::vector<std::string> TestFileArgs(const std::string& testFile)
{
    return {testFile, ""};
}

std::vector<std::string> TestIniArgs(const std::string& iniPath, int number)
{
    return {"ControllaIni", iniPath, std::to_string(number)};
}

std::vector<std::string> UpdateArgs(const std::string& iniPath)
{
    return {"GetUpdateFromWeb", iniPath, "1"};
}

namespace {
std::vector<std::string> Argv(const std::string& folder, const std::vector<std::string>& args)
{
    std::vector<std::string> argv{ProgramPath(folder)};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}
}  // namespace

bool RunAndWait(const std::string& folder, const std::vector<std::string>& args,
                platform::RunResult* result)
{
    platform::RunResult r = platform::SpawnAndWait(Argv(folder, args), {}, kWaitMs);
    if (result)
        *result = r;
    return r.Succeeded();
}

bool RunUpdateCheck(bool run, const std::string& folder, const std::string& iniPath)
{
    if (!run)
        return false;
    return platform::SpawnDetached(Argv(folder, UpdateArgs(iniPath))).started;
}

}  // namespace tolvash_call
