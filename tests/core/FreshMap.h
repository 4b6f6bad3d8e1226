#pragma once
// Every test starts from the editor's state right after start-up.

#include "QtPrinters.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

class FreshMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCaptionSink(nullptr);
        MapGrid = MapGridType{};  // as at process start: padding included
        ClearMap();
        CursorX = 1;
        CursorY = 1;
        MineValue = 10;
        LastMapKey = '\0';
        MapModified = false;
        ResetMapHistory();
    }
    void TearDown() override { SetCaptionSink(nullptr); }

    // A cell reset by a whole-map operation: no mines, overlays or Reserved, padding as it was.
    static void ExpectResetKeepingPadding(const MapCell& cell, std::uint8_t padding)
    {
        EXPECT_EQ(cell.Mines, 0);
        EXPECT_EQ(cell.Overlays.Fire | cell.Overlays.Smoke | cell.Overlays.Swamp |
                      cell.Overlays.Road | cell.Overlays.River,
                  0);
        EXPECT_EQ(cell.Reserved, 0);
        EXPECT_EQ(cell.Padding1[0], padding);
        EXPECT_EQ(cell.Padding1[1], padding);
        EXPECT_EQ(cell.Padding2, padding);
    }

    static QByteArray GridBytes()
    {
        return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid};
    }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void WriteAll(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};
