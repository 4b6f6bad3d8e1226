#include "app/Application.h"
#include "app/Help.h"
#include "app/Hints.h"
#include "app/Main.h"
#include "app/Preferences.h"
#include "app/RecentMaps.h"
#include "app/Title.h"
#include "app/WindowPlace.h"
#include "controls/newstat.h"
#include "core/Catalogue.h"
#include "core/MapFile.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "tests/app/ScaleFactor.h"
#include "tests/app/StartPresser.h"
#include "tests/app/TestSheets.h"
#include "tests/core/QtPrinters.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <map>
#include <memory>

namespace {

// Records the text of every key event a control receives.
class KeyRecorder : public QObject {
public:
    QStringList Texts;

    // The texts of keys that type something; modifier keys type nothing.
    QStringList Typed() const
    {
        QStringList typed = Texts;
        typed.removeAll(QString());
        return typed;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            Texts << static_cast<QKeyEvent*>(event)->text();
        return false;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTestSheets(game.SpritesDir());
        SetExceptionDisplay([this](const QString& text) { errors << text; });
    }

    void TearDown() override
    {
        frmHelp = nullptr;
        window.reset();
        FreeSpriteLibrary();
        SetExceptionDisplay(nullptr);
    }

    // Creates and shows the main window; its first showing runs the title screen, where
    // Start is pressed as soon as it is up, and then the start-up sequence.
    // framed: whether the platform draws a frame around the window, as a window manager does.
    void StartUp(bool framed = true)
    {
        window = std::make_unique<TfrmMain>();
        window->setWindowFlag(Qt::FramelessWindowHint, !framed);
        frmMain = window.get();
        window->LoadAfterStartUp(mapFromCommandLine);
        StartPresser presser;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return SpriteLibraryReady() || !errors.isEmpty(); }));
        EXPECT_TRUE(presser.Pressed);
    }

    template <typename T>
    T* Find(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Shortcuts reach only the active window.
    void Activate() const
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    TAStatusBar* Bar() const { return Find<TAStatusBar>("StatusBar"); }
    QString Panel(int index) const { return Bar()->PanelText(index); }

    // Typed as the user types: into the control that has the focus.
    void Type(const QString& keys) const
    {
        for (const QChar c : keys)
            QTest::keyClick(window->focusWidget(), c.toLatin1());
    }
    void PressEnter() const { QTest::keyClick(window->focusWidget(), Qt::Key_Return); }

    static QRgb MapPixel(QPoint at) { return MapImage().pixel(at) & 0xFFFFFFu; }
    static QRgb Rgb(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }

    // Gives the whole window, frame included, this size.
    void ResizeWhole(QSize whole) const
    {
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize(whole - frame);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().size() == whole; }));
    }

    // Puts the pointer over the middle of widget and lets the application fall idle.
    static void PointAt(const QWidget* widget)
    {
        QCursor::setPos(widget->mapToGlobal(widget->rect().center()));
        QTest::qWait(20);
    }

    static QByteArray GridBytes()
    {
        return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid};
    }

    GameFolder game;
    ScriptedPrompts prompts;
    QStringList errors;
    std::unique_ptr<TfrmMain> window;
    QString mapFromCommandLine;
};

TEST_F(MainWindowTest, StartsWithACleanMapEditingOffAndNoCursorMark)
{
    StartUp();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_EQ(Button("cmdEdit")->text(), "Edit");
    EXPECT_FALSE(window->KeyPreview());
    EXPECT_EQ(Panel(0), "Hex info");
    EXPECT_EQ(CursorX, 1);
    EXPECT_EQ(CursorY, 1);
    EXPECT_EQ(MineValue, 10);
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(window->focusWidget(), Button("cmdEdit"));
    // Drawn from the sheets: grass everywhere, and no cursor mark on (1, 1).
    EXPECT_EQ(MapPixel(EffectPixel(1, 1)), Rgb(GroundColour(tcGrass)));
    EXPECT_EQ(MapPixel(GroundPixel(32, 32)), Rgb(GroundColour(tcGrass)));
    // No settings file yet: the one warning, and a file with defaults written.
    EXPECT_EQ(prompts.Warnings.size(), 1);
    EXPECT_TRUE(QFile::exists(game.SettingsPath()));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, EnterSwitchesEditingOnAndOffWithTheCursorMark)
{
    StartUp();
    PressEnter();
    EXPECT_TRUE(window->KeyPreview());
    EXPECT_EQ(Button("cmdEdit")->text(), "Editing...");
    EXPECT_EQ(Panel(0), DescribeHex(1, 1));
    EXPECT_EQ(MapPixel(EffectPixel(1, 1)), Rgb(EffectColour(eiCursor)));

    PressEnter();
    EXPECT_FALSE(window->KeyPreview());
    EXPECT_EQ(Button("cmdEdit")->text(), "Edit");
    EXPECT_EQ(MapPixel(EffectPixel(1, 1)), Rgb(GroundColour(tcGrass)));
    EXPECT_EQ(Panel(0), DescribeHex(1, 1)) << "switching off keeps the description";
}

TEST_F(MainWindowTest, EnterClicksTheFocusedButtonElseTheDefaultButton)
{
    StartUp();
    QPushButton* fill = Button("cmdFill");
    QSignalSpy fillClicks(fill, &QPushButton::clicked);
    fill->setFocus();
    PressEnter();
    EXPECT_EQ(fillClicks.size(), 1);
    EXPECT_FALSE(window->KeyPreview());

    Find<QScrollArea>("sbMap")->setFocus();
    PressEnter();
    EXPECT_TRUE(window->KeyPreview()) << "the map view is no button: Enter clicks cmdEdit";
    EXPECT_EQ(fillClicks.size(), 1);
}

TEST_F(MainWindowTest, TypedCharactersEditTheCursorCellWhileEditing)
{
    StartUp();
    Type("w");
    EXPECT_EQ(Cell(1, 1).Ground, tcGrass) << "editing mode is off";
    EXPECT_FALSE(MapModified);

    PressEnter();
    Type("w");
    EXPECT_EQ(Cell(1, 1).Ground, tcWater0);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(Panel(0), DescribeHex(1, 1));
    EXPECT_EQ(MapPixel(GroundPixel(1, 1)), Rgb(GroundColour(tcWater0)));
    EXPECT_EQ(MapPixel(EffectPixel(1, 1)), Rgb(EffectColour(eiCursor)));

    Type("6");
    EXPECT_EQ(CursorX, 2);
    EXPECT_EQ(Panel(0), DescribeHex(2, 1));
    EXPECT_EQ(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));
    EXPECT_EQ(MapPixel(EffectPixel(1, 1)), Rgb(GroundColour(tcWater0))) << "old mark painted over";
}

TEST_F(MainWindowTest, LowerCaseActsLikeUpperCaseAndReachesTheControlUpperCased)
{
    StartUp();
    PressEnter();
    KeyRecorder recorder;
    window->focusWidget()->installEventFilter(&recorder);

    Type("f");
    EXPECT_TRUE(HasFire(1, 1));
    Type("F");
    EXPECT_FALSE(HasFire(1, 1));
    Type("n");
    EXPECT_EQ(Cell(1, 1).Mines, 10);
    EXPECT_TRUE(Panel(0).contains("10 Mines")) << Panel(0).toStdString();
    EXPECT_EQ(recorder.Texts, QStringList({"F", "F", "N"}));
}

TEST_F(MainWindowTest, KeysThatTypeNoCharacterNeverReachTheEditor)
{
    StartUp();
    PressEnter();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_F2})
        QTest::keyClick(window->focusWidget(), key);
    EXPECT_EQ(CursorX, 1);
    EXPECT_EQ(CursorY, 1);
    EXPECT_FALSE(MapModified);
    // Alt with a letter is for the menus.
    QTest::keyClick(window->focusWidget(), 'w', Qt::AltModifier);
    EXPECT_EQ(Cell(1, 1).Ground, tcGrass);
    // X11 gives a key typed with Control its character all the same; it is a command.
    for (const char key : {'.', ',', 'w'})
        QTest::keyClick(window->focusWidget(), key, Qt::ControlModifier);
    QTest::keyClick(window->focusWidget(), '>', Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(HasRoad(1, 1));
    EXPECT_FALSE(HasRiver(1, 1));
    EXPECT_EQ(Cell(1, 1).Ground, tcGrass);
    EXPECT_EQ(Cell(1, 1).Height, 0);
    EXPECT_FALSE(MapModified);
}

TEST_F(MainWindowTest, ShortcutsWithControlStillWorkWhileEditing)
{
    StartUp();
    QAction command(QStringLiteral("Command"));
    command.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
    window->addAction(&command);
    QSignalSpy triggered(&command, &QAction::triggered);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    PressEnter();
    QTest::keyClick(window->focusWidget(), '.', Qt::ControlModifier);
    EXPECT_EQ(triggered.size(), 1);
    EXPECT_FALSE(HasRoad(1, 1));
}

TEST_F(MainWindowTest, CaptionShowsTheMapNameExactlyEvenWhereQtWouldSeeAMarker)
{
    StartUp();
    for (const QString& name :
         {QStringLiteral("/maps/a[*]b.KVX"), QStringLiteral("/maps/[*][*]/[[*]]*].KVX")}) {
        MapName = name;
        UpdateCaption();
        for (const bool modified : {false, true}) {
            window->setWindowModified(modified);
            EXPECT_EQ(window->windowHandle()->title(), "Korvane Gridcrafter : " + name) << modified;
        }
    }
}

TEST_F(MainWindowTest, CursorKeysScrollTheMapViewAtTheBandsEdge)
{
    StartUp();
    ResizeWhole(QSize(800, 600));
    PressEnter();
    const QScrollArea* view = Find<QScrollArea>("sbMap");
    ASSERT_EQ(view->size(), QSize(770, 500));
    Type("4");
    EXPECT_EQ(CursorX, 1);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    // The band ends 100 pixels before the right edge of the 770 by 500 view: column 15
    // starts at pixel 686, row 11 at pixel 402.
    Type(QString(13, QChar('6')));
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    Type("6");
    EXPECT_EQ(CursorX, 15);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 49);
    Type(QString(9, QChar('2')));
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    Type("2");
    EXPECT_EQ(CursorY, 11);
    EXPECT_EQ(view->verticalScrollBar()->value(), 40);
}

TEST_F(MainWindowTest, HintPanelFollowsThePointerAndTheHighlightedMenuEntry)
{
    StartUp();
    EXPECT_EQ(Panel(1), "Hint");
    PointAt(Button("cmdFill"));
    EXPECT_EQ(Panel(1), "Dots Mechs randomly into the landscape");
    PointAt(Button("cmdEdit"));
    EXPECT_EQ(Panel(1), "") << "\"Change the map|\" has no long part";
    PointAt(Button("cmdRoads"));
    EXPECT_EQ(Panel(1), "Shows all road tiles");
    PointAt(Button("cmdTest"));
    EXPECT_EQ(Panel(1), "") << "two lines of short hint, and no long part";
    PointAt(Button("cmdFill"));
    PointAt(Button("cmdReload"));
    EXPECT_EQ(Panel(1), "");
    PointAt(Find<QWidget>("imgMap"));
    EXPECT_EQ(Panel(1), "");

    QMenu* files = Find<QMenu>("Files1");
    files->popup(window->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(files));
    files->setActiveAction(Find<QAction>("LoadMap1"));
    QTest::qWait(20);
    EXPECT_EQ(Panel(1), "Load a map from disk");
    files->setActiveAction(Find<QAction>("Quit1"));
    QTest::qWait(20);
    EXPECT_EQ(Panel(1), "Exit the program");
    files->close();
    QTest::qWait(20);
    EXPECT_EQ(Panel(1), "") << "back to the map under the pointer";
}

TEST_F(MainWindowTest, ResizingSetsTheMapViewFromTheWholeWindow)
{
    StartUp();
    ResizeWhole(QSize(600, 400));
    const QScrollArea* view = Find<QScrollArea>("sbMap");
    EXPECT_EQ(view->size(), QSize(570, 300));
    EXPECT_EQ(Bar()->width(), window->width());
    EXPECT_EQ(Bar()->PanelRect(0).width(), 400);
    EXPECT_EQ(Bar()->geometry().bottom(), window->centralWidget()->height() - 1);

    window->resize(20, 60);
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->height() == 60; }));
    EXPECT_EQ(view->height(), 0);
    EXPECT_EQ(view->width(), std::max(0, window->frameGeometry().width() - 30));
}

// The design: 800 by 600 with its standard frame, a client of 792 by 554 below the menu,
// the status bar at its y 535 and the map view ending 3 pixels above it.
TEST_F(MainWindowTest, TheWindowHasTheDesignedClientAndItsFrameSetsTheMapView)
{
    StartUp();
    const QSize client = window->centralWidget()->size();
    EXPECT_EQ(client, QSize(792, 554));
    EXPECT_EQ(Bar()->geometry().top(), 535);
    const QSize frame = window->frameGeometry().size() - client;
    ASSERT_GT(frame.width(), 0) << "the platform draws a frame";
    EXPECT_EQ(Find<QScrollArea>("sbMap")->size(), client + frame - QSize(30, 100));
}

TEST_F(MainWindowTest, WithoutAFrameFromThePlatformTheMapViewEndsWhereTheDesignEndsIt)
{
    StartUp(false);
    ASSERT_EQ(window->frameGeometry().size(), window->size()) << "no frame drawn";
    const QScrollArea* view = Find<QScrollArea>("sbMap");
    EXPECT_EQ(window->centralWidget()->size(), QSize(792, 554));
    EXPECT_EQ(view->size(), QSize(770, 500));
    EXPECT_EQ(view->geometry().bottom() + 1 + 3, Bar()->geometry().top());

    // 200 pixels less: the whole window as designed would be 600 by 400.
    window->resize(window->size() - QSize(200, 200));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->centralWidget()->width() == 592; }));
    EXPECT_EQ(view->size(), QSize(570, 300));
    EXPECT_EQ(view->geometry().bottom() + 1 + 3, Bar()->geometry().top());
}

// The failure is shown once; afterwards the editor refuses in the hint panel, not with a box
// for every key.
TEST_F(MainWindowTest, FailedStartUpShowsOneErrorAndRefusesKeysInTheHintPanel)
{
    QFile::remove(game.SpritesDir() + "/GROUND.BMP");
    StartUp();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("GROUND.BMP", Qt::CaseInsensitive)) << errors[0].toStdString();
    EXPECT_EQ(window->windowTitle(), "Korvane Grid Crafter") << "start-up stopped before the map";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window->isVisible());
    const QByteArray grid(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid);

    PressEnter();
    EXPECT_TRUE(window->KeyPreview());
    EXPECT_EQ(Panel(1), "No sprites loaded: mend the files, then press Reload");
    Bar()->SetPanelText(1, QString());
    Type("w6.");
    EXPECT_EQ(Panel(1), "No sprites loaded: mend the files, then press Reload");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid), grid);
    EXPECT_EQ(CursorX, 1);
    EXPECT_FALSE(MapModified);
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(window->RequireSprites());
}

TEST_F(MainWindowTest, ExitWithoutUnsavedEditsClosesAtOnceAndFreesTheSprites)
{
    StartUp();
    Find<QAction>("Quit1")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_FALSE(SpriteLibraryReady());
}

// Exit, Ctrl+Q and the close box (the window manager's close request) all ask; only No, or a
// save that went through, lets the window close.
TEST_F(MainWindowTest, QuittingWithUnsavedEditsAsksFirst)
{
    StartUp();
    Activate();
    PressEnter();
    Type("w");
    const QString question = "Save the changes to NewMap before closing?";

    prompts.AnswerYesNoCancel(Answer::Cancel);
    Find<QAction>("Quit1")->trigger();
    prompts.AnswerYesNoCancel(Answer::Cancel);
    QTest::keyClick(window->focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    prompts.AnswerYesNoCancel(Answer::Cancel);
    window->close();
    EXPECT_EQ(prompts.Questions, QStringList(3, question));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(SpriteLibraryReady());
    EXPECT_EQ(Cell(1, 1).Ground, tcWater0);
    EXPECT_TRUE(MapModified);

    prompts.AnswerYesNoCancel(Answer::Yes);
    prompts.AnswerFileDialog(std::nullopt);
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the save was cancelled";

    prompts.AnswerYesNoCancel(Answer::Yes);
    prompts.AnswerFileDialog(game.EditorDir() + "/no such folder/m.KVX");
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the save failed";
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("no such folder")) << errors[0].toStdString();

    prompts.AnswerYesNoCancel(Answer::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(SpriteLibraryReady());
}

TEST_F(MainWindowTest, YesSavesTheMapBeforeTheWindowCloses)
{
    StartUp();
    PressEnter();
    Type("f");
    const QString path = game.EditorDir() + "/quit.KVX";
    prompts.AnswerYesNoCancel(Answer::Yes);
    prompts.AnswerFileDialog(path);

    window->close();

    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompts.Informations, QStringList{"Map saved as " + path});
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid));
}

TEST_F(MainWindowTest, EditMenuStandsBetweenFilesAndHelpWithItsShortcutsAndHints)
{
    StartUp();
    QStringList menus;
    for (const QAction* menu : Find<QMenuBar>("MainMenu1")->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"Files", "&Edit", "&View", "Help"}));
    const QAction* undo = Find<QAction>("Undo1");
    const QAction* redo = Find<QAction>("Redo1");
    EXPECT_EQ(undo->text(), "&Undo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo");
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)});
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    EXPECT_EQ(ActionHint(undo), "Undo the last change to the map");
    EXPECT_EQ(ActionHint(redo), "Redo the change last undone");
}

TEST_F(MainWindowTest, ShortcutsUndoAndRedoAKeyWithEditingOnAndOffAndNeverReachTheKeys)
{
    StartUp();
    Activate();
    PressEnter();
    Type("6w4");
    QAction* undo = Find<QAction>("Undo1");
    QAction* redo = Find<QAction>("Redo1");
    EXPECT_EQ(undo->text(), "Undo Water");
    KeyRecorder recorder;
    window->focusWidget()->installEventFilter(&recorder);

    // Editing on: back on (2, 1), the mark moves there from (1, 1) and the cell is described.
    QTest::keyClick(window->focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(2, 1).Ground, tcGrass);
    EXPECT_EQ(CursorX, 2);
    EXPECT_EQ(Panel(0), DescribeHex(2, 1));
    EXPECT_EQ(MapPixel(GroundPixel(2, 1)), Rgb(GroundColour(tcGrass)));
    EXPECT_EQ(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));
    EXPECT_EQ(MapPixel(EffectPixel(1, 1)), Rgb(GroundColour(tcGrass)));
    EXPECT_FALSE(MapModified);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo");
    EXPECT_EQ(redo->text(), "Redo Water");
    EXPECT_TRUE(recorder.Typed().isEmpty()) << recorder.Typed().join(' ').toStdString();
    window->focusWidget()->removeEventFilter(&recorder);

    // Editing off: redrawn without the mark.
    PressEnter();
    window->focusWidget()->installEventFilter(&recorder);
    QTest::keyClick(window->focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Cell(2, 1).Ground, tcWater0);
    EXPECT_EQ(MapPixel(EffectPixel(2, 1)), Rgb(GroundColour(tcWater0)));
    EXPECT_TRUE(MapModified);
    QTest::keyClick(window->focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window->focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Cell(2, 1).Ground, tcWater0);
    EXPECT_EQ(undo->text(), "Undo Water");
    EXPECT_TRUE(recorder.Typed().isEmpty()) << recorder.Typed().join(' ').toStdString();
    window->focusWidget()->removeEventFilter(&recorder);
}

TEST_F(MainWindowTest, UndoingARandomMapRedrawsTheWholeMapAndTheCaption)
{
    StartUp();
    PressEnter();
    Type("w");
    PressEnter();
    prompts.AnswerYesNo(true);
    Find<QAction>("Randommap1")->trigger();
    ASSERT_EQ(window->windowTitle(), "Korvane Gridcrafter : Random");

    Find<QAction>("Undo1")->trigger();

    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_EQ(Find<QAction>("Redo1")->text(), "Redo Random map");
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            ASSERT_EQ(MapPixel(GroundPixel(x, y)),
                      Rgb(GroundColour(x == 1 && y == 1 ? tcWater0 : tcGrass)))
                << x << "," << y << ": the random map or a mech is left";
}

// With editing on, the cursor mark comes back with the map of a whole-map step taken back
// or done again, and the status bar describes the cursor cell as it now is.
TEST_F(MainWindowTest, UndoAndRedoOfAWholeMapStepShowTheCursorMarkWhileEditing)
{
    StartUp();
    PressEnter();
    Type("6w");
    ASSERT_EQ(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));
    Button("cmdClear")->click();
    ASSERT_NE(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));

    Find<QAction>("Undo1")->trigger();
    EXPECT_EQ(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));
    EXPECT_EQ(Panel(0), DescribeHex(2, 1));
    EXPECT_EQ(Cell(2, 1).Ground, tcWater0);

    Find<QAction>("Redo1")->trigger();
    EXPECT_EQ(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));
    EXPECT_EQ(Panel(0), DescribeHex(2, 1));
    EXPECT_EQ(Cell(2, 1).Ground, tcGrass);

    // Editing off: no mark.
    PressEnter();
    Find<QAction>("Undo1")->trigger();
    EXPECT_NE(MapPixel(EffectPixel(2, 1)), Rgb(EffectColour(eiCursor)));
}

// A letter that two entries of one menu share only moves the highlight between them.
TEST_F(MainWindowTest, EachMenuEntryHasAnAccessLetterOfItsOwnAndFilesMChoosesRandomMap)
{
    StartUp();
    for (const QAction* title : Find<QMenuBar>("MainMenu1")->actions()) {
        QStringList letters;
        for (const QAction* entry : title->menu()->actions()) {
            const QString letter = QKeySequence::mnemonic(entry->text()).toString();
            if (letter.isEmpty())
                continue;
            EXPECT_FALSE(letters.contains(letter))
                << (title->text() + ", " + entry->text()).toStdString();
            letters << letter;
        }
    }

    QSignalSpy randomMap(Find<QAction>("Randommap1"), &QAction::triggered);
    QMenu* files = Find<QMenu>("Files1");
    files->popup(window->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(files));
    QTest::keyClick(files, Qt::Key_M);
    EXPECT_EQ(randomMap.count(), 1);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : Random");
}

TEST_F(MainWindowTest, F1ShowsTheHelpWindowModally)
{
    StartUp();
    frmHelp = new TfrmHelp(window.get());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    bool shownModally = false;
    QTimer::singleShot(0, [&] {
        shownModally = QApplication::activeModalWidget() == frmHelp;
        frmHelp->done(QDialog::Rejected);
    });
    QTest::keyClick(window->focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(shownModally);
    EXPECT_FALSE(frmHelp->isVisible());
}

// N, O, S and P are editing keys too; with Control they are commands, editing on or off.
TEST_F(MainWindowTest, FileShortcutsReachTheirCommandsAndNeverTheKeyTable)
{
    StartUp();
    Activate();
    PressEnter();
    Type("6f");
    const QByteArray edited = GridBytes();
    KeyRecorder recorder;
    const auto press = [&](Qt::Key key) {
        window->focusWidget()->installEventFilter(&recorder);
        QTest::keyClick(window->focusWidget(), key, Qt::ControlModifier);
        window->focusWidget()->removeEventFilter(&recorder);
    };

    for (const bool editing : {true, false}) {
        ASSERT_EQ(window->KeyPreview(), editing);
        prompts.AnswerYesNo(false);
        press(Qt::Key_N);
        prompts.AnswerYesNo(true);
        prompts.AnswerFileDialog(std::nullopt);
        press(Qt::Key_O);
        prompts.AnswerFileDialog(std::nullopt);
        press(Qt::Key_S);
        prompts.AnswerPrintDialog(false);
        press(Qt::Key_P);
        PressEnter();
    }

    const QStringList questions{"Are you sure you want to clear the map and start over?",
                                "Are you sure you want to load a map and discard this one?"};
    EXPECT_EQ(prompts.Questions, questions + questions);
    EXPECT_EQ(prompts.DialogTitles,
              QStringList({"Load Map File", "Write Map File", "Load Map File", "Write Map File"}));
    EXPECT_EQ(prompts.PrintDialogsShown, 2);
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_EQ(CursorX, 2);
    EXPECT_EQ(UndoStepName(), "Fire");
    EXPECT_TRUE(recorder.Typed().isEmpty()) << recorder.Typed().join(' ').toStdString();
}

// Ctrl+S puts a map that has a file back into it at once and says so in the hint panel;
// Ctrl+Shift+S and Files, Save always ask for the file.
TEST_F(MainWindowTest, CtrlSSavesAMapInItsOwnFileAndCtrlShiftSOpensTheSaveDialog)
{
    StartUp();
    Activate();
    PressEnter();
    Type("w");
    const QString path = game.Root() + "/lake.KVX";
    const auto press = [this](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(window->focusWidget(), Qt::Key_S, modifiers);
    };

    prompts.AnswerFileDialog(path);
    press(Qt::ControlModifier);
    ASSERT_EQ(prompts.DialogTitles, QStringList{"Write Map File"}) << "no file yet: Save as";
    ASSERT_EQ(prompts.Informations, QStringList{"Map saved as " + path});

    Type("6f");
    ASSERT_TRUE(MapModified);
    press(Qt::ControlModifier);
    EXPECT_EQ(prompts.DialogTitles.size(), 1) << "a dialog opened";
    EXPECT_EQ(prompts.Informations.size(), 1) << "a box was shown";
    EXPECT_EQ(Panel(1), "Map saved as " + path);
    EXPECT_EQ(game.Root() + "/lake.KVX", MapName);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), GridBytes());
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(RecentMaps().value(0), path);
    Find<QAction>("Undo1")->trigger();
    EXPECT_TRUE(MapModified);
    Find<QAction>("Redo1")->trigger();
    EXPECT_FALSE(MapModified) << "the quick save is undo's saved state";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();

    prompts.AnswerFileDialog(std::nullopt);
    press(Qt::ControlModifier | Qt::ShiftModifier);
    prompts.AnswerFileDialog(std::nullopt);
    Find<QAction>("Save1")->trigger();
    EXPECT_EQ(prompts.DialogTitles, QStringList(3, "Write Map File"));
    EXPECT_EQ(prompts.DialogFileNames.last(), path);
}

// The user's guide and the manual page name every shortcut of the window, and only keys that work:
// a shortcut of an entry, or Alt with the access letter of a menu; where a key stands
// before an entry's name ("Ctrl+N New"), it is that entry's.
TEST_F(MainWindowTest, TheGuideAndTheManualPageNameTheShortcutsThatWork)
{
    StartUp();
    std::map<QString, QStringList> owners;  // key: the entries it is the shortcut of
    for (const QAction* action : window->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts())
            owners[key.toString(QKeySequence::PortableText)]
                << action->text().remove('&').remove(QStringLiteral("..."));
    QStringList accessKeys;
    for (const QAction* title : Find<QMenuBar>("MainMenu1")->actions())
        if (const qsizetype amp = title->text().indexOf('&'); amp >= 0)
            accessKeys << "Alt+" + title->text().mid(amp + 1, 1).toUpper();
    const QRegularExpression mention(QStringLiteral(
        R"((?<![\w+])((?:(?:Ctrl|Alt|Shift)\+)+(?:F\d+|[A-Z0-9]))(?![\w+])(?: ([A-Z]\w+))?)"));

    for (const char* name : {"docs/USING.md", "packaging/man/gridcrafter.1"}) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(GC_SOURCE_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), "-");
        for (const auto& [key, entries] : owners)
            EXPECT_TRUE(
                QRegularExpression("(?<![\\w+])" + QRegularExpression::escape(key) + "(?![\\w+])")
                    .match(text)
                    .hasMatch())
                << key.toStdString() << " (" << entries.join(", ").toStdString()
                << ") is not named";
        for (QRegularExpressionMatchIterator it = mention.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString key = match.captured(1);
            const auto owner = owners.find(key);
            EXPECT_TRUE(owner != owners.end() || accessKeys.contains(key))
                << key.toStdString() << " does nothing";
            const QString entry = match.captured(2);
            bool named = false;
            if (entry.isEmpty())
                continue;
            for (const auto& [other, entries] : owners)
                named = named || entries.contains(entry);
            if (named && owner != owners.end()) {
                EXPECT_TRUE(owner->second.contains(entry))
                    << key.toStdString() << " is not the shortcut of " << entry.toStdString();
            }
        }
    }
}

TEST_F(MainWindowTest, AMapFromTheCommandLineIsLoadedOnceTheEditorHasStarted)
{
    ClearMap();
    Cell(3, 3).Ground = tcLava;
    mapFromCommandLine = game.Root() + "/lava.KVX";
    WriteMapFile(mapFromCommandLine);
    ClearMap();

    StartUp();

    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + mapFromCommandLine);
    EXPECT_EQ(Cell(3, 3).Ground, tcLava);
    EXPECT_EQ(MapPixel(GroundPixel(3, 3)), Rgb(GroundColour(tcLava)));
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(UndoStepName(), "Load");
    EXPECT_TRUE(prompts.Questions.isEmpty());
}

TEST_F(MainWindowTest, AMapFromTheCommandLineThatCannotBeReadIsShownAsLoadShowsIt)
{
    mapFromCommandLine = game.Root() + "/missing.KVX";

    StartUp();

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(mapFromCommandLine)) << errors[0].toStdString();
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_TRUE(SpriteLibraryReady());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, TheWindowComesBackWithTheSizeAndPlaceItWasClosedWith)
{
    const QRect designed = TfrmMain().geometry();
    StartUp();
    const QRect place(20, 30, 640, 480);
    window->setGeometry(place);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == place; }));
    window->close();
    ASSERT_FALSE(window->isVisible());

    EXPECT_EQ(TfrmMain().geometry(), place);

    // A place that no screen of this run can show gives the designed window.
    TfrmMain moved;
    moved.setGeometry(QRect(5000, 30, 640, 480));
    SaveWindowPlace(moved);
    EXPECT_EQ(TfrmMain().geometry(), designed);
}

// A place is kept with the scale factor it was kept at, whose coordinates it is in: at
// another, the window starts in its designed place instead. One kept before the scale was
// kept counts as kept at 1.
TEST_F(MainWindowTest, AWindowPlaceKeptAtAnotherScaleFactorIsIgnored)
{
    const QRect designed = TfrmMain().geometry();
    StartUp();
    const qreal ratio = window->devicePixelRatioF();
    const QRect place(20, 30, 300, 200);
    window->setGeometry(place);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == place; }));
    window->close();
    ASSERT_EQ(TfrmMain().geometry(), place);

    EditorPreferences().setValue(QStringLiteral("Window/Scale"), ratio * 2);
    EXPECT_EQ(TfrmMain().geometry(), designed);
    EditorPreferences().remove(QStringLiteral("Window/Scale"));
    EXPECT_EQ(TfrmMain().geometry(), ratio == 1 ? place : designed);
}

TEST_F(MainWindowTest, AWindowPlaceKeptAtAnotherScaleFactorIsIgnoredAtEveryScaleFactor)
{
    for (const char* factor : {"1.5", "2"}) {
        const QString failures = FailuresAtScaleFactor(
            "MainWindowTest.AWindowPlaceKeptAtAnotherScaleFactorIsIgnored", factor);
        EXPECT_TRUE(failures.isEmpty()) << "at scale factor " << factor << ":\n"
                                        << failures.toStdString();
    }
}

TEST_F(MainWindowTest, AWindowClosedMaximisedComesBackMaximised)
{
    StartUp();
    const QRect place(20, 30, 640, 480);
    window->setGeometry(place);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry() == place; }));
    window->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isMaximized(); }));
    window->close();

    const TfrmMain next;
    EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(next.geometry(), place);
}

}  // namespace
