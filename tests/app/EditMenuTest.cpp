// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The Edit menu's broad edits in the main window: entries and shortcuts, the clipboard between
// editors, undo of each step, and the tints that only the view shows.

#include "app/Application.h"
#include "app/Main.h"
#include "controls/newstat.h"
#include "core/Catalogue.h"
#include "core/HexClipboard.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/EditScope.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "graphics/ViewMarks.h"
#include "tests/app/MainWindowDriver.h"
#include "tests/app/TestSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

class EditMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTestSheets(game.SpritesDir());
        SetExceptionDisplay([this](const QString& text) { errors << text; });
        TheEditScope() = EditScope();
        LastMapKey = '\0';
        QGuiApplication::clipboard()->clear();
    }

    void TearDown() override
    {
        window.reset();
        FreeSpriteLibrary();
        SetExceptionDisplay(nullptr);
        TheEditScope() = EditScope();
    }

    void StartUp()
    {
        ShowMainWindow(window, errors);
        if (HasFatalFailure())
            return;
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QAction* Action(const char* name) const
    {
        auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    QString Panel(int index) const
    {
        return window->findChild<TAStatusBar*>(QStringLiteral("StatusBar"))->PanelText(index);
    }
    QWidget* MapWidget() const { return window->findChild<QWidget*>(QStringLiteral("imgMap")); }
    void PressEnter() const { PressKey(*window, Qt::Key_Return); }
    void Type(const QString& keys) const { TypeKeys(*window, keys); }
    void Shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) const
    {
        PressKey(*window, key, modifiers);
    }

    static QByteArray GridBytes()
    {
        return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid};
    }
    static QRgb Shown(QPoint pixel) { return MapImage().pixel(pixel) & 0xFFFFFFu; }
    static QRgb Rgb(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }
    // What the view shows of a pixel of the map image, marks included.
    QRgb InView(QPoint pixel) const
    {
        return MapWidget()->grab().toImage().pixel(pixel) & 0xFFFFFFu;
    }
    static QPoint Centre(int x, int y)
    {
        const PixelPoint centre = HexCentre(x, y);
        return {centre.px, centre.py};
    }

    static HexSet Hexes(std::initializer_list<HexAddress> hexes)
    {
        HexSet set;
        for (const HexAddress& hex : hexes)
            set.Insert(hex);
        return set;
    }

    GameFolder game;
    ScriptedPrompts prompts;
    QStringList errors;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(EditMenuTest, TheEditMenuOffersTheBroadEditsWithTheirShortcuts)
{
    StartUp();
    const struct {
        const char* name;
        const char* text;
        const char* shortcut;
        bool checkable;
    } rows[] = {
        {"Cut1", "Cu&t", "Ctrl+X", false},
        {"Copy1", "&Copy", "Ctrl+C", false},
        {"Paste1", "&Paste", "Ctrl+V", false},
        {"SelectAll1", "Select &All", "Ctrl+A", false},
        {"Deselect1", "&Deselect", "Esc", false},
        {"FloodFill1", "&Flood Fill", "Ctrl+B", false},
        {"PointSymmetry1", "Point &Symmetry", "Ctrl+M", true},
        {"ShowAsymmetry1", "Show As&ymmetry", "", true},
        {"TurnMap1", "Tur&n Map 180 Degrees", "", false},
        {"MakeSymmetric1", "&Make Symmetric", "", false},
        {"RaiseAllHeights1", "Raise All &Heights", "", false},
        {"LowerAllHeights1", "&Lower All Heights", "", false},
    };
    QStringList entries;
    for (const QAction* entry : window->findChild<QMenu*>(QStringLiteral("Edit1"))->actions())
        if (!entry->isSeparator())
            entries << entry->objectName();
    QStringList expected{"Undo1", "Redo1"};
    for (const auto& row : rows) {
        expected << row.name;
        const QAction* action = Action(row.name);
        EXPECT_EQ(action->text(), row.text);
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut))) << row.name;
        EXPECT_EQ(action->isCheckable(), row.checkable) << row.name;
        EXPECT_FALSE(action->statusTip().isEmpty()) << row.name;
    }
    EXPECT_EQ(entries, expected);
}

// Ctrl with A, C, V, X, B and M are commands with editing on or off; none edits a cell.
TEST_F(EditMenuTest, ShortcutsReachTheirCommandsWithEditingOnOrOff)
{
    StartUp();
    for (const bool editing : {false, true}) {
        if (editing)
            PressEnter();
        ASSERT_EQ(window->KeyPreview(), editing);
        ClearMap();
        ResetMapHistory();
        RedrawMap();
        LastMapKey = '\0';

        Shortcut(Qt::Key_B);
        EXPECT_TRUE(Panel(1).startsWith("Flood Fill pours the last map key"))
            << Panel(1).toStdString();
        EXPECT_FALSE(CanUndoMapChange());

        Shortcut(Qt::Key_A);
        EXPECT_EQ(TheEditScope().Selection().Count(), MapHexes);
        EXPECT_EQ(Panel(1), "1024 hexes selected");
        Shortcut(Qt::Key_Escape, Qt::NoModifier);
        EXPECT_TRUE(TheEditScope().Selection().Empty());
        EXPECT_EQ(Panel(1), "No hexes selected");

        TheEditScope().Select(Hexes({{2, 2}}));
        Cell(2, 2).Ground = tcLava;
        Shortcut(Qt::Key_C);
        EXPECT_EQ(Panel(1), "Copied 1 hex");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "2 2 0 12 0 0 0 0 0 0\n");
        Shortcut(Qt::Key_X);
        EXPECT_EQ(Cell(2, 2).Ground, tcGrass);
        CursorX = 5;
        CursorY = 5;
        Shortcut(Qt::Key_V);
        EXPECT_EQ(Cell(5, 5).Ground, tcLava);
        EXPECT_EQ(Shown(GroundPixel(5, 5)), Rgb(GroundColour(tcLava)));
        EXPECT_EQ(Panel(1), "Pasted 1 hex");
        EXPECT_EQ(UndoStepName(), "Paste");

        Shortcut(Qt::Key_M);
        EXPECT_TRUE(Action("PointSymmetry1")->isChecked());
        EXPECT_TRUE(TheEditScope().PointSymmetry());
        Shortcut(Qt::Key_M);
        EXPECT_FALSE(TheEditScope().PointSymmetry());
        EXPECT_EQ(Cell(1, 1).Ground, tcGrass) << "no letter reached the key table";
        EXPECT_EQ(Cell(5, 5).Mines, 0);
    }
}

// What one editor copies, another takes from the clipboard: in our own type, or as the text
// read back, as any other program would hand it over.
TEST_F(EditMenuTest, HexesTravelBetweenEditorsThroughTheClipboardInEitherForm)
{
    StartUp();
    Cell(3, 3).Ground = tcHeavyWoods;
    Cell(3, 3).Height = 2;
    Cell(4, 3).Overlays.Road = 1;
    Cell(3, 4).Mines = 10;
    TheEditScope().Select(Hexes({{3, 3}, {4, 3}, {3, 4}}));
    Action("Copy1")->trigger();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    const QString text = copied->text();
    const QByteArray records = copied->data(QString::fromLatin1(HexRecordsMimeType));
    EXPECT_EQ(text, "3 3 2 3 0 0 0 0 0 0\n3 4 0 0 10 0 0 0 0 0\n4 3 0 0 0 0 0 0 1 0\n");

    for (const bool asText : {true, false}) {
        ClearMap();
        RedrawMap();
        auto* handed = new QMimeData;
        if (asText)
            handed->setText(text);
        else
            handed->setData(QString::fromLatin1(HexRecordsMimeType), records);
        QGuiApplication::clipboard()->setMimeData(handed);
        // Column 8 is even, column 3 odd: the road keeps its place south-east of the woods.
        CursorX = 8;
        CursorY = 10;
        Action("Paste1")->trigger();
        EXPECT_EQ(Cell(8, 10).Ground, tcHeavyWoods);
        EXPECT_EQ(Cell(8, 10).Height, 2);
        EXPECT_EQ(Cell(8, 11).Mines, 10);
        EXPECT_TRUE(HasRoad(9, 11));
        EXPECT_EQ(Cell(9, 11).X, 9);
        EXPECT_EQ(Shown(GroundPixel(8, 10)), Rgb(GroundColour(tcHeavyWoods)));
        EXPECT_EQ(TheEditScope().Selection(), Hexes({{8, 10}, {8, 11}, {9, 11}}));
    }
}

// With editing off each step is undone to the same bytes and the same picture.
TEST_F(EditMenuTest, EachStepIsUndoneToTheMapAndThePictureBeforeIt)
{
    StartUp();
    const struct {
        const char* step;
        std::function<void()> prepare;
        const char* action;
    } rows[] = {
        {"Cut", [] { TheEditScope().Select(HexSet::All()); }, "Cut1"},
        {"Paste",
         [] {
             QGuiApplication::clipboard()->setText("1 1 4 2 10 1 1 1 1 1\n2 2 5 3 0 0 0 0 1 1\n");
             CursorX = 31;
             CursorY = 31;
         },
         "Paste1"},
        {"Flood Fill", [] { LastMapKey = 'M'; }, "FloodFill1"},
        {"Turn Map", [] {}, "TurnMap1"},
        {"Make Symmetric", [] {}, "MakeSymmetric1"},
        {"Raise All Heights", [] {}, "RaiseAllHeights1"},
        {"Lower All Heights", [] {}, "LowerAllHeights1"},
    };
    for (const auto& row : rows) {
        ClearMap();
        for (int x = 1; x <= MapSize; ++x)
            Cell(x, 3).Ground = tcWater2;
        Cell(2, 9).Height = 3;
        Cell(12, 30).Overlays.River = 1;
        RedrawMap();
        ResetMapHistory();
        TheEditScope().Select(HexSet());
        row.prepare();
        const QByteArray bytes = GridBytes();
        const QImage picture = MapImage().copy();

        Action(row.action)->trigger();
        ASSERT_NE(GridBytes(), bytes) << row.step;
        EXPECT_EQ(Action("Undo1")->text(), QStringLiteral("Undo ") + row.step);

        Action("Undo1")->trigger();
        EXPECT_EQ(GridBytes(), bytes) << row.step;
        EXPECT_TRUE(MapImage() == picture) << row.step;
        EXPECT_EQ(Action("Redo1")->text(), QStringLiteral("Redo ") + row.step);
        EXPECT_FALSE(MapModified);
    }
}

TEST_F(EditMenuTest, AKeyWithPointSymmetryIsOneStepAndTheCentreIsMarked)
{
    StartUp();
    const QPointF centre = MapCentre();
    const QPoint mark(static_cast<int>(centre.x()) + 12, static_cast<int>(centre.y()));
    EXPECT_EQ(InView(mark), Shown(mark));
    Action("PointSymmetry1")->trigger();
    EXPECT_NE(InView(mark), Shown(mark));

    PressEnter();
    Type("6a");
    EXPECT_EQ(Cell(2, 1).Ground, tcLava);
    EXPECT_EQ(Cell(31, 32).Ground, tcLava);
    EXPECT_EQ(Shown(GroundPixel(31, 32)), Rgb(GroundColour(tcLava)));
    EXPECT_EQ(Action("Undo1")->text(), "Undo Lava");
    Action("Undo1")->trigger();
    EXPECT_EQ(Cell(2, 1).Ground, tcGrass);
    EXPECT_EQ(Cell(31, 32).Ground, tcGrass);
    EXPECT_EQ(Shown(GroundPixel(31, 32)), Rgb(GroundColour(tcGrass)));
    EXPECT_FALSE(Action("Undo1")->isEnabled());
}

// Tints show in the view, over the map image; the image, and so every picture put out from it,
// never holds them.
TEST_F(EditMenuTest, TintsShowOnlyInTheViewAndKeepUpWithTheMap)
{
    StartUp();
    const QByteArray image(reinterpret_cast<const char*>(MapImage().constBits()),
                           MapImage().sizeInBytes());
    Action("SelectAll1")->trigger();
    const QRgb selected = InView(Centre(6, 6));
    EXPECT_NE(selected, Shown(Centre(6, 6)));
    EXPECT_GT(qBlue(selected), qBlue(Shown(Centre(6, 6)))) << "tinted toward blue";

    Action("ShowAsymmetry1")->trigger();
    EXPECT_EQ(InView(Centre(6, 6)), selected) << "a clean map is symmetric";
    PressEnter();
    Type("f");
    EXPECT_NE(InView(Centre(32, 32)), selected) << "(1, 1) and its mirror now differ";
    EXPECT_NE(InView(Centre(32, 32)), Shown(Centre(32, 32)));
    Type("f");
    EXPECT_EQ(InView(Centre(32, 32)), selected);
    PressEnter();

    Action("Deselect1")->trigger();
    Action("ShowAsymmetry1")->trigger();
    EXPECT_EQ(
        QByteArray(reinterpret_cast<const char*>(MapImage().constBits()), MapImage().sizeInBytes()),
        image);
    const QString png = game.Root() + "/map.png";
    prompts.AnswerFileDialog(png);
    TheEditScope().Select(HexSet::All());
    Action("ExportImage1")->trigger();
    EXPECT_TRUE(QImage(png).convertToFormat(QImage::Format_RGB32) ==
                MapImage().convertToFormat(QImage::Format_RGB32));
}

// At every zoom the tint lies over the selected hexes only, where the zoomed picture shows them.
TEST_F(EditMenuTest, TintsFollowTheZoom)
{
    StartUp();
    TheEditScope().Select(Hexes({{6, 6}}));
    for (const char* zoom : {"ZoomIn1", "ZoomIn1", "ActualSize1", "ZoomOut1", "ZoomOut1"}) {
        Action(zoom)->trigger();
        const double scale = static_cast<double>(MapWidget()->width()) / MapImage().width();
        SCOPED_TRACE(scale);
        const QImage view = MapWidget()->grab().toImage();
        const auto at = [&](int x, int y) {
            return view.pixel((QPointF(Centre(x, y)) * scale).toPoint()) & 0xFFFFFFu;
        };
        EXPECT_GT(qBlue(at(6, 6)), qBlue(Shown(Centre(6, 6)))) << "the selected hex is tinted";
        EXPECT_EQ(qBlue(at(8, 8)), qBlue(Shown(Centre(8, 8)))) << "its neighbour's twin is not";
    }
}

TEST_F(EditMenuTest, TheFillButtonKeepsItsShowcaseOfMechs)
{
    StartUp();
    LastMapKey = 'H';
    window->findChild<QPushButton*>(QStringLiteral("cmdFill"))->click();
    EXPECT_EQ(Cell(1, 1).Ground, tcGrass);
    EXPECT_FALSE(CanUndoMapChange());
}

}  // namespace
