// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The marks over the map view, painted into a picture of the map image's size.

#include "graphics/ViewMarks.h"

#include "graphics/HexGeometry.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

namespace {

constexpr QRgb Black = 0xFF000000u;

QImage Painted(const ViewMarks& marks, const QRect& exposed)
{
    QImage image(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintViewMarks(painter, exposed, marks);
    return image;
}

QRgb At(const QImage& image, HexAddress hex, int dx = 0, int dy = 0)
{
    const PixelPoint centre = HexCentre(hex.x, hex.y);
    return image.pixel(centre.px + dx, centre.py + dy);
}

HexSet Only(HexAddress hex)
{
    HexSet hexes;
    hexes.Insert(hex);
    return hexes;
}

TEST(ViewMarks, TintTheHexagonsOfTheirHexesAndNothingElse)
{
    const QImage image = Painted({Only({5, 6}), Only({7, 7}), false}, QRect(0, 0, 2000, 2000));
    const QRgb selected = At(image, {5, 6});
    const QRgb asymmetric = At(image, {7, 7});
    EXPECT_GT(qBlue(selected), qRed(selected));
    EXPECT_GT(qRed(asymmetric), qBlue(asymmetric));
    // The whole hexagon, corner to corner, and not the neighbours.
    EXPECT_EQ(At(image, {5, 6}, -31, 0), selected);
    EXPECT_EQ(At(image, {5, 6}, 30, 0), selected);
    EXPECT_EQ(At(image, {5, 6}, 0, -19), selected);
    EXPECT_EQ(At(image, {5, 6}, 0, 17), selected);
    for (int d = 1; d <= HexDirections; ++d) {
        const HexStep next = HexNeighbour(5, 6, d);
        EXPECT_EQ(At(image, {next.nx, next.ny}), Black) << d;
    }
    EXPECT_EQ(At(image, {16, 16}, 25, 10), Black) << "no centre mark unless asked";
}

TEST(ViewMarks, MarkTheCentreOfTheMapHalfwayBetweenEachHexAndItsMirror)
{
    const QImage image = Painted({{}, {}, true}, QRect(0, 0, 2000, 2000));
    const QPointF centre = MapCentre();
    EXPECT_DOUBLE_EQ(centre.x(), (HexCentre(1, 1).px + HexCentre(32, 32).px) / 2.0);
    EXPECT_DOUBLE_EQ(centre.y(), (HexCentre(1, 1).py + HexCentre(32, 32).py) / 2.0);
    int marked = 0;
    for (int dx = -20; dx <= 20; ++dx)
        marked +=
            image.pixel(static_cast<int>(centre.x()) + dx, static_cast<int>(centre.y())) != Black;
    EXPECT_GT(marked, 20);
    EXPECT_EQ(image.pixel(200, 200), Black);
}

TEST(ViewMarks, PaintOnlyWhatReachesTheExposedRectangle)
{
    HexSet both = Only({2, 2});
    both.Insert({30, 30});
    const PixelPoint corner = HexToPixel(2, 2);
    const QImage image =
        Painted({both, {}, false}, QRect(corner.px, corner.py, SpriteWidth, SpriteHeight));
    EXPECT_NE(At(image, {2, 2}), Black);
    EXPECT_EQ(At(image, {30, 30}), Black);
}

}  // namespace
