// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/KeyTable.h"

#include "tests/core/FreshMap.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cstring>
#include <set>
#include <string>

namespace {

TEST(KeyboardKeys, UpperKeyChangesOnlyLowerCaseLatinLetters)
{
    EXPECT_EQ(UpperKey('a'), 'A');
    EXPECT_EQ(UpperKey('f'), 'F');
    EXPECT_EQ(UpperKey('z'), 'Z');
    EXPECT_EQ(UpperKey('F'), 'F');
    EXPECT_EQ(UpperKey('`'), '`');
    EXPECT_EQ(UpperKey('{'), '{');
    EXPECT_EQ(UpperKey('5'), '5');
    EXPECT_EQ(UpperKey(','), ',');
    EXPECT_EQ(UpperKey('\xE4'), '\xE4');  // a-umlaut in Windows-1252 stays as it is
}

TEST(KeyboardKeys, EditKeysAreExactlyTheChangingLettersRoadAndRiver)
{
    std::string found;
    for (int code = -128; code <= 127; ++code)
        if (IsEditKey(static_cast<char>(code)))
            found += static_cast<char>(code);
    EXPECT_EQ(found, ",.ACEFGHILMNOPRSVWX");
}

TEST(KeyboardKeys, MapKeysAreTheEditKeysAndTheHeightKeys)
{
    std::string found;
    for (int code = -128; code <= 127; ++code)
        if (IsMapKey(static_cast<char>(code)))
            found += static_cast<char>(code);
    EXPECT_EQ(found, ",.<>ACEFGHILMNOPRSVWX");
    EXPECT_FALSE(IsMapKey('8'));
    EXPECT_FALSE(IsMapKey('\0'));
}

// What the Edit menu and the right-button menu show, in the menu's order.
TEST(KeyTable, NamesAndLabelsOfTheMapKeysAreThoseTheUserSees)
{
    QStringList entries;
    for (const KeyRow& row : KeyTable)
        if (ChangesCell(row))
            entries << KeyStepName(row.Key) + QLatin1Char('|') + KeyMenuName(row.Key) +
                           QLatin1Char('|') + KeyLabel(row.Key);
    const QStringList expected{"Grass|Grass|[G]",
                               "Rough|Rough|[R]",
                               "Light Woods|Light Woods|[L]",
                               "Heavy Woods|Heavy Woods|[H]",
                               "Concrete|Concrete|[C]",
                               "Water|Water|[W]",
                               "Ice|Ice|[I]",
                               "Mud|Mud|[M]",
                               "Sand|Sand|[S]",
                               "Lava|Lava|[A]",
                               "Volcano|Volcano|[V]",
                               "Impassable|Impassable|[X]",
                               "Cratered|Cratered|[O]",
                               "Fire|Fire|[F]",
                               "Smoke|Smoke|[E]",
                               "Swamp|Swamp|[P]",
                               "Road|Road|[.]",
                               "River|River|[,]",
                               "Mines|Mines|[N]",
                               "Raise|Raise height|[>]",
                               "Lower|Lower height|[<]"};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(KeyStepName('8'), QString());
    EXPECT_EQ(KeyMenuName('Q'), QString());
}

TEST(KeyTable, EachKeyHasOneRowAndEachGroundKeyItsOwnTerrain)
{
    std::set<char> keys;
    std::set<int> grounds;
    for (const KeyRow& row : KeyTable) {
        EXPECT_TRUE(keys.insert(row.Key).second) << row.Key;
        if (row.Action == KeyAction::SetGround) {
            EXPECT_TRUE(grounds.insert(row.Value).second) << row.Key;
        }
        EXPECT_EQ(FindKey(row.Key), &row);
    }
    EXPECT_EQ(FindKey('\0'), nullptr);
    EXPECT_EQ(FindKey('g'), nullptr);
}

class KeyOnCell : public FreshMap {};

TEST_F(KeyOnCell, TogglesReportTheLowestBitOfTheirFlagAndMinesTheMineValue)
{
    MapCell cell = Cell(3, 4);
    cell.Overlays.Road = 2;  // a flag byte from a file: only the lowest bit counts
    EXPECT_EQ(ToggledOn('.', cell), false);
    EXPECT_FALSE(ApplyKeyToCell('.', cell));
    EXPECT_EQ(cell.Overlays.Road, 3);
    EXPECT_EQ(ToggledOn('.', cell), true);

    MineValue = 7;
    cell.Mines = 5;
    EXPECT_EQ(ToggledOn('N', cell), false);
    ApplyKeyToCell('N', cell);
    EXPECT_EQ(cell.Mines, 7);
    EXPECT_EQ(ToggledOn('N', cell), true);
    ApplyKeyToCell('N', cell);
    EXPECT_EQ(cell.Mines, 0);

    EXPECT_EQ(ToggledOn('G', cell), std::nullopt);
    EXPECT_EQ(ToggledOn('>', cell), std::nullopt);
}

TEST_F(KeyOnCell, OnlyRoadAndRiverReachTheirNeighbours)
{
    std::string joining;
    for (const KeyRow& row : KeyTable)
        if (ChangesJoins(row.Key))
            joining += row.Key;
    EXPECT_EQ(joining, ".,");
}

TEST_F(KeyOnCell, CursorKeysAndKeysOutsideTheTableLeaveTheCellAlone)
{
    for (const char key : {'8', '2', '4', '6', 'Q', '\0', 'g'}) {
        MapCell cell = Cell(1, 1);
        const MapCell before = cell;
        EXPECT_FALSE(ApplyKeyToCell(key, cell));
        EXPECT_EQ(std::memcmp(&cell, &before, sizeof cell), 0) << key;
    }
}

}  // namespace
