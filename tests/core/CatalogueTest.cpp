#include "core/Catalogue.h"

#include "FreshMap.h"
#include "core/MapModel.h"

#include <gtest/gtest.h>

namespace {

using Catalogue = FreshMap;

TEST(CatalogueNames, TerrainNamesAndKeyLabels)
{
    const char* const names[] = {"Grass",         "Rough",         "Light Woods",   "Heavy Woods",
                                 "Concrete",      "Water Level 0", "Water Level 1", "Water Level 2",
                                 "Water Level 3", "Ice",           "Mud",           "Sand",
                                 "Lava",          "Volcano",       "Impassable",    "Cratered"};
    const char* const labels[] = {"[G]", "[R]", "[L]", "[H]", "[C]", "[W]", "[W]", "[W]",
                                  "[W]", "[I]", "[M]", "[S]", "[A]", "[V]", "[X]", "[O]"};
    for (unsigned code = 0; code < 16; ++code) {
        EXPECT_EQ(TerrainName(code), names[code]);
        EXPECT_EQ(TerrainKeyLabel(code), labels[code]);
    }
    for (const unsigned code : {16u, 255u, 4'000'000'000u}) {
        EXPECT_EQ(TerrainName(code), "Unknown");
        EXPECT_EQ(TerrainKeyLabel(code), "???");
    }
}

TEST(CatalogueNames, EffectNamesAndKeyLabels)
{
    const char* const names[] = {"Cursor", "Fire", "Smoke", "Swamp", "Mines"};
    const char* const labels[] = {"???", "[F]", "[E]", "[P]", "[N]"};
    for (unsigned index = 0; index < 5; ++index) {
        EXPECT_EQ(EffectName(index), names[index]);
        EXPECT_EQ(EffectKeyLabel(index), labels[index]);
    }
    EXPECT_EQ(EffectName(5), "Unknown");
    EXPECT_EQ(EffectKeyLabel(5), "???");
}

TEST_F(Catalogue, DescribesPositionTerrainHeightMinesAndFire)
{
    MapCell& cell = Cell(3, 7);
    cell.Height = 2;
    cell.Mines = 10;
    cell.Overlays.Fire = 1;
    EXPECT_EQ(DescribeHex(3, 7), "(3,7): Grass, Height 2 (10 Mines) (Fire)");
}

TEST_F(Catalogue, WaterAndImpassableShowNoHeight)
{
    for (unsigned code = 0; code < 20; ++code) {
        Cell(12, 30).Ground = static_cast<std::uint8_t>(code);
        Cell(12, 30).Height = 4;
        const bool hidden = (code >= 5 && code <= 8) || code == 14;
        EXPECT_EQ(DescribeHex(12, 30),
                  "(12,30): " + TerrainName(code) + (hidden ? "" : ", Height 4"))
            << "code " << code;
        EXPECT_EQ(IsWater(12, 30), code >= 5 && code <= 8);
        EXPECT_EQ(IsImpassable(12, 30), code == 14);
    }
}

TEST_F(Catalogue, OverlaysAreListedInAFixedOrder)
{
    MapCell& cell = Cell(32, 1);
    cell.Overlays.Smoke = 1;
    cell.Overlays.Fire = 1;
    cell.Mines = 255;
    cell.Overlays.Swamp = 1;
    cell.Height = -3;
    EXPECT_EQ(DescribeHex(32, 1), "(32,1): Grass, Height -3 (Swamp) (255 Mines) (Fire) (Smoke)");
}

TEST_F(Catalogue, UnknownGroundIsNamedAndShowsItsHeight)
{
    Cell(1, 1).Ground = 16;
    Cell(1, 1).Height = 100;
    EXPECT_EQ(DescribeHex(1, 1), "(1,1): Unknown, Height 100");
}

TEST_F(Catalogue, AnyNonZeroFlagByteCountsAsSet)
{
    MapCell& cell = Cell(2, 2);
    cell.Overlays = MapOverlays{2, 0x80, 0xFF, 0, 0};
    EXPECT_TRUE(HasFire(2, 2));
    EXPECT_TRUE(HasSmoke(2, 2));
    EXPECT_TRUE(HasSwamp(2, 2));
    EXPECT_FALSE(HasRoad(2, 2));
    EXPECT_FALSE(HasRiver(2, 2));
    EXPECT_EQ(DescribeHex(2, 2), "(2,2): Grass, Height 0 (Swamp) (Fire) (Smoke)");
}

TEST_F(Catalogue, RoadsAndRiversStayOutOfTheDescription)
{
    MapCell& cell = Cell(5, 6);
    cell.Ground = tcRough;
    cell.Height = 1;
    cell.Overlays.Road = 1;
    cell.Overlays.River = 3;
    EXPECT_TRUE(HasRoad(5, 6));
    EXPECT_TRUE(HasRiver(5, 6));
    EXPECT_EQ(DescribeHex(5, 6), "(5,6): Rough, Height 1");
}

}  // namespace
