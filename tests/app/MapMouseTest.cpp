// The mouse on the main window's map view: clicks, strokes and the menu of the right button,
// as the window system delivers them, at pixels of the map image worked out from the hex
// geometry.

#include "app/Application.h"
#include "app/Main.h"
#include "controls/newstat.h"
#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "editor/EditScope.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "tests/app/MainWindowDriver.h"
#include "tests/app/TestSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRubberBand>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <memory>
#include <utility>

namespace {

QPoint Centre(int x, int y)
{
    const PixelPoint at = HexToPixel(x, y);
    return {at.px + SpriteWidth / 2, at.py + SpriteHeight / 2};
}

class MapMouseTest : public ::testing::Test {
protected:
    GameFolder game;
    ScriptedPrompts prompts;
    QStringList errors;
    std::unique_ptr<TfrmMain> window;
    QScrollArea* view = nullptr;

    void SetUp() override
    {
        WriteTestSheets(game.SpritesDir());
        SetExceptionDisplay([this](const QString& text) { errors << text; });
        LastMapKey = '\0';
        TheEditScope() = EditScope();
    }

    void TearDown() override
    {
        TheEditScope() = EditScope();
        window.reset();
        FreeSpriteLibrary();
        SetExceptionDisplay(nullptr);
    }

    void StartUp()
    {
        ShowMainWindow(window, errors);
        if (HasFatalFailure())
            return;
        view = window->findChild<QScrollArea*>(QStringLiteral("sbMap"));
        ASSERT_NE(view, nullptr);
    }

    QWidget* Viewport() const { return view->viewport(); }
    // The point of the viewport that shows a pixel of the map image.
    QPoint At(QPoint pixel) const { return pixel + view->widget()->pos(); }

    // As the window system delivers mouse events: to the widget under the pointer, which
    // after a press keeps the mouse until the release.
    QWidget* Under(QPoint pixel) const
    {
        QWidget* child = Viewport()->childAt(At(pixel));
        return child ? child : Viewport();
    }
    void Press(QPoint pixel, Qt::KeyboardModifiers modifiers = {})
    {
        grabber = Under(pixel);
        QTest::mousePress(grabber, Qt::LeftButton, modifiers,
                          grabber->mapFrom(Viewport(), At(pixel)));
    }
    void MoveTo(QPoint pixel) const
    {
        QTest::mouseMove(grabber, grabber->mapFrom(Viewport(), At(pixel)));
    }
    void Release(QPoint pixel) const
    {
        QTest::mouseRelease(grabber, Qt::LeftButton, {}, grabber->mapFrom(Viewport(), At(pixel)));
    }
    void Click(QPoint pixel)
    {
        Press(pixel);
        Release(pixel);
    }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        MoveTo(to);
        Release(to);
    }

    void RightClick(QPoint pixel)
    {
        QWidget* target = Under(pixel);
        const QPoint local = target->mapFrom(Viewport(), At(pixel));
        QContextMenuEvent event(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &event);
    }
    // Picks the entry whose text starts with name from the menu that pops up next, and
    // keeps the texts of all its entries.
    void ChooseFromNextMenu(const QString& name)
    {
        menuTexts.clear();
        menuHasShortcut = false;
        QTimer::singleShot(0, [this, name] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions()) {
                menuTexts << action->text();
                menuHasShortcut = menuHasShortcut || !action->shortcut().isEmpty();
            }
            for (QAction* action : menu->actions())
                if (action->text().startsWith(name + '\t')) {
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
                    return;
                }
            QTest::keyClick(menu, Qt::Key_Escape);
        });
    }

    void PressEnter() const { PressKey(*window, Qt::Key_Return); }
    void Type(const QString& keys) const { TypeKeys(*window, keys); }
    QAction* Action(const char* name) const
    {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    QString Panel(int index) const
    {
        return window->findChild<TAStatusBar*>(QStringLiteral("StatusBar"))->PanelText(index);
    }
    static QRgb Shown(QPoint pixel) { return MapImage().pixel(pixel) & 0xFFFFFFu; }
    static QRgb Rgb(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }
    void ExpectCursorOn(int x, int y) const
    {
        EXPECT_EQ(CursorX, x);
        EXPECT_EQ(CursorY, y);
        EXPECT_EQ(Panel(0), DescribeHex(x, y));
    }

    QWidget* grabber = nullptr;
    QStringList menuTexts;
    bool menuHasShortcut = false;
};

// Files opened by a click and closed with Escape leaves the menu bar taking the keys, as on
// the desktop, until a second Escape. A click on the map, or anywhere else in the window
// outside the menus, ends that: the next key edits the cursor cell.
TEST_F(MapMouseTest, AClickOutsideTheMenusGivesTheKeysBackToTheEditor)
{
    StartUp();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    PressEnter();
    QWidget* editing = window->focusWidget();
    auto* bar = window->findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
    ASSERT_NE(bar, nullptr);
    const QPoint files = bar->actionGeometry(bar->actions().constFirst()).center();
    const auto openFilesThenEscape = [&] {
        QTest::mouseClick(bar, Qt::LeftButton, {}, files);
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_Escape);
        ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
        ASSERT_EQ(QApplication::focusWidget(), bar) << "the menu bar took the keys";
    };

    openFilesThenEscape();
    Click(Centre(5, 7));
    ExpectCursorOn(5, 7);
    Type("f");
    EXPECT_EQ(Cell(5, 7).Overlays.Fire, 1);
    EXPECT_EQ(QApplication::focusWidget(), editing);

    // The status bar, and the window's own background beside the buttons.
    QWidget* statusBar = window->findChild<TAStatusBar*>(QStringLiteral("StatusBar"));
    QWidget* client = window->centralWidget();
    const QPoint bare(client->width() - 2, 2);
    ASSERT_EQ(client->childAt(bare), nullptr);
    for (const auto& [target, at] : {std::pair{statusBar, QPoint(5, 5)}, std::pair{client, bare}}) {
        SCOPED_TRACE(target->objectName().toStdString());
        const auto fire = Cell(5, 7).Overlays.Fire;
        openFilesThenEscape();
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
        Type("f");
        EXPECT_NE(Cell(5, 7).Overlays.Fire, fire);
    }

    // Without a click, a key goes to the menu bar; a second Escape gives the keys back.
    const auto fire = Cell(5, 7).Overlays.Fire;
    openFilesThenEscape();
    Type("f");
    EXPECT_EQ(Cell(5, 7).Overlays.Fire, fire);
    QTest::keyClick(bar, Qt::Key_Escape);
    Type("f");
    EXPECT_NE(Cell(5, 7).Overlays.Fire, fire);
}

// Centres, the corners where three hexes meet, the bands and notches between hexagons, with
// the view scrolled and not: the cursor goes to the hex InsideHex names, or stays.
TEST_F(MapMouseTest, ClicksLandOnTheHexWhoseHexagonHoldsThePixel)
{
    StartUp();
    PressEnter();
    const QPoint pixels[] = {Centre(1, 1), Centre(2, 1), Centre(7, 9),      {64, 62},
                             {65, 59},     {68, 62},     {33, 40},          {65, 62},
                             {67, 62},     {0, 21},      {49 + 16, 22 + 37}};
    for (const QPoint scroll : {QPoint(0, 0), QPoint(3 * 49 + 11, 2 * 40 + 7)}) {
        view->horizontalScrollBar()->setValue(scroll.x());
        view->verticalScrollBar()->setValue(scroll.y());
        for (const QPoint base : pixels) {
            const QPoint pixel = base + scroll;
            SCOPED_TRACE(testing::Message() << pixel.x() << "," << pixel.y());
            const int oldX = CursorX;
            const int oldY = CursorY;
            Click(pixel);
            if (const std::optional<HexAddress> hex = HexAtPixel(pixel.x(), pixel.y())) {
                ExpectCursorOn(hex->x, hex->y);
                EXPECT_EQ(Shown(EffectPixel(hex->x, hex->y)), Rgb(EffectColour(eiCursor)));
                if (hex != HexAddress{oldX, oldY}) {
                    EXPECT_EQ(Shown(EffectPixel(oldX, oldY)), Rgb(GroundColour(tcGrass)));
                }
            } else {
                EXPECT_EQ(CursorX, oldX);
                EXPECT_EQ(CursorY, oldY);
            }
            EXPECT_EQ(view->horizontalScrollBar()->value(), scroll.x());
            EXPECT_EQ(view->verticalScrollBar()->value(), scroll.y());
        }
    }
    EXPECT_FALSE(MapModified);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// Keys would scroll the view to keep the cursor inside its band; a click leaves it. With
// editing off no mark is drawn and a drag only moves the cursor.
TEST_F(MapMouseTest, WithEditingOffClicksAndDragsMoveTheCursorWithoutMarkOrScrolling)
{
    StartUp();
    PressEnter();
    Type("h");
    PressEnter();
    const int right = (Viewport()->width() - 60) / 49 + 1;
    const int bottom = (Viewport()->height() - 60) / 40;
    Drag(Centre(right, bottom - 3), Centre(right, bottom));
    ExpectCursorOn(right, bottom);
    for (int y = bottom - 3; y <= bottom; ++y)
        EXPECT_EQ(Cell(right, y).Ground, tcGrass) << y;
    EXPECT_EQ(Shown(EffectPixel(right, bottom)), Rgb(GroundColour(tcGrass)));
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
}

TEST_F(MapMouseTest, TheKeyboardFocusStaysWhereItWasSoTypingGoesOnAtOnce)
{
    StartUp();
    QWidget* edit = window->findChild<QPushButton*>(QStringLiteral("cmdEdit"));
    PressEnter();
    ASSERT_EQ(window->focusWidget(), edit);
    Click(Centre(5, 5));
    EXPECT_EQ(window->focusWidget(), edit);
    Type("f");
    EXPECT_TRUE(HasFire(5, 5));
    Drag(Centre(6, 5), Centre(6, 6));
    EXPECT_EQ(window->focusWidget(), edit);
    Type("6");
    EXPECT_EQ(CursorX, 7);
}

TEST_F(MapMouseTest, BeyondTheMapImageInALargeViewNothingHappens)
{
    StartUp();
    view->resize(1700, 1400);
    ASSERT_GT(Viewport()->width(), MapImageWidth + 20);
    ASSERT_GT(Viewport()->height(), MapImageHeight + 20);
    PressEnter();
    for (const QPoint pixel : {QPoint(1600, 100), QPoint(100, 1310), QPoint(1600, 1310)}) {
        Click(pixel);
        EXPECT_EQ(CursorX, 1);
        EXPECT_EQ(CursorY, 1);
        RightClick(pixel);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    // A drag from beyond the image begins at the first hex it reaches.
    Type("x");
    Drag({1600, 1281}, Centre(32, 32));
    ExpectCursorOn(32, 32);
    EXPECT_EQ(Cell(32, 32).Ground, tcGrass) << "reached, not left: only the cursor moved there";
    Press({1600, 1281});
    MoveTo(Centre(32, 32));
    MoveTo(Centre(32, 30));
    Release(Centre(32, 30));
    for (int y = 30; y <= 32; ++y)
        EXPECT_EQ(Cell(32, y).Ground, tcImpassable) << y;
}

// One jump of the pointer from the first hex to the fifth: the three between are entered too.
TEST_F(MapMouseTest, ADragOverFiveHexesAfterHGivesFiveHeavyWoodsAndOneUndoStep)
{
    StartUp();
    PressEnter();
    Type("h");
    Drag(Centre(5, 3), Centre(5, 7));

    for (int y = 3; y <= 7; ++y) {
        EXPECT_EQ(Cell(5, y).Ground, tcHeavyWoods) << y;
        EXPECT_EQ(Shown(GroundPixel(5, y)), Rgb(GroundColour(tcHeavyWoods))) << y;
    }
    EXPECT_EQ(Cell(5, 2).Ground, tcGrass);
    EXPECT_EQ(Cell(5, 8).Ground, tcGrass);
    ExpectCursorOn(5, 7);
    EXPECT_EQ(Shown(EffectPixel(5, 7)), Rgb(EffectColour(eiCursor)));
    EXPECT_EQ(Shown(EffectPixel(5, 6)), Rgb(GroundColour(tcHeavyWoods)));
    EXPECT_EQ(Action("Undo1")->text(), "Undo Heavy Woods");

    Action("Undo1")->trigger();
    for (int y = 3; y <= 7; ++y)
        EXPECT_EQ(Shown(GroundPixel(5, y)), Rgb(GroundColour(tcGrass))) << y;
    EXPECT_EQ(Cell(1, 1).Ground, tcHeavyWoods);
    EXPECT_EQ(Action("Undo1")->text(), "Undo Heavy Woods") << "the H typed before";
    Action("Undo1")->trigger();
    EXPECT_FALSE(Action("Undo1")->isEnabled());
    EXPECT_FALSE(MapModified);
}

// The button holds the mouse beyond the view; what the view does not show is not painted.
TEST_F(MapMouseTest, ADragOutOfTheViewPaintsOnlyTheHexesItShows)
{
    StartUp();
    PressEnter();
    Type("c");
    const int width = Viewport()->width();
    Drag(Centre(1, 5), {width + 300, Centre(1, 5).y()});
    for (int x = 1; x <= 31; x += 2) {
        SCOPED_TRACE(x);
        if (Centre(x, 5).x() < width) {
            EXPECT_EQ(Cell(x, 5).Ground, tcConcrete);
        } else if (HexToPixel(x, 5).px >= width) {
            EXPECT_EQ(Cell(x, 5).Ground, tcGrass);
        }
    }
    EXPECT_LT(HexToPixel(CursorX, CursorY).px, width);
}

TEST_F(MapMouseTest, AToggleInAStrokeFollowsItsFirstHex)
{
    StartUp();
    PressEnter();
    Click(Centre(8, 4));
    Type("f");
    Drag(Centre(8, 3), Centre(8, 6));
    for (int y = 3; y <= 6; ++y)
        EXPECT_TRUE(HasFire(8, y)) << y;
    EXPECT_EQ(Shown(EffectPixel(8, 4)), Rgb(EffectColour(eiFire)));

    Drag(Centre(8, 4), Centre(8, 2));
    EXPECT_FALSE(HasFire(8, 4));
    EXPECT_FALSE(HasFire(8, 3));
    EXPECT_FALSE(HasFire(8, 2));
    EXPECT_TRUE(HasFire(8, 5));
}

TEST_F(MapMouseTest, TheRightButtonsMenuAppliesAKeyToTheHexAsTypedWithEditingOnOrOff)
{
    StartUp();
    ChooseFromNextMenu("Water");
    RightClick(Centre(6, 6));
    EXPECT_EQ(
        menuTexts,
        (QStringList{"Grass\t[G]",       "Rough\t[R]", "Light Woods\t[L]", "Heavy Woods\t[H]",
                     "Concrete\t[C]",    "Water\t[W]", "Ice\t[I]",         "Mud\t[M]",
                     "Sand\t[S]",        "Lava\t[A]",  "Volcano\t[V]",     "Impassable\t[X]",
                     "Cratered\t[O]",    "Fire\t[F]",  "Smoke\t[E]",       "Swamp\t[P]",
                     "Road\t[.]",        "River\t[,]", "Mines\t[N]",       "Raise height\t[>]",
                     "Lower height\t[<]"}));
    EXPECT_FALSE(menuHasShortcut);
    EXPECT_EQ(Cell(6, 6).Ground, tcWater0);
    ExpectCursorOn(6, 6);
    EXPECT_EQ(Shown(EffectPixel(6, 6)), Rgb(GroundColour(tcWater0))) << "editing is off: no mark";
    EXPECT_EQ(Action("Undo1")->text(), "Undo Water");
    EXPECT_TRUE(MapModified);

    ChooseFromNextMenu("Water");
    RightClick(Centre(6, 6));
    EXPECT_EQ(Cell(6, 6).Ground, tcWater1) << "steps as W does";
    ChooseFromNextMenu("Raise height");
    RightClick(Centre(9, 2));
    EXPECT_EQ(Cell(9, 2).Height, 1);
    ExpectCursorOn(9, 2);
    ChooseFromNextMenu("Road");
    RightClick(Centre(9, 3));
    EXPECT_TRUE(HasRoad(9, 3));

    // Dismissed, or over a band: nothing changes.
    const QByteArray grid(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid);
    ChooseFromNextMenu("no such entry");
    RightClick(Centre(12, 8));
    ASSERT_EQ(menuTexts.size(), 21);
    RightClick({33, 40});
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid), grid);
    ExpectCursorOn(9, 3);

    // The road is the key that painting uses now, with editing on.
    PressEnter();
    ChooseFromNextMenu("Smoke");
    RightClick(Centre(10, 3));
    EXPECT_TRUE(HasSmoke(10, 3));
    EXPECT_EQ(Shown(EffectPixel(10, 3)), Rgb(EffectColour(eiCursor)));
    Drag(Centre(10, 4), Centre(10, 5));
    EXPECT_TRUE(HasSmoke(10, 4));
    EXPECT_TRUE(HasSmoke(10, 5));
    EXPECT_EQ(Action("Undo1")->text(), "Undo Smoke");
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(MapMouseTest, WithoutSpritesTheMouseIsRefusedInTheHintPanel)
{
    QFile::remove(game.SpritesDir() + "/GROUND.BMP");
    StartUp();
    ASSERT_EQ(errors.size(), 1);
    Click(Centre(4, 4));
    RightClick(Centre(4, 4));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(Panel(1), "No sprites loaded: mend the files, then press Reload");
    EXPECT_EQ(CursorX, 1);
    EXPECT_EQ(CursorY, 1);
}

// The rectangle spans the centres of (3, 3) and (5, 4); column 4 sits half a row lower, so
// only (4, 3) lies between them.
TEST_F(MapMouseTest, AShiftDragSelectsTheHexesWhoseCentresItSpansAndAPlainClickClears)
{
    StartUp();
    PressEnter();
    Type("h");
    const QByteArray before(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid);
    const PixelPoint from = HexCentre(3, 3);
    const PixelPoint to = HexCentre(5, 4);
    Press({from.px, from.py}, Qt::ShiftModifier);
    MoveTo({to.px, to.py});
    const auto* band = Viewport()->findChild<QRubberBand*>();
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(Panel(1), "5 hexes selected");
    Release({to.px, to.py});
    EXPECT_FALSE(band->isVisible());

    HexSet block;
    for (const HexAddress hex : {HexAddress{3, 3}, {3, 4}, {4, 3}, {5, 3}, {5, 4}})
        block.Insert(hex);
    EXPECT_EQ(TheEditScope().Selection(), block);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid), before)
        << "a selecting drag paints nothing";
    ExpectCursorOn(1, 1);

    // With Ctrl too, it adds; with Shift alone, it replaces.
    const PixelPoint far = HexCentre(20, 20);
    Press({far.px, far.py}, Qt::ShiftModifier | Qt::ControlModifier);
    Release({far.px, far.py});
    EXPECT_EQ(Panel(1), "6 hexes selected");
    Press({far.px, far.py}, Qt::ShiftModifier);
    Release({far.px, far.py});
    EXPECT_EQ(Panel(1), "1 hex selected");

    Click(Centre(8, 8));
    EXPECT_TRUE(TheEditScope().Selection().Empty());
    EXPECT_EQ(Panel(1), "No hexes selected");
    ExpectCursorOn(8, 8);
}

TEST_F(MapMouseTest, AMenuEntryChosenOnASelectedHexGoesToEverySelectedHexInOneStep)
{
    StartUp();
    const PixelPoint from = HexCentre(3, 3);
    const PixelPoint to = HexCentre(5, 4);
    Press({from.px, from.py}, Qt::ShiftModifier);
    MoveTo({to.px, to.py});
    Release({to.px, to.py});

    ChooseFromNextMenu("Heavy Woods");
    RightClick(Centre(4, 3));
    for (const HexAddress hex : {HexAddress{3, 3}, {3, 4}, {4, 3}, {5, 3}, {5, 4}})
        EXPECT_EQ(Shown(GroundPixel(hex.x, hex.y)), Rgb(GroundColour(tcHeavyWoods)))
            << hex.x << "," << hex.y;
    EXPECT_EQ(Cell(4, 4).Ground, tcGrass);
    ExpectCursorOn(4, 3);
    EXPECT_EQ(Action("Undo1")->text(), "Undo Heavy Woods");
    Action("Undo1")->trigger();
    EXPECT_EQ(Cell(5, 4).Ground, tcGrass);
    EXPECT_EQ(Shown(GroundPixel(5, 4)), Rgb(GroundColour(tcGrass)));
    EXPECT_FALSE(Action("Undo1")->isEnabled());

    // Off the selection, the entry goes to its own hex alone.
    ChooseFromNextMenu("Sand");
    RightClick(Centre(9, 9));
    EXPECT_EQ(Cell(9, 9).Ground, tcSand);
    EXPECT_EQ(Cell(3, 3).Ground, tcGrass);
}

}  // namespace
