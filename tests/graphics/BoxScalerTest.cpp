// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The box filter that makes thumbnails, against the plain way of writing it.

#include "graphics/BoxScaler.h"
#include "tests/graphics/BoxReference.h"

#include <gtest/gtest.h>
#include <random>

namespace {

QImage Noise(QSize size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, static_cast<QRgb>(random()));
    return image;
}

// source scaled to size, its target rows cut into parts runs, each fed its own source rows.
QImage Scaled(const QImage& source, QSize size, int parts)
{
    QImage target(size, QImage::Format_RGB32);
    target.fill(Qt::red);
    const BoxScaler::Target pixels = BoxScaler::TargetOf(target);
    for (int part = 0; part < parts; ++part) {
        const int first = size.height() * part / parts;
        const int last = size.height() * (part + 1) / parts;
        BoxScaler scaler(source.size(), pixels, first, last);
        for (int y = scaler.FirstSourceRow(first); y < scaler.FirstSourceRow(last); ++y)
            scaler.AddRow(y, reinterpret_cast<const QRgb*>(source.constScanLine(y)));
    }
    return target;
}

TEST(FitWithin, KeepsTheShapeRoundsEachSideAndNeverEnlarges)
{
    const QSize map(1590, 1301);
    const struct {
        int edge;
        QSize expected;
    } rows[] = {{16, {16, 13}},       {17, {17, 14}},       {255, {255, 209}},    {256, {256, 209}},
                {1589, {1589, 1300}}, {1590, {1590, 1301}}, {4000, {1590, 1301}}, {1, {1, 1}}};
    for (const auto& row : rows)
        EXPECT_EQ(FitWithin(map, row.edge), row.expected) << row.edge;
    EXPECT_EQ(FitWithin({10, 1000}, 100), QSize(1, 100));
    EXPECT_EQ(FitWithin({30, 40}, 20), QSize(15, 20));
}

TEST(BoxScaler, GivesThePlainBoxFilterForAnySizeAndAnyCutIntoParts)
{
    const struct {
        QSize source;
        QSize target;
    } rows[] = {{{37, 23}, {37, 23}},
                {{37, 23}, {36, 22}},
                {{37, 23}, {5, 3}},
                {{37, 23}, {1, 1}},
                {{300, 7}, {17, 7}},
                {{7, 300}, {2, 255}},
                {{1, 1}, {1, 1}},
                {{256, 256}, {16, 16}},
                // More rows to a target row than 16-bit sums hold, at the limit and beyond it.
                {{3, 600}, {2, 1}},
                {{5, 700}, {3, 2}},
                {{2, 257}, {1, 1}},
                {{2, 258}, {1, 1}},
                {{2, 514}, {1, 1}},
                {{4, 1000}, {3, 3}}};
    std::uint32_t seed = 1;
    for (const auto& row : rows) {
        const QImage source = Noise(row.source, seed++);
        const QImage expected = BoxReference(source, row.target);
        for (int parts : {1, 2, 3}) {
            if (parts > row.target.height())
                continue;
            EXPECT_EQ(Scaled(source, row.target, parts), expected)
                << row.source.width() << "x" << row.source.height() << " to " << row.target.width()
                << "x" << row.target.height() << " in " << parts;
        }
    }
}

TEST(BoxScaler, RoundsHalvesUp)
{
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(0, 10, 255));
    source.setPixel(1, 0, qRgb(1, 11, 254));
    // 0.5 rounds up, 10.5 up, 254.5 up.
    EXPECT_EQ(Scaled(source, {1, 1}, 1).pixel(0, 0), qRgb(1, 11, 255));
}

}  // namespace
