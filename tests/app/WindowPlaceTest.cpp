// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "app/WindowPlace.h"

#include <gtest/gtest.h>

#include <QList>
#include <QRect>

namespace {

TEST(FitsOnAScreen, OnlyAWindowWhollyInsideOneScreensArea)
{
    const QList<QRect> two{QRect(0, 0, 1024, 740), QRect(1024, 0, 800, 600)};
    EXPECT_TRUE(FitsOnAScreen(QRect(0, 0, 1024, 740), two));
    EXPECT_TRUE(FitsOnAScreen(QRect(1100, 50, 600, 400), two));
    EXPECT_FALSE(FitsOnAScreen(QRect(900, 50, 600, 400), two)) << "across two screens";
    EXPECT_FALSE(FitsOnAScreen(QRect(-10, 50, 600, 400), two));
    EXPECT_FALSE(FitsOnAScreen(QRect(1100, 300, 600, 400), two)) << "below the smaller screen";
    EXPECT_FALSE(FitsOnAScreen(QRect(100, 100, 0, 0), two));
    EXPECT_FALSE(FitsOnAScreen(QRect(100, 100, 600, 400), {}));
}

}  // namespace
