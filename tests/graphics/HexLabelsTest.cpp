// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The hexes' coordinates on a picture of the map, and the names of the layers a view can hide.

#include "graphics/HexGeometry.h"
#include "graphics/HexLabels.h"
#include "graphics/MapLayers.h"
#include "graphics/ZoomedPicture.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

namespace {

QImage Black(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Pixels at least this bright are the labels' type; the box is dark.
int BrightPixels(const QImage& image, const QRect& area)
{
    int bright = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x)
            bright += qGray(image.pixel(x, y)) > 160;
    return bright;
}

QSize ZoomedSize(double scale)
{
    return {ZoomedLength(MapImageWidth, scale), ZoomedLength(MapImageHeight, scale)};
}

QRect CellAt(int x, int y, double scale)
{
    const PixelPoint at = HexToPixel(x, y);
    return QRectF(at.px * scale, at.py * scale, SpriteWidth * scale, SpriteHeight * scale)
        .toAlignedRect();
}

TEST(HexLabel, ColumnThenRowInTwoDigitsEach)
{
    EXPECT_EQ(HexLabel(1, 7), "0107");
    EXPECT_EQ(HexLabel(10, 3), "1003");
    EXPECT_EQ(HexLabel(32, 32), "3232");
}

TEST(DrawHexLabels, EveryHexGetsItsLabelInTheTopHalfOfItsCellAtEveryScale)
{
    for (const double scale : {1.0, 1.5, 2.0, 4.0}) {
        SCOPED_TRACE(scale);
        QImage picture = Black(ZoomedSize(scale));
        {
            QPainter painter(&picture);
            DrawHexLabels(painter, scale, picture.rect());
        }
        for (int x = 1; x <= 32; ++x)
            for (int y = 1; y <= 32; ++y) {
                const QRect cell = CellAt(x, y, scale);
                const QRect top(cell.left(), cell.top(), cell.width(), cell.height() / 2);
                const QRect bottom(cell.left(), top.bottom() + 1, cell.width(), cell.height() / 2);
                ASSERT_GT(BrightPixels(picture, top), 10) << x << "," << y;
                ASSERT_EQ(BrightPixels(picture, bottom), 0) << x << "," << y;
            }
    }
}

TEST(DrawHexLabels, OnlyTheHexesInTheAreaAreLabelled)
{
    QImage picture = Black(QSize(MapImageWidth, MapImageHeight));
    {
        QPainter painter(&picture);
        DrawHexLabels(painter, 1, CellAt(5, 5, 1));
    }
    EXPECT_GT(BrightPixels(picture, CellAt(5, 5, 1)), 10);
    EXPECT_EQ(BrightPixels(picture, CellAt(20, 20, 1)), 0);
    EXPECT_EQ(BrightPixels(picture, CellAt(1, 1, 1)), 0);
}

TEST(MapLayers, NamesAreReadInAnyLetterCaseAndListedInTheirOrder)
{
    struct Row {
        const char* list;
        std::optional<LayerMask> named;
    };
    const LayerMask fire = LayerBit(MapLayer::Fire);
    const LayerMask river = LayerBit(MapLayer::River);
    for (const Row& row :
         {Row{"fire", fire}, Row{"River,FIRE", fire | river}, Row{" fire , river ", fire | river},
          Row{"fire,fire", fire}, Row{"heights,fire,smoke,swamp,mines,road,river", AllLayers},
          Row{"", std::nullopt}, Row{"fire,", std::nullopt}, Row{"lava", std::nullopt},
          Row{"roads", std::nullopt}})
        EXPECT_EQ(ParseLayerNames(QString::fromLatin1(row.list)), row.named) << row.list;
    EXPECT_EQ(HiddenLayerNames(AllLayers), QStringList());
    EXPECT_EQ(HiddenLayerNames(AllLayers & ~(fire | river)), (QStringList{"Fire", "River"}));
    EXPECT_EQ(HiddenLayerNames(0),
              (QStringList{"Heights", "Fire", "Smoke", "Swamp", "Mines", "Road", "River"}));
}

}  // namespace
