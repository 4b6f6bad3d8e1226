// gridcrafter-check run as a user runs it: in a game's editor folder, and in a plain folder.

#include "core/Catalogue.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "core/MapTurns.h"
#include "tests/core/QtPrinters.h"
#include "tests/support/GameFolder.h"
#include "tests/tools/ToolRun.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <random>

namespace {

class CheckTool : public ::testing::Test {
protected:
    void SetUp() override { ClearMap(); }

    ToolRun Check(const QStringList& arguments, const QString& folder) const
    {
        return RunTool(QStringLiteral(GC_CHECK_TOOL), arguments, folder);
    }
    ToolRun Check(const QStringList& arguments) const { return Check(arguments, game.EditorDir()); }

    // MapGrid as the editor writes it, under name in the editor's folder.
    QString WriteMap(const QString& name) const
    {
        QString path = Path(name);
        WriteMapFile(path);
        return path;
    }

    QString WriteBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    }

    QByteArray MapBytes() const
    {
        return {reinterpret_cast<const char*>(&MapGrid), sizeof(MapGrid)};
    }

    QString Path(const QString& name) const { return QDir(game.EditorDir()).filePath(name); }

    GameFolder game;
};

QStringList Lines(const QString& text) { return text.split(QChar('\n'), Qt::SkipEmptyParts); }

TEST_F(CheckTool, ACleanMapHasNoFindings)
{
    Cell(5, 9).Height = 6;
    Cell(5, 9).Ground = tcCratered;
    Cell(5, 9).Mines = 255;
    Cell(5, 9).Overlays = {1, 1, 1, 1, 1};
    const QString map = WriteMap("clean.kvx");

    const ToolRun run = Check({map});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("1 file checked: 0 findings, 0 files not read\n"));
    EXPECT_TRUE(run.err.isEmpty());
}

TEST_F(CheckTool, NamesEachFaultOfACellOnALineOfItsOwn)
{
    Cell(1, 1).Height = 7;
    Cell(1, 2).Height = -1;
    Cell(2, 1).Ground = 16;
    Cell(32, 32).Overlays.Fire = 2;
    Cell(32, 32).Overlays.River = 255;
    Cell(3, 4).X = 4;
    Cell(3, 4).Y = 3;
    const QString map = WriteMap("faulty.kvx");

    const ToolRun run = Check({map});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        Lines(run.out),
        QStringList({map + ": (1,1): height 7 is outside 0 to 6",
                     map + ": (1,2): height -1 is outside 0 to 6",
                     map + ": (2,1): ground code 16 is past 15",
                     map + ": (3,4): X and Y bytes name (4,3), not the cell's own place",
                     map + ": (32,32): Fire flag is 2, not 0 or 1: the editor cannot clear it",
                     map + ": (32,32): River flag is 255, not 0 or 1: the editor cannot clear it",
                     "1 file checked: 6 findings, 0 files not read"}));
}

TEST_F(CheckTool, TheGameSettingsLimitTheGroundCodesWithoutBeingTouched)
{
    const QByteArray settings = QByteArrayLiteral("[SpriteAmount]\r\nGroundSprites=$C\r\n");
    game.WriteSettings(settings);
    const QDateTime written = QFileInfo(game.SettingsPath()).lastModified();
    Cell(1, 1).Ground = 11;
    Cell(1, 2).Ground = 12;
    Cell(1, 3).Ground = 16;
    const QString map = WriteMap("ground.kvx");

    const ToolRun inGame = Check({map});
    EXPECT_EQ(inGame.exitCode, 1);
    EXPECT_EQ(
        Lines(inGame.out),
        QStringList(
            {map + ": (1,2): ground code 12 is at or past GroundSprites=12 of ..\\Korvane.INI",
             map + ": (1,3): ground code 16 is past 15",
             "1 file checked: 2 findings, 0 files not read"}));
    EXPECT_EQ(game.ReadSettings(), settings);
    EXPECT_EQ(QFileInfo(game.SettingsPath()).lastModified(), written);

    // Outside a game only the sixteen terrains count.
    QTemporaryDir plain;
    EXPECT_EQ(Lines(Check({map}, plain.path()).out).size(), 2);
}

TEST_F(CheckTool, AGameFolderWithoutSettingsGetsNone)
{
    ASSERT_FALSE(QFile::exists(game.SettingsPath()));
    Cell(1, 1).Ground = 15;
    EXPECT_EQ(Check({WriteMap("map.kvx")}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(game.SettingsPath()));
    EXPECT_EQ(QDir(game.Root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"Gridcrafter", "Sprites"}));
}

TEST_F(CheckTool, AShortFileIsAFindingAndALongOneIsCheckedAsFar)
{
    const QString shortMap = WriteBytes("short.kvx", MapBytes().left(20479));
    const QString empty = WriteBytes("empty.kvx", QByteArray());
    Cell(7, 7).Height = 9;
    const QString longMap = WriteBytes("long.kvx", MapBytes() + QByteArray(1, '\x07'));

    const ToolRun run = Check({shortMap, empty, longMap});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        Lines(run.out),
        QStringList(
            {shortMap +
                 ": holds 20479 bytes, a map file holds 20480: the editor and the game refuse it",
             empty + ": holds 0 bytes, a map file holds 20480: the editor and the game refuse it",
             longMap +
                 ": holds 20481 bytes, a map file holds 20480: the bytes past them are ignored",
             longMap + ": (7,7): height 9 is outside 0 to 6",
             "3 files checked: 4 findings, 0 files not read"}));
}

TEST_F(CheckTool, AFileThatCannotBeReadIsNamedAndTheOthersAreStillChecked)
{
    const QString missing = Path("missing.kvx");
    Cell(2, 2).Height = 8;
    const QString faulty = WriteMap("faulty.kvx");

    const ToolRun run = Check({missing, faulty, game.EditorDir()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(Lines(run.out), QStringList({faulty + ": (2,2): height 8 is outside 0 to 6",
                                           "3 files checked: 1 finding, 2 files not read"}));
    const QStringList errors = Lines(run.err);
    ASSERT_EQ(errors.size(), 2) << run.err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("gridcrafter-check: ") && errors[0].contains(missing));
    EXPECT_TRUE(errors[1].contains(game.EditorDir()) && errors[1].contains("not a file"));
}

TEST_F(CheckTool, AnswersHelpAndVersionAndRefusesWrongArguments)
{
    const ToolRun help = Check({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: gridcrafter-check")) << help.out.toStdString();
    EXPECT_EQ(Check({QStringLiteral("--version")}).out, QStringLiteral("gridcrafter-check 2.0\n"));

    for (const QStringList& wrong : {QStringList(), QStringList({"--fix", WriteMap("map.kvx")})}) {
        const ToolRun run = Check(wrong);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("Usage: gridcrafter-check")) << run.err.toStdString();
    }
    // After "--" a name that looks like an option is a file.
    const QString dashed = WriteMap("--odd.kvx");
    EXPECT_EQ(Check({QStringLiteral("--"), QStringLiteral("--odd.kvx")}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(dashed));
}

TEST_F(CheckTool, TheSymmetryReportNamesEachPairThatDiffersAndCountsBothHalves)
{
    Cell(3, 5).Ground = tcLightWoods;
    Cell(3, 5).Height = 3;
    Cell(30, 28).Overlays.Road = 1;
    Cell(16, 1).Mines = 10;
    Cell(17, 32).Mines = 10;
    Cell(20, 20).Ground = 40;
    const QString map = WriteMap("unfair.kvx");

    const ToolRun run = Check({"--symmetry", map});

    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2 + 1 + 16 + 1 + 5 + 3 + 1) << run.out.toStdString();
    EXPECT_EQ(lines[0], map +
                            ": (3,5) and (30,28) differ: Height 3 and 0, Ground 2 (Light Woods) "
                            "and 0 (Grass), Road 0 and 1");
    EXPECT_EQ(lines[1], map + ": (13,13) and (20,20) differ: Ground 0 (Grass) and 40 (Unknown)");
    EXPECT_EQ(lines[2], map + ":                          west (1-16)  east (17-32)");
    EXPECT_EQ(lines[3], map + ": Grass                            511           511");
    EXPECT_EQ(lines[5], map + ": Light Woods                        1             0");
    EXPECT_EQ(lines[19], map + ": Ground 40                          0             1");
    EXPECT_EQ(lines[23], map + ": Road                               0             1");
    EXPECT_EQ(lines[25], map + ": Mined hexes                        1             1");
    EXPECT_EQ(lines[26], map + ": Mines                             10            10");
    EXPECT_EQ(lines[27], map + ": Sum of heights                     3             0");
    EXPECT_EQ(lines.last(), "1 file checked: 1 not point-symmetric, 0 files not read");
    EXPECT_TRUE(run.err.isEmpty());
}

TEST_F(CheckTool, AMapMadeSymmetricHasNothingToReportAndAnUnreadableFileEndsWithTwo)
{
    std::mt19937 random(81);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            Cell(x, y).Ground = static_cast<std::uint8_t>(random() % 16);
            Cell(x, y).Height = static_cast<std::int32_t>(random() % 7);
            Cell(x, y).Overlays.River = static_cast<std::uint8_t>(random() % 2);
        }
    MakeMapSymmetric();
    const QString fair = WriteMap("fair.kvx");

    const ToolRun run = Check({"--symmetry", fair});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    const QStringList lines = Lines(run.out);
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains("differ")) << line.toStdString();
    EXPECT_EQ(lines.last(), "1 file checked: 0 not point-symmetric, 0 files not read");
    EXPECT_EQ(Check({fair}).exitCode, 0) << "every cell names its own place";

    const QString shortMap = WriteBytes("short.kvx", MapBytes().left(100));
    const ToolRun unread = Check({"--symmetry", shortMap, fair});
    EXPECT_EQ(unread.exitCode, 2);
    EXPECT_TRUE(unread.err.contains(shortMap)) << unread.err.toStdString();
    EXPECT_EQ(Lines(unread.out).last(), "2 files checked: 0 not point-symmetric, 1 file not read");
}

}  // namespace
