// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The View menu at work in the main window: its entries and shortcuts with editing on and
// off, Ctrl with the wheel and a pinch keeping the map point under the pointer, fitting as
// the window is resized, the zoom kept for the next start, the mouse and the keys at every
// zoom, what the view paints, and the layers and coordinates.

#include "app/Application.h"
#include "app/Hints.h"
#include "app/Main.h"
#include "app/MapImage.h"
#include "core/Catalogue.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/MapZoom.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "graphics/ViewImage.h"
#include "graphics/ZoomedPicture.h"
#include "tests/app/MainWindowDriver.h"
#include "tests/app/TestSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <memory>

namespace {

// Records the texts typed into a control.
class TypedRecorder : public QObject {
public:
    QStringList Typed;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty())
            Typed << static_cast<QKeyEvent*>(event)->text();
        return false;
    }
};

class ViewMenuTest : public ::testing::Test {
protected:
    GameFolder game;
    ScriptedPrompts prompts;
    QStringList errors;
    std::unique_ptr<TfrmMain> window;
    QScrollArea* view = nullptr;
    TMapImage* image = nullptr;

    void SetUp() override
    {
        WriteTestSheets(game.SpritesDir());
        SetExceptionDisplay([this](const QString& text) { errors << text; });
    }

    void TearDown() override
    {
        window.reset();
        ShowLayers(AllLayers);
        FreeSpriteLibrary();
        SetExceptionDisplay(nullptr);
    }

    void StartUp()
    {
        ShowMainWindow(window, errors);
        if (HasFatalFailure())
            return;
        view = window->findChild<QScrollArea*>(QStringLiteral("sbMap"));
        image = window->findChild<TMapImage*>(QStringLiteral("imgMap"));
        ASSERT_NE(image, nullptr);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QAction* Action(const QString& name) const
    {
        QAction* action = window->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name.toStdString();
        return action;
    }
    QWidget* Viewport() const { return view->viewport(); }
    void PressEnter() const { PressKey(*window, Qt::Key_Return); }
    void Type(const QString& keys) const { TypeKeys(*window, keys); }
    void Shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) const
    {
        PressKey(*window, key, modifiers);
    }
    double Scale() const { return image->Scale(); }
    QString CheckedZoom() const
    {
        QStringList checked;
        for (const QAction* step : window->findChild<QMenu*>("Zoom1")->actions())
            if (step->isChecked())
                checked << step->text();
        return checked.join(' ');
    }

    // The map pixel under a point of the viewport.
    PixelPoint Under(QPointF at) const { return image->MapPixelAt(at - image->pos()); }
    // The middle of hex (x, y) in the picture.
    QPointF Middle(int x, int y) const
    {
        const PixelPoint cell = HexToPixel(x, y);
        return {(cell.px + SpriteWidth / 2.0) * Scale(), (cell.py + SpriteHeight / 2.0) * Scale()};
    }
    // Scrolls the view to show the middle of hex (x, y) in the middle of the viewport.
    void ShowHex(int x, int y) const
    {
        const QPointF middle = Middle(x, y);
        view->ensureVisible(static_cast<int>(middle.x()), static_cast<int>(middle.y()),
                            Viewport()->width() / 2, Viewport()->height() / 2);
    }
    // The point of the viewport over the middle of hex (x, y).
    QPoint OnHex(int x, int y) const { return (Middle(x, y) + QPointF(image->pos())).toPoint(); }
    void Click(QPoint at) const
    {
        QWidget* target = Viewport()->childAt(at) ? Viewport()->childAt(at) : Viewport();
        const QPoint local = target->mapFrom(Viewport(), at);
        QTest::mousePress(target, Qt::LeftButton, {}, local);
        QTest::mouseRelease(target, Qt::LeftButton, {}, local);
    }
    void Drag(QPoint from, QPoint to) const
    {
        QWidget* target = Viewport()->childAt(from) ? Viewport()->childAt(from) : Viewport();
        QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(Viewport(), from));
        QTest::mouseMove(target, target->mapFrom(Viewport(), to));
        QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFrom(Viewport(), to));
    }
    // The right button at a point of the viewport, the entry whose text starts with name
    // chosen from the menu that pops up.
    void RightClickChoosing(QPoint at, const QString& name) const
    {
        QTimer::singleShot(0, [name] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions())
                if (action->text().startsWith(name + QLatin1Char('\t'))) {
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
                    return;
                }
            menu->close();
        });
        QWidget* target = Viewport()->childAt(at) ? Viewport()->childAt(at) : Viewport();
        const QPoint local = target->mapFrom(Viewport(), at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &event);
    }
    // Input at a point of the viewport, sent as the window system sends it: to the widget
    // under the pointer, at its own coordinates.
    QWidget* Receiver(QPointF at) const
    {
        QWidget* child = Viewport()->childAt(at.toPoint());
        return child ? child : Viewport();
    }
    // A wheel sent by the test goes no further than its receiver, unlike the window system's,
    // which goes on to the parents; toViewport sends it to the viewport, as a wheel that the
    // picture leaves reaches it.
    void Wheel(QPointF at, int angle, Qt::KeyboardModifiers modifiers = Qt::ControlModifier,
               bool toViewport = false) const
    {
        QWidget* target = toViewport ? Viewport() : Receiver(at);
        const QPointF local = target->mapFrom(Viewport(), at);
        QWheelEvent event(local, Viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
    void Pinch(QPointF at, Qt::NativeGestureType type, double value) const
    {
        QWidget* target = Receiver(at);
        const QPointF local = target->mapFrom(Viewport(), at);
        QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2, local, local,
                                  Viewport()->mapToGlobal(at), value, QPointF());
        QApplication::sendEvent(target, &event);
    }
    QImage Shown(QRect rect) const
    {
        return image->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QByteArray GridBytes()
    {
        return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid};
    }
};

TEST_F(ViewMenuTest, StandsBetweenEditAndHelpWithItsEntriesShortcutsAndHints)
{
    StartUp();
    QStringList menus;
    for (const QAction* menu : window->findChild<QMenuBar*>("MainMenu1")->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"Files", "&Edit", "&View", "Help"}));

    QStringList entries;
    for (const QAction* entry : window->findChild<QMenu*>("View1")->actions())
        entries << entry->text() + QLatin1Char(' ') + entry->shortcut().toString();
    EXPECT_EQ(entries,
              (QStringList{"Zoom &In Ctrl++", "Zoom &Out Ctrl+-", "&Actual Size Ctrl+0",
                           "&Fit Map Ctrl+/", "&Zoom ", " ", "Hex &Coordinates Ctrl+K", "&Show "}));
    EXPECT_EQ(Action("ZoomIn1")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                   QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    QStringList steps;
    for (const QAction* step : window->findChild<QMenu*>("Zoom1")->actions())
        steps << step->text();
    EXPECT_EQ(steps, (QStringList{"25 %", "33 %", "50 %", "67 %", "75 %", "100 %", "150 %", "200 %",
                                  "300 %", "400 %"}));
    EXPECT_EQ(CheckedZoom(), "100 %");
    EXPECT_FALSE(Action("FitMap1")->isChecked());
    EXPECT_FALSE(Action("HexCoordinates1")->isChecked());

    QStringList layers;
    for (const QAction* layer : window->findChild<QMenu*>("Show1")->actions()) {
        layers << layer->text();
        EXPECT_TRUE(layer->isCheckable() && layer->isChecked()) << layer->text().toStdString();
    }
    EXPECT_EQ(layers,
              (QStringList{"&Heights", "&Fire", "&Smoke", "S&wamp", "&Mines", "&Road", "Ri&ver"}));
    EXPECT_EQ(ActionHint(Action("FitMap1")),
              "Shows the whole map in the view, also when the window is resized");
    EXPECT_EQ(ActionHint(window->findChild<QMenu*>("Show1")->menuAction()),
              "Shows or hides a layer of the map in the view");
    // At 100 % the view is the map image's size, as ever.
    EXPECT_EQ(image->size(), QSize(MapImageWidth, MapImageHeight));
}

// The letters of the Show submenu are its own; the View menu's are checked with the others
// by the main window's test of every menu.
TEST_F(ViewMenuTest, TheShowSubmenuHasAnAccessLetterForEachLayer)
{
    StartUp();
    QStringList letters;
    for (const QAction* layer : window->findChild<QMenu*>("Show1")->actions())
        letters << QKeySequence::mnemonic(layer->text()).toString();
    letters.removeDuplicates();
    EXPECT_EQ(letters.size(), 7);
}

// Ctrl with +, =, -, 0, / and K are zoom and view commands, with editing on and off; none of
// them edits the map or reaches the control with the focus.
TEST_F(ViewMenuTest, ShortcutsWorkWithEditingOnAndOffAndNeverReachTheKeyTable)
{
    StartUp();
    PressEnter();
    Type("6");
    const QByteArray grid = GridBytes();
    TypedRecorder recorder;
    for (const bool editing : {true, false}) {
        SCOPED_TRACE(editing);
        ASSERT_EQ(window->KeyPreview(), editing);
        window->focusWidget()->installEventFilter(&recorder);
        Shortcut(Qt::Key_Plus);
        EXPECT_EQ(CheckedZoom(), "150 %");
        Shortcut(Qt::Key_Equal);
        EXPECT_EQ(CheckedZoom(), "200 %");
        Shortcut(Qt::Key_Plus);
        EXPECT_EQ(CheckedZoom(), "300 %");
        Shortcut(Qt::Key_Plus);
        EXPECT_EQ(CheckedZoom(), "400 %");
        Shortcut(Qt::Key_Plus);
        EXPECT_EQ(CheckedZoom(), "400 %") << "no step beyond 400 %";
        Shortcut(Qt::Key_Minus);
        EXPECT_EQ(CheckedZoom(), "300 %");
        Shortcut(Qt::Key_Slash);
        EXPECT_TRUE(Action("FitMap1")->isChecked());
        EXPECT_EQ(CheckedZoom(), "");
        EXPECT_LT(Scale(), 0.5);
        Shortcut(Qt::Key_0);
        EXPECT_EQ(CheckedZoom(), "100 %");
        EXPECT_FALSE(Action("FitMap1")->isChecked());
        Shortcut(Qt::Key_K);
        EXPECT_TRUE(image->CoordinatesShown());
        Shortcut(Qt::Key_K);
        EXPECT_FALSE(image->CoordinatesShown());
        window->focusWidget()->removeEventFilter(&recorder);
        PressEnter();
    }
    EXPECT_EQ(GridBytes(), grid);
    EXPECT_EQ(CursorX, 2);
    EXPECT_TRUE(recorder.Typed.isEmpty()) << recorder.Typed.join(' ').toStdString();
}

TEST_F(ViewMenuTest, CtrlWithTheWheelStepsANotchAtATimeKeepingThePointUnderThePointer)
{
    StartUp();
    view->horizontalScrollBar()->setValue(200);
    view->verticalScrollBar()->setValue(100);
    const QPointF pointer(300, 200);
    const PixelPoint before = Under(pointer);
    const auto expectKept = [&](const char* zoom) {
        EXPECT_EQ(CheckedZoom(), zoom);
        const PixelPoint now = Under(pointer);
        // The scroll bars move by whole view pixels.
        const int slack = static_cast<int>(std::ceil(1 / Scale()));
        EXPECT_LE(std::abs(now.px - before.px), slack) << zoom;
        EXPECT_LE(std::abs(now.py - before.py), slack) << zoom;
    };
    Wheel(pointer, 120);
    expectKept("150 %");
    Wheel(pointer, 240);
    expectKept("300 %");
    // A fine wheel's parts of a notch add up to one.
    Wheel(pointer, -60);
    expectKept("300 %");
    Wheel(pointer, -60);
    expectKept("200 %");
    Wheel(pointer, -120 * 3);
    expectKept("75 %");

    // Beside a fitted picture the viewport takes the wheel itself.
    Shortcut(Qt::Key_Slash);
    ASSERT_GT(image->x(), 20);
    Wheel(QPointF(10, 200), 120);
    EXPECT_EQ(CheckedZoom(), "50 %");

    // Without Ctrl the wheel scrolls, as before.
    Shortcut(Qt::Key_0);
    const int top = view->verticalScrollBar()->value();
    Wheel(pointer, -120, Qt::NoModifier, true);
    EXPECT_EQ(CheckedZoom(), "100 %");
    EXPECT_GT(view->verticalScrollBar()->value(), top);
}

TEST_F(ViewMenuTest, APinchZoomsKeepingThePointBetweenTheFingers)
{
    StartUp();
    view->horizontalScrollBar()->setValue(300);
    const QPointF fingers(400, 250);
    const PixelPoint before = Under(fingers);
    Pinch(fingers, Qt::BeginNativeGesture, 0);
    for (int i = 0; i < 3; ++i)
        Pinch(fingers, Qt::ZoomNativeGesture, 0.06);
    EXPECT_EQ(CheckedZoom(), "150 %");
    EXPECT_LE(std::abs(Under(fingers).px - before.px), 1);
    for (int i = 0; i < 5; ++i)
        Pinch(fingers, Qt::ZoomNativeGesture, -0.1);
    Pinch(fingers, Qt::EndNativeGesture, 0);
    EXPECT_EQ(CheckedZoom(), "67 %");
}

TEST_F(ViewMenuTest, FitMapShowsTheWholeMapCentredAndKeepsFittingAsTheWindowIsResized)
{
    StartUp();
    Action("FitMap1")->trigger();
    const auto expectFitted = [this] {
        const QSize viewport = Viewport()->size();
        EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(view->verticalScrollBar()->isVisible());
        EXPECT_TRUE(image->width() == viewport.width() || image->height() == viewport.height())
            << image->width() << "x" << image->height() << " in " << viewport.width() << "x"
            << viewport.height();
        EXPECT_LE(image->width(), viewport.width());
        EXPECT_LE(image->height(), viewport.height());
        // Centred.
        EXPECT_LE(std::abs(2 * image->x() + image->width() - viewport.width()), 1);
        EXPECT_LE(std::abs(2 * image->y() + image->height() - viewport.height()), 1);
    };
    expectFitted();
    const double designed = Scale();
    window->resize(window->size() + QSize(400, 300));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Scale() > designed; }));
    expectFitted();
    EXPECT_TRUE(Action("FitMap1")->isChecked());
    window->resize(window->size() - QSize(500, 400));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Scale() < designed; }));
    expectFitted();

    // Another zoom ends the fitting: a resize leaves it.
    Shortcut(Qt::Key_Minus);
    EXPECT_FALSE(Action("FitMap1")->isChecked());
    const double chosen = Scale();
    window->resize(window->size() + QSize(200, 200));
    QTest::qWait(50);
    EXPECT_EQ(Scale(), chosen);
}

// Fit then Actual Size: the view comes back where it was before fitting.
TEST_F(ViewMenuTest, LeavingAFittedViewByTheKeysReturnsToWhereItWas)
{
    StartUp();
    view->horizontalScrollBar()->setValue(340);
    view->verticalScrollBar()->setValue(210);
    const QImage before = Shown(Viewport()->rect().translated(-image->pos()));
    Shortcut(Qt::Key_Slash);
    Shortcut(Qt::Key_0);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 340);
    EXPECT_EQ(view->verticalScrollBar()->value(), 210);
    EXPECT_EQ(Shown(Viewport()->rect().translated(-image->pos())), before);
}

TEST_F(ViewMenuTest, TheZoomIsKeptForTheNextStart)
{
    StartUp();
    window->findChild<QAction*>("Zoom150")->trigger();
    window.reset();
    StartUp();
    EXPECT_EQ(CheckedZoom(), "150 %");
    EXPECT_EQ(image->size(), QSize(2385, 1952));

    Shortcut(Qt::Key_Slash);
    window.reset();
    StartUp();
    EXPECT_TRUE(Action("FitMap1")->isChecked());
    EXPECT_LE(image->height(), Viewport()->height());
    EXPECT_LE(image->width(), Viewport()->width());
}

// At every step and fitted: a click puts the cursor on the hex under the pointer, a drag
// paints the hexes it crosses, the right button's menu applies to the hex under it.
TEST_F(ViewMenuTest, TheMouseFindsTheHexUnderThePointerAtEveryZoom)
{
    StartUp();
    PressEnter();
    Type("f");
    std::vector<QAction*> zooms;
    zooms.reserve(std::size(ZoomSteps) + 1);
    for (const int percent : ZoomSteps)
        zooms.push_back(Action(QStringLiteral("Zoom%1").arg(percent)));
    zooms.push_back(Action("FitMap1"));
    int column = 3;
    for (QAction* zoom : zooms) {
        SCOPED_TRACE(zoom->text().toStdString());
        zoom->trigger();
        ShowHex(column, 9);
        Click(OnHex(column, 9));
        EXPECT_EQ(CursorX, column);
        EXPECT_EQ(CursorY, 9);
        EXPECT_FALSE(HasFire(column, 9)) << "a click only moves the cursor";
        // A drag down two hexes paints the fire of F on its first hex and the two it enters.
        ShowHex(column, 12);
        const QPoint from = OnHex(column, 11);
        const QPoint to = OnHex(column, 13);
        Drag(from, to);
        EXPECT_EQ(CursorX, column);
        EXPECT_EQ(CursorY, 13);
        for (int y = 10; y <= 14; ++y)
            EXPECT_EQ(HasFire(column, y), y >= 11 && y <= 13) << y;
        // The right button's menu applies to the hex under the pointer.
        ShowHex(column + 1, 15);
        RightClickChoosing(OnHex(column + 1, 15), QStringLiteral("Fire"));
        EXPECT_TRUE(HasFire(column + 1, 15));
        EXPECT_FALSE(HasFire(column + 1, 14));
        EXPECT_FALSE(HasFire(column + 1, 16));
        EXPECT_EQ(CursorX, column + 1);
        EXPECT_EQ(CursorY, 15);
        column += 2;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The keys keep the cursor inside the view at any zoom: the band grows with the picture.
TEST_F(ViewMenuTest, KeysKeepTheCursorInViewAtEveryZoom)
{
    StartUp();
    PressEnter();
    for (const int percent : {400, 200, 150, 67}) {
        SCOPED_TRACE(percent);
        Action(QStringLiteral("Zoom%1").arg(percent))->trigger();
        ShowHex(3, 3);
        Click(OnHex(3, 3));
        Type(QString(20, QChar('6')) + QString(20, QChar('2')));
        const PixelPoint cell = HexToPixel(CursorX, CursorY);
        const QRectF shown(QPointF(cell.px, cell.py) * Scale() + QPointF(image->pos()),
                           QSizeF(SpriteWidth, SpriteHeight) * Scale());
        EXPECT_TRUE(QRectF(Viewport()->rect()).contains(shown))
            << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height()
            << " in " << Viewport()->width() << "x" << Viewport()->height() << " cursor " << CursorX
            << "," << CursorY;
        Type(QString(20, QChar('4')) + QString(20, QChar('8')));
    }
}

// What the view paints: the map image itself at 100 %, blocks above, the averaged picture
// below, and its changes where they happen; the map image is never scaled.
TEST_F(ViewMenuTest, TheViewPaintsTheMapImageAtTheZoom)
{
    StartUp();
    const QRect area(0, 0, 300, 200);
    EXPECT_EQ(Shown(area), MapImage().copy(area));

    Action("Zoom200")->trigger();
    QImage blocks(area.size(), QImage::Format_RGB32);
    PaintBlocks(MapImage(), 2, area, blocks);
    EXPECT_EQ(Shown(area), blocks);

    Action("Zoom50")->trigger();
    AveragedPicture averaged;
    averaged.Make(MapImage(), 0.5);
    EXPECT_EQ(Shown(area), averaged.Image().copy(area));
    // A key repaints its hex: the view follows the map image there.
    PressEnter();
    Type("w");
    PressEnter();
    averaged.Make(MapImage(), 0.5);
    EXPECT_EQ(Shown(area), averaged.Image().copy(area));
    EXPECT_EQ(MapImage().size(), QSize(MapImageWidth, MapImageHeight));
}

// The cursor's mark thins out in an averaged picture: below 100 % the hex is outlined.
TEST_F(ViewMenuTest, BelowActualSizeTheCursorHexIsOutlinedWhileEditing)
{
    StartUp();
    Action("Zoom50")->trigger();
    const PixelPoint cell = HexToPixel(5, 5);
    const QRect hex = QRectF(QPointF(cell.px, cell.py) * 0.5, QSizeF(33, 19)).toAlignedRect();
    CursorX = 5;
    CursorY = 5;
    const QImage plain = Shown(hex);
    PressEnter();
    const QImage marked = Shown(hex);
    EXPECT_NE(marked, plain);
    PressEnter();
    EXPECT_EQ(Shown(hex), plain);
}

TEST_F(ViewMenuTest, HexCoordinatesAreDrawnOverTheViewOnly)
{
    StartUp();
    const QImage map = MapImage().copy();
    const QRect area(0, 0, 200, 120);
    const QImage plain = Shown(area);
    Action("HexCoordinates1")->trigger();
    EXPECT_NE(Shown(area), plain);
    EXPECT_EQ(MapImage(), map);
    Action("HexCoordinates1")->trigger();
    EXPECT_EQ(Shown(area), plain);
}

TEST_F(ViewMenuTest, HiddenLayersLeaveTheViewAndExportImageButNotTheMapImage)
{
    StartUp();
    PressEnter();
    Type("f");
    const QImage map = MapImage().copy();
    const QByteArray grid = GridBytes();
    Action("ShowFire1")->trigger();
    EXPECT_EQ(ViewLayers(), AllLayers & ~LayerBit(MapLayer::Fire));
    EXPECT_EQ(MapImage(), map);
    EXPECT_EQ(GridBytes(), grid);
    const QPoint fire = EffectPixel(1, 1);
    // The hex shows its cursor mark, not its fire; the map image keeps the fire under it.
    EXPECT_EQ(Shown(QRect(fire, QSize(1, 1))).pixel(0, 0), ViewImage().pixel(fire));
    EXPECT_EQ(ViewImage().pixel(fire), EffectColour(eiCursor).rgb());
    Type("6");
    EXPECT_EQ(ViewImage().pixel(fire), GroundColour(tcGrass).rgb()) << "the fire stays hidden";
    EXPECT_EQ(MapImage().pixel(fire), EffectColour(eiFire).rgb());

    prompts.AnswerFileDialog(std::nullopt);
    Action("ExportImage1")->trigger();
    prompts.AnswerFileDialog(std::nullopt);
    Action("ExportImageCoordinates1")->trigger();
    EXPECT_EQ(prompts.DialogTitles, (QStringList{"Export Image without Fire",
                                                 "Export Image with Coordinates, without Fire"}));

    Action("ShowFire1")->trigger();
    EXPECT_EQ(&ViewImage(), &MapImage());
    EXPECT_EQ(Shown(QRect(fire, QSize(1, 1))).pixel(0, 0), MapImage().pixel(fire));
}

// Run with QT_SCALE_FACTOR at 1.5 and 2 (see CMakeLists.txt); skipped at 1. Each map pixel
// covers one view pixel at 100 % and is drawn as a block of device pixels, nearest neighbour;
// the mouse works in view pixels all the same.
class ViewAtHighDensity : public ViewMenuTest {
protected:
    void SetUp() override
    {
        ViewMenuTest::SetUp();
        if (qApp->devicePixelRatio() == 1)
            GTEST_SKIP() << "run with QT_SCALE_FACTOR above 1";
    }

    // The device pixels of the view's picture over rect, a rectangle of view pixels.
    QImage Drawn(QRect rect) const
    {
        return image->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(ViewAtHighDensity, EachMapPixelIsABlockOfDevicePixels)
{
    StartUp();
    const double dpr = image->devicePixelRatioF();
    EXPECT_EQ(image->size(), QSize(MapImageWidth, MapImageHeight)) << "one view pixel each";
    for (const int percent : {100, 50, 150}) {
        SCOPED_TRACE(percent);
        Action(QStringLiteral("Zoom%1").arg(percent))->trigger();
        const QRect area(0, 0, 200, 120);
        const QImage drawn = Drawn(area);
        const double scale = StepScale(percent) * dpr;
        const QRect device(0, 0, drawn.width(), drawn.height());
        if (scale < 1)
            continue;
        QImage blocks(device.size(), QImage::Format_RGB32);
        PaintBlocks(MapImage(), scale, device, blocks);
        EXPECT_EQ(drawn, blocks);
    }
}

TEST_F(ViewAtHighDensity, ClicksFindTheHexUnderThePointer)
{
    StartUp();
    PressEnter();
    for (const int percent : {100, 150, 33}) {
        SCOPED_TRACE(percent);
        Action(QStringLiteral("Zoom%1").arg(percent))->trigger();
        for (const auto& [x, y] : {std::pair{4, 5}, std::pair{9, 8}}) {
            ShowHex(x, y);
            Click(OnHex(x, y));
            EXPECT_EQ(CursorX, x);
            EXPECT_EQ(CursorY, y);
        }
    }
}

}  // namespace
