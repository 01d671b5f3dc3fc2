// Child program for the process tests: reports what it was started with.
//   process_probe report FILE CODE [ARGS...]   writes cwd, open descriptors, ignored signals and
//                                              ARGS to FILE (complete once renamed), exits CODE
//   process_probe sleep MS                     sleeps, exits 0
//   process_probe exit CODE                    exits CODE
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::string OpenDescriptors()
{
    std::string list;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return "?";
    const int own = dirfd(dir);
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        if (std::atoi(e->d_name) == own)
            continue;
        list += (list.empty() ? "" : ",") + std::string(e->d_name);
    }
    closedir(dir);
    return list;
}

std::string IgnoredSignals()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigIgn:", 0) == 0)
            return line.substr(7);
    return "?";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "sleep") == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "exit") == 0)
        return std::atoi(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "report") == 0) {
        std::ostringstream out;
        char cwd[4096] = "?";
        if (!getcwd(cwd, sizeof cwd))
            std::strcpy(cwd, "?");
        out << "cwd=" << cwd << "\n";
        out << "fds=" << OpenDescriptors() << "\n";
        out << "sigign=" << IgnoredSignals() << "\n";
        for (int i = 4; i < argc; ++i)
            out << "arg=" << argv[i] << "\n";
        const std::string file = argv[2];
        const std::string temp = file + ".part";
        {
            std::ofstream f(temp);
            f << out.str();
        }
        std::rename(temp.c_str(), file.c_str());
        return std::atoi(argv[3]);
    }
    return 100;
}
