// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Copied hexes in both clipboard forms: what they hold, and what is refused when read back.

#include "core/HexClipboard.h"

#include "core/CellContent.h"
#include "tests/core/FreshMap.h"
#include "tests/core/RandomGrid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

class HexClipboard : public FreshMap {
protected:
    static bool SameCopies(const std::vector<CopiedHex>& a, const std::vector<CopiedHex>& b)
    {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].Place != b[i].Place ||
                std::memcmp(&a[i].Content, &b[i].Content, sizeof(MapCell)) != 0)
                return false;
        return true;
    }
};

TEST_F(HexClipboard, CopiesOnlyTheContentOfEachHexWithItsPlace)
{
    MapCell& cell = Cell(3, 7);
    cell.Height = -4;
    cell.Ground = 200;
    cell.Mines = 10;
    cell.Overlays = {1, 0, 2, 1, 0};
    cell.Reserved = 9;
    cell.Padding2 = 5;
    cell.X = 1;
    HexSet hexes;
    hexes.Insert({3, 7});
    hexes.Insert({1, 1});

    const std::vector<CopiedHex> copy = CopyHexes(hexes);

    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy[0].Place, (HexAddress{1, 1}));
    EXPECT_EQ(copy[1].Place, (HexAddress{3, 7}));
    EXPECT_TRUE(SameContent(copy[1].Content, cell));
    EXPECT_EQ(copy[1].Content.Reserved, 0);
    EXPECT_EQ(copy[1].Content.Padding2, 0);
    EXPECT_EQ(HexText(copy), "1 1 0 0 0 0 0 0 0 0\n3 7 -4 200 10 1 0 2 1 0\n");
    const QByteArray records = HexRecords(copy);
    ASSERT_EQ(records.size(), 40);
    EXPECT_EQ(records.mid(20, 20).toHex(' '),
              "03 07 00 00 fc ff ff ff c8 0a 01 00 02 01 00 00 00 00 00 00");
}

TEST_F(HexClipboard, BothFormsReadBackWhatWasCopied)
{
    std::mt19937 random(51);
    for (int trial = 0; trial < 20; ++trial) {
        FillRandomGrid(random, true);
        const std::vector<CopiedHex> copy =
            CopyHexes(trial == 0 ? HexSet::All() : RandomHexes(random, 0.2));
        const auto fromRecords = ReadHexRecords(HexRecords(copy));
        const auto fromText = ReadHexText(HexText(copy));
        ASSERT_TRUE(fromRecords && fromText);
        EXPECT_TRUE(SameCopies(*fromRecords, copy));
        EXPECT_TRUE(SameCopies(*fromText, copy));
    }
}

TEST_F(HexClipboard, TextFromElsewhereMayHaveOtherBlanksAndEmptyLines)
{
    const auto copy = ReadHexText("\n  4\t5 1 2 0 0 0 0 1 0 \r\n\n30 2 0 3 0 0 0 0 0 1\n");
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->size(), 2u);
    EXPECT_EQ((*copy)[0].Place, (HexAddress{4, 5}));
    EXPECT_EQ((*copy)[0].Content.Height, 1);
    EXPECT_EQ((*copy)[0].Content.Overlays.Road, 1);
    EXPECT_EQ((*copy)[1].Content.Overlays.River, 1);
}

TEST_F(HexClipboard, RefusesAnythingButWholeHexes)
{
    const char* texts[] = {
        "",
        "\n\n",
        "Hello, world",
        "1 1 0 0 0 0 0 0 0",                         // a field short
        "1 1 0 0 0 0 0 0 0 0 0",                     // a field too many
        "0 1 0 0 0 0 0 0 0 0",                       // off the map
        "1 33 0 0 0 0 0 0 0 0",                      // off the map
        "1 1 0 256 0 0 0 0 0 0",                     // no ground byte holds it
        "1 1 2147483648 0 0 0 0 0 0 0",              // nor a height
        "1 1 0 0 0 -1 0 0 0 0",                      // nor a flag
        "1 1 0 x 0 0 0 0 0 0",                       // a word
        "1 1 0 0 0 0 0 0 0 0\n1 1 0 0 0 0 0 0 0 0",  // a hex twice
        "1 1 0 0 0 0 0 0 0 0\nand a line of words",
    };
    for (const char* text : texts)
        EXPECT_FALSE(ReadHexText(QString::fromLatin1(text))) << text;

    const QByteArray one = HexRecords(CopyHexes([] {
        HexSet hexes;
        hexes.Insert({2, 2});
        return hexes;
    }()));
    EXPECT_TRUE(ReadHexRecords(one));
    EXPECT_FALSE(ReadHexRecords(QByteArray()));
    EXPECT_FALSE(ReadHexRecords(one.left(19)));
    EXPECT_FALSE(ReadHexRecords(one + one));
    QByteArray offMap = one;
    offMap[1] = 33;
    EXPECT_FALSE(ReadHexRecords(offMap));
    EXPECT_FALSE(ReadHexRecords(QByteArray(qsizetype{20} * 1025, '\1')));
}

}  // namespace
