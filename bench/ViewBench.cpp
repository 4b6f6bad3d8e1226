// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The map view painting on the offscreen platform: a whole view of the designed window
// (777 by 497) at 100 %, fitted and at 400 %, and the repaint of one edited hex, beside the
// reference of filling the whole map image once (as render_bench has it).

#include "app/MapImage.h"
#include "app/ZoomedView.h"
#include "core/MapModel.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "graphics/ZoomedPicture.h"
#include "settings/Settings.h"
#include "tools/sprites/SpriteSheets.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

constexpr QSize DesignedView(777, 497);

// The default sheets in a game folder of its own, loaded.
void LoadDefaultSprites(const QTemporaryDir& dir)
{
    const QDir root(dir.path());
    if (!dir.isValid() || !root.mkpath("Gridcrafter") || !root.mkpath("Sprites") ||
        !WriteSheets(root.filePath("Sprites"), DefaultSheets()).isEmpty())
        throw std::runtime_error("cannot lay out a game folder");
    QDir::setCurrent(root.filePath("Gridcrafter"));
    EffectSpriteCount = 5;
    MechSpriteCount = 4;
    GroundSpriteCount = 16;
    SpriteDir = QStringLiteral("..\\Sprites\\");
    LoadSpriteLibrary();
}

// A random map with every overlay here and there.
void MakeRandomMap()
{
    std::mt19937 random(20261209);
    ClearMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            cell.Height = static_cast<std::int32_t>(random() % 7);
            cell.Ground = static_cast<std::uint8_t>(random() % 16);
            cell.Mines = static_cast<std::uint8_t>(random() % 5 == 0 ? 10 : 0);
            const auto flag = [&] { return static_cast<std::uint8_t>(random() % 4 == 0); };
            cell.Overlays = {flag(), flag(), flag(), flag(), flag()};
        }
    RedrawMap();
}

// The main window's map view alone: the scroll box of the designed size with the image
// control, zoomed as the View menu zooms it.
struct View {
    QScrollArea area;
    TMapImage* image = new TMapImage;
    std::unique_ptr<TZoomedView> zoom;

    View()
    {
        area.setWidget(image);
        area.resize(DesignedView);
        zoom = std::make_unique<TZoomedView>(area, *image, nullptr);
        SetMapViewRepaint([this] { image->RepaintChanges(); });
        area.show();
        while (!area.windowHandle() || !area.windowHandle()->isExposed())
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ~View() { SetMapViewRepaint(nullptr); }

    // 0 fits the map.
    void ZoomTo(int percent)
    {
        if (percent == 0)
            zoom->FitMap();
        else
            zoom->ZoomTo(percent);
        // The middle of the map.
        area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum() / 2);
        area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum() / 2);
        QApplication::processEvents();
        area.viewport()->repaint();
    }
};

std::unique_ptr<View> TheView;

// The whole view painted anew into a picture of its size: at 100 % (the argument 100), fitted
// (0) and at 400 %; with the hexes' coordinates over it when the second argument is 1.
void PaintWholeView(benchmark::State& state)
{
    TheView->ZoomTo(static_cast<int>(state.range(0)));
    TheView->image->SetCoordinatesShown(state.range(1) != 0);
    QWidget* viewport = TheView->area.viewport();
    QImage screen(viewport->size(), QImage::Format_RGB32);
    for ([[maybe_unused]] auto _ : state) {
        viewport->render(&screen);
        benchmark::ClobberMemory();
    }
    TheView->image->SetCoordinatesShown(false);
}
BENCHMARK(PaintWholeView)
    ->Args({100, 0})
    ->Args({0, 0})
    ->Args({400, 0})
    ->Args({100, 1})
    ->Args({0, 1})
    ->Args({400, 1})
    ->Unit(benchmark::kMicrosecond);

// A key on one hex: the hex drawn into the map image, the averaged picture mended where it
// is zoomed out, and its part of the view repainted.
void EditOneHex(benchmark::State& state)
{
    TheView->ZoomTo(static_cast<int>(state.range(0)));
    // The hex in the middle of the view.
    for ([[maybe_unused]] auto _ : state) {
        Cell(16, 16).Overlays.Fire ^= 1;
        DrawCell(16, 16, true);
    }
}
BENCHMARK(EditOneHex)->Arg(100)->Arg(0)->Arg(400)->Unit(benchmark::kMicrosecond);

// What a change of zoom below 100 % costs once: the whole averaged picture, fitted.
void MakeFittedPicture(benchmark::State& state)
{
    const double fit = 495.0 / MapImageHeight;
    for ([[maybe_unused]] auto _ : state) {
        AveragedPicture picture;
        picture.Make(MapImage(), fit);
        benchmark::DoNotOptimize(picture.Image().constBits());
    }
}
BENCHMARK(MakeFittedPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        const QTemporaryDir game;
        LoadDefaultSprites(game);
        MakeRandomMap();
        TheView = std::make_unique<View>();
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        TheView.reset();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "view_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
