// The showcase commands paint sprites into the map image only; Reload starts afresh.

#include "graphics/Showcase.h"

#include "SyntheticSprites.h"
#include "core/Catalogue.h"
#include "core/MapCreation.h"
#include "core/MapModel.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Errors.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

namespace {

using namespace synthetic;

constexpr QRgb Black = 0xff000000;

QByteArray GridBytes() { return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid}; }

class Showcase : public ::testing::Test {
protected:
    int repaints = 0;

    void SetUp() override
    {
        SetCaptionSink(nullptr);
        ClearMap();
        FillSetsInMemory(4);
        MechSpriteCount = 4;
        ClearMapImage();
        SetMapViewRepaint([this] { ++repaints; });
    }
    void TearDown() override
    {
        SetMapViewRepaint(nullptr);
        FreeSpriteLibrary();
    }
};

TEST_F(Showcase, MechsShowEveryMechInItsSixFacingsTopLeft)
{
    const QByteArray grid = GridBytes();

    ShowMechs();

    for (int n = 0; n < 4; ++n)
        for (int d = 1; d <= 6; ++d)
            EXPECT_EQ(HexMiddle(n + 1, d), MechColour(n, d)) << "mech " << n << " facing " << d;
    EXPECT_EQ(HexMiddle(5, 1), Black);
    EXPECT_EQ(HexMiddle(1, 7), Black);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(GridBytes(), grid);
}

TEST_F(Showcase, MechsPastTheLastColumnAreClippedAndAnAbsurdCountEndsAtOnce)
{
    FillSetsInMemory(40);
    MechSpriteCount = INT_MAX;

    ShowMechs();

    EXPECT_EQ(HexMiddle(32, 6), MechColour(31, 6));
    // Column 33 begins 22 pixels before the right edge.
    const PixelPoint column33 = HexToPixel(33, 1);
    ASSERT_LT(column33.px, MapImageWidth);
    EXPECT_EQ(MapImage().pixel(column33.px + 5, column33.py + 19), MechColour(32, 1));
    EXPECT_EQ(repaints, 1);
}

TEST_F(Showcase, NoMechsMeansNothingPainted)
{
    for (const int count : {0, -3}) {
        MechSpriteCount = count;
        ShowMechs();
        EXPECT_EQ(HexMiddle(1, 1), Black);
    }
    EXPECT_EQ(repaints, 2);
}

TEST_F(Showcase, RoadsShowArmAndCentreInTheirSixFacings)
{
    ShowRoads();

    for (int d = 1; d <= 6; ++d) {
        EXPECT_EQ(HexMiddle(1, d + 6), RoadColour(0, d)) << "arm facing " << d;
        EXPECT_EQ(HexMiddle(2, d + 6), RoadColour(1, d)) << "centre facing " << d;
    }
    EXPECT_EQ(HexMiddle(1, 6), Black);
    EXPECT_EQ(HexMiddle(1, 13), Black);
    EXPECT_EQ(HexMiddle(3, 7), Black);
    EXPECT_EQ(repaints, 1);
}

// Whether and which mech each hex gets, drawn in the command's order from the same seed.
std::vector<QRgb> ExpectedScatter(std::uint32_t seed, int mechs)
{
    Randomize(seed);
    std::vector<QRgb> expected;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            if (Random(10) >= 2) {
                expected.push_back(Black);
                continue;
            }
            const int n = Random(mechs);
            const int f = Random(6);
            expected.push_back(MechColour(n, f + 1));
        }
    return expected;
}

TEST_F(Showcase, FillDotsRandomMechsOnAboutOneHexInFive)
{
    const QByteArray grid = GridBytes();
    const std::vector<QRgb> expected = ExpectedScatter(20261208, 4);

    Randomize(20261208);
    FillMechs();

    std::vector<QRgb> painted;
    std::set<QRgb> kinds;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            painted.push_back(HexMiddle(x, y));
            kinds.insert(HexMiddle(x, y));
        }
    EXPECT_EQ(painted, expected);
    const auto mechHexes =
        std::count_if(painted.begin(), painted.end(), [](QRgb colour) { return colour != Black; });
    EXPECT_GT(mechHexes, 120);
    EXPECT_LT(mechHexes, 300);
    // All four mechs in all six facings turn up among some 200 hexes.
    EXPECT_EQ(kinds.size(), 25u);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(GridBytes(), grid);
    EXPECT_FALSE(MapModified);
}

TEST_F(Showcase, FillWithAnAbsurdMechCountPaintsOnlyTheMechsThere)
{
    MechSpriteCount = INT_MAX;
    Randomize(7);

    FillMechs();

    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const QRgb colour = HexMiddle(x, y);
            if (colour == Black)
                continue;
            bool known = false;
            for (int n = 0; n < 4; ++n)
                for (int d = 1; d <= 6; ++d)
                    known = known || colour == MechColour(n, d);
            EXPECT_TRUE(known) << x << "," << y;
        }
    EXPECT_EQ(repaints, 1);
}

}  // namespace
