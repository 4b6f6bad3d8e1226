// The main window's map, showcase, reload, print and bitmap commands, chosen as the user
// chooses them, and the Qt dialogs behind the prompts.

#include "app/Application.h"
#include "app/Main.h"
#include "app/MessagePrompts.h"
#include "core/MapModel.h"
#include "platform/Errors.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapPrint.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "tests/app/TestSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
        window->StartEditor();
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

    static QByteArray GridBytes() { return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid}; }

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
    EXPECT_EQ(prompts.Questions, QStringList{"Are you sure you want to load a map and discard this one?"});
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

TEST_F(MapCommandsWindow, AnUncreatableBitmapIsReportedWithoutTheNotice)
{
    StartEditor();
    const QString path = MapPath("no such folder/map.BMP");
    prompts.AnswerFileDialog(path);

    Choose("WriteBMP1");

    EXPECT_EQ(errors, QStringList{"Cannot create file " + path});
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
    EXPECT_THROW(window->StartEditor(), GcError);

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

}  // namespace
