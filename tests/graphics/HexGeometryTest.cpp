#include "graphics/HexGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(HexToPixel, PlacesColumnsFortyNineApartAndEvenColumnsHalfARowLower)
{
    EXPECT_EQ(HexToPixel(1, 1), (PixelPoint{0, 2}));
    EXPECT_EQ(HexToPixel(2, 1), (PixelPoint{49, 22}));
    EXPECT_EQ(HexToPixel(1, 2), (PixelPoint{0, 42}));
    EXPECT_EQ(HexToPixel(31, 32), (PixelPoint{1470, 1242}));
    EXPECT_EQ(HexToPixel(32, 32), (PixelPoint{1519, 1262}));
}

TEST(HexToPixel, ColumnsOutsideTheMapKeepTheirParity)
{
    EXPECT_EQ(HexToPixel(0, 1), (PixelPoint{-49, 22}));
    EXPECT_EQ(HexToPixel(-1, 1), (PixelPoint{-98, 2}));
    EXPECT_EQ(HexToPixel(33, 33), (PixelPoint{1568, 1282}));
}

TEST(HexToPixel, WholeGridFitsTheMapImage)
{
    int right = 0;
    int bottom = 0;
    for (int x = 1; x <= 32; ++x)
        for (int y = 1; y <= 32; ++y) {
            const PixelPoint p = HexToPixel(x, y);
            EXPECT_GE(p.px, 0);
            EXPECT_GE(p.py, 0);
            right = std::max(right, p.px + SpriteWidth - 1);
            bottom = std::max(bottom, p.py + SpriteHeight - 1);
        }
    EXPECT_EQ(right, 1584);
    EXPECT_EQ(bottom, 1299);
    EXPECT_LT(right, MapImageWidth);
    EXPECT_LT(bottom, MapImageHeight);
}

// On the image, direction d from a hex is a fixed pixel step whatever the column.
TEST(HexNeighbour, EveryNeighbourLiesInItsDirectionOnTheImage)
{
    const PixelPoint steps[6] = {{0, -40}, {49, -20}, {49, 20}, {0, 40}, {-49, 20}, {-49, -20}};
    for (int x = 1; x <= 32; ++x)
        for (int y = 1; y <= 32; ++y)
            for (int d = 1; d <= 6; ++d) {
                const PixelPoint from = HexToPixel(x, y);
                const PixelPoint expected{from.px + steps[d - 1].px, from.py + steps[d - 1].py};
                // The hex whose sprite lies there, if any is on the map.
                const int nx = x + steps[d - 1].px / 49;
                const int ny = (expected.py - HexToPixel(nx, 1).py) / 40 + 1;
                const HexStep step = HexNeighbour(x, y, d);
                SCOPED_TRACE(testing::Message() << x << "," << y << " direction " << d);
                if (IsOnMap(nx, ny)) {
                    EXPECT_EQ(step, (HexStep{true, nx, ny}));
                    EXPECT_EQ(HexToPixel(step.nx, step.ny), expected);
                    EXPECT_EQ(HexNeighbour(nx, ny, TurnDirection(d, 3)), (HexStep{true, x, y}));
                } else {
                    EXPECT_EQ(step, (HexStep{false, x, y}));
                }
            }
}

TEST(InsideHex, EdgePixels)
{
    EXPECT_TRUE(InsideHex(19, 0));
    EXPECT_TRUE(InsideHex(47, 0));
    EXPECT_FALSE(InsideHex(18, 0));
    EXPECT_FALSE(InsideHex(48, 0));
    EXPECT_TRUE(InsideHex(0, 20));
    EXPECT_TRUE(InsideHex(64, 20));
    EXPECT_FALSE(InsideHex(65, 20));
    EXPECT_FALSE(InsideHex(-1, 20));
    EXPECT_FALSE(InsideHex(33, -1));
    EXPECT_FALSE(InsideHex(33, 39));
}

// First and last inside column of each pixel row; every column between them is inside.
TEST(InsideHex, RowsOfTheHexagon)
{
    for (int b = 0; b < SpriteHeight; ++b) {
        int first = 0;
        int last = 0;
        if (b <= 17) {
            first = 19 - b;
            last = 47 + b;
        } else if (b >= 23) {
            first = b - 21;
            last = 87 - b;
        } else {
            first = b == 18 || b == 22 ? 1 : 0;
            last = 64;
        }
        for (int a = -1; a <= SpriteWidth; ++a)
            EXPECT_EQ(InsideHex(a, b), a >= first && a <= last) << "pixel " << a << "," << b;
    }
}

TEST(InsideHex, NoTwoHexagonsOverlapOnTheMapImage)
{
    std::vector<int> owner(static_cast<std::size_t>(MapImageWidth * MapImageHeight), 0);
    int covered = 0;
    for (int x = 1; x <= 32; ++x)
        for (int y = 1; y <= 32; ++y) {
            const PixelPoint p = HexToPixel(x, y);
            for (int b = 0; b < SpriteHeight; ++b)
                for (int a = 0; a < SpriteWidth; ++a) {
                    if (!InsideHex(a, b))
                        continue;
                    const int ix = p.px + a;
                    const int iy = p.py + b;
                    ASSERT_TRUE(ix >= 0 && ix < MapImageWidth && iy >= 0 && iy < MapImageHeight);
                    int& pixel = owner[static_cast<std::size_t>(iy) * MapImageWidth +
                                       static_cast<std::size_t>(ix)];
                    ASSERT_EQ(pixel, 0)
                        << "hex " << x << "," << y << " overlaps hex " << pixel / 100 << ","
                        << pixel % 100 << " at " << ix << "," << iy;
                    pixel = x * 100 + y;
                    ++covered;
                }
        }
    int perHex = 0;
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            perHex += InsideHex(a, b) ? 1 : 0;
    EXPECT_EQ(covered, 1024 * perHex);
}

// Beside the notch at the corners, the slanted edges of neighbouring columns meet without a gap.
TEST(InsideHex, SlantedEdgesMeetTheirSouthEastNeighbour)
{
    auto lastInside = [](int b) {
        int a = SpriteWidth - 1;
        while (a >= 0 && !InsideHex(a, b))
            --a;
        return a;
    };
    auto firstInside = [](int b) {
        int a = 0;
        while (a < SpriteWidth && !InsideHex(a, b))
            ++a;
        return a;
    };
    // Hex (1, 1) and its south-east neighbour (2, 1) share the image rows 22 to 39.
    const PixelPoint upper = HexToPixel(1, 1);
    const PixelPoint lower = HexToPixel(2, 1);
    for (int row = lower.py; row < upper.py + SpriteHeight; ++row) {
        const int b = row - upper.py;
        const int gap = (lower.px + firstInside(row - lower.py)) - (upper.px + lastInside(b)) - 1;
        EXPECT_GE(gap, 0) << "row " << row;
        EXPECT_LE(gap, 3) << "row " << row;
        if (b >= 23) {
            EXPECT_EQ(gap, 0) << "row " << row;
        }
    }
}

// The owner of every pixel of the image, found the slow way: the sprite cells and InsideHex.
std::vector<int> PixelOwners()
{
    std::vector<int> owner(static_cast<std::size_t>(MapImageWidth * MapImageHeight), 0);
    for (int x = 1; x <= 32; ++x)
        for (int y = 1; y <= 32; ++y) {
            const PixelPoint p = HexToPixel(x, y);
            for (int b = 0; b < SpriteHeight; ++b)
                for (int a = 0; a < SpriteWidth; ++a)
                    if (InsideHex(a, b))
                        owner[static_cast<std::size_t>(p.py + b) * MapImageWidth +
                              static_cast<std::size_t>(p.px + a)] = x * 100 + y;
        }
    return owner;
}

TEST(HexAtPixel, NamesTheHexWhoseHexagonHoldsEachPixelOfTheImage)
{
    const std::vector<int> owner = PixelOwners();
    for (int py = 0; py < MapImageHeight; ++py)
        for (int px = 0; px < MapImageWidth; ++px) {
            const int expected =
                owner[static_cast<std::size_t>(py) * MapImageWidth + static_cast<std::size_t>(px)];
            const std::optional<HexAddress> hex = HexAtPixel(px, py);
            const int found = hex ? hex->x * 100 + hex->y : 0;
            ASSERT_EQ(found, expected) << "pixel " << px << "," << py;
        }
}

TEST(HexAtPixel, NothingInTheBandsOrOutsideTheGrid)
{
    // InsideHex admits the row below the sprite cell, which is the band's.
    EXPECT_TRUE(InsideHex(33, 38));
    EXPECT_EQ(HexAtPixel(33, 2 + 37), (HexAddress{1, 1}));
    EXPECT_EQ(HexAtPixel(33, 2 + 38), std::nullopt);
    EXPECT_EQ(HexAtPixel(65, 62), std::nullopt) << "the notch at the corner of (1, 2)";
    for (const auto& [px, py] : {std::pair{-1, 21},
                                 {33, -1},
                                 {33, 1},
                                 {1589, 700},
                                 {1590, 700},
                                 {800, 1300},
                                 {800, 1301},
                                 {5000, 5000},
                                 {-5000, 21},
                                 {1552, 0}})
        EXPECT_EQ(HexAtPixel(px, py), std::nullopt) << px << "," << py;
}

constexpr PixelArea WholeImage{0, 0, MapImageWidth, MapImageHeight};

TEST(HexesAlong, ARowOfOddColumnsCrossedAlongTheirMiddles)
{
    std::vector<HexAddress> expected;
    for (int x = 1; x <= 31; x += 2)
        expected.push_back({x, 1});
    EXPECT_EQ(HexesAlong({-10, 21}, {1600, 21}, WholeImage), expected);

    std::vector<HexAddress> column;
    for (int y = 32; y >= 1; --y)
        column.push_back({1, y});
    EXPECT_EQ(HexesAlong({33, 1300}, {33, 0}, WholeImage), column) << "every band crossed, upward";
}

TEST(HexesAlong, OnlyTheHexesEnteredAndEachTimeTheyAreEntered)
{
    EXPECT_TRUE(HexesAlong({33, 21}, {33, 21}, WholeImage).empty());
    EXPECT_TRUE(HexesAlong({10, 21}, {60, 21}, WholeImage).empty()) << "inside the starting hex";
    EXPECT_EQ(HexesAlong({33, 21}, {33, 61}, WholeImage), (std::vector<HexAddress>{{1, 2}}));
    EXPECT_EQ(HexesAlong({33, 30}, {33, 100}, WholeImage).back(), (HexAddress{1, 3}));
    EXPECT_TRUE(HexesAlong({33, 21}, {33, 1}, WholeImage).empty()) << "out through the top edge";
    // Back and forth over the slanted edge between (1, 1) and (2, 1).
    const std::vector<HexAddress> over = HexesAlong({30, 35}, {90, 35}, WholeImage);
    EXPECT_EQ(over, (std::vector<HexAddress>{{2, 1}}));
    const std::vector<HexAddress> back = HexesAlong({90, 35}, {30, 35}, WholeImage);
    EXPECT_EQ(back, (std::vector<HexAddress>{{1, 1}}));
}

TEST(HexesAlong, OnlyInsideTheShownArea)
{
    std::vector<HexAddress> shown;
    for (int x = 1; x <= 11; x += 2)
        shown.push_back({x, 1});
    const PixelArea left{0, 0, 500, 400};
    EXPECT_EQ(HexesAlong({-10, 21}, {1600, 21}, left), shown) << "(11, 1) begins at pixel 490";
    std::reverse(shown.begin(), shown.end());
    EXPECT_EQ(HexesAlong({1600, 21}, {-10, 21}, left), shown);
    EXPECT_TRUE(HexesAlong({33, 21}, {33, 1000}, {0, 0, 500, 40}).empty()) << "(1, 2) is hidden";
    EXPECT_EQ(HexesAlong({20, 21}, {60, 21}, {40, 0, 500, 400}), (std::vector<HexAddress>{{1, 1}}))
        << "entered where the area begins, inside its hexagon";
}

// A straight path steps over no hexagon: each hex entered touches the one before it.
TEST(HexesAlong, LongDiagonalsEnterOnlyNeighboursInTurn)
{
    const std::pair<PixelPoint, PixelPoint> paths[] = {{{0, 21}, {1584, 1280}},
                                                       {{1584, 20}, {3, 1290}},
                                                       {{700, 0}, {710, 1300}},
                                                       {{0, 600}, {1589, 640}}};
    for (const auto& [from, to] : paths) {
        const std::vector<HexAddress> hexes = HexesAlong(from, to, WholeImage);
        ASSERT_GT(hexes.size(), 20u);
        for (std::size_t i = 1; i < hexes.size(); ++i) {
            bool touches = false;
            for (int d = 1; d <= 6; ++d)
                touches = touches || HexNeighbour(hexes[i - 1].x, hexes[i - 1].y, d) ==
                                         HexStep{true, hexes[i].x, hexes[i].y};
            EXPECT_TRUE(touches) << hexes[i - 1].x << "," << hexes[i - 1].y << " then "
                                 << hexes[i].x << "," << hexes[i].y;
        }
    }
}

}  // namespace
