// A started program that tells its test how it was started: its working directory and every
// argument, one per line, into the file named by CORVANE_REPORT (complete or not at all).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const char* report = std::getenv("CORVANE_REPORT");
    char cwd[4096];
    if (report == nullptr || ::getcwd(cwd, sizeof cwd) == nullptr)
        return 1;
    const std::string temp = std::string(report) + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "w");
    if (f == nullptr)
        return 1;
    std::fprintf(f, "cwd=%s\n", cwd);
    for (int i = 0; i < argc; ++i)
        std::fprintf(f, "arg=%s\n", argv[i]);
    return std::fclose(f) == 0 && std::rename(temp.c_str(), report) == 0 ? 0 : 1;
}
