// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The map drawn straight into a file's rows and into thumbnails, against the map image that
// RedrawMap draws (itself held to the plain order of draws in DrawListTest), with the default
// sheets.

#include "core/MapModel.h"
#include "graphics/BoxScaler.h"
#include "graphics/DrawList.h"
#include "graphics/HexGeometry.h"
#include "graphics/ImageFile.h"
#include "graphics/MapPicture.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/PngWriter.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"
#include "tests/graphics/BoxReference.h"
#include "tests/support/GameFolder.h"
#include "tools/sprites/SpriteSheets.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QFileInfo>
#include <random>

namespace {

// Random heights and ground; each overlay and mines on a hex by chance percent.
void RandomMap(std::uint32_t seed, int chance)
{
    std::mt19937 random(seed);
    const auto flag = [&] { return static_cast<std::uint8_t>(random() % 100 < unsigned(chance)); };
    ClearMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            cell.Height = static_cast<std::int32_t>(random() % 7);
            cell.Ground = static_cast<std::uint8_t>(random() % 16);
            cell.Mines = flag() * 10;
            cell.Overlays = {flag(), flag(), flag(), flag(), flag()};
        }
}

QImage Redrawn()
{
    RedrawMap();
    return MapImage().copy();
}

class MapPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WriteSheets(game.SpritesDir(), DefaultSheets()).isEmpty());
        game.WriteSettings(QByteArrayLiteral("[General]\r\nVersion=v2\xDF\r\n"));
        LoadSettings();
        LoadSpriteLibrary();
    }
    void TearDown() override
    {
        FreeSpriteLibrary();
        ClearMap();
    }

    GameFolder game;
};

// One encoder for map after map, as a batch keeps it; in as many parts as there are threads,
// and in more.
TEST_F(MapPicture, ThePngHoldsTheRedrawnMapImageAndTheMapImageIsLeftAlone)
{
    const QString path = game.EditorDir() + "/map.png";
    for (const int parts : {RedrawStrips(), 5}) {
        PngEncoder encoder(parts);
        for (const std::uint32_t seed : {1U, 6U}) {
            SCOPED_TRACE(testing::Message() << parts << " parts, seed " << seed);
            RandomMap(seed, seed == 1 ? 40 : 100);
            const QImage expected = Redrawn();
            MapImage().fill(Qt::red);
            WriteRedrawnMapPng(encoder, path);
            EXPECT_EQ(QImage(path, "PNG").convertToFormat(QImage::Format_RGB32), expected);
            EXPECT_EQ(MapImage().pixel(800, 600), qRgb(255, 0, 0));
        }
    }
}

TEST_F(MapPicture, ThumbnailsAreThePlainBoxFilterOfTheMapImageAtEveryEdge)
{
    for (const std::uint32_t seed : {2U, 3U}) {
        RandomMap(seed, seed == 2 ? 20 : 90);
        const QImage map = Redrawn();
        for (const int edge : {16, 17, 255, 256, 1589, 1590}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " edge " << edge);
            const QImage thumbnail = RedrawnMapThumbnail(edge);
            ASSERT_EQ(thumbnail.size(), FitWithin(map.size(), edge));
            EXPECT_EQ(thumbnail, BoxReference(map, thumbnail.size()));
        }
    }
}

// The quick writer may give up some size for its speed, but not more than a quarter.
TEST_F(MapPicture, APngOfTheBusyOrTheCleanMapIsAtMostAQuarterLargerThanQtsAndHasItsPixels)
{
    for (const bool isBusy : {true, false}) {
        SCOPED_TRACE(isBusy ? "busy" : "clean");
        if (isBusy)
            RandomMap(4, 100);
        else
            ClearMap();
        const QImage expected = Redrawn();
        const QString path = game.EditorDir() + (isBusy ? "/busy.png" : "/clean.png");
        WriteRedrawnMapFile(path);
        QByteArray qt;
        QBuffer buffer(&qt);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(expected.save(&buffer, "PNG"));
        EXPECT_LE(QFileInfo(path).size(), qt.size() * 5 / 4);
        EXPECT_EQ(QImage(path, "PNG").convertToFormat(QImage::Format_RGB32), expected);
    }
}

}  // namespace
