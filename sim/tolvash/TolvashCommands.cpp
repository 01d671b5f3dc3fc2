#include "TolvashCommands.h"

#include "AtomicFile.h"
#include "Numbers.h"
#include "PrivateProfile.h"
#include "ProgramFolder.h"

#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

namespace tolvash {

namespace {

bool SameWord(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

int CreateTestFile(const std::string& path, std::ostream& err)
{
    if (path.empty()) {
        err << "tolvash: no file named\n";
        return 2;
    }
    // Only a new file: an existing one is somebody's data, neither emptied nor removed here.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        err << "tolvash: " << path << ": " << platform::ErrorText(errno) << "\n";
        return 1;
    }
    // Written and flushed like a data file, so a full disk shows here too.
    bool ok = platform::WriteAll(fd, "tolvash write test\n") && fsync(fd) == 0;
    int saved = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        err << "tolvash: " << path << ": " << platform::ErrorText(saved) << "\n";
        unlink(path.c_str());
        return 1;
    }
    return 0;
}

int WriteTestValue(const std::string& iniPath, const std::string& number, std::ostream& err)
{
    std::optional<int> value = platform::ParseInt(number);
    if (iniPath.empty() || !value) {
        err << "tolvash: ControllaIni needs an INI file and a number\n";
        return 2;
    }
    std::string error;
    if (!platform::WriteProfileValue(iniPath, "Setup", "TestWrite", platform::FormatInt(*value),
                                     &error)) {
        err << "tolvash: " << iniPath << ": " << error << "\n";
        return 1;
    }
    return 0;
}

int CheckForUpdate(const std::string& iniPath, std::ostream& err)
{
    if (iniPath.empty()) {
        err << "tolvash: GetUpdateFromWeb needs an INI file\n";
        return 2;
    }
    // No network: there is never a newer version, and no update means nothing to say.
    return 0;
}

int Run(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.empty()) {
        err << "usage: tolvash <file> | ControllaIni <ini> <number> | GetUpdateFromWeb <ini> "
               "<flag>\n";
        return 2;
    }
    if (SameWord(args[0], "ControllaIni"))
        return WriteTestValue(args.size() > 1 ? args[1] : std::string(),
                              args.size() > 2 ? args[2] : std::string(), err);
    if (SameWord(args[0], "GetUpdateFromWeb"))
        return CheckForUpdate(args.size() > 1 ? args[1] : std::string(), err);
    return CreateTestFile(args[0], err);
}

}  // namespace tolvash
