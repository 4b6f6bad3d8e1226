// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The map view's zoom: its steps, fitting, what the preferences keep, and the hex found under
// a point of the view at every zoom, against the hexagon's own InsideHex and against the
// picture the view draws.

#include "editor/MapZoom.h"

#include "graphics/HexGeometry.h"
#include "graphics/ZoomedPicture.h"

#include <gtest/gtest.h>
#include <QImage>
#include <cmath>
#include <random>

namespace {

// The designed view without its frame.
constexpr int ViewWidth = 775;
constexpr int ViewHeight = 495;

TEST(MapZoom, StartsAtActualSizeAndStepsThroughTheStepsInOrder)
{
    MapZoom zoom;
    EXPECT_EQ(zoom.Scale(), 1);
    EXPECT_EQ(zoom.Percent(), 100);
    EXPECT_FALSE(zoom.Fitting());
    std::vector<int> in;
    while (const std::optional<int> next = zoom.StepIn()) {
        in.push_back(*next);
        zoom.SetPercent(*next);
    }
    EXPECT_EQ(in, (std::vector<int>{150, 200, 300, 400}));
    std::vector<int> out;
    while (const std::optional<int> next = zoom.StepOut()) {
        out.push_back(*next);
        zoom.SetPercent(*next);
    }
    EXPECT_EQ(out, (std::vector<int>{300, 200, 150, 100, 75, 67, 50, 33, 25}));
    EXPECT_DOUBLE_EQ(StepScale(33), 1.0 / 3);
    EXPECT_DOUBLE_EQ(StepScale(67), 2.0 / 3);
    EXPECT_DOUBLE_EQ(StepScale(150), 1.5);
}

TEST(MapZoom, FitShowsTheWholeMapAndKeepsFittingUntilAStepIsChosen)
{
    MapZoom zoom;
    zoom.Fit(ViewWidth, ViewHeight);
    EXPECT_TRUE(zoom.Fitting());
    EXPECT_EQ(zoom.Percent(), std::nullopt);
    EXPECT_DOUBLE_EQ(zoom.Scale(), 495.0 / 1301);
    EXPECT_LE(ZoomedLength(MapImageWidth, zoom.Scale()), ViewWidth);
    EXPECT_EQ(ZoomedLength(MapImageHeight, zoom.Scale()), ViewHeight);
    // From the fitted scale, the steps on either side.
    EXPECT_EQ(zoom.StepIn(), 50);
    EXPECT_EQ(zoom.StepOut(), 33);

    // Resized, the view fits the map by whichever side is the shorter for it.
    EXPECT_TRUE(zoom.Refit(1590, 2000));
    EXPECT_DOUBLE_EQ(zoom.Scale(), 1);
    EXPECT_FALSE(zoom.Refit(1590, 2000));
    EXPECT_TRUE(zoom.Refit(3180, 2602));
    EXPECT_DOUBLE_EQ(zoom.Scale(), 2);
    EXPECT_EQ(zoom.StepIn(), 300) << "a fitted 200 % zooms in to the next step above";
    EXPECT_EQ(zoom.StepOut(), 150);
    // A view of nothing still shows the map, small.
    zoom.Refit(0, 0);
    EXPECT_GT(zoom.Scale(), 0);

    zoom.SetPercent(150);
    EXPECT_FALSE(zoom.Fitting());
    EXPECT_FALSE(zoom.Refit(ViewWidth, ViewHeight));
    EXPECT_DOUBLE_EQ(zoom.Scale(), 1.5);
}

TEST(MapZoom, ThePreferencesKeepAStepOrFitting)
{
    struct Row {
        const char* saved;
        bool restored;
        double scale;
    };
    for (const Row& row :
         {Row{"fit", true, 495.0 / 1301}, Row{"150", true, 1.5}, Row{"33", true, 1.0 / 3},
          Row{"25", true, 0.25}, Row{"400", true, 4}, Row{"", false, 2}, Row{"99", false, 2},
          Row{"1000", false, 2}, Row{"Fit", false, 2}, Row{"150%", false, 2}}) {
        MapZoom zoom;
        zoom.SetPercent(200);
        EXPECT_EQ(zoom.Restore(QString::fromLatin1(row.saved), ViewWidth, ViewHeight), row.restored)
            << row.saved;
        EXPECT_DOUBLE_EQ(zoom.Scale(), row.scale) << row.saved;
        EXPECT_EQ(zoom.Saved(), row.restored ? QString::fromLatin1(row.saved) : "200");
    }
}

// The hex whose hexagon, as InsideHex gives it, holds pixel (px, py), found by trying every
// hex of the map.
std::optional<HexAddress> HexByTrying(int px, int py)
{
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const PixelPoint cell = HexToPixel(x, y);
            const int a = px - cell.px;
            const int b = py - cell.py;
            if (a >= 0 && a < SpriteWidth && b >= 0 && b < SpriteHeight && InsideHex(a, b))
                return HexAddress{x, y};
        }
    return std::nullopt;
}

// Every pixel of each hexagon coloured by its hex, black between them.
QImage HexPicture()
{
    QImage picture(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const PixelPoint cell = HexToPixel(x, y);
            for (int b = 0; b < SpriteHeight; ++b)
                for (int a = 0; a < SpriteWidth; ++a)
                    if (InsideHex(a, b) && cell.px + a < MapImageWidth)
                        picture.setPixel(cell.px + a, cell.py + b, qRgb(x, y, 255));
        }
    return picture;
}

// At every step and fitted scale, on screens of 1, 1.5 and 2 device pixels per view pixel,
// with the picture scrolled to fractions of a pixel: the hex under a point is the one whose
// hexagon holds the map pixel under the point's device pixel; at 100 % and above it is the
// one the view draws there.
TEST(HexUnder, IsTheHexWhoseHexagonHoldsTheMapPixelUnderThePoint)
{
    const QImage hexes = HexPicture();
    std::mt19937 random(20);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<double> scales;
    scales.reserve(std::size(ZoomSteps) + 2);
    for (const int percent : ZoomSteps)
        scales.push_back(StepScale(percent));
    scales.push_back(495.0 / 1301);
    scales.push_back(0.571);
    for (const double scale : scales)
        for (const double dpr : {1.0, 1.5, 2.0}) {
            SCOPED_TRACE(testing::Message() << scale << " at " << dpr);
            const double width = ZoomedLength(MapImageWidth, scale);
            const double height = ZoomedLength(MapImageHeight, scale);
            for (int i = 0; i < 2000; ++i) {
                const QPointF origin(-unit(random) * std::max(0.0, width - ViewWidth),
                                     -unit(random) * std::max(0.0, height - ViewHeight));
                const QPointF point(unit(random) * ViewWidth, unit(random) * ViewHeight);
                const std::optional<HexAddress> hex = HexUnder(point, origin, scale, dpr);

                const double t = scale * dpr;
                const double deviceX = std::floor((point.x() - origin.x()) * dpr);
                const double deviceY = std::floor((point.y() - origin.y()) * dpr);
                const int px = static_cast<int>(std::floor((deviceX + 0.5) / t));
                const int py = static_cast<int>(std::floor((deviceY + 0.5) / t));
                ASSERT_EQ(hex, HexByTrying(px, py)) << point.x() << "," << point.y();

                if (t < 1 || px >= MapImageWidth || py >= MapImageHeight)
                    continue;
                QImage drawn(1, 1, QImage::Format_RGB32);
                PaintBlocks(hexes, t,
                            QRect(static_cast<int>(deviceX), static_cast<int>(deviceY), 1, 1),
                            drawn);
                const QRgb colour = drawn.pixel(0, 0);
                ASSERT_EQ(hex, qBlue(colour)
                                   ? std::optional(HexAddress{qRed(colour), qGreen(colour)})
                                   : std::nullopt)
                    << point.x() << "," << point.y();
            }
        }
}

TEST(MapPixelUnder, IsThePlainPixelAtActualSize)
{
    EXPECT_EQ(MapPixelUnder(QPointF(10, 20), QPointF(0, 0), 1, 1), (PixelPoint{10, 20}));
    EXPECT_EQ(MapPixelUnder(QPointF(10, 20), QPointF(-49, -40), 1, 1), (PixelPoint{59, 60}));
    EXPECT_EQ(MapPixelUnder(QPointF(10.9, 20.2), QPointF(0, 0), 1, 1), (PixelPoint{10, 20}));
    EXPECT_EQ(MapPixelUnder(QPointF(10, 20), QPointF(0, 0), 2, 1), (PixelPoint{5, 10}));
    EXPECT_EQ(MapPixelUnder(QPointF(10, 20), QPointF(0, 0), 0.5, 2), (PixelPoint{20, 40}));
    EXPECT_EQ(MapPixelUnder(QPointF(-1, 5), QPointF(0, 0), 1, 1).px, -1) << "beside the picture";
}

}  // namespace
