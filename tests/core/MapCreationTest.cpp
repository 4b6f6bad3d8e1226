#include "core/MapCreation.h"

#include "FreshMap.h"
#include "core/MapModel.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>
#include <vector>

namespace {

class MapCreation : public FreshMap {
protected:
    void SetUp() override
    {
        FreshMap::SetUp();
        savedGroundCount = GroundSpriteCount;
        Randomize(12345);
    }
    void TearDown() override
    {
        GroundSpriteCount = savedGroundCount;
        FreshMap::TearDown();
    }

    // The ground codes of a random map made with the given sprite count.
    static std::set<int> GroundCodesFor(std::int32_t groundSpriteCount)
    {
        GroundSpriteCount = groundSpriteCount;
        RandomMap();
        std::set<int> codes;
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y)
                codes.insert(Cell(x, y).Ground);
        return codes;
    }

    static std::set<int> Range(int first, int last)
    {
        std::set<int> values;
        for (int v = first; v <= last; ++v)
            values.insert(v);
        return values;
    }

    std::int32_t savedGroundCount = 0;
};

TEST_F(MapCreation, RandomStaysBelowItsBoundAndReachesEveryValue)
{
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i)
        seen.insert(Random(7));
    EXPECT_EQ(seen, Range(0, 6));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(Random(1), 0);
}

TEST_F(MapCreation, RandomOfNothingIsZero)
{
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(Random(std::numeric_limits<int>::min()), 0);
}

TEST_F(MapCreation, SeedMakesTheSequenceRepeatable)
{
    auto draw = [] {
        std::vector<int> values;
        values.reserve(50);
        for (int i = 0; i < 50; ++i)
            values.push_back(Random(1000));
        return values;
    };
    Randomize(7);
    const std::vector<int> first = draw();
    Randomize(7);
    EXPECT_EQ(draw(), first);
    Randomize(8);
    EXPECT_NE(draw(), first);
}

TEST_F(MapCreation, HeightsAreZeroToSix)
{
    GroundSpriteCount = 16;
    RandomMap();
    std::set<int> heights;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            heights.insert(Cell(x, y).Height);
    EXPECT_EQ(heights, Range(0, 6));
}

TEST_F(MapCreation, EachCellDrawsItsHeightThenItsGroundInGridOrder)
{
    GroundSpriteCount = 16;
    Randomize(99);
    RandomMap();
    Randomize(99);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const int height = Random(7);
            const int ground = Random(16);
            ASSERT_EQ(Cell(x, y).Height, height) << "cell " << x << "," << y;
            ASSERT_EQ(Cell(x, y).Ground, ground) << "cell " << x << "," << y;
        }
}

TEST_F(MapCreation, GroundCodesFollowTheSpriteCount)
{
    EXPECT_EQ(GroundCodesFor(16), Range(0, 15));
    EXPECT_EQ(GroundCodesFor(20), Range(0, 19));
    EXPECT_EQ(GroundCodesFor(1), std::set<int>{0});
}

TEST_F(MapCreation, NoGroundSpritesGivesGrassEverywhere)
{
    EXPECT_EQ(GroundCodesFor(0), std::set<int>{0});
    EXPECT_EQ(GroundCodesFor(-5), std::set<int>{0});
}

// Ground is one byte: codes beyond 255 wrapped around would make the low codes twice as likely.
TEST_F(MapCreation, SpriteCountsBeyondAByteDrawEveryByteValueEqually)
{
    EXPECT_GE(*GroundCodesFor(300).rbegin(), 250);
    int lowCodes = 0;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            lowCodes += Cell(x, y).Ground < 44 ? 1 : 0;
    // About 176 of 1024 cells when even, about 300 when wrapped.
    EXPECT_GT(lowCodes, 130);
    EXPECT_LT(lowCodes, 230);
}

TEST_F(MapCreation, RandomMapClearsEverythingButHeightAndGroundAndKeepsPadding)
{
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            std::memset(&Cell(x, y), 0xA5, sizeof(MapCell));
    GroundSpriteCount = 16;
    RandomMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const MapCell& cell = Cell(x, y);
            SCOPED_TRACE(testing::Message() << "cell " << x << "," << y);
            EXPECT_EQ(cell.X, x);
            EXPECT_EQ(cell.Y, y);
            ExpectResetKeepingPadding(cell, 0xA5);
        }
}

TEST_F(MapCreation, RandomMapIsNamedRandomAndUnmodified)
{
    QStringList captions;
    SetCaptionSink([&](const QString& caption) { captions << caption; });
    MapModified = true;
    CursorX = 7;
    CursorY = 9;
    RandomMap();
    EXPECT_EQ(MapName, "Random");
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : Random"});
    EXPECT_EQ(CursorX, 7);
    EXPECT_EQ(CursorY, 9);
}

TEST_F(MapCreation, ClockSeedReplacesTheFixedSeed)
{
    auto draw = [] {
        std::vector<int> values;
        values.reserve(20);
        for (int i = 0; i < 20; ++i)
            values.push_back(Random(1 << 30));
        return values;
    };
    Randomize(12345);
    const std::vector<int> fixed = draw();
    Randomize(12345);
    Randomize();
    EXPECT_NE(draw(), fixed);
}

}  // namespace
