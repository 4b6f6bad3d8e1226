#include "core/MapModel.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"
#include "tests/graphics/SyntheticSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace {

// Every layer covers the hexagon from its own first row down, each starting lower than the
// layer drawn before it: at row 4 j + 1 only layer j and those drawn later can show.
constexpr int GroundRow = 4;
constexpr int SwampRow = 8;
constexpr int RiverRow = 12;
constexpr int RoadRow = 16;
constexpr int MinesRow = 20;
constexpr int SmokeRow = 24;
constexpr int FireRow = 28;

constexpr QRgb Black = 0xff000000;
QRgb HeightColour(int h) { return qRgb(10 + h, 200, 10); }
QRgb GroundColour(int g) { return qRgb(20 + g, 20, 200); }
const QRgb CursorColour = qRgb(250, 0, 250);
const QRgb FireColour = qRgb(240, 0, 0);
const QRgb SmokeColour = qRgb(120, 120, 120);
const QRgb SwampColour = qRgb(0, 90, 60);
const QRgb MinesColour = qRgb(230, 230, 0);
const QRgb RiverArmColour = qRgb(0, 0, 150);
const QRgb RiverCentreColour = qRgb(0, 150, 250);
const QRgb RoadArmColour = qRgb(150, 75, 0);
const QRgb RoadCentreColour = qRgb(200, 150, 100);

std::function<bool(int, int)> FromRow(int first)
{
    return [first](int a, int b) { return InsideHex(a, b) && b >= first; };
}

// An arm from the centre to the north edge.
bool ArmShape(int a, int b) { return std::abs(a - 33) <= 5 && b <= 10; }

SpriteSheets LayeredSheets()
{
    std::vector<QImage> heights;
    heights.reserve(7);
    for (int h = 0; h < 7; ++h)
        heights.push_back(SolidCell(HeightColour(h)));
    std::vector<SheetSprite> grounds;
    grounds.reserve(16);
    for (int g = 0; g < 16; ++g)
        grounds.push_back(SolidSprite(GroundColour(g), FromRow(GroundRow)));
    return {
        HeightSheet(MaskCell(InsideHex), heights),
        PairSheet({SolidSprite(CursorColour, [](int, int) { return true; }),
                   SolidSprite(FireColour, FromRow(FireRow)),
                   SolidSprite(SmokeColour, FromRow(SmokeRow)),
                   SolidSprite(SwampColour, FromRow(SwampRow)),
                   SolidSprite(MinesColour, FromRow(MinesRow))}),
        PairSheet(grounds),
        PairSheet({SolidSprite(qRgb(1, 2, 3), InsideHex)}),
        PairSheet({SolidSprite(RoadArmColour, ArmShape),
                   SolidSprite(RoadCentreColour, FromRow(RoadRow))}),
        PairSheet({SolidSprite(RiverArmColour, ArmShape),
                   SolidSprite(RiverCentreColour, FromRow(RiverRow))}),
    };
}

class MapRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EffectSpriteCount = 5;
        MechSpriteCount = 1;
        GroundSpriteCount = 16;
        SpriteDir = QStringLiteral("..\\Sprites\\");
        LayeredSheets().WriteTo(game.SpritesDir());
        LoadSpriteLibrary();
        ClearMap();
        MapImage().fill(qRgb(255, 0, 0));
        SetMapViewRepaint([this] { ++repaints; });
    }
    void TearDown() override
    {
        SetMapViewRepaint(nullptr);
        FreeSpriteLibrary();
        ClearMap();
    }

    // Pixel (a, b) of the sprite cell of hex (x, y) on the map image.
    static QRgb At(int x, int y, int a, int b)
    {
        const PixelPoint at = HexToPixel(x, y);
        return MapImage().pixel(at.px + a, at.py + b);
    }

    // Pixels of the hexagon of (x, y) showing colour.
    static int CountInHex(int x, int y, QRgb colour)
    {
        int count = 0;
        for (int b = 0; b < SpriteHeight; ++b)
            for (int a = 0; a < SpriteWidth; ++a)
                count += InsideHex(a, b) && At(x, y, a, b) == colour;
        return count;
    }

    static int OpaquePixels(const QImage& sprite)
    {
        int count = 0;
        for (int b = 0; b < SpriteHeight; ++b)
            for (int a = 0; a < SpriteWidth; ++a)
                count += qAlpha(sprite.pixel(a, b)) != 0;
        return count;
    }

    static void SetRoad(int x, int y) { Cell(x, y).Overlays.Road = 1; }

    GameFolder game;
    ScriptedPrompts prompts;
    int repaints = 0;
};

TEST_F(MapRendererTest, ACleanMapIsHeightAndGroundZeroOnBlack)
{
    RedrawMap();
    EXPECT_EQ(repaints, 1);
    int hexPixels = 0;
    int heightOnly = 0;
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a) {
            hexPixels += InsideHex(a, b);
            heightOnly += InsideHex(a, b) && b < GroundRow;
        }
    for (int x = 1; x <= 32; ++x)
        for (int y = 1; y <= 32; ++y) {
            ASSERT_EQ(CountInHex(x, y, HeightColour(0)), heightOnly) << x << "," << y;
            ASSERT_EQ(CountInHex(x, y, GroundColour(0)), hexPixels - heightOnly) << x << "," << y;
        }
    // Hexagons never overlap, so everything else is the black of the grid lines.
    int black = 0;
    for (int py = 0; py < MapImageHeight; ++py)
        for (int px = 0; px < MapImageWidth; ++px)
            black += MapImage().pixel(px, py) == Black;
    EXPECT_EQ(black, MapImageWidth * MapImageHeight - 1024 * hexPixels);
    EXPECT_EQ(At(1, 1, 33, 38), Black);
    EXPECT_EQ(At(1, 1, 33, 39), Black);
}

TEST_F(MapRendererTest, LayersGoHeightGroundSwampRiverRoadMinesSmokeFire)
{
    MapCell& cell = Cell(10, 10);
    cell.Height = 2;
    cell.Ground = 3;
    cell.Mines = 7;
    cell.Overlays = {1, 1, 1, 1, 1};
    const std::vector<QRgb> expected = {HeightColour(2),   GroundColour(3),  SwampColour,
                                        RiverCentreColour, RoadCentreColour, MinesColour,
                                        SmokeColour,       FireColour};
    DrawCell(10, 10, false);
    EXPECT_EQ(repaints, 0);
    for (std::size_t j = 0; j < expected.size(); ++j)
        EXPECT_EQ(At(10, 10, 33, 4 * static_cast<int>(j) + 1), expected[j]) << "layer " << j;
    RedrawMap();
    for (std::size_t j = 0; j < expected.size(); ++j)
        EXPECT_EQ(At(10, 10, 33, 4 * static_cast<int>(j) + 1), expected[j]) << "layer " << j;
}

TEST_F(MapRendererTest, NeighbouringRoadsJoinOnBothSides)
{
    ASSERT_EQ(HexNeighbour(5, 5, 2), (HexStep{true, 6, 4}));
    SetRoad(5, 5);
    SetRoad(6, 4);
    RedrawMap();

    const QImage& armNorthEast = RoadSets[2].Images[0];
    const QImage& armSouthWest = RoadSets[5].Images[0];
    ASSERT_NE(qAlpha(armNorthEast.pixel(53, 11)), 0);
    ASSERT_NE(qAlpha(armSouthWest.pixel(13, 26)), 0);
    EXPECT_EQ(At(5, 5, 53, 11), RoadArmColour);
    EXPECT_EQ(At(6, 4, 13, 26), RoadArmColour);
    // Each hex shows exactly one whole arm, and its centre piece.
    EXPECT_EQ(CountInHex(5, 5, RoadArmColour), OpaquePixels(armNorthEast));
    EXPECT_EQ(CountInHex(6, 4, RoadArmColour), OpaquePixels(armSouthWest));
    EXPECT_EQ(At(5, 5, 33, 30), RoadCentreColour);
    EXPECT_EQ(At(6, 4, 33, 30), RoadCentreColour);

    // Redrawing one side alone keeps both sides of the join.
    DrawCell(6, 4, true);
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(CountInHex(5, 5, RoadArmColour), OpaquePixels(armNorthEast));
    EXPECT_EQ(CountInHex(6, 4, RoadArmColour), OpaquePixels(armSouthWest));
}

TEST_F(MapRendererTest, RiversJoinLikeRoadsAndLieUnderThem)
{
    for (const auto& [x, y] : {std::pair{5, 5}, std::pair{5, 6}}) {
        Cell(x, y).Overlays.River = 1;
        Cell(x, y).Overlays.Road = 1;
    }
    RedrawMap();
    EXPECT_EQ(CountInHex(5, 5, RiverArmColour) + CountInHex(5, 5, RoadArmColour),
              OpaquePixels(RoadSets[4].Images[0]));
    EXPECT_EQ(CountInHex(5, 5, RiverArmColour), 0);
    EXPECT_EQ(At(5, 5, 33, RiverRow + 1), RiverCentreColour);
    EXPECT_EQ(At(5, 5, 33, RoadRow + 1), RoadCentreColour);
}

TEST_F(MapRendererTest, ALoneRoadOrOneOnTheEdgeShowsOnlyItsCentre)
{
    SetRoad(20, 20);
    SetRoad(1, 1);
    SetRoad(32, 32);
    SetRoad(32, 1);
    RedrawMap();
    int arms = 0;
    for (int py = 0; py < MapImageHeight; ++py)
        for (int px = 0; px < MapImageWidth; ++px)
            arms += MapImage().pixel(px, py) == RoadArmColour;
    EXPECT_EQ(arms, 0);
    EXPECT_EQ(At(20, 20, 33, 30), RoadCentreColour);
    EXPECT_EQ(At(1, 1, 33, 30), RoadCentreColour);
    EXPECT_EQ(At(32, 32, 33, 30), RoadCentreColour);
}

TEST_F(MapRendererTest, ALaterNeighboursJoinLiesOverTheEarlierHexsFire)
{
    SetRoad(5, 5);
    SetRoad(5, 6);
    Cell(5, 5).Overlays.Fire = 1;
    Cell(5, 6).Overlays.Fire = 1;
    RedrawMap();
    // Left of the arms, which run down the middle.
    EXPECT_EQ(At(5, 5, 15, FireRow + 1), RoadCentreColour);
    EXPECT_EQ(At(5, 6, 15, FireRow + 1), FireColour);
}

TEST_F(MapRendererTest, HeightsAndGroundsWithoutAnImageDrawNothing)
{
    Cell(7, 7).Height = -1;
    Cell(8, 8).Height = 7;
    Cell(9, 9).Ground = 16;
    RedrawMap();
    EXPECT_EQ(At(7, 7, 33, 1), Black);
    EXPECT_EQ(At(7, 7, 33, 20), GroundColour(0));
    EXPECT_EQ(At(8, 8, 33, 1), Black);
    EXPECT_EQ(At(9, 9, 33, 20), HeightColour(0));
}

TEST_F(MapRendererTest, AReloadWithNewSheetsShowsTheNewTiles)
{
    RedrawMap();
    SpriteSheets sheets = LayeredSheets();
    std::vector<QImage> heights(7, SolidCell(qRgb(1, 99, 1)));
    sheets.Height = HeightSheet(MaskCell(InsideHex), heights);
    sheets.Ground = PairSheet({SolidSprite(qRgb(2, 98, 2), FromRow(GroundRow))});
    sheets.WriteTo(game.SpritesDir());
    LoadSpriteSheets();
    RedrawMap();
    EXPECT_EQ(At(12, 12, 33, 1), qRgb(1, 99, 1));
    EXPECT_EQ(At(12, 12, 33, 20), qRgb(2, 98, 2));
    Cell(12, 12).Ground = 1;
    DrawCell(12, 12, false);
    EXPECT_EQ(At(12, 12, 33, 20), qRgb(1, 99, 1));
}

TEST_F(MapRendererTest, DrawCellPaintsOverTheCursorWithoutClearing)
{
    RedrawMap();
    DrawCursor(3, 3);
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(At(3, 3, 33, 1), CursorColour);
    EXPECT_EQ(At(3, 3, 65, 20), CursorColour);

    Cell(3, 3).Height = -1;
    DrawCell(3, 3, true);
    EXPECT_EQ(repaints, 3);
    EXPECT_EQ(At(3, 3, 33, 1), CursorColour);
    EXPECT_EQ(At(3, 3, 33, 20), GroundColour(0));
}

}  // namespace
