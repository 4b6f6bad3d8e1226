// The memory of a long history: 100,000 key steps pushed onto the map's history, beside the
// reference of as many of Qt's smallest commands pushed onto a plain QUndoStack, which is
// what one command per step would cost. Heap bytes come from malloc's statistics.

#include "core/MapHistory.h"
#include "core/MapModel.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <QUndoStack>

namespace {

constexpr int Steps = 100000;

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void ReportBytes(benchmark::State& state, std::size_t bytes)
{
    state.counters["bytes_per_step"] = static_cast<double>(bytes) / Steps;
    state.counters["total_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Fire toggled on the cells in turn: every key changes its cell, so every key is a step.
void HistoryOfKeySteps(benchmark::State& state)
{
    ClearMap();
    for ([[maybe_unused]] auto _ : state) {
        ResetMapHistory();
        const std::size_t before = HeapInUse();
        for (int i = 0; i < Steps; ++i) {
            const int x = 1 + i % MapSize;
            const int y = 1 + (i / MapSize) % MapSize;
            const MapCell cell = Cell(x, y);
            Cell(x, y).Overlays.Fire ^= 1u;
            RecordCellChange(x, y, 'F', cell);
        }
        state.PauseTiming();
        ReportBytes(state, HeapInUse() - before);
        ResetMapHistory();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Steps);
}
BENCHMARK(HistoryOfKeySteps)->Unit(benchmark::kMillisecond);

class EmptyCommand : public QUndoCommand {
public:
    void undo() override {}
    void redo() override {}
};

void ReferenceOneQtCommandPerStep(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        QUndoStack stack;
        const std::size_t before = HeapInUse();
        for (int i = 0; i < Steps; ++i)
            stack.push(new EmptyCommand);
        state.PauseTiming();
        ReportBytes(state, HeapInUse() - before);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Steps);
}
BENCHMARK(ReferenceOneQtCommandPerStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
