// gridcrafter-render run as a user runs it, in the editor's directory of a game folder.

#include "graphics/BoxScaler.h"
#include "graphics/HexGeometry.h"
#include "tests/graphics/BoxReference.h"
#include "tests/graphics/SyntheticSheets.h"
#include "tests/support/GameFolder.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

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

    // Started in the game's editor folder, or in from; with dataHome as XDG_DATA_HOME where
    // given, so that the user's own game folder is one of the test's.
    ToolRun Render(const QStringList& arguments, const QString& from = QString(),
                   const QString& dataHome = QString()) const
    {
        QProcess process;
        process.setWorkingDirectory(from.isEmpty() ? game.EditorDir() : from);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           dataHome.isEmpty() ? QStringLiteral("/nonexistent") : dataHome);
        process.setProcessEnvironment(environment);
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
    // A thumbnail at full size has the picture's own pixels; a batch draws as one map does.
    QDir().mkpath(Path("batch"));
    ASSERT_EQ(
        Render({"--hide", "fire", "--size", "1590", Path("map.kvx"), Path("thumb.png")}).exitCode,
        0);
    ASSERT_EQ(Render({"--hide", "fire", "--out-dir", Path("batch"), Path("map.kvx")}).exitCode, 0);
    for (const char* made : {"thumb.png", "batch/map.png"}) {
        QImage noFire;
        ASSERT_TRUE(noFire.load(Path(made), "PNG")) << made;
        EXPECT_EQ(middle(noFire, 5, 5), ground) << made;
        EXPECT_EQ(middle(noFire, 6, 6), middle(all, 6, 6)) << made;
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

// Every file below folder, with its bytes.
QMap<QString, QByteArray> Contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(file.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return files;
}

// Outside a game's editor folder, as a file manager starts it: the user's own game folder when
// there is one, else the sheets installed beside the tool, writing nothing but the picture and
// saying nothing. With --game it works there; a folder that is no game is refused.
TEST_F(RenderTool,
       OutsideAGameItUsesTheUsersGameOrTheInstalledSheetsWritesOnlyTheImageAndSaysNothing)
{
    QTemporaryDir elsewhere;
    const QString above = elsewhere.filePath(QStringLiteral("above"));
    const QString start = above + QStringLiteral("/start");
    ASSERT_TRUE(QDir().mkpath(start));
    const QString map = WriteMap("map.kvx");
    const QString data = elsewhere.filePath(QStringLiteral("data"));
    const QString userGame = data + QStringLiteral("/gridcrafter/game");

    // No game folder of the user's: the installed sheets, the default settings.
    const ToolRun installed = Render({map, QStringLiteral("out.bmp")}, start, data);
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    EXPECT_EQ(installed.err, QString());
    QImage picture;
    ASSERT_TRUE(picture.load(start + QStringLiteral("/out.bmp"), "BMP"));
    const PixelPoint second = HexToPixel(2, 1);
    const QRgb installedGround = picture.pixel(second.px + 33, second.py + 19);
    EXPECT_NE(installedGround, qRgb(60, 30, 100)) << "drawn from the test's sheets";
    EXPECT_EQ(QDir(above).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"start"}));
    EXPECT_EQ(QDir(start).entryList(QDir::Files), QStringList({"out.bmp"}));
    EXPECT_FALSE(QFileInfo::exists(data));

    // The user's game folder, laid out by the editor with sheets of its own but no settings
    // file yet: its sheets, and nothing written there.
    ASSERT_TRUE(QDir().mkpath(userGame + QStringLiteral("/Gridcrafter")));
    ASSERT_TRUE(QDir().mkpath(userGame + QStringLiteral("/Sprites")));
    PlainSheets().WriteTo(userGame + QStringLiteral("/Sprites"));
    const QMap<QString, QByteArray> before = Contents(data);
    const ToolRun own = Render({map, QStringLiteral("own.bmp")}, start, data);
    ASSERT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_EQ(own.err, QString());
    ASSERT_TRUE(picture.load(start + QStringLiteral("/own.bmp"), "BMP"));
    EXPECT_EQ(picture.pixel(second.px + 33, second.py + 19), qRgb(60, 30, 100));
    EXPECT_EQ(Contents(data), before);
    // A settings file of another version is read without a word.
    QFile settings(userGame + QStringLiteral("/Korvane.INI"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[General]\r\nVersion=v1\r\n");
    settings.close();
    const ToolRun oldSettings = Render({map, QStringLiteral("own.png")}, start, data);
    ASSERT_EQ(oldSettings.exitCode, 0) << oldSettings.err.toStdString();
    EXPECT_EQ(oldSettings.err, QString());
    EXPECT_EQ(QDir(start).entryList(QDir::Files), QStringList({"out.bmp", "own.bmp", "own.png"}));
    EXPECT_EQ(QDir(above).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"start"}));

    // A folder that is no game: it has no editor folder, or nothing of a game beside it.
    const QStringList arguments = {map, QStringLiteral("out.bmp")};
    const ToolRun noEditor =
        Render(QStringList{QStringLiteral("--game"), above} + arguments, start);
    EXPECT_EQ(noEditor.exitCode, 2);
    EXPECT_TRUE(noEditor.err.contains(QStringLiteral("Cannot enter ") + above +
                                      QStringLiteral("/Gridcrafter")))
        << noEditor.err.toStdString();
    ASSERT_TRUE(QDir(above).mkdir(QStringLiteral("Gridcrafter")));
    EXPECT_EQ(Render(QStringList{QStringLiteral("--game"), above} + arguments, start).exitCode, 2);
    EXPECT_FALSE(QFile::exists(above + QStringLiteral("/Korvane.INI")));

    const QByteArray gameSettings = game.ReadSettings();
    QFile::remove(start + QStringLiteral("/out.bmp"));
    const ToolRun inGame =
        Render(QStringList{QStringLiteral("--game"), game.Root()} + arguments, start);
    ASSERT_EQ(inGame.exitCode, 0) << inGame.err.toStdString();
    EXPECT_TRUE(QFile::exists(start + QStringLiteral("/out.bmp")))
        << "named from where it was started";
    EXPECT_EQ(game.ReadSettings(), gameSettings);
}

// As a file manager calls a thumbnailer: a size, the map as a URI, the output as a path.
TEST_F(RenderTool, AThumbnailIsTheBoxFilteredPictureAsAPngOfMapsNamedByUris)
{
    const QString folder = Path(QStringLiteral("my maps/é 100%"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString map = folder + QStringLiteral("/Überfall #1.KVX");
    ASSERT_TRUE(QFile::copy(WriteMap("map.kvx"), map));
    ASSERT_EQ(Render({WriteMap("map.kvx"), Path("whole.bmp")}).exitCode, 0);
    QImage whole;
    ASSERT_TRUE(whole.load(Path("whole.bmp"), "BMP"));
    const QString uri = QString::fromLatin1(QUrl::fromLocalFile(map).toEncoded());
    ASSERT_TRUE(uri.contains(QStringLiteral("%20")) && uri.contains(QStringLiteral("%25")) &&
                uri.contains(QStringLiteral("%C3%A9")))
        << uri.toStdString();

    for (const int edge : {16, 256}) {
        const QString out = Path(QStringLiteral("thumb %1 é.out").arg(edge));
        const ToolRun run = Render({QStringLiteral("--size"), QString::number(edge), uri,
                                    QString::fromLatin1(QUrl::fromLocalFile(out).toEncoded())});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, QString());
        QImageReader reader(out);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), "png");
        const QImage thumbnail = reader.read();
        EXPECT_EQ(thumbnail.size(), FitWithin(whole.size(), edge));
        EXPECT_EQ(thumbnail.convertToFormat(QImage::Format_RGB32),
                  BoxReference(whole.convertToFormat(QImage::Format_RGB32), thumbnail.size()));
    }

    for (const QStringList& wrong : {QStringList{"--size", "15", map, Path("t.png")},
                                     {"--size", "1591", map, Path("t.png")},
                                     {"--size", "big", map, Path("t.png")},
                                     {"file://elsewhere/map.kvx", Path("t.png")},
                                     {"--format", "png", map, Path("t.png")}}) {
        const ToolRun run = Render(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Usage: gridcrafter-render")));
    }
    EXPECT_FALSE(QFile::exists(Path("t.png")));
}

// A folder rendered in one run; an unreadable map in the middle is named and the rest go on.
TEST_F(RenderTool, ABatchRendersEveryMapItCanAndNamesTheOthers)
{
    const QString maps = Path(QStringLiteral("maps"));
    const QString out = Path(QStringLiteral("out dir"));
    ASSERT_TRUE(QDir().mkpath(maps) && QDir().mkpath(out));
    const QString clean = WriteMap("clean.KVX");
    QStringList arguments;
    for (const char* name :
         {"a.KVX", "b.KVX", "broken.KVX", "c.d.KVX", "e.KVX", "f.KVX", "g.KVX"}) {
        const QString path = maps + QLatin1Char('/') + QLatin1String(name);
        arguments.append(path);
        if (QLatin1String(name) == QLatin1String("broken.KVX"))
            QFile(path).open(QIODevice::WriteOnly);
        else
            ASSERT_TRUE(QFile::copy(clean, path));
    }
    ASSERT_EQ(Render({clean, Path("clean.bmp")}).exitCode, 0);
    QImage expected;
    ASSERT_TRUE(expected.load(Path("clean.bmp"), "BMP"));
    expected = expected.convertToFormat(QImage::Format_RGB32);

    const ToolRun png = Render(QStringList{"--out-dir", out} + arguments);
    EXPECT_EQ(png.exitCode, 1);
    EXPECT_TRUE(png.err.contains(QStringLiteral("broken.KVX"))) << png.err.toStdString();
    EXPECT_EQ(png.err.count(QChar('\n')), 1) << "no progress line off a terminal";
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              QStringList({"a.png", "b.png", "c.d.png", "e.png", "f.png", "g.png"}));
    for (const QString& name : QDir(out).entryList(QDir::Files))
        EXPECT_EQ(
            QImage(out + QLatin1Char('/') + name, "PNG").convertToFormat(QImage::Format_RGB32),
            expected)
            << name.toStdString();

    ASSERT_TRUE(QDir(out).removeRecursively() && QDir().mkpath(out));
    arguments.removeAt(2);
    const ToolRun thumbnails =
        Render(QStringList{"--format", "BMP", "--size", "100", "--out-dir", out} + arguments);
    EXPECT_EQ(thumbnails.exitCode, 0) << thumbnails.err.toStdString();
    EXPECT_EQ(thumbnails.err, QString());
    QImage thumbnail;
    ASSERT_TRUE(thumbnail.load(out + QStringLiteral("/g.bmp"), "BMP"));
    EXPECT_EQ(thumbnail.convertToFormat(QImage::Format_RGB32),
              BoxReference(expected, FitWithin(expected.size(), 100)));

    const ToolRun missing = Render({"--out-dir", Path("none"), arguments[0]});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(Path("none"))) << missing.err.toStdString();
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
