// A playlist-sized list view (100,000 rows, seven columns) shown offscreen: filling,
// renumbering, sorting, selecting with scrolling, removing many rows and clearing.
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int Rows = 100000;

std::vector<QStringList> playlistRows(int n)
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(n));
    for (int i = 1; i <= n; ++i) {
        const QString k = QString::number((i * 7919) % n);
        rows.push_back({QString::number(i), QStringLiteral("Artist ") + k, QStringLiteral("Title ") + k, QStringLiteral("1999"),
                        QStringLiteral("Play"), QStringLiteral("03:45"), QStringLiteral("/music/") + k + QStringLiteral(".mp3")});
    }
    return rows;
}

struct ShownList {
    ListView view;
    ShownList()
    {
        view.setColumns(PlaylistColumn::headers());
        view.resize(800, 600);
        view.show();
        QCoreApplication::processEvents();
    }
    void settle() { QCoreApplication::processEvents(); }
};

void BM_FillAndClear(benchmark::State& state)
{
    ShownList s;
    const auto rows = playlistRows(Rows);
    for (auto _ : state) {
        s.view.items().addRows(rows);
        s.settle();
        controls_ClearListView(s.view);
        s.settle();
    }
}
BENCHMARK(BM_FillAndClear)->Unit(benchmark::kMillisecond);

void BM_Renumber(benchmark::State& state)
{
    ShownList s;
    s.view.items().addRows(playlistRows(Rows));
    s.settle();
    for (auto _ : state) {
        controls_RenumberItems(s.view);
        s.settle();
    }
}
BENCHMARK(BM_Renumber)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state)
{
    ShownList s;
    ListViewModel& m = s.view.items();
    m.addRows(playlistRows(Rows));
    m.setSorted(true);
    s.settle();
    int key = 1;
    for (auto _ : state) {
        key = key == 1 ? 6 : 1;
        m.setSortKey(key);
        s.settle();
    }
}
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);

void BM_SelectAndScroll(benchmark::State& state)
{
    ShownList s;
    s.view.items().addRows(playlistRows(Rows));
    s.settle();
    int row = 1;
    for (auto _ : state) {
        row = (row * 48271) % Rows + 1;
        controls_SelectItem(s.view, row);
        s.settle();
    }
}
BENCHMARK(BM_SelectAndScroll)->Unit(benchmark::kMicrosecond);

void BM_RemoveEveryOtherRow(benchmark::State& state)
{
    ShownList s;
    const auto rows = playlistRows(Rows);
    QList<int> gone;
    for (int r = 1; r <= Rows; r += 2) gone.append(r);
    for (auto _ : state) {
        state.PauseTiming();
        controls_ClearListView(s.view);
        s.view.items().addRows(rows);
        s.settle();
        state.ResumeTiming();
        s.view.items().removeRowList(gone);
        s.settle();
    }
}
BENCHMARK(BM_RemoveEveryOtherRow)->Unit(benchmark::kMillisecond);

} // namespace
