// Drawing the map and loading the sprites, measured against filling the whole map image
// once (ReferenceFillMapImage), so the figures read as ratios on any machine.

#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/DrawList.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"
#include "tools/sprites/SpriteArt.h"
#include "tools/sprites/SpriteSheets.h"

#include <benchmark/benchmark.h>
#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <stdexcept>

namespace {

constexpr int MechsOnFullSheet = 36;

// A game folder with the default sheets in Sprites and, in Sprites36, the same sheets but
// for a mechs sheet of 36 sprites; the editor's directory is the current one.
class BenchGame {
public:
    BenchGame()
    {
        const QDir root(dir_.path());
        if (!dir_.isValid() || !root.mkpath("Gridcrafter"))
            throw std::runtime_error("cannot lay out a game folder");
        std::vector<SheetFile> sheets = DefaultSheets();
        Write(root.filePath("Sprites"), sheets);
        for (SheetFile& sheet : sheets)
            if (sheet.Name == "MECHS.BMP")
                sheet.Sheet = PairSheet(FullMechSheet());
        Write(root.filePath("Sprites36"), sheets);
        QDir::setCurrent(root.filePath("Gridcrafter"));
    }

private:
    static std::vector<SpriteCells> FullMechSheet()
    {
        const std::vector<SpriteCells> mechs = MechSprites();
        std::vector<SpriteCells> full;
        full.reserve(MechsOnFullSheet);
        for (int i = 0; i < MechsOnFullSheet; ++i)
            full.push_back(mechs[static_cast<std::size_t>(i) % mechs.size()]);
        return full;
    }
    static void Write(const QString& dir, const std::vector<SheetFile>& sheets)
    {
        if (!QDir().mkpath(dir) || !WriteSheets(dir, sheets).isEmpty())
            throw std::runtime_error("cannot write the sprite sheets");
    }

    QTemporaryDir dir_;
};

void UseDefaultSettings()
{
    EffectSpriteCount = 5;
    MechSpriteCount = 4;
    GroundSpriteCount = 16;
    SpriteDir = QStringLiteral("..\\Sprites\\");
}

// Random heights and ground, and every overlay and mines on every cell.
void MakeBusyMap()
{
    std::mt19937 random(20240613);
    std::uniform_int_distribution<int> height(0, 6);
    std::uniform_int_distribution<int> ground(0, 15);
    ClearMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            cell.Height = height(random);
            cell.Ground = static_cast<std::uint8_t>(ground(random));
            cell.Mines = 10;
            cell.Overlays = {1, 1, 1, 1, 1};
        }
}

void ReferenceFillMapImage(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        MapImage().fill(Qt::black);
        benchmark::DoNotOptimize(MapImage().constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ReferenceFillMapImage)->Unit(benchmark::kMicrosecond);

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
