// Editing with the mouse over the key table: clicks, strokes of the last map key, a key
// chosen for a hex, and the history they make.

#include "editor/MouseEditing.h"

#include "editor/HistoryCommands.h"
#include "editor/KeyboardEditing.h"

#include "core/Catalogue.h"
#include "core/MapHistory.h"
#include "tests/core/FreshMap.h"
#include "tests/editor/RecordingView.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

namespace {

class MouseEditing : public FreshMap {
protected:
    RecordingView view{800, 600};

    void SetUp() override
    {
        FreshMap::SetUp();
        EndStroke();
    }

    // The button down on the first hex, the pointer through the others, the button up.
    void Drag(std::initializer_list<HexAddress> hexes)
    {
        BeginStroke(hexes.begin()->x, hexes.begin()->y, view);
        for (const HexAddress& hex : hexes)
            StrokeEnters(hex.x, hex.y, view);
        EndStroke();
    }
    void Click(int x, int y) { Drag({{x, y}}); }
};

TEST_F(MouseEditing, AClickOrAStrokeWithoutAKeyOnlyMovesTheCursorAndNeverScrolls)
{
    Click(30, 30);
    EXPECT_EQ(view.Calls,
              (QStringList{"DrawCell 1,1 repaint", "DrawCursor 30,30", "ShowHexInfo 30,30"}))
        << "the hex lies far outside the band of an 800 by 600 view";
    view.Calls.clear();
    Click(30, 30);
    EXPECT_EQ(view.Calls, QStringList{"ShowHexInfo 30,30"}) << "the cursor stays: only described";
    view.Editing = false;
    view.Calls.clear();
    Click(2, 3);
    EXPECT_EQ(view.Calls, (QStringList{"DrawCell 30,30 repaint", "ShowHexInfo 2,3"})) << "no mark";

    // A press and release on one hex paints nothing, nor does a stroke before any map key.
    view.Editing = true;
    const QByteArray before = GridBytes();
    Drag({{5, 5}, {6, 5}, {7, 6}});
    LastMapKey = 'H';
    Drag({{4, 4}, {4, 4}});
    EXPECT_EQ(GridBytes(), before);
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_EQ(CursorX, 4);
    EXPECT_EQ(CursorY, 4);
}

TEST_F(MouseEditing, AToggleGivesEveryHexOfTheStrokeWhatItsFirstHexGot)
{
    LastMapKey = 'F';
    Cell(3, 2).Overlays.Fire = 1;
    Cell(5, 2).Overlays.Fire = 2;  // from a file: set, lowest bit clear
    // Back over two hexes at the end: no hex flickers off again.
    Drag({{2, 2}, {3, 2}, {4, 2}, {5, 2}, {4, 2}, {3, 2}});
    EXPECT_EQ(Cell(2, 2).Overlays.Fire, 1);
    EXPECT_EQ(Cell(3, 2).Overlays.Fire, 1);
    EXPECT_EQ(Cell(4, 2).Overlays.Fire, 1);
    EXPECT_EQ(Cell(5, 2).Overlays.Fire, 3);

    // Starting on a burning hex puts the fires out and leaves the unburnt alone.
    Drag({{3, 2}, {2, 2}, {6, 2}});
    EXPECT_FALSE(HasFire(3, 2));
    EXPECT_FALSE(HasFire(2, 2));
    EXPECT_FALSE(HasFire(6, 2));
    EXPECT_TRUE(HasFire(4, 2));

    LastMapKey = 'N';
    Cell(8, 8).Mines = 3;
    Cell(9, 8).Mines = 10;
    Drag({{7, 8}, {8, 8}, {9, 8}, {10, 8}});
    for (int x = 7; x <= 10; ++x)
        EXPECT_EQ(Cell(x, 8).Mines, 10) << x;
}

TEST_F(MouseEditing, OtherKeysApplyOnceToEachHexEntered)
{
    LastMapKey = 'W';
    Cell(2, 2).Ground = tcWater3;
    Drag({{1, 2}, {2, 2}, {1, 2}, {2, 2}, {3, 2}});
    EXPECT_EQ(Cell(1, 2).Ground, tcWater0);
    EXPECT_EQ(Cell(2, 2).Ground, tcWater0);
    EXPECT_EQ(Cell(3, 2).Ground, tcWater0);

    LastMapKey = '>';
    Cell(2, 5).Height = 6;
    Cell(3, 5).Height = 3;
    Drag({{1, 5}, {2, 5}, {3, 5}, {2, 5}, {1, 5}});
    EXPECT_EQ(Cell(1, 5).Height, 1);
    EXPECT_EQ(Cell(2, 5).Height, 6);
    EXPECT_EQ(Cell(3, 5).Height, 4);
    EXPECT_EQ(UndoStepName(), "Raise");
    UndoAndShow(view);
    EXPECT_EQ(Cell(1, 5).Height, 0);
    EXPECT_EQ(Cell(3, 5).Height, 3);

    // Nothing to raise: no step, and the step undone can still be redone.
    Cell(10, 10).Height = 6;
    Cell(10, 11).Height = 6;
    const QByteArray before = GridBytes();
    Drag({{10, 10}, {10, 11}});
    EXPECT_EQ(GridBytes(), before);
    EXPECT_EQ(RedoStepName(), "Raise");
}

TEST_F(MouseEditing, ARoadStrokeRedrawsTheNeighboursOfEachHexAsTypingDoes)
{
    LastMapKey = '.';
    Drag({{5, 7}, {5, 8}});
    EXPECT_TRUE(HasRoad(5, 7));
    EXPECT_TRUE(HasRoad(5, 8));
    EXPECT_TRUE(view.Calls.contains("DrawCell 5,6")) << "a neighbour of the first hex";
    const QStringList last{
        "DrawCell 5,8 repaint", "DrawCursor 5,8", "ShowHexInfo 5,8", "DrawCell 5,7", "DrawCell 6,7",
        "DrawCell 6,8",         "DrawCell 5,9",   "DrawCell 4,8",    "DrawCell 4,7", "RepaintMap"};
    EXPECT_EQ(view.Calls.mid(view.Calls.size() - last.size()), last);
}

TEST_F(MouseEditing, AKeyChosenForAHexAppliesThereAsTypedAndIsOneStep)
{
    view.Editing = false;
    Cell(7, 7).Ground = tcWater1;
    ApplyKeyToHex('W', 7, 7, view);
    EXPECT_EQ(Cell(7, 7).Ground, tcWater2);
    EXPECT_EQ(CursorX, 7);
    EXPECT_EQ(CursorY, 7);
    EXPECT_EQ(UndoStepName(), "Water");
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(LastMapKey, 'W');
    EXPECT_TRUE(view.Calls.filter("DrawCursor").isEmpty()) << view.Calls.join("; ").toStdString();
    EXPECT_EQ(view.Calls.last(), "ShowHexInfo 7,7");

    // A height key at its limit changes nothing, yet the hex is the cursor cell and the key
    // paints from now on.
    view.Editing = true;
    view.Calls.clear();
    ApplyKeyToHex('<', 8, 8, view);
    EXPECT_EQ(UndoStepName(), "Water");
    EXPECT_EQ(LastMapKey, '<');
    EXPECT_EQ(view.Calls,
              (QStringList{"DrawCell 7,7 repaint", "DrawCursor 8,8", "ShowHexInfo 8,8"}));
}

TEST_F(MouseEditing, TheLastMapKeyIsTheLastKeyTypedThatChangesACell)
{
    EditorKeyPress('W', view);
    EXPECT_EQ(LastMapKey, 'W');
    for (const char key : std::string_view("62BQ5 \r"))
        EditorKeyPress(key, view);
    EXPECT_EQ(LastMapKey, 'W') << "cursor keys and other characters leave it";
    EditorKeyPress('<', view);
    EXPECT_EQ(LastMapKey, '<') << "a height key at its limit is still a map key";
    EditorKeyPress('.', view);
    EXPECT_EQ(LastMapKey, '.');
}

// Any other change of the history closes the stroke's step; the stroke goes on in a new one.
TEST_F(MouseEditing, ChangesDuringAStrokeSplitItsStepAndUndoStaysExact)
{
    const QByteArray start = GridBytes();
    LastMapKey = 'S';
    BeginStroke(2, 2, view);
    StrokeEnters(3, 2, view);
    EditorKeyPress('F', view);
    StrokeEnters(4, 2, view);
    StrokeEnters(5, 2, view);
    UndoAndShow(view);
    StrokeEnters(6, 2, view);
    EndStroke();

    EXPECT_EQ(Cell(2, 2).Ground, tcSand);
    EXPECT_EQ(Cell(3, 2).Ground, tcSand);
    EXPECT_TRUE(HasFire(3, 2));
    EXPECT_EQ(Cell(4, 2).Ground, tcGrass);
    EXPECT_EQ(Cell(5, 2).Ground, tcGrass);
    EXPECT_EQ(Cell(6, 2).Ground, tcSand);

    UndoAndShow(view);
    EXPECT_EQ(Cell(6, 2).Ground, tcGrass);
    UndoAndShow(view);
    EXPECT_FALSE(HasFire(3, 2));
    UndoAndShow(view);
    EXPECT_EQ(GridBytes(), start);
    EXPECT_FALSE(CanUndoMapChange());
}

}  // namespace
