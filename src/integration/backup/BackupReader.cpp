// The restore side of BackupArchive.h.
#include "ArchiveInput.h"
#include "BackupArchive.h"
#include "BackupNames.h"
#include "EntryMode.h"
#include "PendingRestore.h"
#include "TempFile.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <unzip.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>

namespace backup {

namespace {

constexpr std::size_t kChunk = 1u << 20;
// Longer entry names are no names a backup writes.
constexpr std::size_t kMaxName = 1024;
// Far more than a data folder holds: each entry costs a file and a rename.
constexpr ZPOS64_T kMaxEntries = 10000;
// What the folder keeps free besides the restored files, for the program's own saves.
constexpr std::uint64_t kSpareBytes = 16u << 20;

class ArchiveReader {
public:
    explicit ArchiveReader(const std::string& path)
    {
        zlib_filefunc64_def input = BufferedArchiveInput();
        unz_ = unzOpen2_64(path.c_str(), &input);
    }
    ~ArchiveReader()
    {
        if (unz_ != nullptr)
            unzClose(unz_);
    }
    bool IsOpen() const { return unz_ != nullptr; }
    unzFile Handle() const { return unz_; }

private:
    unzFile unz_ = nullptr;
};

// The current entry into the temporary file: every byte its header announces, its CRC checked.
// Written through the descriptor it was created with: reopening it with O_TRUNC would make the
// file system flush it on close.
bool ExtractCurrent(unzFile unz, const unz_file_info64& info, TempFile& temp,
                    std::vector<char>& buffer, std::string& error)
{
    const mode_t permissions = RestoredPermissions(RecordedMode(info.version, info.external_fa));
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
    if (ok && ::fchmod(fd, permissions) != 0) {
        error = platform::ErrorText(errno);
        ok = false;
    }
    std::string closeError;
    if (!temp.CloseFd(&closeError) && ok) {
        error = closeError;
        ok = false;
    }
    return ok;
}

// A restorable entry found in the archive's directory.
struct Planned {
    unz64_file_pos at{};
    unz_file_info64 info{};
    std::string entry;
};

struct Plan {
    std::vector<Planned> entries;
    std::vector<std::string> skipped;
    std::uint64_t bytes = 0;
    std::string error;  // the directory could not be read
};

Plan ReadDirectory(unzFile unz, ZPOS64_T count)
{
    Plan plan;
    int status = count > 0 ? unzGoToFirstFile(unz) : UNZ_END_OF_LIST_OF_FILE;
    for (ZPOS64_T index = 0; status == UNZ_OK; ++index) {
        Planned p;
        char name[kMaxName + 1] = {};
        if (unzGetCurrentFileInfo64(unz, &p.info, name, sizeof name, nullptr, 0, nullptr, 0)
                != UNZ_OK
            || unzGetFilePos64(unz, &p.at) != UNZ_OK) {
            plan.error = "damaged archive directory";
            return plan;
        }
        p.entry.assign(name, std::min<std::size_t>(p.info.size_filename, kMaxName));
        // Links and other files that are not plain files are never restored as one.
        const std::optional<mode_t> mode = RecordedMode(p.info.version, p.info.external_fa);
        const bool plain = !mode || (*mode & S_IFMT) == 0 || S_ISREG(*mode);
        if (p.info.size_filename > kMaxName || !IsRestorableName(p.entry) || !plain) {
            plan.skipped.push_back(std::move(p.entry));
        } else {
            // Sizes are the archive's word: a sum that wraps must not pass for little.
            const std::uint64_t size = p.info.uncompressed_size;
            plan.bytes = size > UINT64_MAX - plan.bytes ? UINT64_MAX : plan.bytes + size;
            plan.entries.push_back(std::move(p));
        }
        status = index + 1 < count ? unzGoToNextFile(unz) : UNZ_END_OF_LIST_OF_FILE;
    }
    if (status != UNZ_END_OF_LIST_OF_FILE)
        plan.error = "damaged archive directory";
    return plan;
}

// Room for what the restore writes: the old files stay until the next start replaces them.
std::string CheckRoom(const std::string& folder, std::uint64_t bytes)
{
    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) != 0)
        return platform::ErrorText(errno);
    const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
    if (bytes > free || free - bytes < kSpareBytes)
        return "the archive holds " + std::to_string(bytes / 1000000 + 1)
               + " MB, more than the free space of the folder (" + std::to_string(free / 1000000)
               + " MB)";
    return {};
}

}  // namespace

std::optional<std::string> FindArchive(const std::string& folder)
{
    std::optional<std::string> path = platform::FindInFolder(folder, kArchiveName);
    if (!path)
        return path;
    const int fd = OpenRegularFile(path->c_str());
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    return path;
}

RestoreResult RestoreBackup(const std::string& archivePath, const std::string& dataFolder,
                            const RestoreProgress& progress)
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
        result.status = RestoreResult::Status::Failed;
        result.error = what;
        return result;
    };
    if (global.number_entry > kMaxEntries)
        return fail("the archive holds more than " + std::to_string(kMaxEntries) + " entries");
    Plan plan = ReadDirectory(archive.Handle(), global.number_entry);
    result.skipped = std::move(plan.skipped);
    if (!plan.error.empty())
        return fail(plan.error);
    if (plan.entries.empty()) {
        result.status = RestoreResult::Status::Invalid;
        return result;
    }
    if (std::string full = CheckRoom(dataFolder, plan.bytes); !full.empty())
        return fail(full);

    // Steps: extracting each entry, the commit, placing each entry.
    const int steps = static_cast<int>(plan.entries.size()) * 2 + 1;
    int step = 0;
    const auto advance = [&] {
        if (progress)
            progress(++step, steps);
    };
    // Until the commit, every temporary removes itself when the restore fails.
    std::vector<std::unique_ptr<TempFile>> temps;
    std::vector<PreparedEntry> prepared;
    const std::string stem = RestoreTempStem();
    std::vector<char> buffer(kChunk);
    for (const Planned& p : plan.entries) {
        std::string error;
        auto temp = std::make_unique<TempFile>(dataFolder, stem, &error);
        if (temp->Path().empty())
            return fail(error);
        if (unzGoToFilePos64(archive.Handle(), &p.at) != UNZ_OK)
            return fail("damaged archive directory");
        if (!ExtractCurrent(archive.Handle(), p.info, *temp, buffer, error))
            return fail(p.entry + ": " + error);
        prepared.push_back({temp->Name(), p.entry});
        temps.push_back(std::move(temp));
        advance();
    }
    std::string error;
    if (!CommitRestore(dataFolder, prepared, &error))
        return fail(error);
    for (const auto& temp : temps)
        temp->Release();
    advance();
    // Committed: from a rename that fails on, the next start places the rest in order (a later
    // entry may be another spelling of an earlier one) and reports what still fails.
    Spellings present = SpellingsIn(dataFolder);
    bool placed = true;
    for (const PreparedEntry& e : prepared) {
        placed = placed && PlacePrepared(dataFolder, e, present, nullptr);
        result.restored.push_back(e.entry);
        advance();
    }
    if (placed)
        ::unlink(platform::JoinPath(dataFolder, kPendingRestoreName).c_str());
    result.status = RestoreResult::Status::Restored;
    return result;
}

}  // namespace backup
