// The list files at 10 000 records, each figure the best of five rounds. The PC memory list:
// reading the file into a fresh memories grid, sorting, sizing the cells and the first paint
// (offscreen), a sort by frequency and the atomic save. The sked file: reading it into the
// sorted list and rewriting it. A CSV import of 40 000 records into the memories grid.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

#include <QApplication>
#include <QImage>

#include "AtomicFile.h"
#include "GridListTable.h"
#include "GridWidget.h"
#include "MemoryChannel.h"
#include "MemoryCsv.h"
#include "MemoryListFile.h"
#include "MyDataGrid.h"
#include "SkedLine.h"
#include "SkedList.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 10000;
constexpr int kSkedRounds = 5;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string MakeMemoryFile()
{
    std::mt19937 rng(11);
    lists::CTextTable table(lists::pcmem::kColumnCount);
    const char* const modes[] = {"LSB", "USB", "AM", "CW", "RTTY", "FM"};
    for (int i = 0; i < kRecords; ++i) {
        lists::MemoryChannel m;
        m.description = "Channel " + std::to_string(rng() % 100000);
        m.tuning.a = {1800000 + static_cast<int64_t>(rng() % 440000000), modes[rng() % 6], false};
        m.tuning.b = {1800000 + static_cast<int64_t>(rng() % 440000000), modes[rng() % 6], true};
        m.functions.duplexKHz = static_cast<int>(rng() % 2) * 600;
        m.toneTenths = static_cast<int>(rng() % 3) * 885;
        lists::SetRowCells(table, table.AppendRow(), m.Cells());
    }
    return lists::PcMemoriesText(table);
}

// Skeds in random order, as years of editing leave them, so the load sorts.
std::string MakeSkedFile()
{
    std::mt19937 random(42);
    std::string text;
    for (int i = 0; i < kRecords; ++i) {
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

void SetUpMemoryGrid(CDataGrid& g)
{
    g.SetColumnCount(lists::pcmem::kColumnCount);
    g.SetRowCount(1);
    g.SetFixedRowCount(1);
    g.SetListMode(true);
    g.SetGridLines(GridLinesBoth);
    for (int col = 0; col < lists::pcmem::kColumnCount; ++col)
        g.SetItemText(0, col, "Title " + std::to_string(col));
}

// One load and show of the file into a fresh grid, then a sort and a save; the times in ms.
struct MemoryTimes {
    double loadShow = 0, sort = 0, save = 0;
    bool ok = false;
};

MemoryTimes MemoryRound(const std::string& path)
{
    MemoryTimes t;
    CGridWidget widget;
    widget.resize(1000, 600);
    CDataGrid& g = widget.Grid();
    SetUpMemoryGrid(g);
    CGridListTable table(g);
    QImage image(widget.size(), QImage::Format_ARGB32);

    const Clock::time_point load = Clock::now();
    lists::CTextTable rows(lists::pcmem::kColumnCount);
    const lists::ListFileResult read = lists::ReadPcMemories(path, rows);
    g.SetRedraw(false);
    table.Assign(rows);
    g.SetRedraw(true);
    g.SetCompareFunction(nullptr);
    g.SortItems(0, true);
    g.AutoSize();
    widget.render(&image);
    t.loadShow = MsSince(load);
    if (read.status != lists::ListFileResult::Done || table.Rows() != kRecords)
        return t;

    const Clock::time_point sort = Clock::now();
    g.SetCompareFunction(&CMyDataGrid::CompareDigits);
    g.SortItems(lists::pcmem::kVfoA, true);
    t.sort = MsSince(sort);

    const Clock::time_point save = Clock::now();
    t.ok = lists::WritePcMemories(path, table).Ok();
    t.save = MsSince(save);
    return t;
}

bool MemoryFigures(const std::filesystem::path& dir)
{
    const std::string path = (dir / "MemPC.Dat").string();
    if (!platform::WriteFileAtomic(path, MakeMemoryFile()))
        return false;
    // Best of five: a busy machine only ever adds time.
    MemoryTimes best{1e9, 1e9, 1e9, true};
    for (int round = 0; round < 5; ++round) {
        const MemoryTimes t = MemoryRound(path);
        if (!t.ok)
            return false;
        best.loadShow = std::min(best.loadShow, t.loadShow);
        best.sort = std::min(best.sort, t.sort);
        best.save = std::min(best.save, t.save);
    }
    std::printf("mem_load_show_10k_ms: %.1f ms\n", best.loadShow);
    std::printf("mem_sort_10k_ms: %.1f ms\n", best.sort);
    std::printf("mem_save_10k_ms: %.1f ms\n", best.save);
    return true;
}

// A CSV import of 40 000 records into an empty memories grid, as the window does it: the
// file's text merged into a copy of the rows, which the grid then takes at once and sizes.
constexpr int kCsvRecords = 40000;

bool CsvImportFigure()
{
    std::mt19937 rng(5);
    std::string csv = "Description;VFO-A;Mode-A;Filter-A;VFO-B;Mode-B\n";
    for (int i = 0; i < kCsvRecords; ++i)
        csv += "Channel " + std::to_string(i) + ";" + std::to_string(1800000 + rng() % 440000000)
               + ";USB;OFF;" + std::to_string(1800000 + rng() % 440000000) + ";LSB;\n";
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        CGridWidget widget;
        CDataGrid& g = widget.Grid();
        SetUpMemoryGrid(g);
        CGridListTable table(g);
        const Clock::time_point start = Clock::now();
        lists::CTextTable rows(table.Columns());
        for (int r = 0; r < table.Rows(); ++r)
            lists::SetRowCells(rows, rows.AppendRow(), lists::RowCells(table, r));
        const int taken = lists::ImportCsv(csv, rows, lists::PcCsvLayout(), {';', ','},
                                           [](int, int) { return true; });
        g.SetRedraw(false);
        table.Assign(rows);
        g.SetRedraw(true);
        g.AutoSize();
        best = std::min(best, MsSince(start));
        if (taken != kCsvRecords || table.Rows() != kCsvRecords)
            return false;
    }
    std::printf("csv_import_40k_ms: %.0f ms\n", best);
    return true;
}

bool SkedFigures(const std::filesystem::path& dir)
{
    const std::string path = (dir / "Skeds.dat").string();
    if (!platform::WriteFileAtomic(path, MakeSkedFile()))
        return false;
    double load = 1e9, save = 1e9;
    lists::SkedList list;
    for (int round = 0; round < kSkedRounds; ++round) {
        const Clock::time_point t0 = Clock::now();
        list = lists::LoadSkedFile(path);
        load = std::min(load, MsSince(t0));
        const Clock::time_point t1 = Clock::now();
        std::string error;
        if (!lists::SaveSkedFile(path + ".out", list, &error)) {
            std::fprintf(stderr, "cannot write: %s\n", error.c_str());
            return false;
        }
        save = std::min(save, MsSince(t1));
    }
    std::printf("skeds_load_10k_ms: %.2f ms\n", load);
    std::printf("skeds_save_10k_ms: %.2f ms\n", save);
    return list.Size() > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench-lists-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const bool memories = MemoryFigures(dir);
    const bool skeds = SkedFigures(dir);
    const bool csv = CsvImportFigure();
    std::filesystem::remove_all(dir);
    return memories && skeds && csv ? 0 : 1;
}
