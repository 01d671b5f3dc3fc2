// The settings file at the size users reach (about 1.7 MB, many sections): reading keys one by
// one as start-up does, and writing 500 keys one by one against one batch, as shut-down does.
// The folder is the first argument, else the system's temporary folder (a real disk shows the
// cost of flushing each rewrite).
#include "Ini.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSections = 1900;
constexpr int kKeysPerSection = 24;
constexpr int kReads = 300;
constexpr int kWrites = 500;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string SectionName(int s)
{
    return "Memory" + std::to_string(s);
}
std::string KeyName(int k)
{
    return "Channel" + std::to_string(k) + "_freq";
}

std::string BuildIni()
{
    std::string text = "[Setup]\r\nLanguage=English.lng\r\nBaud=9600\r\n";
    for (int s = 0; s < kSections; ++s) {
        text += "[" + SectionName(s) + "]\r\n";
        for (int k = 0; k < kKeysPerSection; ++k)
            text +=
                KeyName(k) + "=\"" + std::to_string(144000000 + s * 1000 + k) + " FM narrow\"\r\n";
    }
    return text;
}

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string base = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    std::string folder = base + "/corvane-bench-profile-XXXXXX";
    if (!mkdtemp(folder.data())) {
        std::printf("bench_profile: no folder in %s\n", base.c_str());
        return 0;
    }
    const std::string path = folder + "/Corvane.ini";
    std::mt19937 rng(1);
    auto randomSection = [&] { return SectionName(static_cast<int>(rng() % kSections)); };
    auto randomKey = [&] { return KeyName(static_cast<int>(rng() % kKeysPerSection)); };

    CIni ini;
    ini.SetPath(path.c_str());
    const std::string text = BuildIni();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    Print("ini_size", text.size() / 1e6, "MB");

    auto t0 = Clock::now();
    long sum = 0;
    for (int i = 0; i < kReads; ++i)
        sum += ini.GetString(randomSection().c_str(), randomKey().c_str()).size();
    auto t1 = Clock::now();
    Print("read_key", Ms(t1 - t0) / kReads, "ms");
    Print("read_300_keys", Ms(t1 - t0), "ms");
    t0 = Clock::now();
    for (int i = 0; i < kReads; ++i)
        sum += ini.GetString("Setup", "Language").size();
    t1 = Clock::now();
    Print("read_key_first_section", Ms(t1 - t0) / kReads, "ms");

    t0 = Clock::now();
    bool ok = true;
    for (int i = 0; i < kWrites; ++i)
        ok = ini.WriteInt(randomSection().c_str(), ("Saved" + std::to_string(i % 40)).c_str(), i)
             && ok;
    t1 = Clock::now();
    Print("write_500_keys_singly", Ms(t1 - t0), "ms");

    t0 = Clock::now();
    {
        CIni::Batch batch(ini);
        for (int i = 0; i < kWrites; ++i)
            ok = ini.WriteInt(randomSection().c_str(), ("Saved" + std::to_string(i % 40)).c_str(),
                              -i)
                 && ok;
        ok = batch.Commit() && ok;
    }
    t1 = Clock::now();
    Print("write_500_keys_batch", Ms(t1 - t0), "ms");
    if (!ok)
        std::printf("bench_profile: a write failed: %s\n", ini.LastError().c_str());

    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return sum < 0 ? 1 : 0;
}
