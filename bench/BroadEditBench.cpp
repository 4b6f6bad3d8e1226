// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The broad edits on the busy map with every hex selected, each with the redraw of what it
// changed, beside the reference of filling the map image once; and the history each step
// keeps, per hex it changed (history_bytes_per_hex), read from malloc's statistics as the heap
// that dropping the step gives back.

#include "bench/BenchGame.h"
#include "core/HexClipboard.h"
#include "core/HexSet.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "core/MapTurns.h"
#include "editor/CopyCommands.h"
#include "editor/EditScope.h"
#include "editor/EditorView.h"
#include "editor/FloodFillCommand.h"
#include "editor/MapTurnCommands.h"
#include "editor/PasteCommand.h"
#include "editor/ScopedEditing.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// The editor's view without a window: the map image is drawn, nothing is shown.
class ImageOnlyView : public EditorView {
public:
    void DrawCell(int x, int y, bool repaint) override { ::DrawCell(x, y, repaint); }
    void DrawCursor(int x, int y) override { ::DrawCursor(x, y); }
    void RepaintMap() override {}
    void ShowHexInfo(int, int) override {}
    int ViewWidth() const override { return 777; }
    int ViewHeight() const override { return 497; }
    int HorzScrollPosition() const override { return 0; }
    int VertScrollPosition() const override { return 0; }
    void SetHorzScrollPosition(int) override {}
    void SetVertScrollPosition(int) override {}
    void SetEditCaption(const QString&) override {}
    void RedrawWholeMap() override { RedrawMap(); }
    bool EditingMode() const override { return true; }
};

std::size_t HeapInUse() { return mallinfo2().uordblks; }

int ChangedCells(const MapGridType& before)
{
    int changed = 0;
    for (std::size_t x = 0; x < MapGrid.size(); ++x)
        for (std::size_t y = 0; y < MapGrid[x].size(); ++y)
            changed += std::memcmp(&before[x][y], &MapGrid[x][y], sizeof(MapCell)) != 0 ? 1 : 0;
    return changed;
}

// The busy map, drawn, with every hex selected, the cursor on (16, 16) and fire the last key,
// an empty history, and whatever prepare adds.
void SetUpBusyMap(const MapGridType& busy, const std::function<void()>& prepare)
{
    MapGrid = busy;
    RedrawMap();
    TheEditScope().Select(HexSet::All());
    CursorX = 16;
    CursorY = 16;
    LastMapKey = 'F';
    if (prepare)
        prepare();
}

// The heap the history takes per hex changed, over steps made one after another: a few
// dozen, so that the small blocks malloc keeps in its caches weigh little.
double HistoryBytesPerHex(const MapGridType& busy, const std::function<void(EditorView&)>& command,
                          const std::function<void()>& prepare)
{
    constexpr int Steps = 40;
    ImageOnlyView view;
    ResetMapHistory();
    const std::size_t before = HeapInUse();
    long long changed = 0;
    for (int i = 0; i < Steps; ++i) {
        SetUpBusyMap(busy, prepare);
        command(view);
        changed += ChangedCells(busy);
    }
    const std::size_t used = HeapInUse() - before;
    ResetMapHistory();
    return changed > 0 ? static_cast<double>(used) / static_cast<double>(changed) : 0;
}

// Runs command on the busy map as SetUpBusyMap leaves it, the set-up outside the time.
void RunOnBusyMap(benchmark::State& state, const std::function<void(EditorView&)>& command,
                  const std::function<void()>& prepare = {})
{
    ImageOnlyView view;
    MakeBusyMap();
    const MapGridType busy = MapGrid;
    for ([[maybe_unused]] auto _ : state) {
        state.PauseTiming();
        ResetMapHistory();
        SetUpBusyMap(busy, prepare);
        state.ResumeTiming();
        command(view);
    }
    state.counters["history_bytes_per_hex"] = HistoryBytesPerHex(busy, command, prepare);
    TheEditScope().Select(HexSet());
    ClearMap();
}

void RedrawBusyMap(benchmark::State& state)
{
    MakeBusyMap();
    for ([[maybe_unused]] auto _ : state) {
        RedrawMap();
        benchmark::ClobberMemory();
    }
    ClearMap();
}
BENCHMARK(RedrawBusyMap)->Unit(benchmark::kMicrosecond);

void CopyWholeMap(benchmark::State& state)
{
    RunOnBusyMap(state, [](EditorView&) { benchmark::DoNotOptimize(CopyCommand()); });
}
BENCHMARK(CopyWholeMap)->Unit(benchmark::kMicrosecond);

void CutWholeMap(benchmark::State& state)
{
    RunOnBusyMap(state, [](EditorView& view) { benchmark::DoNotOptimize(CutCommand(view)); });
}
BENCHMARK(CutWholeMap)->Unit(benchmark::kMicrosecond);

// The busy map turned, as copied; set up in main.
QByteArray TurnedRecords;
QString TurnedText;

// The busy map turned, pasted over the busy one from (1, 1).
void PasteWholeMap(benchmark::State& state)
{
    RunOnBusyMap(
        state,
        [](EditorView& view) {
            CursorX = 1;
            CursorY = 1;
            benchmark::DoNotOptimize(PasteCommand(view));
        },
        [] {
            auto* data = new QMimeData;
            data->setData(QString::fromLatin1(HexRecordsMimeType), TurnedRecords);
            data->setText(TurnedText);
            QGuiApplication::clipboard()->setMimeData(data);
        });
}
BENCHMARK(PasteWholeMap)->Unit(benchmark::kMicrosecond);

// Every hex of the busy map has fire: the fill reaches all of them.
void FloodFillWholeMap(benchmark::State& state)
{
    RunOnBusyMap(state, [](EditorView& view) { benchmark::DoNotOptimize(FloodFillCommand(view)); });
}
BENCHMARK(FloodFillWholeMap)->Unit(benchmark::kMicrosecond);

void MenuEntryOnWholeSelection(benchmark::State& state)
{
    RunOnBusyMap(state, [](EditorView& view) { ScopedApplyKeyToHex('H', 16, 16, view); });
}
BENCHMARK(MenuEntryOnWholeSelection)->Unit(benchmark::kMicrosecond);

void TurnMap(benchmark::State& state) { RunOnBusyMap(state, TurnMapCommand); }
BENCHMARK(TurnMap)->Unit(benchmark::kMicrosecond);

void MakeSymmetric(benchmark::State& state) { RunOnBusyMap(state, MakeSymmetricCommand); }
BENCHMARK(MakeSymmetric)->Unit(benchmark::kMicrosecond);

void RaiseAllHeights(benchmark::State& state) { RunOnBusyMap(state, RaiseAllHeightsCommand); }
BENCHMARK(RaiseAllHeights)->Unit(benchmark::kMicrosecond);

void LowerAllHeights(benchmark::State& state) { RunOnBusyMap(state, LowerAllHeightsCommand); }
BENCHMARK(LowerAllHeights)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The clipboard belongs to the application object.
    const QGuiApplication application(argc, argv);
    try {
        const BenchGame game;
        UseDefaultSettings();
        LoadSpriteLibrary();
        MakeBusyMap();
        TurnMapHalfway();
        const std::vector<CopiedHex> turned = CopyHexes(HexSet::All());
        TurnedRecords = HexRecords(turned);
        TurnedText = HexText(turned);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "broad_edit_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
