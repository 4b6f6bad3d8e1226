// Drawing the map and loading the sprites, measured against filling the whole map image
// once (ReferenceFillMapImage), so the figures read as ratios on any machine.

#include "bench/BenchGame.h"
#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/DrawList.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>
#include <QBuffer>
#include <cstdio>

namespace {

void RedrawMapClean(benchmark::State& state)
{
    ClearMap();
    for ([[maybe_unused]] auto _ : state) {
        RedrawMap();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RedrawMapClean)->Unit(benchmark::kMicrosecond);

void RedrawMapBusy(benchmark::State& state)
{
    MakeBusyMap();
    for ([[maybe_unused]] auto _ : state) {
        RedrawMap();
        benchmark::ClobberMemory();
    }
    ClearMap();
}
BENCHMARK(RedrawMapBusy)->Unit(benchmark::kMicrosecond);

// The busy redraw on one thread: listing the draws, dropping the hidden ones, stacking each
// hex's draws, painting.
void RedrawMapBusyOneStrip(benchmark::State& state)
{
    MakeBusyMap();
    for ([[maybe_unused]] auto _ : state) {
        PaintDraws(MapImage(), RedrawList(), 1);
        benchmark::ClobberMemory();
    }
    ClearMap();
}
BENCHMARK(RedrawMapBusyOneStrip)->Unit(benchmark::kMicrosecond);

// The busy map's redraw list without painting it.
void ListBusyDraws(benchmark::State& state)
{
    MakeBusyMap();
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(RedrawList());
    ClearMap();
}
BENCHMARK(ListBusyDraws)->Unit(benchmark::kMicrosecond);

// The three steps of the list on their own: listing the cells' draws, dropping the hidden
// ones, stacking each hex's draws.
void ListBusyCellDraws(benchmark::State& state)
{
    MakeBusyMap();
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(MapDraws());
    ClearMap();
}
BENCHMARK(ListBusyCellDraws)->Unit(benchmark::kMicrosecond);

void DropBusyHiddenDraws(benchmark::State& state)
{
    MakeBusyMap();
    const std::vector<SpriteDraw> draws = MapDraws();
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(WithoutHiddenRepeats(draws));
    ClearMap();
}
BENCHMARK(DropBusyHiddenDraws)->Unit(benchmark::kMicrosecond);

void StackBusyDraws(benchmark::State& state)
{
    MakeBusyMap();
    const std::vector<SpriteDraw> draws = WithoutHiddenRepeats(MapDraws());
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(StackedByHex(draws));
    ClearMap();
}
BENCHMARK(StackBusyDraws)->Unit(benchmark::kMicrosecond);

// Painting the busy map's redraw list in 1, 2, 4 and 8 strips: wall time, since the strips
// run on threads of their own. The speed-up is the time of 1 strip over that of n.
void PaintBusyStrips(benchmark::State& state)
{
    MakeBusyMap();
    const std::vector<SpriteDraw> draws = RedrawList();
    for ([[maybe_unused]] auto _ : state) {
        PaintDraws(MapImage(), draws, static_cast<int>(state.range(0)));
        benchmark::ClobberMemory();
    }
    ClearMap();
}
BENCHMARK(PaintBusyStrips)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// One edited hex of the busy map: every layer, a river and a road joined on all six sides.
void DrawCellWithJoins(benchmark::State& state)
{
    MakeBusyMap();
    for ([[maybe_unused]] auto _ : state) {
        DrawCell(16, 16, false);
        benchmark::ClobberMemory();
    }
    ClearMap();
}
BENCHMARK(DrawCellWithJoins)->Unit(benchmark::kMicrosecond);

// The map image as the bytes of a bitmap file: our writer, and Qt's for comparison.
void EncodeBmp(benchmark::State& state)
{
    MakeBusyMap();
    RedrawMap();
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(BmpBytes(MapImage()));
    ClearMap();
}
BENCHMARK(EncodeBmp)->Unit(benchmark::kMicrosecond);

void EncodeBmpWithQt(benchmark::State& state)
{
    MakeBusyMap();
    RedrawMap();
    for ([[maybe_unused]] auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        MapImage().save(&buffer, "BMP");
        benchmark::DoNotOptimize(bytes);
    }
    ClearMap();
}
BENCHMARK(EncodeBmpWithQt)->Unit(benchmark::kMicrosecond);

void LoadSpriteSheetsDefault(benchmark::State& state)
{
    UseDefaultSettings();
    for ([[maybe_unused]] auto _ : state)
        LoadSpriteSheets();
}
BENCHMARK(LoadSpriteSheetsDefault)->Unit(benchmark::kMicrosecond);

void LoadSpriteSheets36Mechs(benchmark::State& state)
{
    MechSpriteCount = MechsOnFullSheet;
    SpriteDir = QStringLiteral("..\\Sprites36\\");
    for ([[maybe_unused]] auto _ : state)
        LoadSpriteSheets();
    UseDefaultSettings();
    LoadSpriteSheets();
}
BENCHMARK(LoadSpriteSheets36Mechs)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    try {
        const BenchGame game;
        UseDefaultSettings();
        LoadSpriteLibrary();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "render_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
