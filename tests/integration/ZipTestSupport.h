// Archives for the backup tests, written and read with minizip itself: any entry names, and
// what an archive holds.
#pragma once

#include <unzip.h>
#include <zip.h>

#include <string>
#include <utility>
#include <vector>

namespace ziptest {

struct Entry {
    std::string name;
    std::string data;
    unsigned long flag = 0;
    int method = 0;
};

struct Item {
    std::string name;
    std::string data;
    unsigned mode = 0;  // recorded as a Unix host records it; 0: none
};

// A new archive of the items, or the items added to the end of an archive.
inline bool WriteZip(const std::string& path, const std::vector<Item>& entries, bool append = false)
{
    zipFile zf = zipOpen64(path.c_str(), append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE);
    if (zf == nullptr)
        return false;
    bool ok = true;
    for (const auto& [name, data, mode] : entries) {
        zip_fileinfo info{};
        info.external_fa = static_cast<uLong>(mode) << 16;
        ok = ok
             && zipOpenNewFileInZip4_64(zf, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                        Z_DEFLATED, 6, 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                                        nullptr, 0, mode != 0 ? (3u << 8) | 20u : 0u, 0, 0)
                    == ZIP_OK;
        ok = ok
             && zipWriteInFileInZip(zf, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zf) == ZIP_OK;
    }
    return zipClose(zf, nullptr) == ZIP_OK && ok;
}

// Entries "<stem><i>.wa_" whose headers each announce `announced` bytes while they hold none
// (an empty deflate stream): what a restore must judge by its directory before it writes.
inline bool WriteAnnouncing(const std::string& path, const std::string& stem, int count,
                            unsigned long announced)
{
    zipFile zf = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (zf == nullptr)
        return false;
    const unsigned char emptyDeflate[] = {0x03, 0x00};
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        zip_fileinfo info{};
        const std::string name = stem + std::to_string(i) + ".wa_";
        ok = zipOpenNewFileInZip2_64(zf, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                     Z_DEFLATED, 6, 1, 0)
             == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, emptyDeflate, sizeof emptyDeflate) == ZIP_OK;
        ok = ok && zipCloseFileInZipRaw64(zf, announced, 0) == ZIP_OK;
    }
    return zipClose(zf, nullptr) == ZIP_OK && ok;
}

// Every entry with its bytes; empty when the archive cannot be read whole.
inline std::vector<Entry> ReadZip(const std::string& path)
{
    std::vector<Entry> out;
    unzFile uf = unzOpen64(path.c_str());
    if (uf == nullptr)
        return out;
    for (int s = unzGoToFirstFile(uf); s == UNZ_OK; s = unzGoToNextFile(uf)) {
        unz_file_info64 info{};
        char name[1024] = {};
        if (unzGetCurrentFileInfo64(uf, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK
            || unzOpenCurrentFile(uf) != UNZ_OK)
            break;
        Entry e{name, std::string(info.uncompressed_size, '\0'), info.flag,
                static_cast<int>(info.compression_method)};
        const int n = unzReadCurrentFile(uf, e.data.data(), static_cast<unsigned>(e.data.size()));
        if (unzCloseCurrentFile(uf) != UNZ_OK || n != static_cast<int>(e.data.size()))
            break;
        out.push_back(std::move(e));
    }
    unzClose(uf);
    return out;
}

// Where the compressed bytes of entry `index` start in the file; 0 when unknown.
inline long long DataOffset(const std::string& path, int index)
{
    unzFile uf = unzOpen64(path.c_str());
    if (uf == nullptr)
        return 0;
    int s = unzGoToFirstFile(uf);
    for (int i = 0; i < index && s == UNZ_OK; ++i)
        s = unzGoToNextFile(uf);
    long long offset = 0;
    if (s == UNZ_OK && unzOpenCurrentFile(uf) == UNZ_OK) {
        offset = static_cast<long long>(unzGetCurrentFileZStreamPos64(uf));
        unzCloseCurrentFile(uf);
    }
    unzClose(uf);
    return offset;
}

}  // namespace ziptest
