#include "PlugInFile.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace plugins {

namespace {

// Two short lines; a larger file is not a plug-in.
constexpr std::size_t kMaxFileBytes = 64u << 10;

std::string FileNameOf(const std::string& name)
{
    return name + kExtension;
}

}  // namespace

std::string PlugInFolder(const std::string& programFolder)
{
    std::string folder = platform::ResolveInFolder(programFolder, kFolderName);
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool IsPlugInName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const unsigned char c : name)
        if (c == '/' || c < 0x20 || c == 0x7F)
            return false;
    return true;
}

std::vector<std::string> ListFiles(const std::string& folder)
{
    return platform::GlobFolder(folder, std::string("*") + kExtension);
}

PlugInFile ParseText(std::string_view text)
{
    PlugInFile file;
    std::string* fields[] = {&file.description, &file.program};
    for (std::string* field : fields) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            // A last line without its line end still counts, as a text reader gives it.
            if (!text.empty()) {
                field->assign(text);
                ++file.lines;
            }
            break;
        }
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        field->assign(line);
        ++file.lines;
        text.remove_prefix(end + 1);
    }
    return file;
}

std::optional<PlugInFile> ReadFile(const std::string& folder, const std::string& fileName)
{
    std::string text;
    const std::string path = platform::ResolveInFolder(folder, fileName);
    if (path.empty() || !platform::ReadWholeFile(path, text, nullptr, nullptr, kMaxFileBytes))
        return std::nullopt;
    PlugInFile file = ParseText(text);
    file.name = fileName;
    const std::size_t dot = file.name.rfind('.');
    if (dot != std::string::npos)
        file.name.erase(dot);
    return file;
}

bool IsReadableFile(const std::string& path)
{
    if (path.empty())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

bool WriteFile(const std::string& folder, const PlugInFile& plugIn, std::string* error)
{
    if (!IsPlugInName(plugIn.name)) {
        if (error)
            *error = "Not a valid name";
        return false;
    }
    // The exact spelling: two plug-ins may differ only in case.
    return platform::WriteFileAtomic(platform::JoinPath(folder, FileNameOf(plugIn.name)),
                                     plugIn.description + '\n' + plugIn.program + '\n', error);
}

bool DeleteFile(const std::string& folder, const std::string& name, std::string* error)
{
    if (!IsPlugInName(name)) {
        if (error)
            *error = "Not a valid name";
        return false;
    }
    const std::string path = platform::JoinPath(folder, FileNameOf(name));
    if (::unlink(path.c_str()) == 0)
        return true;
    if (error)
        *error = platform::ErrorText(errno);
    return false;
}

}  // namespace plugins
