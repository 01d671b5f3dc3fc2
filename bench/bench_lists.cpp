// The PC memory list at 10 000 records: reading the file into the memories grid, sorting,
// sizing the cells and the first paint (offscreen); a sort by frequency; and the atomic save.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <string>

#include <QApplication>
#include <QImage>

#include "AtomicFile.h"
#include "GridListTable.h"
#include "GridWidget.h"
#include "MemoryChannel.h"
#include "MemoryListFile.h"
#include "MyDataGrid.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 10000;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string MakeFile()
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

void SetUp(CDataGrid& g)
{
    g.SetColumnCount(lists::pcmem::kColumnCount);
    g.SetRowCount(1);
    g.SetFixedRowCount(1);
    g.SetListMode(true);
    g.SetGridLines(GridLinesBoth);
    for (int col = 0; col < lists::pcmem::kColumnCount; ++col)
        g.SetItemText(0, col, "Title " + std::to_string(col));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench-lists-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "MemPC.Dat").string();
    const std::string text = MakeFile();
    if (!platform::WriteFileAtomic(path, text))
        return 1;

    CGridWidget widget;
    widget.resize(1000, 600);
    CDataGrid& g = widget.Grid();
    SetUp(g);
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
    std::printf("mem_load_show_10k_ms: %.1f ms\n", MsSince(load));
    if (read.status != lists::ListFileResult::Done || table.Rows() != kRecords)
        return 1;

    const Clock::time_point sort = Clock::now();
    g.SetCompareFunction(&CMyDataGrid::CompareDigits);
    g.SortItems(lists::pcmem::kVfoA, true);
    std::printf("mem_sort_10k_ms: %.1f ms\n", MsSince(sort));

    const Clock::time_point save = Clock::now();
    const bool saved = lists::WritePcMemories(path, table).Ok();
    std::printf("mem_save_10k_ms: %.1f ms\n", MsSince(save));

    std::filesystem::remove_all(dir);
    return saved ? 0 : 1;
}
