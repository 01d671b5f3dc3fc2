// The backup side of BackupArchive.h.
#include "BackupArchive.h"
#include "BackupNames.h"
#include "EntryMode.h"
#include "TempFile.h"

#include "ProgramFolder.h"

#include <sys/stat.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>

namespace backup {

namespace {

constexpr std::size_t kChunk = 1u << 20;
constexpr uLong kUtf8NamesFlag = 1u << 11;
constexpr int kDefaultMemLevel = 8;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool IsUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t more = c < 0x80             ? 0
                                 : (c & 0xE0) == 0xC0 ? 1
                                 : (c & 0xF0) == 0xE0 ? 2
                                 : (c & 0xF8) == 0xF0 ? 3
                                                      : 4;
        if (more == 4 || s.size() - i <= more)
            return false;
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += more + 1;
    }
    return true;
}

zip_fileinfo InfoOf(const struct stat& st)
{
    zip_fileinfo info{};
    std::tm t{};
    const std::time_t mtime = st.st_mtime;
    if (localtime_r(&mtime, &t) != nullptr && t.tm_year >= 80) {
        info.tmz_date.tm_sec = static_cast<uInt>(t.tm_sec);
        info.tmz_date.tm_min = static_cast<uInt>(t.tm_min);
        info.tmz_date.tm_hour = static_cast<uInt>(t.tm_hour);
        info.tmz_date.tm_mday = static_cast<uInt>(t.tm_mday);
        info.tmz_date.tm_mon = static_cast<uInt>(t.tm_mon);
        info.tmz_date.tm_year = static_cast<uInt>(t.tm_year + 1900);
    } else {
        info.tmz_date.tm_mday = 1;
        info.tmz_date.tm_year = 1980;
    }
    return info;
}

class ArchiveWriter {
public:
    explicit ArchiveWriter(const std::string& path)
        : zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE))
    {
    }
    ~ArchiveWriter()
    {
        if (zip_ != nullptr)
            zipClose(zip_, nullptr);
    }
    bool IsOpen() const { return zip_ != nullptr; }

    bool Add(const std::string& path, const std::string& entry, int level,
             std::vector<char>& buffer, std::string& error)
    {
        FilePtr in(std::fopen(path.c_str(), "rbe"));
        struct stat st {};
        if (!in || ::fstat(fileno(in.get()), &st) != 0) {
            error = platform::BaseName(path) + ": " + platform::ErrorText(errno);
            return false;
        }
        zip_fileinfo info = InfoOf(st);
        info.external_fa = ExternalAttributes(st.st_mode);
        const int zip64 = st.st_size >= 0xFFFFFFFFLL ? 1 : 0;
        if (zipOpenNewFileInZip4_64(zip_, entry.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, level, 0, -MAX_WBITS, kDefaultMemLevel,
                                    Z_DEFAULT_STRATEGY, nullptr, 0, kMadeOnUnix,
                                    IsUtf8(entry) ? kUtf8NamesFlag : 0, zip64)
            != ZIP_OK) {
            error = entry + ": cannot add the entry";
            return false;
        }
        bool ok = true;
        for (;;) {
            const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in.get());
            if (n > 0
                && zipWriteInFileInZip(zip_, buffer.data(), static_cast<unsigned>(n)) != ZIP_OK) {
                error = entry + ": write error";
                ok = false;
                break;
            }
            if (n < buffer.size()) {
                if (std::ferror(in.get())) {
                    error = platform::BaseName(path) + ": read error";
                    ok = false;
                }
                break;
            }
        }
        if (zipCloseFileInZip(zip_) != ZIP_OK && ok) {
            error = entry + ": write error";
            ok = false;
        }
        return ok;
    }

    bool Close(std::string& error)
    {
        const int result = zipClose(zip_, nullptr);
        zip_ = nullptr;
        if (result != ZIP_OK)
            error = "cannot complete the archive";
        return result == ZIP_OK;
    }

private:
    zipFile zip_;
};

}  // namespace

BackupResult WriteBackup(const std::string& dataFolder, const std::string& targetFolder, int level)
{
    BackupResult result;
    TempFile temp(targetFolder, kArchiveName, &result.error);
    // minizip opens the archive by its name.
    if (temp.Path().empty() || !temp.CloseFd(&result.error))
        return result;
    {
        ArchiveWriter writer(temp.Path());
        if (!writer.IsOpen()) {
            result.error = platform::ErrorText(errno);
            return result;
        }
        std::vector<char> buffer(kChunk);
        for (const BackupFile& file : CollectFiles(dataFolder)) {
            if (!writer.Add(platform::JoinPath(dataFolder, file.fileName), file.entryName, level,
                            buffer, result.error))
                return result;
            ++result.entries;
        }
        if (!writer.Close(result.error))
            return result;
    }
    if (!SyncFile(temp.Path(), &result.error)
        || !platform::RenameInFolder(targetFolder, temp.Name(), kArchiveName, &result.error))
        return result;
    temp.Release();
    result.archivePath = platform::JoinPath(targetFolder, kArchiveName);
    result.ok = true;
    return result;
}

}  // namespace backup
