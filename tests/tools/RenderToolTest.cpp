// gridcrafter-render run as a user runs it, in the editor's directory of a game folder.

#include "graphics/HexGeometry.h"
#include "tests/graphics/SyntheticSheets.h"
#include "tests/support/GameFolder.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

class RenderTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlainSheets().WriteTo(game.SpritesDir());
        game.WriteSettings(QByteArrayLiteral("[General]\r\nVersion=v2\xDF\r\n"));
    }

    // Started in the game's editor folder, or in from.
    ToolRun Render(const QStringList& arguments, const QString& from = QString()) const
    {
        QProcess process;
        process.setWorkingDirectory(from.isEmpty() ? game.EditorDir() : from);
        process.start(QStringLiteral(GC_RENDER_TOOL), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // A clean map file, but hex (2, 1) on ground 3.
    QString WriteMap(const QString& name, qsizetype size = 20480) const
    {
        QByteArray bytes(20480, '\0');
        for (int x = 1; x <= 32; ++x)
            for (int y = 1; y <= 32; ++y) {
                const qsizetype at = (x - 1) * 640 + (y - 1) * 20;
                bytes[at] = static_cast<char>(x);
                bytes[at + 1] = static_cast<char>(y);
            }
        bytes[640 + 8] = 3;
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.left(size));
        return Path(name);
    }

    QString Path(const QString& name) const { return QDir(game.EditorDir()).filePath(name); }
    QString Sheet(const char* name) const { return QDir(game.SpritesDir()).filePath(name); }

    // Fails unless the run failed with one line naming what, and left no output behind.
    void ExpectFailure(const ToolRun& run, const QString& what) const
    {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(what)) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QChar('\n')), 1) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("out.bmp")));
    }

    GameFolder game;
};

TEST_F(RenderTool, WritesTheWholeMapImageAsTheEditorDrawsIt)
{
    ASSERT_TRUE(QFile::remove(game.SettingsPath()));
    const ToolRun run = Render({WriteMap("map.kvx"), Path("out.bmp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // No settings file: the defaults are written, and the warning goes to standard error.
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("..\\Korvane.INI not found, default one created.")));
    EXPECT_TRUE(QFile::exists(game.SettingsPath()));

    QImage image;
    ASSERT_TRUE(image.load(Path("out.bmp"), "BMP"));
    EXPECT_EQ(image.size(), QSize(1590, 1301));
    // The file is the one Qt's writer makes of the picture, at the resolution it declares.
    QFile written(Path("out.bmp"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QByteArray qtBytes;
    QBuffer buffer(&qtBytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"));
    EXPECT_EQ(written.readAll(), qtBytes);
    const PixelPoint first = HexToPixel(1, 1);
    const PixelPoint second = HexToPixel(2, 1);
    EXPECT_EQ(image.pixel(first.px + 33, first.py + 19), qRgb(60, 0, 100));
    EXPECT_EQ(image.pixel(second.px + 33, second.py + 19), qRgb(60, 30, 100));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(RenderTool, AnOutputNamedPngInAnyCaseIsAPngOfTheBitmapsPixels)
{
    const QString map = WriteMap("map.kvx");
    for (const QString& out : {Path("out.bmp"), Path("out.png"), Path("OUT.PNG")}) {
        const ToolRun run = Render({map, out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    QImage bitmap;
    ASSERT_TRUE(bitmap.load(Path("out.bmp"), "BMP"));
    for (const char* name : {"out.png", "OUT.PNG"}) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(8) == QByteArray("\x89PNG\r\n\x1a\n")) << name;
        QImage png;
        ASSERT_TRUE(png.load(Path(name), "PNG")) << name;
        EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
                  bitmap.convertToFormat(QImage::Format_RGB32))
            << name;
    }
}

// --hide leaves the sprites of the layers named out, as View, Show does in the editor: fire on
// hex (5, 5) and smoke on (6, 6) over the plain sheets' ground.
TEST_F(RenderTool, HiddenLayersAreLeftOutOfThePicture)
{
    QFile file(WriteMap("map.kvx"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const auto overlay = [&file](int x, int y, int flag) {
        file.seek((x - 1) * 640 + (y - 1) * 20 + 10 + flag);
        file.write("\x01", 1);
    };
    overlay(5, 5, 0);
    overlay(6, 6, 1);
    file.close();
    const auto middle = [](const QImage& image, int x, int y) {
        const PixelPoint at = HexToPixel(x, y);
        return image.pixel(at.px + 33, at.py + 19);
    };
    QImage all;
    ASSERT_EQ(Render({Path("map.kvx"), Path("all.bmp")}).exitCode, 0);
    ASSERT_TRUE(all.load(Path("all.bmp"), "BMP"));
    const QRgb ground = middle(all, 1, 1);
    ASSERT_NE(middle(all, 5, 5), ground);
    ASSERT_NE(middle(all, 6, 6), ground);

    for (const QStringList& hide : {QStringList{"--hide", "fire"}, QStringList{"--hide=Fire"}}) {
        ASSERT_EQ(Render(hide + QStringList{Path("map.kvx"), Path("nofire.png")}).exitCode, 0);
        QImage noFire;
        ASSERT_TRUE(noFire.load(Path("nofire.png"), "PNG"));
        EXPECT_EQ(middle(noFire, 5, 5), ground);
        EXPECT_EQ(middle(noFire, 6, 6), middle(all, 6, 6));
    }
    ASSERT_EQ(Render({"--hide", "SMOKE,fire", Path("map.kvx"), Path("neither.bmp")}).exitCode, 0);
    QImage neither;
    ASSERT_TRUE(neither.load(Path("neither.bmp"), "BMP"));
    EXPECT_EQ(middle(neither, 5, 5), ground);
    EXPECT_EQ(middle(neither, 6, 6), ground);

    for (const char* wrong : {"lava", "fire,", ""}) {
        const ToolRun run = Render({"--hide", wrong, Path("map.kvx"), Path("out.bmp")});
        EXPECT_EQ(run.exitCode, 2) << wrong;
        EXPECT_TRUE(run.err.contains("--hide names a layer")) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("out.bmp")));
    }
}

TEST_F(RenderTool, SaysWhatItDoes)
{
    const ToolRun run = Render({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("1590 by 1301")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("a PNG image when its name ends in .png")));
    EXPECT_EQ(Render({}).exitCode, 2);
    const ToolRun version = Render({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "gridcrafter-render " GC_EXPECTED_VERSION "\n");
    const ToolRun unknown =
        Render({QStringLiteral("--scale=2"), WriteMap("map.kvx"), Path("out.bmp")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Usage: gridcrafter-render")))
        << unknown.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("out.bmp")));
}

// Outside a game's editor folder it would write a settings file into the folder above: it
// asks for a game folder instead, and with --game it works there.
TEST_F(RenderTool, OutsideAGameFolderItAsksForOneAndWritesNothing)
{
    QTemporaryDir elsewhere;
    const QString above = elsewhere.filePath(QStringLiteral("above"));
    const QString start = above + QStringLiteral("/start");
    ASSERT_TRUE(QDir().mkpath(start));
    const QString map = WriteMap("map.kvx");
    const QStringList arguments = {map, QStringLiteral("out.bmp")};

    const ToolRun outside = Render(arguments, start);
    EXPECT_EQ(outside.exitCode, 2);
    EXPECT_TRUE(outside.err.contains(
        QStringLiteral("must run in <game>/Gridcrafter or be given --game DIR")))
        << outside.err.toStdString();
    EXPECT_EQ(QDir(above).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"start"}));
    EXPECT_TRUE(QDir(start).isEmpty());

    // A folder that is no game: it has no editor folder, or nothing of a game beside it.
    const ToolRun noEditor =
        Render(QStringList{QStringLiteral("--game"), above} + arguments, start);
    EXPECT_EQ(noEditor.exitCode, 2);
    EXPECT_TRUE(noEditor.err.contains(QStringLiteral("Cannot enter ") + above +
                                      QStringLiteral("/Gridcrafter")))
        << noEditor.err.toStdString();
    ASSERT_TRUE(QDir(above).mkdir(QStringLiteral("Gridcrafter")));
    EXPECT_EQ(Render(QStringList{QStringLiteral("--game"), above} + arguments, start).exitCode, 2);
    EXPECT_TRUE(QDir(start).isEmpty());
    EXPECT_FALSE(QFile::exists(above + QStringLiteral("/Korvane.INI")));

    const QByteArray settings = game.ReadSettings();
    const ToolRun inGame =
        Render(QStringList{QStringLiteral("--game"), game.Root()} + arguments, start);
    ASSERT_EQ(inGame.exitCode, 0) << inGame.err.toStdString();
    EXPECT_TRUE(QFile::exists(start + QStringLiteral("/out.bmp")))
        << "named from where it was started";
    EXPECT_EQ(game.ReadSettings(), settings);
}

TEST_F(RenderTool, AMissingOrShortMapIsNamedAndNothingIsWritten)
{
    ExpectFailure(Render({Path("missing.kvx"), Path("out.bmp")}), QStringLiteral("missing.kvx"));
    ExpectFailure(Render({WriteMap("short.kvx", 20479), Path("out.bmp")}),
                  QStringLiteral("short.kvx"));
}

TEST_F(RenderTool, AMissingOrInvalidSheetIsNamedAndNothingIsWritten)
{
    const QString map = WriteMap("map.kvx");
    ASSERT_TRUE(QFile::remove(Sheet("RIVER.BMP")));
    ExpectFailure(Render({map, Path("out.bmp")}),
                  QStringLiteral("Cannot open file ..\\Sprites\\RIVER.BMP"));

    QFile garbage(Sheet("RIVER.BMP"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a bitmap");
    garbage.close();
    ExpectFailure(Render({map, Path("out.bmp")}),
                  QStringLiteral("RIVER.BMP: Bitmap image is not valid"));
}

TEST_F(RenderTool, AnOutputThatIsTheInputIsRefusedAndTheMapKept)
{
    const QString map = WriteMap("map.kvx");
    QFile file(map);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    ASSERT_TRUE(QFile::link(map, Path("link.bmp")));

    for (const QString& out : {map, Path("link.bmp")}) {
        const ToolRun run = Render({map, out});
        EXPECT_EQ(run.exitCode, 1) << out.toStdString();
        EXPECT_TRUE(run.err.contains(out + " is the map file itself")) << run.err.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), bytes) << out.toStdString();
        file.close();
    }
}

TEST_F(RenderTool, AMapFileLongerThanAMapIsDrawnFromItsStartWithANote)
{
    const QString map = WriteMap("long.kvx");
    QFile file(map);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(5, 'x'));
    file.close();

    const ToolRun run = Render({map, Path("out.bmp")});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(map + " holds 20485 bytes; a map file holds 20480. Only the first "
                                       "20480 bytes were read."))
        << run.err.toStdString();
    QImage image;
    ASSERT_TRUE(image.load(Path("out.bmp"), "BMP"));
    const PixelPoint second = HexToPixel(2, 1);
    EXPECT_EQ(image.pixel(second.px + 33, second.py + 19), qRgb(60, 30, 100));
}

TEST_F(RenderTool, AnUnwritableOutputIsNamed)
{
    const QString out = Path("no-such-folder/out.bmp");
    const ToolRun run = Render({WriteMap("map.kvx"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(out)) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
