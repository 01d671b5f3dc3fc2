// The sked file at 10 000 skeds: reading it into the sorted list, and rewriting it (the atomic
// rename included). The folder is the first argument, else the system's temporary folder.
#include "SkedLine.h"
#include "SkedList.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSkeds = 10000;
constexpr int kRounds = 5;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Skeds in random order, as years of editing leave them.
std::string BuildFile()
{
    std::mt19937 random(42);
    std::string text;
    for (int i = 0; i < kSkeds; ++i) {
        lists::SkedLine s;
        char key[16];
        auto pick = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
        std::snprintf(key, sizeof key, "20%02u%02u%02u%02u%02u", 30 + pick(10), 1 + pick(12),
                      1 + pick(28), pick(24), pick(60));
        s.key = key;
        s.description = "Net number " + std::to_string(i);
        s.frequencyA = "14.074.000";
        s.modeA = "USB";
        s.frequencyB = "7.074.000";
        s.modeB = "LSB";
        s.split = i % 3 == 0;
        text += lists::JoinSkedLine(s) + "\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::string path =
        (folder / ("bench-skeds-" + std::to_string(::getpid()) + ".dat")).string();
    // Unsorted, so the load sorts.
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    const std::string text = BuildFile();
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);

    double load = 1e9;
    double save = 1e9;
    lists::SkedList list;
    for (int round = 0; round < kRounds; ++round) {
        const auto t0 = Clock::now();
        list = lists::LoadSkedFile(path);
        const auto t1 = Clock::now();
        std::string error;
        if (!lists::SaveSkedFile(path + ".out", list, &error)) {
            std::fprintf(stderr, "cannot write: %s\n", error.c_str());
            return 1;
        }
        const auto t2 = Clock::now();
        load = std::min(load, Ms(t1 - t0));
        save = std::min(save, Ms(t2 - t1));
    }
    std::printf("skeds_load_10k_ms: %.2f ms\n", load);
    std::printf("skeds_save_10k_ms: %.2f ms\n", save);
    std::printf("skeds_count: %zu\n", list.Size());
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".out");
    return 0;
}
