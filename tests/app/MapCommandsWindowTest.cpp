// The main window's map, showcase, reload, print and bitmap commands, chosen as the user
// chooses them, and the Qt dialogs behind the prompts.

#include "app/Application.h"
#include "app/Hints.h"
#include "app/Main.h"
#include "app/MapPrint.h"
#include "app/MessagePrompts.h"
#include "app/RecentMaps.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "editor/StartEditor.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Errors.h"
#include "tests/app/TestSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

TEST(QtNameFilters, TurnTheWindowsFiltersIntoQtOnes)
{
    EXPECT_EQ(QtNameFilters(SaveDialog.Filter),
              (QStringList{"Korvane Map Files (*.KVX)", "All Files (*)"}));
    EXPECT_EQ(QtNameFilters(OpenDialog.Filter),
              (QStringList{"Korvane Map File (*.KVX)", "All files (*)"}));
    EXPECT_EQ(QtNameFilters(SaveDialog2.Filter), (QStringList{"Bitmaps (*.BMP)", "All Files (*)"}));
    EXPECT_EQ(QtNameFilters("Pictures|*.BMP;*.PNG|Odd"), QStringList{"Pictures (*.BMP *.PNG)"});
}

class FileDialogSetUp : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QFileDialog box;

    // What the box answers when its name field holds typed and the user presses Save/Open.
    QString Accepting(const QString& typed)
    {
        box.selectFile(typed);
        // The slot the Save and Open buttons call; protected, so reached through its name.
        QMetaObject::invokeMethod(&box, "accept", Qt::DirectConnection);
        return box.result() == QDialog::Accepted && !box.selectedFiles().isEmpty()
                   ? box.selectedFiles().constFirst()
                   : QString();
    }
};

TEST_F(FileDialogSetUp, SaveDialogAsDesigned)
{
    SetUpFileDialog(box, SaveDialog, "NewMap");

    EXPECT_EQ(box.windowTitle(), "Write Map File");
    EXPECT_EQ(box.nameFilters(), QtNameFilters(SaveDialog.Filter));
    EXPECT_EQ(box.defaultSuffix(), "KVX");
    EXPECT_EQ(box.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(box.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST_F(FileDialogSetUp, OpenDialogWantsAnExistingFileAndOpensInThePresetFolder)
{
    SetUpFileDialog(box, OpenDialog, dir.path());

    EXPECT_EQ(box.windowTitle(), "Load Map File");
    EXPECT_EQ(box.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(box.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(QDir(box.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
}

TEST_F(FileDialogSetUp, ATypedNameWithoutExtensionGetsTheDefaultOne)
{
    SetUpFileDialog(box, SaveDialog2, dir.filePath("NewMap"));

    EXPECT_EQ(Accepting(dir.filePath("NewMap")), dir.filePath("NewMap.BMP"));
}

TEST_F(FileDialogSetUp, ExportOffersPngFirstAndATypedNameTakesTheChosenFiltersExtension)
{
    SetUpFileDialog(box, ExportDialog, dir.filePath("NewMap.png"));

    EXPECT_EQ(box.windowTitle(), "Export Image");
    EXPECT_EQ(box.nameFilters(),
              (QStringList{"PNG images (*.png)", "Bitmaps (*.BMP)", "All Files (*)"}));
    EXPECT_EQ(Accepting(dir.filePath("first")), dir.filePath("first.png"));
    // As when the user picks a filter in the box's list.
    emit box.filterSelected("Bitmaps (*.BMP)");
    EXPECT_EQ(Accepting(dir.filePath("second")), dir.filePath("second.BMP"));
    emit box.filterSelected("All Files (*)");
    EXPECT_EQ(Accepting(dir.filePath("third")), dir.filePath("third.png"));
    emit box.filterSelected("PNG images (*.png)");
    EXPECT_EQ(Accepting(dir.filePath("fourth.BMP")), dir.filePath("fourth.BMP"));
}

TEST_F(FileDialogSetUp, ATypedNameWithAnExtensionKeepsIt)
{
    SetUpFileDialog(box, SaveDialog, "NewMap");

    EXPECT_EQ(Accepting(dir.filePath("desert.map")), dir.filePath("desert.map"));
}

// The editor after its start-up in a game folder of test sheets, driven through the event
// loop so that what a command throws reaches the default error handler.
class MapCommandsWindow : public ::testing::Test {
protected:
    GameFolder game;
    ScriptedPrompts prompts;
    QStringList errors;
    std::unique_ptr<TfrmMain> window;

    void SetUp() override
    {
        WriteTestSheets(game.SpritesDir());
        SetExceptionDisplay([this](const QString& text) { errors << text; });
        window = std::make_unique<TfrmMain>();
        frmMain = window.get();
    }

    void TearDown() override
    {
        window.reset();
        FreeSpriteLibrary();
        SetExceptionDisplay(nullptr);
    }

    void StartEditor()
    {
        ::StartEditor();
        prompts.Warnings.clear();
    }

    // As a menu entry or button is chosen: through the event loop.
    void Choose(const char* name)
    {
        QObject* control = window->findChild<QObject*>(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        if (auto* action = qobject_cast<QAction*>(control))
            QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(qobject_cast<QPushButton*>(control), &QPushButton::click,
                                      Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }

    QString MapPath(const QString& name) const { return QDir(game.EditorDir()).filePath(name); }

    static QRgb GroundShown(int x, int y) { return MapImage().pixel(GroundPixel(x, y)); }

    static QByteArray GridBytes()
    {
        return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid};
    }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void ExpectNoErrorAndDefaultCursor()
    {
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
};

TEST_F(MapCommandsWindow, SaveNewAndLoadBringTheMapBack)
{
    StartEditor();
    Cell(5, 5).Ground = 7;
    MapModified = true;
    const QByteArray edited = GridBytes();
    const QString path = MapPath("desert.KVX");

    prompts.AnswerFileDialog(path);
    Choose("Save1");
    EXPECT_EQ(ReadAll(path), edited);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + path);
    EXPECT_EQ(prompts.Informations, QStringList{"Map saved as " + path});

    Choose("NewMap1");
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_EQ(GroundShown(5, 5), GroundColour(0).rgb());
    EXPECT_TRUE(prompts.Questions.isEmpty());

    // New is a step away from the saved map, so Load asks before it goes.
    prompts.AnswerYesNo(true);
    prompts.AnswerFileDialog(path);
    Choose("LoadMap1");
    EXPECT_EQ(prompts.Questions,
              QStringList{"Are you sure you want to load a map and discard this one?"});
    EXPECT_EQ(prompts.DialogFileNames, (QStringList{"NewMap", ""}));
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + path);
    EXPECT_EQ(GroundShown(5, 5), GroundColour(7).rgb());
    EXPECT_FALSE(MapModified);
    ExpectNoErrorAndDefaultCursor();
}

TEST_F(MapCommandsWindow, NoToTheQuestionsKeepsTheEditedMap)
{
    StartEditor();
    Cell(2, 2).Ground = 4;
    MapModified = true;
    MapName = MapPath("kept.KVX");
    UpdateCaption();
    const QByteArray edited = GridBytes();
    for (int i = 0; i < 3; ++i)
        prompts.AnswerYesNo(false);

    Choose("NewMap1");
    Choose("Randommap1");
    Choose("LoadMap1");

    EXPECT_EQ(prompts.Questions,
              (QStringList{"Are you sure you want to clear the map and start over?",
                           "Are you sure you abandon this map and create a random one?",
                           "Are you sure you want to load a map and discard this one?"}));
    EXPECT_TRUE(prompts.DialogTitles.isEmpty());
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + MapPath("kept.KVX"));
}

TEST_F(MapCommandsWindow, RandomMapAndClearActWithoutAQuestionWhenNothingIsUnsaved)
{
    StartEditor();

    Choose("Randommap1");
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : Random");
    MapModified = true;
    Choose("cmdClear");

    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_TRUE(MapModified) << "the clean map is unsaved until it is saved";
    ExpectNoErrorAndDefaultCursor();
}

TEST_F(MapCommandsWindow, FailedSaveAndLoadShowTheErrorAndChangeNothing)
{
    StartEditor();
    Cell(3, 3).Ground = 2;
    MapModified = true;
    const QByteArray edited = GridBytes();
    const QString unwritable = MapPath("no such folder/desert.KVX");
    const QString tooShort = MapPath("short.KVX");
    QFile file(tooShort);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100, '\x01'));
    file.close();

    prompts.AnswerFileDialog(unwritable);
    Choose("Save1");
    prompts.AnswerYesNo(true);
    prompts.AnswerFileDialog(tooShort);
    Choose("LoadMap1");

    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].contains(unwritable)) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].contains(tooShort)) << errors[1].toStdString();
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_EQ(GroundShown(3, 3), GroundColour(0).rgb());
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MapCommandsWindow, WriteBmpPutsTheMapImageIntoTheFile)
{
    StartEditor();
    const QString path = MapPath("NewMap.BMP");
    prompts.AnswerFileDialog(path);

    Choose("WriteBMP1");

    EXPECT_EQ(prompts.DialogTitles, QStringList{"Write Bitmap File"});
    EXPECT_EQ(prompts.DialogFileNames, QStringList{"NewMap.BMP"});
    EXPECT_EQ(prompts.Informations, QStringList{"BMP image " + path + " created"});
    const QImage written(path, "BMP");
    EXPECT_EQ(written.size(), QSize(MapImageWidth, MapImageHeight));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), MapImage());
    ExpectNoErrorAndDefaultCursor();
}

TEST_F(MapCommandsWindow, ExportImageFollowsWriteBmpAndWritesAPng)
{
    const QList<QAction*> files = window->findChild<QMenu*>("Files1")->actions();
    const auto at = [this, &files](const char* name) {
        return files.indexOf(window->findChild<QAction*>(QString::fromLatin1(name)));
    };
    const QAction* entry = window->findChild<QAction*>("ExportImage1");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(at("ExportImage1"), at("WriteBMP1") + 1);
    EXPECT_EQ(entry->text(), "E&xport image...");
    EXPECT_EQ(ActionHint(entry), "Saves the current map as a PNG or BMP image");
    // Alt+F then E must still exit at once: no other entry may take Exit's letter.
    const QAction* exit = window->findChild<QAction*>("Quit1");
    for (const QAction* action : files) {
        const qsizetype amp = action->text().indexOf('&');
        if (action != exit && amp >= 0) {
            EXPECT_NE(action->text().mid(amp + 1, 1).toUpper(), "E")
                << action->text().toStdString();
        }
    }

    // The command itself is ExportImageCommand's, tested with the map output.
    StartEditor();
    prompts.AnswerFileDialog(MapPath("map.png"));
    Choose("ExportImage1");
    EXPECT_EQ(QImage(MapPath("map.png"), "PNG").convertToFormat(QImage::Format_RGB32), MapImage());
    ExpectNoErrorAndDefaultCursor();
}

// Export image is the picture of the map itself, as gridcrafter-render draws it: without the
// cursor mark of editing mode and the mechs of a showcase, which the view keeps. Write BMP
// takes the view's picture as it is.
TEST_F(MapCommandsWindow, ExportImageDrawsTheMapWithoutTheCursorMarkOrTheShowcase)
{
    StartEditor();
    Choose("cmdEdit");
    Choose("cmdFill");
    const QImage shown = MapImage().copy();
    const QStringList exported{MapPath("map.png"), MapPath("map.bmp")};
    for (const QString& path : exported) {
        prompts.AnswerFileDialog(path);
        Choose("ExportImage1");
    }
    prompts.AnswerFileDialog(MapPath("view.BMP"));
    Choose("WriteBMP1");
    ExpectNoErrorAndDefaultCursor();
    EXPECT_EQ(MapImage(), shown) << "the view lost its cursor mark or its mechs";
    EXPECT_EQ(QImage(MapPath("view.BMP")).convertToFormat(QImage::Format_RGB32), shown);

    RedrawMap();
    ASSERT_NE(MapImage(), shown);
    for (const QString& path : exported)
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), MapImage())
            << path.toStdString();
}

TEST_F(MapCommandsWindow, AnUncreatableBitmapIsReportedWithoutTheNotice)
{
    StartEditor();
    const QString path = MapPath("no such folder/map.BMP");
    prompts.AnswerFileDialog(path);

    Choose("WriteBMP1");

    EXPECT_EQ(errors, QStringList{"Cannot create file " + path + ": " + qt_error_string(ENOENT)});
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The page of a PDF at 72 dpi as pdftoppm sees it; a null image without the tool.
QImage RenderPdfPage(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable("pdftoppm");
    if (tool.isEmpty())
        return {};
    const QString prefix = pdf + "-page";
    if (QProcess::execute(tool, {"-png", "-r", "72", "-singlefile", pdf, prefix}) != 0)
        return {};
    return QImage(prefix + ".png");
}

TEST_F(MapCommandsWindow, PrintingToAPdfFilePutsTheMapInsideTheMargins)
{
    StartEditor();
    const QString pdf = MapPath("map.pdf");
    QPrinter& printer = CurrentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(false);
    prompts.AnswerPrintDialog(false);
    Choose("Print1");
    EXPECT_FALSE(QFile::exists(pdf));

    prompts.AnswerPrintDialog(true);
    Choose("Print1");

    ExpectNoErrorAndDefaultCursor();
    ASSERT_TRUE(ReadAll(pdf).startsWith("%PDF"));
    const QImage page = RenderPdfPage(pdf);
    if (page.isNull())
        GTEST_SKIP() << "pdftoppm is not available";
    // One inch and the printable margin in from the top left: white, then the map.
    const QRect area = printer.pageLayout().paintRectPoints();
    EXPECT_EQ(page.pixelColor(area.left() + 36, area.top() + 36), QColor(Qt::white));
    EXPECT_NE(page.pixelColor(area.left() + 80, area.top() + 80), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(area.right() - 36, area.top() + 80), QColor(Qt::white));
}

TEST_F(MapCommandsWindow, DrawingCommandsWaitForTheSpritesAndReloadRecovers)
{
    const QString mechs = QDir(game.SpritesDir()).filePath("MECHS.BMP");
    ASSERT_TRUE(QFile::rename(mechs, mechs + ".away"));
    CursorX = 0;  // as at process start
    EXPECT_THROW(::StartEditor(), GcError);

    Choose("cmdTest");
    Choose("WriteBMP1");
    EXPECT_TRUE(prompts.Informations.isEmpty()) << "refused in the hint panel, without a box";
    EXPECT_TRUE(prompts.DialogTitles.isEmpty());

    ASSERT_TRUE(QFile::rename(mechs + ".away", mechs));
    Cell(6, 6).Ground = 5;
    MapModified = true;
    Choose("cmdReload");

    EXPECT_TRUE(SpriteLibraryReady());
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_EQ(GroundShown(6, 6), GroundColour(0).rgb());
    Choose("cmdFill");
    EXPECT_TRUE(prompts.Informations.isEmpty());
    // Editing goes on from the first cell, not from a cursor the failed start never placed.
    Choose("cmdEdit");
    char key = 'n';
    window->FormKeyPress(key);
    EXPECT_EQ(CursorX, 1);
    EXPECT_EQ(CursorY, 1);
    EXPECT_EQ(Cell(1, 1).Mines, 10);
    ExpectNoErrorAndDefaultCursor();
}

TEST_F(MapCommandsWindow, AFailedReloadLeavesTheMapAndTheDefaultCursor)
{
    StartEditor();
    Cell(6, 6).Ground = 5;
    MapModified = true;
    ASSERT_TRUE(QFile::remove(QDir(game.SpritesDir()).filePath("GROUND.BMP")));

    Choose("Reloadtiles1");

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("GROUND.BMP")) << errors[0].toStdString();
    EXPECT_EQ(Cell(6, 6).Ground, 5);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The commands go on drawing with the sets as the failed load left them.
    Choose("cmdEdit");
    char key = '6';
    window->FormKeyPress(key);
    key = 'c';
    window->FormKeyPress(key);
    EXPECT_EQ(Cell(2, 1).Ground, 4);
    EXPECT_EQ(GroundShown(2, 1), GroundColour(4).rgb());
    Choose("cmdFill");
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(prompts.Informations.isEmpty());
}

// Maps from outside the dialogs: dropped on the window, or chosen from Files, Recent maps.
class OpeningMapsWindow : public MapCommandsWindow {
protected:
    void SetUp() override
    {
        MapCommandsWindow::SetUp();
        StartEditor();
    }

    // A map file whose cell (x, y) has the ground code.
    QString MapWith(const QString& name, int x, int y, std::uint8_t ground) const
    {
        const QByteArray kept = GridBytes();
        ClearMap();
        Cell(x, y).Ground = ground;
        QString path = MapPath(name);
        WriteMapFile(path);
        std::memcpy(&MapGrid, kept.constData(), sizeof MapGrid);
        return path;
    }

    static QMimeData* Files(const QList<QUrl>& urls)
    {
        auto* data = new QMimeData;
        data->setUrls(urls);
        return data;
    }

    // Drags data over the window and drops it there, as a file manager does; whether the
    // window took it.
    bool Drop(QMimeData* data)
    {
        const std::unique_ptr<QMimeData> owned(data);
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        QDropEvent drop(QPointF(300, 200), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QCoreApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();
        return enter.isAccepted() && drop.isAccepted();
    }

    QMenu* RecentMenu() const { return window->findChild<QMenu*>("Recentmaps1"); }

    QStringList RecentEntries() const
    {
        QStringList texts;
        for (const QAction* entry : RecentMenu()->actions())
            texts << entry->text();
        return texts;
    }

    void ChooseRecent(int index)
    {
        QMetaObject::invokeMethod(RecentMenu()->actions().at(index), &QAction::trigger,
                                  Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
};

TEST_F(OpeningMapsWindow, ADroppedFileLoadsAsLoadLoadsIt)
{
    const QString path = MapWith("dropped.KVX", 4, 4, 9);
    Cell(2, 2).Ground = 5;
    MapModified = true;

    prompts.AnswerYesNo(false);
    EXPECT_TRUE(Drop(Files({QUrl::fromLocalFile(path)})));
    EXPECT_EQ(Cell(2, 2).Ground, 5) << "No keeps the edited map";
    EXPECT_TRUE(MapModified);

    prompts.AnswerYesNo(true);
    EXPECT_TRUE(Drop(Files({QUrl::fromLocalFile(path)})));
    EXPECT_EQ(prompts.Questions,
              QStringList(2, "Are you sure you want to load a map and discard this one?"));
    EXPECT_TRUE(prompts.DialogTitles.isEmpty());
    EXPECT_EQ(Cell(4, 4).Ground, 9);
    EXPECT_EQ(GroundShown(4, 4), GroundColour(9).rgb());
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + path);
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(RecentEntries(), QStringList{"&1 dropped.KVX"});
    ExpectNoErrorAndDefaultCursor();
}

TEST_F(OpeningMapsWindow, OnlyOneLocalFileIsTakenAndNoMapShowsItsErrorAsLoadWould)
{
    const QString map = MapWith("a.KVX", 1, 1, 3);
    auto* text = new QMimeData;
    text->setText(map);
    EXPECT_FALSE(Drop(text));
    EXPECT_FALSE(
        Drop(Files({QUrl::fromLocalFile(map), QUrl::fromLocalFile(MapWith("b.KVX", 1, 1, 4))})));
    EXPECT_FALSE(Drop(Files({QUrl("https://example.org/a.KVX")})));
    EXPECT_FALSE(Drop(Files({QUrl::fromLocalFile(game.EditorDir())})));
    EXPECT_EQ(Cell(1, 1).Ground, 0);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_TRUE(errors.isEmpty());

    const QString notAMap = MapPath("notes.txt");
    QFile file(notAMap);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a map");
    file.close();
    EXPECT_TRUE(Drop(Files({QUrl::fromLocalFile(notAMap)})));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(notAMap)) << errors[0].toStdString();
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : NewMap");
    EXPECT_TRUE(RecentEntries().isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(RecentMapList, NewestFirstEachFileOnceAndEightAtMost)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.KVX");
    QStringList list = WithRecentMap({}, a);
    list = WithRecentMap(list, dir.filePath("b.KVX"));
    EXPECT_EQ(list, QStringList({dir.filePath("b.KVX"), a}));
    // The same file by another name moves to the front under the name used last.
    const QString again = dir.path() + "/./sub/../a.KVX";
    EXPECT_EQ(WithRecentMap(list, again), QStringList({again, dir.filePath("b.KVX")}));
    for (int i = 0; i < 10; ++i)
        list = WithRecentMap(list, dir.filePath(QStringLiteral("%1.KVX").arg(i)));
    EXPECT_EQ(list.size(), RecentMapCount);
    EXPECT_EQ(list.front(), dir.filePath("9.KVX"));
    EXPECT_EQ(list.back(), dir.filePath("2.KVX"));
}

TEST_F(OpeningMapsWindow, RecentMapsListsWhatWasLoadedOrSavedWithTheFullPathAsHint)
{
    EXPECT_FALSE(RecentMenu()->menuAction()->isEnabled()) << "nothing loaded or saved yet";
    const QString odd = MapWith("a&b|c.KVX", 1, 1, 2);
    const QString saved = MapPath("saved.KVX");

    window->OpenMap(odd);
    prompts.AnswerFileDialog(saved);
    Choose("Save1");
    prompts.AnswerFileDialog(odd);
    Choose("LoadMap1");

    EXPECT_TRUE(RecentMenu()->menuAction()->isEnabled());
    EXPECT_EQ(RecentEntries(), QStringList({"&1 a&&b|c.KVX", "&2 saved.KVX"}));
    EXPECT_EQ(GetLongHint(ActionHint(RecentMenu()->actions().at(0))), odd);
    EXPECT_EQ(GetLongHint(ActionHint(RecentMenu()->menuAction())),
              "Load one of the maps loaded or saved lately");
    ExpectNoErrorAndDefaultCursor();
}

TEST_F(OpeningMapsWindow, ChoosingARecentMapLoadsItOrDropsItWithAWarningWhenItIsGone)
{
    const QString kept = MapWith("kept.KVX", 6, 6, 8);
    const QString gone = MapWith("gone.KVX", 6, 6, 9);
    window->OpenMap(kept);
    window->OpenMap(gone);
    ClearMap();
    ASSERT_TRUE(QFile::remove(gone));
    Cell(1, 1).Ground = 1;
    MapModified = true;

    ChooseRecent(0);
    EXPECT_EQ(prompts.Warnings,
              QStringList{"The map file " + gone +
                          " is no longer there; it was taken off the recent maps."});
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(RecentEntries(), QStringList{"&1 kept.KVX"});
    EXPECT_EQ(Cell(1, 1).Ground, 1);
    EXPECT_TRUE(MapModified);

    prompts.AnswerYesNo(true);
    ChooseRecent(0);
    EXPECT_EQ(prompts.Questions,
              QStringList{"Are you sure you want to load a map and discard this one?"});
    EXPECT_EQ(Cell(6, 6).Ground, 8);
    EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + kept);
    EXPECT_EQ(RecentEntries(), QStringList{"&1 kept.KVX"});
    ExpectNoErrorAndDefaultCursor();
}

}  // namespace
