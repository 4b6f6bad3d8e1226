// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Copy, Cut and Paste through the system clipboard: both forms put there, pastes against a
// model that shifts the picture of the copied hexes, and the steps they make.

#include "editor/CopyCommands.h"
#include "editor/PasteCommand.h"

#include "core/Catalogue.h"
#include "core/CellContent.h"
#include "core/HexClipboard.h"
#include "core/MapHistory.h"
#include "core/MapSymmetry.h"
#include "editor/HistoryCommands.h"
#include "tests/core/HexPictureModel.h"
#include "tests/core/RandomGrid.h"
#include "tests/editor/FreshScope.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <random>

namespace {

class Clipboard : public FreshScope {
protected:
    void SetUp() override
    {
        FreshScope::SetUp();
        QGuiApplication::clipboard()->clear();
    }

    static void PutText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

TEST_F(Clipboard, WithNothingSelectedCopyAndCutSaySoAndLeaveEverything)
{
    PutText("kept");
    EXPECT_TRUE(CopyCommand().startsWith("Nothing is selected"));
    EXPECT_TRUE(CutCommand(view).startsWith("Nothing is selected"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_TRUE(view.Calls.isEmpty());
}

TEST_F(Clipboard, CopyPutsTheSelectedHexesThereInOurTypeAndAsText)
{
    Cell(3, 7).Ground = tcLava;
    Cell(3, 7).Overlays.Road = 1;
    const HexSet selection = Hexes({{3, 7}, {4, 7}});
    TheEditScope().Select(selection);

    EXPECT_EQ(CopyCommand(), "Copied 2 hexes");

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const std::vector<CopiedHex> copy = CopyHexes(selection);
    EXPECT_EQ(data->data("application/x-korvane-hexes"), HexRecords(copy));
    EXPECT_EQ(data->text(), "3 7 0 12 0 0 0 0 1 0\n4 7 0 0 0 0 0 0 0 0\n");
    EXPECT_FALSE(CanUndoMapChange());
}

// Random maps, selections and paste points of both column parities; the paste lands where the
// picture of the copied hexes, shifted so that the top-left one covers the cursor, puts it.
TEST_F(Clipboard, PastePutsEachHexWhereShiftingThePictureOfTheCopyPutsIt)
{
    std::mt19937 random(61);
    for (int trial = 0; trial < 60; ++trial) {
        FillRandomGrid(random, trial % 2 == 0);
        HexSet selection = RandomHexes(random, trial % 3 == 0 ? 0.5 : 0.03);
        selection.Insert(RandomHex(random));
        TheEditScope().Select(selection);
        ASSERT_TRUE(CopyCommand().startsWith("Copied"));
        const MapGridType copied = MapGrid;
        FillRandomGrid(random, true);
        const MapGridType before = MapGrid;
        const HexAddress cursor = RandomHexOfParity(random, trial % 2);
        CursorX = cursor.x;
        CursorY = cursor.y;

        const std::vector<HexAddress> places = selection.Hexes();
        HexAddress lead = places.front();
        for (const HexAddress& hex : places)
            if (hex.x < lead.x || (hex.x == lead.x && hex.y < lead.y))
                lead = hex;
        MapGridType expected = before;
        HexSet targets;
        int left = 0;
        for (const HexAddress& hex : places) {
            const auto target = PictureMove(hex, lead, cursor);
            if (!target) {
                ++left;
                continue;
            }
            MapCell& cell = expected[static_cast<std::size_t>(target->x - 1)]
                                    [static_cast<std::size_t>(target->y - 1)];
            const MapCell& from = CellOf(copied, hex);
            cell.X = static_cast<std::uint8_t>(target->x);
            cell.Y = static_cast<std::uint8_t>(target->y);
            cell.Height = from.Height;
            cell.Ground = from.Ground;
            cell.Mines = from.Mines;
            cell.Overlays = from.Overlays;
            targets.Insert(*target);
        }

        const QString hint = PasteCommand(view);

        ASSERT_EQ(GridBytes(),
                  QByteArray(reinterpret_cast<const char*>(&expected), sizeof expected))
            << "trial " << trial;
        EXPECT_EQ(TheEditScope().Selection(), targets);
        EXPECT_EQ(hint.contains("left out"), left > 0) << hint.toStdString();
        if (left > 0) {
            EXPECT_TRUE(
                hint.endsWith(QStringLiteral("left out %1 hex%2 that would fall off the map")
                                  .arg(left)
                                  .arg(left == 1 ? "" : "es")))
                << hint.toStdString();
        }
        UndoAndShow(view);
        ASSERT_EQ(GridBytes(), QByteArray(reinterpret_cast<const char*>(&before), sizeof before));
    }
}

TEST_F(Clipboard, PasteTakesPlainTextFromAnyProgramAndIsOneStep)
{
    PutText("10 10 3 2 0 1 0 0 0 0\n11 10 0 5 0 0 0 0 0 1\n");
    CursorX = 3;
    CursorY = 3;
    EXPECT_EQ(PasteCommand(view), "Pasted 2 hexes");
    EXPECT_EQ(Cell(3, 3).Height, 3);
    EXPECT_EQ(Cell(3, 3).Ground, tcLightWoods);
    EXPECT_TRUE(HasFire(3, 3));
    // (11, 10) lies north-east of (10, 10), an even column: north-east of (3, 3), odd, is (4, 2).
    EXPECT_TRUE(HasRiver(4, 2));
    EXPECT_EQ(UndoStepName(), "Paste");
    EXPECT_EQ(TheEditScope().Selection(), Hexes({{3, 3}, {4, 2}}));
    EXPECT_TRUE(view.Calls.contains("DrawCell 5,2")) << "the river joins its new neighbours";
}

TEST_F(Clipboard, PasteOfSomethingElseSaysTheClipboardHoldsNoHexes)
{
    for (const QString& text :
         {QString(), QStringLiteral("Gridcrafter"), QStringLiteral("1 1 0")}) {
        PutText(text);
        EXPECT_TRUE(PasteCommand(view).startsWith("The clipboard holds no hexes"));
    }
    auto* data = new QMimeData;
    data->setData("application/x-korvane-hexes", QByteArray(7, 'x'));
    data->setText("1 1 0 0 0 0 0 0 0 0");
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_TRUE(PasteCommand(view).startsWith("The clipboard holds no hexes"))
        << "our own type comes first";
    EXPECT_FALSE(CanUndoMapChange());
}

TEST_F(Clipboard, CutCopiesThenResetsTheHexesToAFreshMapsCellInOneStep)
{
    Cell(8, 8).Height = 4;
    Cell(8, 8).Ground = tcSand;
    Cell(8, 8).Mines = 10;
    Cell(8, 8).Overlays = {1, 1, 1, 1, 1};
    Cell(8, 8).Reserved = 6;
    Cell(8, 8).X = 30;
    const QByteArray before = GridBytes();
    TheEditScope().Select(Hexes({{8, 8}, {8, 9}}));

    EXPECT_EQ(CutCommand(view), "Cut 2 hexes");

    const MapCell& cell = Cell(8, 8);
    EXPECT_EQ(cell.X, 8);
    EXPECT_EQ(cell.Height, 0);
    EXPECT_EQ(cell.Ground, tcGrass);
    ExpectResetKeepingPadding(cell, 0);
    EXPECT_EQ(UndoStepName(), "Cut");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "8 8 4 11 10 1 1 1 1 1\n8 9 0 0 0 0 0 0 0 0\n");
    UndoAndShow(view);
    EXPECT_EQ(GridBytes(), before);
}

TEST_F(Clipboard, WithSymmetryPasteGivesTheMirrorsThatAreNotPastedTheSameContent)
{
    PutText("1 1 0 3 0 0 0 0 0 0\n1 2 0 4 0 0 0 0 0 0\n");
    TheEditScope().SetPointSymmetry(true);
    const MapGridType before = MapGrid;
    CursorX = 16;
    CursorY = 16;
    // (16, 17) lands on the mirror of (17, 16), which is not pasted; (16, 16)'s mirror
    // (17, 17) is not pasted either.
    EXPECT_EQ(PasteCommand(view), "Pasted 2 hexes");
    EXPECT_EQ(Cell(16, 16).Ground, tcHeavyWoods);
    EXPECT_EQ(Cell(16, 17).Ground, tcConcrete);
    EXPECT_EQ(Cell(17, 17).Ground, tcHeavyWoods);
    EXPECT_EQ(Cell(17, 16).Ground, tcConcrete);
    EXPECT_TRUE(OnlyChanged(before, Hexes({{16, 16}, {16, 17}, {17, 17}, {17, 16}})));
    EXPECT_EQ(TheEditScope().Selection(), Hexes({{16, 16}, {16, 17}}));

    // A pasted hex that is another's mirror keeps what was pasted on it.
    ClearMap();
    PutText("16 16 0 3 0 0 0 0 0 0\n17 17 0 4 0 0 0 0 0 0\n");
    EXPECT_EQ(PasteCommand(view), "Pasted 2 hexes");
    EXPECT_EQ(Cell(16, 16).Ground, tcHeavyWoods);
    EXPECT_EQ(Cell(17, 17).Ground, tcConcrete);
}

}  // namespace
