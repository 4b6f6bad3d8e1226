#include "core/MapModel.h"

#include "FreshMap.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using MapModel = FreshMap;

std::ptrdiff_t ByteOffset(int x, int y)
{
    return reinterpret_cast<const char*>(&Cell(x, y)) - reinterpret_cast<const char*>(&MapGrid);
}

TEST_F(MapModel, GridIsColumnMajorWithoutGaps)
{
    EXPECT_EQ(ByteOffset(1, 1), 0);
    EXPECT_EQ(ByteOffset(1, 2), 20);
    EXPECT_EQ(ByteOffset(1, 32), 620);
    EXPECT_EQ(ByteOffset(2, 1), 640);
    EXPECT_EQ(ByteOffset(32, 32), 20460);
}

TEST_F(MapModel, ClearMapLeavesFlatGrassAndKeepsThePadding)
{
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            std::memset(&cell, 0x5A, sizeof cell);
        }
    ClearMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const MapCell& cell = Cell(x, y);
            SCOPED_TRACE(testing::Message() << "cell " << x << "," << y);
            EXPECT_EQ(cell.X, x);
            EXPECT_EQ(cell.Y, y);
            EXPECT_EQ(cell.Height, 0);
            EXPECT_EQ(cell.Ground, 0);
            ExpectResetKeepingPadding(cell, 0x5A);
        }
}

TEST_F(MapModel, ClearMapNamesTheMapAndShowsItInTheCaption)
{
    QStringList captions;
    SetCaptionSink([&](const QString& caption) { captions << caption; });
    MapName = QStringLiteral("C:\\Maps\\Old.KVX");
    MapModified = true;
    ClearMap();
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : NewMap"});
}

TEST_F(MapModel, CaptionCarriesTheWholeName)
{
    QStringList captions;
    SetCaptionSink([&](const QString& caption) { captions << caption; });
    MapName = QStringLiteral("/home/user/maps/Ridge.KVX");
    UpdateCaption();
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : /home/user/maps/Ridge.KVX"});
    EXPECT_EQ(MapCaption(), captions.last());
}

}  // namespace
