// The list grid at the size of a world map's figure list: 100 000 rows of
// 10 columns. Filling (AddItem with drawing off, one-row Clip as the figure
// list does, a cell at a time), sorting by a column, and scrolling to a row
// with one screenful repainted. Targets: fill and sort under 300 ms, a
// scroll with its repaint under 16 ms. "bytes_per_row" is the heap the
// filled rows hold.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <malloc.h>

#include <memory>
#include <random>
#include <vector>

#include "BenchMain.h"
#include "FlexGrid.h"

using plat::FlexGrid;

namespace {

constexpr int kCols = 10;

// Rows like the figure list's: a row number, marks, names and coordinates.
const std::vector<QString>& RowTexts(int n) {
    static std::vector<QString> rows;
    if (static_cast<int>(rows.size()) >= n) return rows;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 999999);
    rows.clear();
    for (int i = 1; i <= n; ++i) {
        rows.push_back(QStringLiteral("%1\t\t●\t■\t連続線\t海岸線%2\t行政区%3\t%4, %5 - %6, %7\t(形状：解放線 , ノード数：%8)")
                           .arg(i, 6, 10, QLatin1Char('0'))
                           .arg(pick(rng) % 500)
                           .arg(pick(rng) % 200)
                           .arg(pick(rng))
                           .arg(pick(rng))
                           .arg(pick(rng))
                           .arg(pick(rng))
                           .arg(pick(rng) % 5000));
    }
    return rows;
}

std::unique_ptr<FlexGrid> NewGrid() {
    auto g = std::make_unique<FlexGrid>();
    g->resize(900, 600);
    g->setFormatString(QStringLiteral("> 行番号|マーク|表|色|<図形種 |<事象名　|<行政区名|<座標|<テキスト|<予備"));
    g->setRows(1);
    return g;
}

void FillByAddItem(FlexGrid& g, int n) {
    const auto& rows = RowTexts(n);
    g.setRedraw(false);
    for (int i = 0; i < n; ++i) g.AddItem(rows[i]);
    g.setFixedRows(1);
    g.setRedraw(true);
}

void Rows(benchmark::internal::Benchmark* b) {
    for (int64_t n : {10000, 100000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Times `fill` on a new grid; dropping the grid is not timed.
template <typename F>
void TimeFills(benchmark::State& state, F fill) {
    for (auto _ : state) {
        auto g = NewGrid();
        fill(*g);
        benchmark::DoNotOptimize(g->Rows());
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}

void BM_AddItemRedrawOff(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    RowTexts(n);
    TimeFills(state, [n](FlexGrid& g) { FillByAddItem(g, n); });
}
BENCHMARK(BM_AddItemRedrawOff)->Apply(Rows);

// The figure list's own way: Rows set once, then each row selected and its
// Clip assigned.
void BM_ClipFillRedrawOff(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto& rows = RowTexts(n);
    TimeFills(state, [&](FlexGrid& g) {
        g.setRedraw(false);
        g.setRows(n + 1);
        for (int i = 1; i <= n; ++i) {
            g.select(i, 0, i, kCols - 1);
            g.setClip(rows[i - 1]);
        }
        g.setFixedRows(1);
        g.setRedraw(true);
    });
}
BENCHMARK(BM_ClipFillRedrawOff)->Apply(Rows);

void BM_TextMatrixFill(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TimeFills(state, [n](FlexGrid& g) {
        g.setRedraw(false);
        g.setRows(n + 1);
        for (int i = 1; i <= n; ++i)
            for (int c = 0; c < kCols; ++c) g.setTextMatrix(i, c, QString::number(i * 31 + c));
        g.setRedraw(true);
    });
}
BENCHMARK(BM_TextMatrixFill)->Apply(Rows);

// Sorting by the thing-name column, case-insensitive, alternately up and
// down so every run reorders.
void BM_SortByColumn(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto g = NewGrid();
    FillByAddItem(*g, n);
    int order = plat::flexSortStringNoCaseAscending;
    for (auto _ : state) {
        g->select(1, 5, g->Rows() - 1, 5);
        g->Sort(order);
        order = order == plat::flexSortStringNoCaseAscending ? plat::flexSortStringNoCaseDescending
                                                             : plat::flexSortStringNoCaseAscending;
    }
}
BENCHMARK(BM_SortByColumn)->Apply(Rows);

void BM_ScrollAndRepaint(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto g = NewGrid();
    FillByAddItem(*g, n);
    g->show();
    QApplication::processEvents();
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(1, n);
    for (auto _ : state) {
        g->setTopRow(pick(rng));
        g->viewport()->repaint();
    }
    state.counters["top_row"] = g->TopRow();
}
BENCHMARK(BM_ScrollAndRepaint)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MemoryPerRow(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    RowTexts(n);
    double perRow = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        auto g = NewGrid();
        FillByAddItem(*g, n);
        perRow = static_cast<double>(mallinfo2().uordblks - before) / n;
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_row"] = perRow;
}
BENCHMARK(BM_MemoryPerRow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) { return RunBenchmarks<QApplication>(argc, argv); }
