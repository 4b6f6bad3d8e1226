// Hostile settings files met at start-up. Each case checks what the user sees (the warnings
// and the start's error, if any), the values the editor goes on with, and that the file on
// disk is exactly as it was: a bad settings file is reported, never repaired behind the
// user's back. The parsing rules themselves are tested in tests/settings and tests/platform.

#include "Editor.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <functional>

namespace {

const QByteArray Header = "[General]\r\nVersion=v2\xDF\r\n";
const QString SharpS = QString(QChar(0xDF));

QString Mismatch(const QString& version)
{
    return "INI file version mismatch detected (INI file is version " + version +
           ")!\rBetter have a look at ..\\Korvane.INI";
}

QByteArray Counts(const QByteArray& value)
{
    return Header + "[SpriteAmount]\r\nEffectSprites=" + value + "\r\nMechSprites=" + value +
           "\r\nGroundSprites=" + value + "\r\n";
}

QByteArray SpriteFolder(const QByteArray& value)
{
    return Header + "[Directories]\r\nSprites=" + value + "\r\n";
}

struct SettingsCase {
    const char* name;
    QByteArray file;
    QStringList warnings;
    // The start's error, or empty when the editor starts.
    QString error;
    std::function<void()> check;
};

void ExpectCounts(std::int32_t effects, std::int32_t mechs, std::int32_t ground)
{
    EXPECT_EQ(EffectSpriteCount, effects);
    EXPECT_EQ(MechSpriteCount, mechs);
    EXPECT_EQ(GroundSpriteCount, ground);
}

void ExpectDefaults()
{
    ExpectCounts(5, 4, 16);
    EXPECT_EQ(SpriteDir, "..\\Sprites\\");
}

// Counts beyond a sheet cut only the cells the sheet reaches; the cells past the last
// sprite are transparent and the real sprites are all there.
void ExpectWholeSheetsOnly()
{
    EXPECT_GE(EffectSet.Count(), 5);
    EXPECT_LE(EffectSet.Count(), 8);
    EXPECT_EQ(GroundSet.Count(), 16);
    EXPECT_EQ(MechSets[6].Count(), 4);
    EXPECT_EQ(EffectSet.Images[4].pixel(33, 19), SpriteColour(1, 4));
    for (int n = 5; n < EffectSet.Count(); ++n)
        EXPECT_TRUE(EffectSet.Runs[static_cast<std::size_t>(n)].empty()) << n;
}

void ExpectNoSpritesFromCountedSheets()
{
    EXPECT_EQ(EffectSet.Count(), 0);
    EXPECT_EQ(GroundSet.Count(), 0);
    EXPECT_EQ(MechSets[1].Count(), 0);
    EXPECT_EQ(HeightSet.Count(), 7);
    EXPECT_EQ(RoadSets[3].Count(), 2);
}

QByteArray Junk(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7919 + i / 3) & 0xFF);
    return bytes;
}

class HostileSettings : public HostileInput {
protected:
    void Run(const SettingsCase& c)
    {
        SCOPED_TRACE(c.name);
        WriteSheets();
        game.WriteSettings(c.file);
        EXPECT_EQ(StartEditor(), c.error);
        EXPECT_EQ(prompts.Warnings, c.warnings);
        EXPECT_EQ(game.ReadSettings(), c.file) << "the settings file was changed";
        if (c.check)
            c.check();
        prompts.Warnings.clear();
        FreeSpriteLibrary();
    }
};

TEST_F(HostileSettings, ContentThatIsNoSettingsFileFallsBackToTheDefaults)
{
    const QByteArray longLine =
        Header + QByteArray(10LL * 1024 * 1024, 'k') + "\r\n[SpriteAmount]\r\nEffectSprites=3\r\n";
    const SettingsCase cases[] = {
        {"empty", "", {Mismatch("0.0")}, "", ExpectDefaults},
        {"binary junk", Junk(64LL * 1024), {Mismatch("0.0")}, "", ExpectDefaults},
        {"a line of 10 MB before the counts", longLine, {}, "", [] { ExpectCounts(3, 4, 16); }},
        {"only line ends", QByteArray(100000, '\n'), {Mismatch("0.0")}, "", ExpectDefaults},
        {"a NUL inside the version",
         QByteArray("[General]\r\nVersion=v2\0\xDF\r\n", 25),
         {Mismatch(QStringLiteral("v2") + QChar(0) + SharpS)},
         "",
         ExpectDefaults},
    };
    for (const SettingsCase& c : cases)
        Run(c);
}

TEST_F(HostileSettings, CountsBeyondAnySheetNeitherOverflowNorHang)
{
    const SettingsCase cases[] = {
        {"-1", Counts("-1"), {}, "", ExpectNoSpritesFromCountedSheets},
        {"0", Counts("0"), {}, "", ExpectNoSpritesFromCountedSheets},
        {"-2147483648", Counts("-2147483648"), {}, "", ExpectNoSpritesFromCountedSheets},
        {"2147483647", Counts("2147483647"), {}, "", ExpectWholeSheetsOnly},
        {"0x7FFFFFFF", Counts("0x7FFFFFFF"), {}, "", ExpectWholeSheetsOnly},
        {"$FFFFFFFF", Counts("$FFFFFFFF"), {}, "", ExpectNoSpritesFromCountedSheets},
        {"99999999999", Counts("99999999999"), {}, "", [] { ExpectCounts(5, 4, 16); }},
    };
    for (const SettingsCase& c : cases) {
        Run(c);
        EXPECT_GT(SpriteProgressMaximum(), 0) << c.name;
    }
}

TEST_F(HostileSettings, ASpriteFolderThatCannotHoldSheetsIsNamedInTheMessage)
{
    ASSERT_TRUE(QDir(game.Root()).mkpath("Art"));
    WriteFile(game.Root() + "/NotAFolder", "plain file");
    const QByteArray longFolder(2000, 'd');
    // Not even the heights load when their sheet cannot be opened.
    const auto nothingLoaded = [] {
        EXPECT_FALSE(SpriteLibraryReady());
        EXPECT_EQ(HeightSet.Count(), 0);
    };
    const SettingsCase cases[] = {
        {"missing folder",
         SpriteFolder("..\\Nowhere\\"),
         {},
         "Cannot open file ..\\Nowhere\\Height.BMP",
         nothingLoaded},
        {"a file",
         SpriteFolder("..\\NotAFolder\\"),
         {},
         "Cannot open file ..\\NotAFolder\\Height.BMP",
         nothingLoaded},
        {"a folder without sheets",
         SpriteFolder("..\\Art\\"),
         {},
         "Cannot open file ..\\Art\\Height.BMP",
         nothingLoaded},
        {"climbing out of every folder",
         SpriteFolder("..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x\\"),
         {},
         "Cannot open file ..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x\\Height.BMP",
         nothingLoaded},
        {"2000 characters",
         SpriteFolder(longFolder),
         {},
         "Cannot open file " + QString(1023, QChar('d')) + "Height.BMP",
         nothingLoaded},
        {"nothing but blanks",
         SpriteFolder("   "),
         {},
         "Cannot open file Height.BMP",
         nothingLoaded},
    };
    for (const SettingsCase& c : cases)
        Run(c);
}

TEST_F(HostileSettings, DotDotInsideTheSpriteFolderIsFollowed)
{
    Run({"a detour", SpriteFolder("..\\Gridcrafter\\..\\sprites\\.\\"), {}, "", [] {
             EXPECT_TRUE(SpriteLibraryReady());
             EXPECT_EQ(GroundSet.Images[15].pixel(33, 19), SpriteColour(2, 15));
         }});
}

// The only case that writes: the defaults appear, after the warning, and the start goes on.
TEST_F(HostileSettings, AMissingFileIsCreatedAndTheEditorStarts)
{
    WriteSheets();
    QFile::remove(game.SettingsPath());
    EXPECT_EQ(StartEditor(), "");
    EXPECT_EQ(prompts.Warnings, QStringList{"..\\Korvane.INI not found, default one created."});
    EXPECT_TRUE(game.ReadSettings().contains("Version=v2\xDF"));
    EXPECT_TRUE(SpriteLibraryReady());
}

// A folder where the settings file should be: the defaults cannot be written, and the user
// reads why; nothing is created and the sprites are not loaded.
TEST_F(HostileSettings, AFolderNamedLikeTheSettingsFileStopsTheStart)
{
    WriteSheets();
    QFile::remove(game.SettingsPath());
    ASSERT_TRUE(QDir(game.Root()).mkdir("Korvane.INI"));
    EXPECT_EQ(StartEditor(), "Unable to write to ..\\Korvane.INI");
    EXPECT_EQ(prompts.Warnings, QStringList{"..\\Korvane.INI not found, default one created."});
    EXPECT_TRUE(QFileInfo(game.SettingsPath()).isDir());
    EXPECT_FALSE(SpriteLibraryReady());
}

}  // namespace
