// The backup archive against plain zlib on the same bytes at the same level: 200 data files of
// 20 MB together (list files and WAVs) backed up and restored, then deflated and inflated with
// zlib alone in memory. The restore is also set against the unzip tool extracting the same
// archive into a fresh folder, which creates files as the restore does. Both sides compute each
// file's CRC-32, which a zip entry carries and a restore checks.
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BackupArchive.h"

namespace fs = std::filesystem;

namespace {

constexpr int kListFiles = 150;
constexpr int kWaveFiles = 50;
constexpr int kRounds = 3;
constexpr std::size_t kListBytes = 20000;
constexpr std::size_t kWaveBytes = (20u << 20) / kWaveFiles - kListFiles * kListBytes / kWaveFiles;

std::string ListFile(std::mt19937& rng)
{
    std::string s;
    while (s.size() < kListBytes)
        s += "Channel " + std::to_string(rng() % 1000) + " ~ "
             + std::to_string(1800000 + rng() % 50000000)
             + " ~ USB ~ OFF ~ NOSPLIT ~ VFO A ~ NODUP ~ DEF ~ OFF ~ 88,5 ~\n";
    s.resize(kListBytes);
    return s;
}

std::string WaveFile(std::mt19937& rng)
{
    std::string s(kWaveBytes, '\0');
    double phase = 0;
    for (std::size_t i = 44; i + 1 < s.size(); i += 2) {
        phase += 0.07;
        const int v =
            static_cast<int>(8000 * std::sin(phase)) + static_cast<int>(rng() % 512) - 256;
        s[i] = static_cast<char>(v & 0xFF);
        s[i + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
    s.replace(0, 4, "RIFF");
    return s;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main()
{
    const fs::path root =
        fs::temp_directory_path() / ("corvane-bench-backup-" + std::to_string(::getpid()));
    const fs::path data = root / "data", target = root / "target";
    for (const fs::path& p : {data, target})
        fs::create_directories(p);
    std::mt19937 rng(1);
    std::vector<std::string> files;
    for (int i = 0; i < kListFiles + kWaveFiles; ++i) {
        files.push_back(i < kListFiles ? ListFile(rng) : WaveFile(rng));
        const std::string name = i < kListFiles ? "List" + std::to_string(i) + ".Dat"
                                                : "Voice" + std::to_string(i) + ".wav";
        std::ofstream(data / name, std::ios::binary) << files.back();
    }
    double megabytes = 0;
    for (const std::string& f : files)
        megabytes += static_cast<double>(f.size()) / 1e6;

    constexpr int kLevel = Z_DEFAULT_COMPRESSION;
    auto t = std::chrono::steady_clock::now();
    const backup::BackupResult b = backup::WriteBackup(data.string(), target.string(), kLevel);
    const double backupS = Seconds(t);
    if (!b.ok) {
        std::fprintf(stderr, "backup failed: %s\n", b.error.c_str());
        fs::remove_all(root);
        return 1;
    }

    // The restore and the unzip tool extract the same archive into fresh folders, taking turns
    // so that neither meets the write-back of what the other wrote; the best of three counts.
    double restoreS = 1e9, unzipS = 1e9;
    bool unzipOk = true;
    for (int round = 0; round < kRounds; ++round) {
        const fs::path restored = root / ("restored" + std::to_string(round));
        const fs::path unzipped = root / ("unzipped" + std::to_string(round));
        fs::create_directories(restored);
        fs::create_directories(unzipped);
        t = std::chrono::steady_clock::now();
        const backup::RestoreResult r = backup::RestoreBackup(b.archivePath, restored.string());
        restoreS = std::min(restoreS, Seconds(t));
        if (r.status != backup::RestoreResult::Status::Restored) {
            std::fprintf(stderr, "restore failed: %s\n", r.error.c_str());
            fs::remove_all(root);
            return 1;
        }
        const std::string unzip =
            "unzip -o -qq '" + b.archivePath + "' -d '" + unzipped.string() + "'";
        t = std::chrono::steady_clock::now();
        unzipOk = unzipOk && std::system(unzip.c_str()) == 0;
        unzipS = std::min(unzipS, Seconds(t));
    }

    std::vector<std::string> packed;
    std::vector<uLong> crcs;
    t = std::chrono::steady_clock::now();
    for (const std::string& f : files) {
        z_stream z{};
        deflateInit2(&z, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        std::string out(deflateBound(&z, f.size()), '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(f.data()));
        z.avail_in = static_cast<uInt>(f.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FINISH);
        out.resize(z.total_out);
        crcs.push_back(
            crc32(0, reinterpret_cast<const Bytef*>(f.data()), static_cast<uInt>(f.size())));
        deflateEnd(&z);
        packed.push_back(std::move(out));
    }
    const double deflateS = Seconds(t);
    t = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < packed.size(); ++i) {
        z_stream z{};
        inflateInit2(&z, -MAX_WBITS);
        std::string out(files[i].size(), '\0');
        z.next_in = reinterpret_cast<Bytef*>(packed[i].data());
        z.avail_in = static_cast<uInt>(packed[i].size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        inflate(&z, Z_FINISH);
        inflateEnd(&z);
        if (crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()))
            != crcs[i])
            std::fprintf(stderr, "zlib round trip differs in file %zu\n", i);
    }
    const double inflateS = Seconds(t);
    fs::remove_all(root);

    std::printf("backup_mb_per_s: %.1f MB/s\n", megabytes / backupS);
    std::printf("restore_mb_per_s: %.1f MB/s\n", megabytes / restoreS);
    if (unzipOk)
        std::printf("unzip_restore_mb_per_s: %.1f MB/s\n", megabytes / unzipS);
    else
        std::fprintf(stderr, "unzip could not extract the archive\n");
    std::printf("zlib_deflate_mb_per_s: %.1f MB/s\n", megabytes / deflateS);
    std::printf("zlib_inflate_mb_per_s: %.1f MB/s\n", megabytes / inflateS);
    return 0;
}
