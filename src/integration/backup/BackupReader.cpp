// The restore side of BackupArchive.h.
#include "BackupArchive.h"
#include "BackupNames.h"
#include "TempFile.h"

#include "AsciiCase.h"
#include "AtomicFile.h"
#include "ProgramFolder.h"

#include <unistd.h>
#include <unzip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <future>
#include <memory>
#include <unordered_map>

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

// The current entry into the temporary file: every byte its header announces, its CRC checked.
// Written through the descriptor it was created with: reopening it with O_TRUNC would make the
// file system flush it on close.
bool ExtractCurrent(unzFile unz, const unz_file_info64& info, TempFile& temp,
                    std::vector<char>& buffer, std::string& error)
{
    if (unzOpenCurrentFile(unz) != UNZ_OK) {
        error = "cannot read the entry";
        return false;
    }
    const int fd = temp.Fd();
    bool ok = true;
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
    std::string closeError;
    if (!temp.CloseFd(&closeError) && ok) {
        error = closeError;
        ok = false;
    }
    return ok;
}

// A temporary file for the next entry, created on another thread while the current entry
// inflates: creating a file costs about as much as inflating one.
struct PreparedTemp {
    std::unique_ptr<TempFile> file;
    std::string error;
};

PreparedTemp PrepareTemp(const std::string& folder)
{
    PreparedTemp temp;
    temp.file = std::make_unique<TempFile>(folder, "restore", &temp.error);
    return temp;
}

// The spellings of the folder's file names by their lower-case form, listed once: renaming by
// the folder's case rule lists the folder each time, which only a name with another spelling
// present needs.
using Spellings = std::unordered_map<std::string, std::vector<std::string>>;

Spellings SpellingsIn(const std::string& folder)
{
    Spellings spellings;
    for (std::string& name : platform::GlobFolder(folder, "*"))
        spellings[platform::AsciiLowerCopy(name)].push_back(std::move(name));
    return spellings;
}

// The restored file takes the entry's name, replacing any other spelling of it.
bool PlaceRestored(const std::string& folder, const std::string& tempName, const std::string& entry,
                   Spellings& present, std::string& error)
{
    std::vector<std::string>& spellings = present[platform::AsciiLowerCopy(entry)];
    const bool others = std::any_of(spellings.begin(), spellings.end(),
                                    [&](const std::string& s) { return s != entry; });
    bool ok = true;
    if (others) {
        ok = platform::RenameInFolder(folder, tempName, entry, &error);
    } else if (::rename(platform::JoinPath(folder, tempName).c_str(),
                        platform::JoinPath(folder, entry).c_str())
               != 0) {
        error = platform::ErrorText(errno);
        ok = false;
    }
    if (ok)
        spellings.assign(1, entry);
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
    Spellings present = SpellingsIn(dataFolder);
    std::future<PreparedTemp> next;  // unused at the end: its file removes itself
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
            PreparedTemp temp = next.valid() ? next.get() : PrepareTemp(dataFolder);
            if (index + 1 < global.number_entry)
                next = std::async(std::launch::async, PrepareTemp, dataFolder);
            if (temp.file->Path().empty())
                return fail(temp.error);
            std::string error;
            if (!ExtractCurrent(archive.Handle(), info, *temp.file, buffer, error))
                return fail(entry + ": " + error);
            if (!PlaceRestored(dataFolder, temp.file->Name(), entry, present, error))
                return fail(entry + ": " + error);
            temp.file->Release();
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
