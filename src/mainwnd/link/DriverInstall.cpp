#include "DriverInstall.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AtomicFile.h"
#include "ProgramFolder.h"
#include "VekDriver.h"
#include "VersionInfo.h"

namespace {

constexpr size_t kCopyBlock = 4096;
constexpr const char* kDriversFolder = "Drivers";

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool Fail(std::string* error, const std::string& text)
{
    if (error != nullptr)
        *error = text;
    return false;
}

// Copies source into a new temporary file beside target, then renames it over target.
bool CopyReplacing(const std::string& source, const std::string& folder, const std::string& target,
                   std::string* error)
{
    Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return Fail(error, source + ": " + platform::ErrorText(errno));
    std::string temp = platform::JoinPath(folder, ".VekDriver.so.XXXXXX");
    Fd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.get() < 0)
        return Fail(error, platform::JoinPath(folder, cat::CVekDriver::kLibraryName) + ": "
                               + platform::ErrorText(errno));
    bool ok = true;
    std::string why;
    char block[kCopyBlock];
    for (;;) {
        const ssize_t n = ::read(in.get(), block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = source + ": " + platform::ErrorText(errno);
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (!platform::WriteAll(out.get(), std::string_view(block, static_cast<size_t>(n)))) {
            why = temp + ": " + platform::ErrorText(errno);
            ok = false;
            break;
        }
    }
    if (ok && (::fchmod(out.get(), 0755) != 0 || ::fsync(out.get()) != 0)) {
        why = temp + ": " + platform::ErrorText(errno);
        ok = false;
    }
    if (::close(out.release()) != 0 && ok) {
        why = temp + ": " + platform::ErrorText(errno);
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        why = target + ": " + platform::ErrorText(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return Fail(error, why);
    }
    return true;
}

// Whether target exists with exactly the size and bytes of source.
bool SameFileContents(const std::string& source, off_t sourceSize, const std::string& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != sourceSize)
        return false;
    std::string a, b;
    return platform::ReadWholeFile(source, a) && platform::ReadWholeFile(target, b) && a == b;
}

}  // namespace

bool IsComPortEntry(const std::string& entry)
{
    return entry.size() >= 4 && entry.compare(0, 3, "COM") == 0 && entry[3] >= '1'
           && entry[3] <= '9';
}

std::string DriverEntryFileName(const std::string& entry)
{
    const size_t dash = entry.find(" - ");
    std::string name = entry.substr(0, dash);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.pop_back();
    size_t start = 0;
    while (start < name.size() && (name[start] == ' ' || name[start] == '\t'))
        ++start;
    return name.substr(start);
}

std::string DriverVersionText(const std::string& path)
{
    const platform::CVersionInfoReader reader(path);
    std::string digits;
    for (const char c : reader.GetVersionLSText())
        if (c >= '0' && c <= '9')
            digits += c;
    int minor = 0;
    for (const char c : digits.substr(0, 9))
        minor = minor * 10 + (c - '0');
    return "Ver. " + reader.GetVersionMSText() + "." + std::to_string(minor);
}

DriverInstallResult InstallDriver(const std::string& programFolder, const std::string& entry,
                                  std::string* error)
{
    if (IsComPortEntry(entry) || entry.empty())
        return DriverInstallResult::kNotADriver;
    const std::string name = DriverEntryFileName(entry);
    // The entry comes from the INI file: it must name a file inside the drivers folder.
    if (!platform::IsPlainName(name)) {
        Fail(error, "\"" + name + "\": not a driver file name");
        return DriverInstallResult::kFailed;
    }
    const std::string drivers = platform::ResolveInFolder(programFolder, kDriversFolder);
    const std::string source = platform::ResolveInFolder(drivers, name);
    const std::string target =
        platform::ResolveInFolder(programFolder, cat::CVekDriver::kLibraryName);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        Fail(error, source + ": " + platform::ErrorText(err));
        return DriverInstallResult::kFailed;
    }
    // Two different libraries may carry the same version text: only the same bytes are up to date.
    if (SameFileContents(source, st.st_size, target))
        return DriverInstallResult::kUpToDate;
    if (!CopyReplacing(source, programFolder, target, error))
        return DriverInstallResult::kFailed;
    return DriverInstallResult::kCopied;
}
