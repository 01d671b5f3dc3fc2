// Our grid against QTableView over a QStandardItemModel behind a QSortFilterProxyModel, with the
// same 10 000 memory-like rows of 20 columns: sorting by a column, and one full repaint of a
// 1000 x 700 view rendered offscreen into an image.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>

#include "GridWidget.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRows = 10000;
constexpr int kCols = 20;
constexpr int kRowHeight = 20;
constexpr int kColWidth = 80;
constexpr int kPaintRepeats = 20;

const char* const kHeadings[kCols] = {"Ch",    "Frequency", "Mode", "Filter", "Name",
                                      "Split", "Offset",    "Tone", "Duplex", "Step",
                                      "Group", "Comment",   "Skip", "Att",    "Preamp",
                                      "AGC",   "Antenna",   "Band", "Date",   "Notes"};

std::vector<std::vector<std::string>> MakeRows()
{
    std::mt19937 rng(7);
    const auto pick = [&rng](std::initializer_list<const char*> list) {
        return std::string(
            *(list.begin() + std::uniform_int_distribution<int>(0, int(list.size()) - 1)(rng)));
    };
    const auto number = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    std::vector<std::vector<std::string>> rows(kRows);
    for (int r = 0; r < kRows; ++r) {
        std::vector<std::string>& row = rows[static_cast<std::size_t>(r)];
        const int khz = number(1800, 440000);
        char freq[32];
        std::snprintf(freq, sizeof freq, "%d.%03d.%03d", khz / 1000, khz % 1000,
                      number(0, 99) * 10);
        row.push_back(std::to_string(r + 1));
        row.push_back(freq);
        row.push_back(pick({"USB", "LSB", "CW", "CW-R", "AM", "FM", "WFM", "RTTY"}));
        row.push_back(pick({"Wide", "Normal", "Narrow"}));
        row.push_back(
            pick({"Repeater", "Beacon", "Net", "Calling", "DX", "Contest", "Local", "Simplex"})
            + " " + std::to_string(number(1, 999)));
        row.push_back(pick({"", "Split"}));
        row.push_back(std::to_string(number(0, 9)) + ".600");
        row.push_back(pick({"", "67.0", "88.5", "100.0", "123.0", "151.4"}));
        row.push_back(pick({"", "-", "+"}));
        row.push_back(pick({"5", "10", "12.5", "25"}));
        row.push_back(pick({"A", "B", "C", "D"}));
        row.push_back(pick({"", "weekly net", "QRP", "mobile", "portable"}));
        row.push_back(pick({"", "Skip"}));
        row.push_back(pick({"Off", "20dB"}));
        row.push_back(pick({"Off", "On"}));
        row.push_back(pick({"Fast", "Slow"}));
        row.push_back(pick({"1", "2"}));
        row.push_back(pick({"160m", "80m", "40m", "20m", "15m", "10m", "6m", "2m", "70cm"}));
        row.push_back(std::to_string(number(2000, 2026)) + "-0" + std::to_string(number(1, 9))
                      + "-1" + std::to_string(number(0, 9)));
        row.push_back(pick({"", "heard", "worked", "confirmed"}));
    }
    return rows;
}

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The sorts both sides run: by name, frequency, mode, then name again the other way.
const std::pair<int, bool> kSorts[] = {{4, true}, {1, true}, {2, true}, {4, false}};

template <class Render>
double PaintMs(Render render)
{
    render();  // fonts and caches warm
    const auto start = Clock::now();
    for (int i = 0; i < kPaintRepeats; ++i)
        render();
    return Ms(Clock::now() - start) / kPaintRepeats;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<std::vector<std::string>> rows = MakeRows();

    // Our grid: one heading row, the channel numbers as the fixed column.
    CGridWidget grid;
    CDataGrid& g = grid.Grid();
    g.SetRedraw(false);  // as a list window fills it
    g.SetRowCount(kRows + 1);
    g.SetColumnCount(kCols);
    g.SetFixedRowCount(1);
    g.SetFixedColumnCount(1);
    for (int c = 0; c < kCols; ++c) {
        g.SetItemText(0, c, kHeadings[c]);
        g.SetColumnWidth(c, kColWidth);
    }
    for (int r = 0; r < kRows; ++r) {
        g.SetRowHeight(r + 1, kRowHeight);
        for (int c = 0; c < kCols; ++c)
            g.SetItemText(r + 1, c, rows[std::size_t(r)][std::size_t(c)]);
    }
    g.SetRowHeight(0, kRowHeight);
    g.SetRedraw(true);
    grid.resize(1000, 700);
    grid.show();

    // Qt's view over the same data.
    QStandardItemModel model(kRows, kCols);
    for (int c = 0; c < kCols; ++c)
        model.setHorizontalHeaderItem(c, new QStandardItem(QString::fromLatin1(kHeadings[c])));
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            model.setItem(
                r, c,
                new QStandardItem(QString::fromStdString(rows[std::size_t(r)][std::size_t(c)])));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    QTableView view;
    view.setModel(&proxy);
    view.verticalHeader()->setMinimumSectionSize(kRowHeight);
    view.verticalHeader()->setDefaultSectionSize(kRowHeight);
    view.horizontalHeader()->setDefaultSectionSize(kColWidth);
    view.resize(1000, 700);
    view.show();
    app.processEvents();

    double gridSort = 0, qtSort = 0;
    for (const auto& [col, ascending] : kSorts) {
        auto start = Clock::now();
        g.SortItems(col, ascending);
        gridSort += Ms(Clock::now() - start);
        start = Clock::now();
        proxy.sort(col, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        qtSort += Ms(Clock::now() - start);
    }
    const int sorts = static_cast<int>(std::size(kSorts));
    app.processEvents();

    QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
    const double gridPaint = PaintMs([&] { grid.render(&image); });
    const double qtPaint = PaintMs([&] { view.render(&image); });

    std::printf("grid_sort_10k_ms: %.2f\n", gridSort / sorts);
    std::printf("qt_sort_10k_ms: %.2f\n", qtSort / sorts);
    std::printf("grid_paint_page_ms: %.3f\n", gridPaint);
    std::printf("qt_paint_page_ms: %.3f\n", qtPaint);
    return 0;
}
