// Runs gridcrafter-sprites into a temporary folder and checks the sheets it writes the way
// the sprite loader will cut them.

#include "graphics/HexGeometry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace {

constexpr int EffectCount = 5;
constexpr int GroundCount = 16;
constexpr int MechCount = 4;
constexpr int JoinCount = 2;

struct RunResult {
    int exitCode;
    QString out;
    QString err;
};

RunResult RunTool(const QStringList& arguments, const QString& workingDirectory = QString())
{
    QProcess tool;
    tool.setWorkingDirectory(workingDirectory);
    tool.start(QStringLiteral(GC_SPRITES_TOOL), arguments);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
            QString::fromLocal8Bit(tool.readAllStandardError())};
}

bool IsWhite(QRgb pixel)
{
    return qRed(pixel) == 255 && qGreen(pixel) == 255 && qBlue(pixel) == 255;
}

QImage Cell(const QImage& sheet, int left, int top)
{
    return sheet.copy(left, top, SpriteWidth, SpriteHeight);
}
QImage MaskCell(const QImage& sheet, int i) { return Cell(sheet, 134 * (i % 4), 39 * (i / 4)); }
QImage ImageCell(const QImage& sheet, int i)
{
    return Cell(sheet, 134 * (i % 4) + 67, 39 * (i / 4));
}

int CountPixels(const std::function<bool(int, int)>& holds)
{
    int count = 0;
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            count += holds(a, b) ? 1 : 0;
    return count;
}

bool Shown(const QImage& mask, int a, int b) { return !IsWhite(mask.pixel(a, b)); }

// Where pixel (a, b) lands when its cell is turned clockwise by turns x 60 degrees about (33, 19).
QPoint Turned(int a, int b, int turns)
{
    const double angle = turns * std::numbers::pi / 3;
    const double dx = a - 33;
    const double dy = b - 19;
    return {static_cast<int>(std::lround(33 + dx * std::cos(angle) - dy * std::sin(angle))),
            static_cast<int>(std::lround(19 + dx * std::sin(angle) + dy * std::cos(angle)))};
}

class SpriteSheets : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        ASSERT_TRUE(folder->isValid());
        const RunResult run = RunTool({folder->path()});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        for (const char* name : {"Height", "EFFECTS", "GROUND", "MECHS", "ROAD", "RIVER"})
            sheets[name] = QImage(Path(name), "BMP");
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }
    static QString Path(const std::string& name)
    {
        return folder->filePath(QString::fromStdString(name) + ".BMP");
    }

    static inline QTemporaryDir* folder = nullptr;
    static inline std::map<std::string, QImage> sheets;
};

TEST_F(SpriteSheets, AreUncompressed24BitBitmapsCoveringTheirCells)
{
    const std::map<std::string, int> counts = {{"EFFECTS", EffectCount},
                                               {"GROUND", GroundCount},
                                               {"MECHS", MechCount},
                                               {"ROAD", JoinCount},
                                               {"RIVER", JoinCount}};
    for (const auto& [name, sheet] : sheets) {
        SCOPED_TRACE(name);
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(54);
        ASSERT_EQ(header.size(), 54);
        EXPECT_EQ(header.left(2), QByteArray("BM"));
        EXPECT_EQ(qFromLittleEndian<quint16>(header.constData() + 28), 24);  // bits per pixel
        EXPECT_EQ(qFromLittleEndian<quint32>(header.constData() + 30), 0U);  // no compression
        ASSERT_FALSE(sheet.isNull());
        if (name == "Height") {
            EXPECT_GE(sheet.width(), 67 * 7 + SpriteWidth);
            EXPECT_GE(sheet.height(), SpriteHeight);
            continue;
        }
        const int last = counts.at(name) - 1;
        EXPECT_GE(sheet.width(), 134 * std::min(last, 3) + 67 + SpriteWidth);
        EXPECT_GE(sheet.height(), 39 * (last / 4) + SpriteHeight);
        EXPECT_LE(sheet.width(), 536);
    }
}

TEST_F(SpriteSheets, EveryMaskStaysInsideTheHexagonAndShowsSomething)
{
    const std::map<std::string, int> counts = {{"EFFECTS", EffectCount},
                                               {"GROUND", GroundCount},
                                               {"MECHS", MechCount},
                                               {"ROAD", JoinCount},
                                               {"RIVER", JoinCount}};
    for (const auto& [name, count] : counts) {
        for (int i = 0; i < count; ++i) {
            SCOPED_TRACE(name + " " + std::to_string(i));
            const QImage mask = MaskCell(sheets[name], i);
            EXPECT_EQ(
                CountPixels([&](int a, int b) { return !InsideHex(a, b) && Shown(mask, a, b); }),
                0);
            EXPECT_GT(CountPixels([&](int a, int b) { return Shown(mask, a, b); }), 40);
        }
    }
}

TEST_F(SpriteSheets, HeightMaskIsTheHexagonAndHeightsDifferWhereTheGroundLetsThemShow)
{
    const QImage& heights = sheets["Height"];
    const QImage mask = Cell(heights, 0, 0);
    EXPECT_EQ(CountPixels([&](int a, int b) { return InsideHex(a, b) != Shown(mask, a, b); }), 0);

    // The window: inside the hexagon, transparent in every ground mask.
    const QImage& ground = sheets["GROUND"];
    const auto inWindow = [&](int a, int b) {
        if (!InsideHex(a, b))
            return false;
        for (int i = 0; i < GroundCount; ++i)
            if (Shown(MaskCell(ground, i), a, b))
                return false;
        return true;
    };
    EXPECT_GE(CountPixels(inWindow), 60);
    for (int i = 0; i < GroundCount; ++i) {
        const QImage groundMask = MaskCell(ground, i);
        const int hexagon = CountPixels(InsideHex);
        EXPECT_GT(CountPixels([&](int a, int b) { return Shown(groundMask, a, b); }),
                  hexagon * 85 / 100)
            << i;
    }
    for (int h1 = 0; h1 <= 6; ++h1) {
        for (int h2 = h1 + 1; h2 <= 6; ++h2) {
            const QImage one = Cell(heights, 67 * (h1 + 1), 0);
            const QImage two = Cell(heights, 67 * (h2 + 1), 0);
            EXPECT_GE(CountPixels([&](int a, int b) {
                          return inWindow(a, b) && one.pixel(a, b) != two.pixel(a, b);
                      }),
                      25)
                << "heights " << h1 << " and " << h2 << " look alike in the window";
        }
    }
}

TEST_F(SpriteSheets, GroundTilesAreTellableApart)
{
    const QImage& ground = sheets["GROUND"];
    for (int i = 0; i < GroundCount; ++i) {
        for (int j = i + 1; j < GroundCount; ++j) {
            const QImage one = ImageCell(ground, i);
            const QImage two = ImageCell(ground, j);
            const auto distinct = [&](int a, int b) {
                const QColor p = one.pixelColor(a, b);
                const QColor q = two.pixelColor(a, b);
                return std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                           std::abs(p.blue() - q.blue()) >
                       60;
            };
            EXPECT_GT(CountPixels([&](int a, int b) {
                          return InsideHex(a, b) && a > 12 && distinct(a, b);
                      }),
                      400)
                << "ground " << i << " and " << j;
        }
    }
}

TEST_F(SpriteSheets, CursorIsAnOutlineAndOverlaysLetTheGroundShow)
{
    const QImage& effects = sheets["EFFECTS"];
    const int hexagon = CountPixels(InsideHex);
    const QImage cursor = MaskCell(effects, 0);
    const auto onEdge = [](int a, int b) {
        return InsideHex(a, b) && (!InsideHex(a - 1, b) || !InsideHex(a + 1, b) ||
                                   !InsideHex(a, b - 1) || !InsideHex(a, b + 1));
    };
    EXPECT_EQ(CountPixels([&](int a, int b) { return onEdge(a, b) && !Shown(cursor, a, b); }), 0);
    const auto deepInside = [](int a, int b) {
        for (int d = -4; d <= 4; ++d)
            if (!InsideHex(a + d, b) || !InsideHex(a, b + d) || !InsideHex(a + d, b + d) ||
                !InsideHex(a + d, b - d))
                return false;
        return true;
    };
    EXPECT_EQ(CountPixels([&](int a, int b) { return deepInside(a, b) && Shown(cursor, a, b); }),
              0);
    EXPECT_FALSE(Shown(cursor, 33, 19));

    for (int i = 1; i < EffectCount; ++i) {
        const QImage mask = MaskCell(effects, i);
        EXPECT_LT(CountPixels([&](int a, int b) { return Shown(mask, a, b); }), hexagon * 70 / 100)
            << "effect " << i;
    }
}

TEST_F(SpriteSheets, MechsStayInsideTheHexagonInEveryFacing)
{
    const QImage& mechs = sheets["MECHS"];
    for (int i = 0; i < MechCount; ++i) {
        const QImage mask = MaskCell(mechs, i);
        for (int turns = 1; turns < 6; ++turns) {
            const int outside = CountPixels([&](int a, int b) {
                const QPoint to = Turned(a, b, turns);
                return Shown(mask, a, b) && !InsideHex(to.x(), to.y());
            });
            EXPECT_EQ(outside, 0) << "mech " << i << " turned " << turns * 60 << " degrees";
        }
        for (int j = 0; j < i; ++j) {
            const QImage other = MaskCell(mechs, j);
            EXPECT_GT(
                CountPixels([&](int a, int b) { return Shown(mask, a, b) != Shown(other, a, b); }),
                60)
                << "mechs " << i << " and " << j << " share an outline";
        }
    }
}

TEST_F(SpriteSheets, JoinArmsRunFromTheCentreToTheNorthEdge)
{
    for (const char* name : {"ROAD", "RIVER"}) {
        SCOPED_TRACE(name);
        const QImage arm = MaskCell(sheets[name], 0);
        const QImage hub = MaskCell(sheets[name], 1);
        for (int b = 0; b <= 19; ++b)
            EXPECT_TRUE(Shown(arm, 33, b)) << "row " << b;
        EXPECT_TRUE(Shown(arm, 30, 0) && Shown(arm, 36, 0));
        EXPECT_FALSE(Shown(arm, 33, 30));
        // Symmetric about column 33, so the arm turned half round fits its neighbour's.
        EXPECT_EQ(CountPixels([&](int a, int b) {
                      return a >= 1 && Shown(arm, a, b) != Shown(arm, 66 - a, b);
                  }),
                  0);
        EXPECT_TRUE(Shown(hub, 33, 19));
        EXPECT_FALSE(Shown(hub, 33, 0));
        EXPECT_FALSE(Shown(hub, 33, 37));
    }
}

// Options are no folder names: --version answers, an unknown option is refused, and
// neither creates anything.
TEST(SpritesTool, TakesVersionAndRefusesUnknownOptionsWithoutWritingAFolder)
{
    QTemporaryDir dir;
    const auto run = [&dir](const QStringList& arguments) {
        return RunTool(arguments, dir.path());
    };
    const RunResult version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "gridcrafter-sprites " GC_EXPECTED_VERSION "\n");
    for (const char* option : {"--sheets", "-v"}) {
        const RunResult refused = run({QString::fromLatin1(option)});
        EXPECT_EQ(refused.exitCode, 2) << option;
        EXPECT_TRUE(refused.err.contains("usage: gridcrafter-sprites DIR"))
            << refused.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // A folder whose name begins with a dash, after "--".
    EXPECT_EQ(run({"--", "-sheets"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("-sheets/GROUND.BMP")));
}

TEST(SpritesTool, ExplainsItselfAndNamesTheFileItCannotWrite)
{
    const RunResult help = RunTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("GROUND.BMP"));

    const RunResult bare = RunTool({});
    EXPECT_NE(bare.exitCode, 0);
    EXPECT_TRUE(bare.err.contains("usage"));

    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const RunResult blocked = RunTool({dir.filePath("file")});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.err.contains(dir.filePath("file/Height.BMP"))) << blocked.err.toStdString();
    EXPECT_EQ(blocked.err.count('\n'), 1);
}

}  // namespace
