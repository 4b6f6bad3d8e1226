#include "editor/KeyboardEditing.h"

#include "core/Catalogue.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "tests/core/FreshMap.h"
#include "tests/editor/RecordingView.h"

#include <gtest/gtest.h>

#include <QSize>
#include <cstring>
#include <string_view>

namespace {

class KeyboardEditing : public FreshMap {
protected:
    // A view larger than the band's margins, scrolled to the origin.
    RecordingView view{800, 600};

    void Press(char key) { EditorKeyPress(UpperKey(key), view); }

    void PutCursor(int x, int y)
    {
        CursorX = x;
        CursorY = y;
    }

    static QStringList ChangeRedraw(int x, int y)
    {
        return {QStringLiteral("DrawCell %1,%2 repaint").arg(x).arg(y),
                QStringLiteral("DrawCursor %1,%2").arg(x).arg(y),
                QStringLiteral("ShowHexInfo %1,%2").arg(x).arg(y)};
    }

    static QStringList MoveRedraw(int oldX, int oldY, int x, int y)
    {
        return {QStringLiteral("DrawCell %1,%2 repaint").arg(oldX).arg(oldY),
                QStringLiteral("DrawCursor %1,%2").arg(x).arg(y),
                QStringLiteral("ShowHexInfo %1,%2").arg(x).arg(y)};
    }
};

TEST_F(KeyboardEditing, GroundKeysSetTheirTerrainAndRedrawTheCell)
{
    const std::pair<char, unsigned> table[] = {
        {'R', tcRough},   {'L', tcLightWoods}, {'H', tcHeavyWoods}, {'C', tcConcrete},
        {'I', tcIce},     {'M', tcMud},        {'S', tcSand},       {'A', tcLava},
        {'V', tcVolcano}, {'X', tcImpassable}, {'O', tcCratered},   {'G', tcGrass}};
    PutCursor(3, 7);
    for (const auto& [key, code] : table) {
        SCOPED_TRACE(key);
        view.Calls.clear();
        MapModified = false;
        Press(key);
        EXPECT_EQ(Cell(3, 7).Ground, code);
        EXPECT_TRUE(MapModified);
        EXPECT_EQ(view.Calls, ChangeRedraw(3, 7));
    }
    EXPECT_EQ(Cell(3, 6).Ground, tcGrass);
    EXPECT_EQ(Cell(4, 7).Ground, tcGrass);
}

// Counted as a change, so the cell is drawn again; but no byte changed, so there is nothing
// to undo and the saved state is still the saved state.
TEST_F(KeyboardEditing, GrassOnGrassRedrawsTheCellButMakesNoStep)
{
    for (const bool modified : {false, true}) {
        view.Calls.clear();
        MapModified = modified;
        Press('g');
        EXPECT_EQ(Cell(1, 1).Ground, tcGrass);
        EXPECT_EQ(MapModified, modified);
        EXPECT_FALSE(CanUndoMapChange());
        EXPECT_EQ(view.Calls, ChangeRedraw(1, 1));
    }
}

TEST_F(KeyboardEditing, WaterKeyStepsThroughTheFourLevelsAndStartsAtLevelZero)
{
    const std::pair<std::uint8_t, unsigned> steps[] = {
        {tcGrass, tcWater0},  {tcWater0, tcWater1},     {tcWater1, tcWater2}, {tcWater2, tcWater3},
        {tcWater3, tcWater0}, {tcImpassable, tcWater0}, {200, tcWater0}};
    for (const auto& [before, after] : steps) {
        Cell(1, 1).Ground = before;
        Press('w');
        EXPECT_EQ(Cell(1, 1).Ground, after) << "from " << int{before};
    }
}

TEST_F(KeyboardEditing, OverlayKeysFlipTheLowestBitOfTheirFlag)
{
    Press('f');
    Press('E');
    Press('p');
    EXPECT_EQ(Cell(1, 1).Overlays.Fire, 1);
    EXPECT_EQ(Cell(1, 1).Overlays.Smoke, 1);
    EXPECT_EQ(Cell(1, 1).Overlays.Swamp, 1);
    EXPECT_EQ(DescribeHex(1, 1), "(1,1): Grass, Height 0 (Swamp) (Fire) (Smoke)");

    Press('F');
    EXPECT_EQ(Cell(1, 1).Overlays.Fire, 0);

    // A flag byte from a file keeps its other bits.
    Cell(1, 1).Overlays.Smoke = 2;
    Press('E');
    EXPECT_EQ(Cell(1, 1).Overlays.Smoke, 3);
    Press('E');
    EXPECT_EQ(Cell(1, 1).Overlays.Smoke, 2);
    EXPECT_TRUE(HasSmoke(1, 1));
}

TEST_F(KeyboardEditing, MinesKeyTogglesTheMineValue)
{
    PutCursor(4, 4);
    Press('n');
    EXPECT_EQ(Cell(4, 4).Mines, 10);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(DescribeHex(4, 4), "(4,4): Grass, Height 0 (10 Mines)");
    Press('N');
    EXPECT_EQ(Cell(4, 4).Mines, 0);
    EXPECT_EQ(DescribeHex(4, 4), "(4,4): Grass, Height 0");

    Cell(4, 4).Mines = 3;
    Press('N');
    EXPECT_EQ(Cell(4, 4).Mines, 10);
}

TEST_F(KeyboardEditing, MinesKeyStoresTheLowByteOfTheMineValue)
{
    MineValue = 0x10A;
    Press('N');
    EXPECT_EQ(Cell(1, 1).Mines, 0x0A);
}

TEST_F(KeyboardEditing, HeightKeysChangeOnlyWithinZeroToSix)
{
    Press('>');
    EXPECT_EQ(Cell(1, 1).Height, 1);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(view.Calls, ChangeRedraw(1, 1));

    MapModified = false;
    view.Calls.clear();
    Press('<');
    Press('<');
    EXPECT_EQ(Cell(1, 1).Height, 0);
    EXPECT_EQ(view.Calls, ChangeRedraw(1, 1));
    EXPECT_TRUE(MapModified);
}

TEST_F(KeyboardEditing, HeightKeysAtTheirLimitsDoNothingAtAll)
{
    for (const bool modified : {false, true}) {
        MapModified = modified;
        view.Calls.clear();
        Cell(1, 1).Height = 0;
        Press('<');
        EXPECT_EQ(Cell(1, 1).Height, 0);
        Cell(1, 1).Height = 6;
        Press('>');
        EXPECT_EQ(Cell(1, 1).Height, 6);
        EXPECT_TRUE(view.Calls.isEmpty()) << view.Calls.join("; ").toStdString();
        EXPECT_EQ(MapModified, modified);
    }
}

TEST_F(KeyboardEditing, HeightsFromAFileStepOnlyTowardTheNormalRange)
{
    Cell(1, 1).Height = 100;
    Press('>');
    EXPECT_EQ(Cell(1, 1).Height, 100);
    Press('<');
    EXPECT_EQ(Cell(1, 1).Height, 99);

    Cell(1, 1).Height = -3;
    Press('<');
    EXPECT_EQ(Cell(1, 1).Height, -3);
    Press('>');
    EXPECT_EQ(Cell(1, 1).Height, -2);
}

TEST_F(KeyboardEditing, KeysOutsideTheTableChangeAndDrawNothing)
{
    Cell(5, 5).Height = 3;
    PutCursor(5, 5);
    const MapGridType before = MapGrid;
    for (const char key : std::string_view("BDJKQTUYZ013579 +-*/?\x1B\r")) {
        Press(key);
        Press(static_cast<char>(UpperKey(key) | 0x20));
    }
    Press('\0');
    EXPECT_EQ(std::memcmp(&before, &MapGrid, sizeof MapGrid), 0);
    EXPECT_TRUE(view.Calls.isEmpty()) << view.Calls.join("; ").toStdString();
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(CursorX, 5);
    EXPECT_EQ(CursorY, 5);
}

TEST_F(KeyboardEditing, RoadAndRiverRedrawTheNeighboursInDirectionOrderThenRepaintOnce)
{
    PutCursor(5, 7);
    Press('.');
    EXPECT_EQ(Cell(5, 7).Overlays.Road, 1);
    EXPECT_TRUE(MapModified);
    const QStringList neighbours{"DrawCell 5,6", "DrawCell 6,6", "DrawCell 6,7", "DrawCell 5,8",
                                 "DrawCell 4,7", "DrawCell 4,6", "RepaintMap"};
    EXPECT_EQ(view.Calls, ChangeRedraw(5, 7) + neighbours);

    view.Calls.clear();
    PutCursor(6, 7);
    Press(',');
    EXPECT_EQ(Cell(6, 7).Overlays.River, 1);
    const QStringList evenNeighbours{"DrawCell 6,6", "DrawCell 7,7", "DrawCell 7,8", "DrawCell 6,8",
                                     "DrawCell 5,8", "DrawCell 5,7", "RepaintMap"};
    EXPECT_EQ(view.Calls, ChangeRedraw(6, 7) + evenNeighbours);
}

TEST_F(KeyboardEditing, RoadOnTheMapBorderRedrawsOnlyTheNeighboursOnTheGrid)
{
    Press('.');
    EXPECT_EQ(view.Calls,
              ChangeRedraw(1, 1) + QStringList({"DrawCell 2,1", "DrawCell 1,2", "RepaintMap"}));

    view.Calls.clear();
    PutCursor(32, 32);
    Press(',');
    EXPECT_EQ(view.Calls, ChangeRedraw(32, 32) +
                              QStringList({"DrawCell 32,31", "DrawCell 31,32", "RepaintMap"}));
}

TEST_F(KeyboardEditing, CursorKeysMoveTheCursorAndRedrawOldAndNewCell)
{
    PutCursor(5, 5);
    Press('6');
    EXPECT_EQ(view.Calls, MoveRedraw(5, 5, 6, 5));
    view.Calls.clear();
    Press('2');
    EXPECT_EQ(view.Calls, MoveRedraw(6, 5, 6, 6));
    view.Calls.clear();
    Press('4');
    EXPECT_EQ(view.Calls, MoveRedraw(6, 6, 5, 6));
    view.Calls.clear();
    Press('8');
    EXPECT_EQ(view.Calls, MoveRedraw(5, 6, 5, 5));
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(CursorX, 5);
    EXPECT_EQ(CursorY, 5);
}

TEST_F(KeyboardEditing, CursorStopsAtTheMapEdgeButTheViewStillScrolls)
{
    view.ScrollTo(100, 100);
    Press('4');
    Press('8');
    EXPECT_EQ(CursorX, 1);
    EXPECT_EQ(CursorY, 1);
    EXPECT_EQ(view.Calls, (QStringList{"SetHorzScrollPosition 51", "SetVertScrollPosition 60"}));
    EXPECT_EQ(view.HorzScrollPosition(), 51);
    EXPECT_EQ(view.VertScrollPosition(), 60);

    // At the far corner the unlimited column and row 33 lie beyond the band.
    view.Calls.clear();
    PutCursor(32, 32);
    view.ScrollTo(700, 600);
    Press('6');
    Press('2');
    EXPECT_EQ(CursorX, 32);
    EXPECT_EQ(CursorY, 32);
    EXPECT_EQ(view.Calls, (QStringList{"SetHorzScrollPosition 749", "SetVertScrollPosition 640"}));
}

// Row 1 of an even column lies inside the band at the top of the view; row 0 does not.
TEST_F(KeyboardEditing, EdgeScrollIsAskedForTheUnlimitedCursor)
{
    PutCursor(2, 1);
    Press('8');
    EXPECT_EQ(CursorY, 1);
    EXPECT_EQ(view.Calls, QStringList{"SetVertScrollPosition -40"});
}

TEST_F(KeyboardEditing, MovingPastTheFarMarginScrollsBeforeRedrawing)
{
    // Column 16 starts at pixel 735, beyond 800 - 100.
    PutCursor(15, 5);
    Press('6');
    EXPECT_EQ(view.Calls, QStringList({"SetHorzScrollPosition 49"}) + MoveRedraw(15, 5, 16, 5));
    EXPECT_EQ(view.HorzScrollPosition(), 49);
}

TEST_F(KeyboardEditing, VerticalBandFollowsTheColumnsHalfRowOffset)
{
    // Row 13 starts at pixel 482 in odd columns and 502 in even ones; the band ends at 500.
    PutCursor(1, 12);
    Press('2');
    EXPECT_EQ(view.Calls, MoveRedraw(1, 12, 1, 13));

    view.Calls.clear();
    PutCursor(2, 12);
    Press('2');
    EXPECT_EQ(view.Calls, QStringList({"SetVertScrollPosition 40"}) + MoveRedraw(2, 12, 2, 13));
}

TEST_F(KeyboardEditing, ACellInsideTheBandNeverScrolls)
{
    view.ScrollTo(200, 200);
    PutCursor(8, 8);
    for (const char key : std::string_view("6666228844448822"))
        Press(key);
    EXPECT_EQ(CursorX, 8);
    EXPECT_EQ(CursorY, 8);
    EXPECT_FALSE(view.Calls.join(";").contains("Scroll"));
}

TEST_F(KeyboardEditing, ScrollFollowsTheKeyEvenWhenTheCursorLiesLeftOfTheView)
{
    PutCursor(5, 5);
    view.ScrollTo(700, 0);
    Press('6');
    EXPECT_EQ(CursorX, 6);
    EXPECT_EQ(view.HorzScrollPosition(), 749);

    PutCursor(5, 5);
    view.ScrollTo(700, 0);
    Press('4');
    EXPECT_EQ(CursorX, 4);
    EXPECT_EQ(view.HorzScrollPosition(), 651);
}

TEST_F(KeyboardEditing, BandMarginsAreFivePixelsNearAndOneHundredFar)
{
    // Hex (2, 2) starts at pixel (49, 62).
    PutCursor(2, 2);
    view.ScrollTo(44, 57);
    EXPECT_FALSE(NeedsHorzScroll(view));
    EXPECT_FALSE(NeedsVertScroll(view));
    view.ScrollTo(45, 58);
    EXPECT_TRUE(NeedsHorzScroll(view));
    EXPECT_TRUE(NeedsVertScroll(view));

    RecordingView narrow(149, 162);
    EXPECT_FALSE(NeedsHorzScroll(narrow));
    EXPECT_FALSE(NeedsVertScroll(narrow));
    RecordingView narrower(148, 161);
    EXPECT_TRUE(NeedsHorzScroll(narrower));
    EXPECT_TRUE(NeedsVertScroll(narrower));
}

// The band is kept in map pixels: zoomed, its margins and the scroll of a step grow with the
// picture, so that the cursor stays as far inside the view.
TEST_F(KeyboardEditing, TheBandAndTheScrollStepGrowWithTheZoom)
{
    struct Row {
        double scale;
        QSize view;
        int nearScroll;  // the first scroll position at which (2, 2) is past the near margin
        int fromColumn;  // the last column inside the far margin in row 1, unscrolled
        int columnScroll;
        int fromRow;  // the last row inside the far margin in column 1, unscrolled
        int rowScroll;
    };
    // Hex (2, 2) starts at pixel 49 of the map image; columns start 49 pixels apart, rows 40
    // (from pixel 2 in column 1).
    for (const Row& zoom :
         {Row{2, {800, 600}, 89, 7, 98, 5, 80}, Row{4, {800, 600}, 177, 3, 196, 2, 160},
          Row{0.5, {400, 300}, 23, 15, 25, 13, 20}}) {
        SCOPED_TRACE(zoom.scale);
        RecordingView zoomed(zoom.view.width(), zoom.view.height());
        zoomed.Scale = zoom.scale;
        PutCursor(2, 2);
        zoomed.ScrollTo(zoom.nearScroll - 1, 0);
        EXPECT_FALSE(NeedsHorzScroll(zoomed));
        zoomed.ScrollTo(zoom.nearScroll, 0);
        EXPECT_TRUE(NeedsHorzScroll(zoomed));

        zoomed.ScrollTo(0, 0);
        PutCursor(zoom.fromColumn - 1, 1);
        EditorKeyPress('6', zoomed);
        EXPECT_EQ(zoomed.HorzScrollPosition(), 0);
        EditorKeyPress('6', zoomed);
        EXPECT_EQ(zoomed.HorzScrollPosition(), zoom.columnScroll);
        PutCursor(1, zoom.fromRow - 1);
        EditorKeyPress('2', zoomed);
        EXPECT_EQ(zoomed.VertScrollPosition(), 0);
        EditorKeyPress('2', zoomed);
        EXPECT_EQ(zoomed.VertScrollPosition(), zoom.rowScroll);
    }
}

TEST_F(KeyboardEditing, SwitchingEditingModeShowsAndHidesTheCursor)
{
    PutCursor(3, 4);
    EditingModeSwitched(true, view);
    EXPECT_EQ(view.Calls,
              (QStringList{"DrawCursor 3,4", "SetEditCaption Editing...", "ShowHexInfo 3,4"}));

    view.Calls.clear();
    EditingModeSwitched(false, view);
    EXPECT_EQ(view.Calls, (QStringList{"DrawCell 3,4 repaint", "SetEditCaption Edit"}));
    EXPECT_FALSE(MapModified);
}

}  // namespace
