// The restore side of BackupArchive.h.
#include "BackupArchive.h"
#include "BackupNames.h"
#include "TempFile.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

#include <fcntl.h>
#include <unistd.h>
#include <unzip.h>

#include <cerrno>

namespace backup {

namespace {

constexpr std::size_t kChunk = 1u << 20;
// Longer entry names are no names a backup writes.
constexpr std::size_t kMaxName = 1024;

class ArchiveReader {
public:
    explicit ArchiveReader(const std::string& path) : unz_(unzOpen64(path.c_str())) {}
    ~ArchiveReader()
    {
        if (unz_ != nullptr)
            unzClose(unz_);
    }
    bool IsOpen() const { return unz_ != nullptr; }
    unzFile Handle() const { return unz_; }

private:
    unzFile unz_;
};

// The current entry into `path`: every byte its header announces, its CRC checked.
bool ExtractCurrent(unzFile unz, const unz_file_info64& info, const std::string& path,
                    std::vector<char>& buffer, std::string& error)
{
    if (unzOpenCurrentFile(unz) != UNZ_OK) {
        error = "cannot read the entry";
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = fd >= 0;
    if (!ok)
        error = platform::ErrorText(errno);
    ZPOS64_T total = 0;
    while (ok) {
        const int n = unzReadCurrentFile(unz, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (n < 0) {
            error = "damaged entry";
            ok = false;
        } else if (n == 0) {
            break;
        } else {
            total += static_cast<ZPOS64_T>(n);
            int err = 0;
            if (total > info.uncompressed_size) {
                error = "entry longer than announced";
                ok = false;
            } else if (!platform::WriteAll(
                           fd, std::string_view(buffer.data(), static_cast<std::size_t>(n)),
                           &err)) {
                error = platform::ErrorText(err);
                ok = false;
            }
        }
    }
    const int closed = unzCloseCurrentFile(unz);
    if (ok && closed == UNZ_CRCERROR) {
        error = "CRC error";
        ok = false;
    } else if (ok && (closed != UNZ_OK || total != info.uncompressed_size)) {
        error = "damaged entry";
        ok = false;
    }
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        error = platform::ErrorText(errno);
        ok = false;
    }
    return ok;
}

// Removes what a failed restore wrote.
void RemoveRestored(const std::string& folder, const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        ::unlink(platform::JoinPath(folder, name).c_str());
}

}  // namespace

std::optional<std::string> FindArchive(const std::string& folder)
{
    return platform::FindInFolder(folder, kArchiveName);
}

RestoreResult RestoreBackup(const std::string& archivePath, const std::string& dataFolder)
{
    RestoreResult result;
    ArchiveReader archive(archivePath);
    unz_global_info64 global{};
    if (!archive.IsOpen() || unzGetGlobalInfo64(archive.Handle(), &global) != UNZ_OK) {
        result.status = RestoreResult::Status::Invalid;
        result.error = "not a zip archive";
        return result;
    }
    const auto fail = [&](const std::string& what) {
        RemoveRestored(dataFolder, result.restored);
        result.restored.clear();
        result.status = RestoreResult::Status::Failed;
        result.error = what;
        return result;
    };
    std::vector<char> buffer(kChunk);
    int status =
        global.number_entry > 0 ? unzGoToFirstFile(archive.Handle()) : UNZ_END_OF_LIST_OF_FILE;
    for (ZPOS64_T index = 0; status == UNZ_OK; ++index) {
        unz_file_info64 info{};
        char name[kMaxName + 1] = {};
        if (unzGetCurrentFileInfo64(archive.Handle(), &info, name, sizeof name, nullptr, 0, nullptr,
                                    0)
            != UNZ_OK)
            return fail("damaged archive directory");
        const std::string entry(name, std::min<std::size_t>(info.size_filename, kMaxName));
        if (info.size_filename > kMaxName || !IsRestorableName(entry)) {
            result.skipped.push_back(entry);
        } else {
            TempFile temp(dataFolder, "restore", &result.error);
            if (temp.Path().empty())
                return fail(result.error);
            std::string error;
            if (!ExtractCurrent(archive.Handle(), info, temp.Path(), buffer, error))
                return fail(entry + ": " + error);
            if (!platform::RenameInFolder(dataFolder, temp.Name(), entry, &error))
                return fail(entry + ": " + error);
            temp.Release();
            result.restored.push_back(entry);
        }
        status = index + 1 < global.number_entry ? unzGoToNextFile(archive.Handle())
                                                 : UNZ_END_OF_LIST_OF_FILE;
    }
    if (status != UNZ_END_OF_LIST_OF_FILE)
        return fail("damaged archive directory");
    result.status =
        result.restored.empty() ? RestoreResult::Status::Invalid : RestoreResult::Status::Restored;
    return result;
}

}  // namespace backup
