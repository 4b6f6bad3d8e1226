// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The map image at a scale: blocks of whole pixels above one, each pixel the area-weighted
// average of the map pixels under it below one, against pixel sums made in doubles.

#include "graphics/ZoomedPicture.h"

#include <gtest/gtest.h>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

// A colour of its own in nearly every pixel.
QImage Noise(int width, int height, std::uint32_t seed)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                                static_cast<int>(random() % 256)));
    return image;
}

// The average of the source pixels under picture pixel (i, j), each weighted by the part of
// it the picture pixel covers.
QColor ExactAverage(const QImage& source, double scale, int i, int j)
{
    const auto cover = [scale](int k, int n, int length) {
        const double from = k / scale;
        const double to = std::min((k + 1) / scale, static_cast<double>(length));
        return std::max(0.0, std::min(n + 1.0, to) - std::max(static_cast<double>(n), from));
    };
    double red = 0;
    double green = 0;
    double blue = 0;
    double total = 0;
    for (int y = 0; y < source.height(); ++y) {
        const double down = cover(j, y, source.height());
        if (down == 0)
            continue;
        for (int x = 0; x < source.width(); ++x) {
            const double weight = down * cover(i, x, source.width());
            const QRgb pixel = source.pixel(x, y);
            red += weight * qRed(pixel);
            green += weight * qGreen(pixel);
            blue += weight * qBlue(pixel);
            total += weight;
        }
    }
    return QColor::fromRgbF(static_cast<float>(red / total / 255),
                            static_cast<float>(green / total / 255),
                            static_cast<float>(blue / total / 255));
}

int Distance(QRgb a, QColor b)
{
    return std::max({std::abs(qRed(a) - b.red()), std::abs(qGreen(a) - b.green()),
                     std::abs(qBlue(a) - b.blue())});
}

// The scales below one the view meets: the steps, the map fitted into the designed view, and
// the steps on screens of 1.5 device pixels per view pixel.
const double ReducingScales[] = {0.25, 1.0 / 3, 0.5, 2.0 / 3, 0.75, 495.0 / 1301, 0.375, 0.5625};

TEST(ZoomedLength, RoundsUpToWholePicturePixels)
{
    struct Row {
        int length;
        double scale;
        int zoomed;
    };
    for (const Row& row : {Row{1590, 1, 1590}, Row{1590, 1.0 / 3, 530}, Row{1301, 1.0 / 3, 434},
                           Row{1590, 0.25, 398}, Row{1301, 4, 5204}, Row{1590, 2.0 / 3, 1060},
                           Row{1301, 495.0 / 1301, 495}, Row{1590, 1.5, 2385}})
        EXPECT_EQ(ZoomedLength(row.length, row.scale), row.zoomed)
            << row.length << " " << row.scale;
}

TEST(MapPixelAt, EachPicturePixelShowsTheMapPixelUnderItsCentre)
{
    // Whole scales: blocks of scale pixels from the picture's first.
    for (const int scale : {1, 2, 3, 4})
        for (int k = 0; k < 200; ++k)
            ASSERT_EQ(MapPixelAt(k, scale), k / scale) << scale << " " << k;
    // 150 %: blocks of one and two pixels in turn; a centre on the edge between two map
    // pixels shows the second.
    EXPECT_EQ(MapPixelAt(0, 1.5), 0);
    EXPECT_EQ(MapPixelAt(1, 1.5), 1);
    EXPECT_EQ(MapPixelAt(2, 1.5), 1);
    EXPECT_EQ(MapPixelAt(3, 1.5), 2);
    EXPECT_EQ(MapPixelAt(4, 1.5), 3);
    // A third: the middle one of each three.
    EXPECT_EQ(MapPixelAt(0, 1.0 / 3), 1);
    EXPECT_EQ(MapPixelAt(10, 1.0 / 3), 31);
    EXPECT_EQ(MapPixelAt(-1, 2), -1) << "left of the map";
}

TEST(ZoomedRect, HoldsEveryPicturePixelThatShowsSomeOfTheArea)
{
    const QRect area(49, 22, 66, 38);
    for (const double scale : {0.25, 1.0 / 3, 0.5, 0.75, 1.0, 1.5, 2.0, 4.0}) {
        const QRect zoomed = ZoomedRect(area, scale);
        for (int k = zoomed.left() - 3; k <= zoomed.right() + 3; ++k) {
            // A pixel shows some of the area when its span of the map meets the area's.
            const bool meets = k / scale < area.right() + 1 && (k + 1) / scale > area.left();
            const bool shows = scale >= 1 ? MapPixelAt(k, scale) >= area.left() &&
                                                MapPixelAt(k, scale) <= area.right()
                                          : meets;
            EXPECT_EQ(k >= zoomed.left() && k <= zoomed.right(), shows) << scale << " " << k;
        }
    }
    EXPECT_TRUE(ZoomedRect(QRect(), 2).isEmpty());
}

TEST(PaintBlocks, EveryPixelIsTheMapPixelUnderItsCentreAndTheEdgesRepeat)
{
    const QImage source = Noise(53, 41, 1);
    for (const double scale : {1.0, 1.5, 2.0, 3.0, 4.0, 2.6}) {
        // Parts anywhere, some past the map's edges.
        for (const QRect area :
             {QRect(0, 0, 40, 30), QRect(7, 13, 61, 17),
              QRect(ZoomedLength(53, scale) - 9, 5, 20, 12), QRect(-4, -2, 9, 9)}) {
            QImage target(area.size(), QImage::Format_RGB32);
            PaintBlocks(source, scale, area, target);
            for (int j = 0; j < area.height(); ++j)
                for (int i = 0; i < area.width(); ++i) {
                    const int x = std::clamp(MapPixelAt(area.left() + i, scale), 0, 52);
                    const int y = std::clamp(MapPixelAt(area.top() + j, scale), 0, 40);
                    ASSERT_EQ(target.pixel(i, j), source.pixel(x, y))
                        << scale << " " << i << "," << j;
                }
        }
    }
}

TEST(AveragedPicture, EachPixelIsTheAverageOfTheMapPixelsUnderIt)
{
    const QImage source = Noise(97, 61, 2);
    for (const double scale : ReducingScales) {
        SCOPED_TRACE(scale);
        AveragedPicture picture;
        picture.Make(source, scale);
        ASSERT_EQ(picture.Image().size(), QSize(ZoomedLength(97, scale), ZoomedLength(61, scale)));
        for (int j = 0; j < picture.Image().height(); ++j)
            for (int i = 0; i < picture.Image().width(); ++i)
                ASSERT_LE(Distance(picture.Image().pixel(i, j), ExactAverage(source, scale, i, j)),
                          1)
                    << i << "," << j;
    }
}

TEST(AveragedPicture, OneColourStaysExactlyThatColour)
{
    QImage source(131, 77, QImage::Format_RGB32);
    for (const QRgb colour : {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(1, 128, 254)}) {
        source.fill(colour);
        for (const double scale : ReducingScales) {
            AveragedPicture picture;
            picture.Make(source, scale);
            ASSERT_EQ(picture.Image(), [&] {
                QImage same(picture.Image().size(), QImage::Format_RGB32);
                same.fill(colour);
                return same;
            }()) << scale;
        }
    }
}

// What the view does as hexes change: the picture mended where they lie is the picture made
// anew, pixel for pixel.
TEST(AveragedPicture, MendingWhereTheImageChangedGivesThePictureMadeAnew)
{
    std::mt19937 random(3);
    for (const double scale : ReducingScales) {
        SCOPED_TRACE(scale);
        QImage source = Noise(211, 163, 4);
        AveragedPicture mended;
        mended.Make(source, scale);
        for (int change = 0; change < 20; ++change) {
            const QRect area(static_cast<int>(random() % 200), static_cast<int>(random() % 150),
                             1 + static_cast<int>(random() % 70),
                             1 + static_cast<int>(random() % 40));
            const QImage patch = Noise(area.width(), area.height(),
                                       static_cast<std::uint32_t>(100 + random() % 1000));
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (source.rect().contains(x, y))
                        source.setPixel(x, y, patch.pixel(x - area.left(), y - area.top()));
            mended.Update(source, area);
        }
        AveragedPicture anew;
        anew.Make(source, scale);
        EXPECT_EQ(mended.Image(), anew.Image());
    }
}

}  // namespace
