#pragma once
// Every test starts from the editor's state right after start-up.

#include "QtPrinters.h"
#include "core/MapModel.h"

#include <gtest/gtest.h>

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
        MapModified = false;
    }
    void TearDown() override { SetCaptionSink(nullptr); }
};
