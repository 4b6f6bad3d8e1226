#include "settings/Settings.h"

#include "platform/Errors.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

namespace {

const QByteArray DefaultFile =
    "[General]\r\nVersion=v2\xDF\r\n\r\n"
    "[SpriteAmount]\r\nEffectSprites=5\r\nMechSprites=4\r\nGroundSprites=16\r\n\r\n"
    "[Directories]\r\nSprites=..\\Sprites\\\r\nAudio=..\\Audio\\Default\\\r\n";
const QString SharpS = QString(QChar(0xDF));

QString MismatchText(const QString& version)
{
    return "INI file version mismatch detected (INI file is version " + version +
           ")!\rBetter have a look at ..\\Korvane.INI";
}

// Records whether the settings file already existed when each warning was shown.
class OrderCheckingPrompts : public ScriptedPrompts {
public:
    explicit OrderCheckingPrompts(const GameFolder& game) : game_(game) {}
    void Warning(const QString& text) override
    {
        FileExistedAtWarning.append(QFile::exists(game_.SettingsPath()));
        ScriptedPrompts::Warning(text);
    }
    QList<bool> FileExistedAtWarning;

private:
    const GameFolder& game_;
};

class SettingsTest : public ::testing::Test {
protected:
    // Values no load would produce, so every test sees which ones a load set.
    void SetUp() override
    {
        EffectSpriteCount = -101;
        MechSpriteCount = -102;
        GroundSpriteCount = -103;
        SpriteDir = "untouched";
    }

    // A file with the right version and the given SpriteAmount and Directories lines.
    void WriteCurrentFile(const QByteArray& spriteAmount, const QByteArray& directories = "") const
    {
        game.WriteSettings("[General]\r\nVersion=v2\xDF\r\n[SpriteAmount]\r\n" + spriteAmount +
                           "\r\n[Directories]\r\n" + directories + "\r\n");
    }

    void ExpectValuesUntouched() const
    {
        EXPECT_EQ(EffectSpriteCount, -101);
        EXPECT_EQ(MechSpriteCount, -102);
        EXPECT_EQ(GroundSpriteCount, -103);
        EXPECT_EQ(SpriteDir, "untouched");
    }

    GameFolder game;
    ScriptedPrompts prompts;
};

QString ErrorOfLoad()
{
    try {
        LoadSettings();
    } catch (const GcError& error) {
        return error.Text();
    }
    return QString();
}

}  // namespace

TEST_F(SettingsTest, MissingFileWarnsFirstThenWritesTheDefaults)
{
    OrderCheckingPrompts ordered(game);
    LoadSettings();
    EXPECT_EQ(ordered.Warnings, QStringList{"..\\Korvane.INI not found, default one created."});
    EXPECT_EQ(ordered.FileExistedAtWarning, QList<bool>{false});
    EXPECT_EQ(game.ReadSettings(), DefaultFile);
    EXPECT_EQ(EffectSpriteCount, 5);
    EXPECT_EQ(MechSpriteCount, 4);
    EXPECT_EQ(GroundSpriteCount, 16);
    EXPECT_EQ(SpriteDir, "..\\Sprites\\");
}

TEST_F(SettingsTest, AFileNamedInAnotherLetterCaseIsUsed)
{
    QFile file(game.Root() + "/korvane.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nVersion=v2\xDF\n[SpriteAmount]\nMechSprites=7\n");
    file.close();
    LoadSettings();
    EXPECT_TRUE(prompts.Warnings.isEmpty());
    EXPECT_EQ(MechSpriteCount, 7);
    EXPECT_FALSE(QFile::exists(game.SettingsPath()));
}

TEST_F(SettingsTest, AnotherVersionWarnsAndTheRestIsStillUsed)
{
    struct Case {
        QByteArray written;
        QString shown;
    };
    const Case cases[] = {
        {"Version=v2\r\n", "v2"},
        {"Version=V2\xDF\r\n", "V2" + SharpS},
        {"Version=v2ss\r\n", "v2ss"},
        {"Version=\r\n", ""},
        {"", "0.0"},
        {"version = \"v2\xDF \"\r\n", "v2" + SharpS + " "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written.toStdString());
        prompts.Warnings.clear();
        GroundSpriteCount = -103;
        game.WriteSettings("[General]\r\n" + c.written + "[SpriteAmount]\r\nGroundSprites=12\r\n");
        LoadSettings();
        EXPECT_EQ(prompts.Warnings, QStringList{MismatchText(c.shown)});
        EXPECT_EQ(GroundSpriteCount, 12);
    }
}

TEST_F(SettingsTest, TheVersionWarningSplitsItsSentencesWithALoneCarriageReturn)
{
    game.WriteSettings("[General]\r\nVersion=1.0\r\n");
    LoadSettings();
    ASSERT_EQ(prompts.Warnings.size(), 1);
    const QStringList lines = prompts.Warnings[0].split(QChar('\r'));
    EXPECT_EQ(lines, (QStringList{"INI file version mismatch detected (INI file is version 1.0)!",
                                  "Better have a look at ..\\Korvane.INI"}));
    EXPECT_FALSE(prompts.Warnings[0].contains(QChar('\n')));
}

TEST_F(SettingsTest, IntegerSpellingsInTheFile)
{
    struct Case {
        QByteArray value;
        std::int32_t expected;
    };
    // EffectSprites defaults to 5, so a fallback shows as 5.
    const Case cases[] = {
        {"0x10", 16},
        {"0X10", 16},
        {"$10", 16},
        {"$1f", 31},
        {"\" 16\"", 16},
        {"16abc", 5},
        {"", 5},
        {"2147483648", 5},
        {"-1", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"+7", 7},
        {"0x", 5},
        {"0x1G", 5},
        {"-$10", 5},
        {"$", 5},
        {"\" 0x10\"", 5},
        {"1 6", 5},
        {"$FFFFFFFF", -1},
        {"$100000000", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EffectSpriteCount = -101;
        WriteCurrentFile("EffectSprites=" + c.value);
        LoadSettings();
        EXPECT_EQ(EffectSpriteCount, c.expected);
    }
    EXPECT_TRUE(prompts.Warnings.isEmpty());
}

TEST(ParseSettingsInteger, BlanksLeadButNeverTrail)
{
    EXPECT_EQ(ParseSettingsInteger(" 16"), 16);
    EXPECT_EQ(ParseSettingsInteger("\t -16"), -16);
    EXPECT_EQ(ParseSettingsInteger("  $Ab"), 0xAB);
    EXPECT_EQ(ParseSettingsInteger("16 "), std::nullopt);
    EXPECT_EQ(ParseSettingsInteger("- 16"), std::nullopt);
    EXPECT_EQ(ParseSettingsInteger(" "), std::nullopt);
    EXPECT_EQ(ParseSettingsInteger("-"), std::nullopt);
    EXPECT_EQ(ParseSettingsInteger("99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseSettingsInteger("00000000000000000012"), 12);
}

TEST_F(SettingsTest, MissingKeysUseTheDefaultsAndNothingIsWrittenBack)
{
    const QByteArray sparse = "[General]\nVersion=v2\xDF\n";
    game.WriteSettings(sparse);
    LoadSettings();
    EXPECT_EQ(EffectSpriteCount, 5);
    EXPECT_EQ(MechSpriteCount, 4);
    EXPECT_EQ(GroundSpriteCount, 16);
    EXPECT_EQ(SpriteDir, "..\\Sprites\\");
    EXPECT_TRUE(prompts.Warnings.isEmpty());
    EXPECT_EQ(game.ReadSettings(), sparse);
}

TEST_F(SettingsTest, SectionsAndKeysMatchInAnyLetterCase)
{
    game.WriteSettings(
        "[GENERAL]\nversion=v2\xDF\n[spriteamount]\neffectsprites=9\nMECHSPRITES=8\n"
        "groundSprites=7\n[directories]\nSPRITES=C:\\Game\\Art\\\n");
    LoadSettings();
    EXPECT_TRUE(prompts.Warnings.isEmpty());
    EXPECT_EQ(EffectSpriteCount, 9);
    EXPECT_EQ(MechSpriteCount, 8);
    EXPECT_EQ(GroundSpriteCount, 7);
    EXPECT_EQ(SpriteDir, "C:\\Game\\Art\\");
}

TEST_F(SettingsTest, SpriteDirectoryText)
{
    WriteCurrentFile("", "Sprites=");
    LoadSettings();
    EXPECT_EQ(SpriteDir, "");

    WriteCurrentFile("", "Sprites=..\\Gr\xFC\xDF\x80\\");
    LoadSettings();
    EXPECT_EQ(SpriteDir, QString::fromUtf16(u"..\\Gr\u00FC\u00DF\u20AC\\"));

    WriteCurrentFile("", "Sprites=" + QByteArray(2000, 'd'));
    LoadSettings();
    EXPECT_EQ(SpriteDir, QString(1023, QChar('d')));
}

TEST_F(SettingsTest, LoadingTwiceGivesTheSameValuesAndNoMessage)
{
    WriteCurrentFile("EffectSprites=6\r\nMechSprites=3\r\nGroundSprites=14", "Sprites=..\\Art\\");
    const QByteArray before = game.ReadSettings();
    LoadSettings();
    LoadSettings();
    EXPECT_TRUE(prompts.Warnings.isEmpty());
    EXPECT_EQ(EffectSpriteCount, 6);
    EXPECT_EQ(MechSpriteCount, 3);
    EXPECT_EQ(GroundSpriteCount, 14);
    EXPECT_EQ(SpriteDir, "..\\Art\\");
    EXPECT_EQ(game.ReadSettings(), before);
}

TEST_F(SettingsTest, ASecondLoadTakesChangesToTheFile)
{
    WriteCurrentFile("MechSprites=3");
    LoadSettings();
    WriteCurrentFile("MechSprites=9");
    LoadSettings();
    EXPECT_EQ(MechSpriteCount, 9);
}

TEST_F(SettingsTest, DefaultsThatCannotBeWrittenStopTheLoad)
{
    // A folder where the file belongs: no settings file, and no way to write one (even as root).
    ASSERT_TRUE(QDir(game.Root()).mkdir("Korvane.INI"));
    EXPECT_EQ(ErrorOfLoad(), "Unable to write to ..\\Korvane.INI");
    EXPECT_EQ(prompts.Warnings, QStringList{"..\\Korvane.INI not found, default one created."});
    ExpectValuesUntouched();
}

TEST_F(SettingsTest, AReadOnlyGameFolderStopsTheLoad)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    ASSERT_TRUE(QFile::setPermissions(game.Root(), QFile::ReadOwner | QFile::ExeOwner));
    const QString error = ErrorOfLoad();
    QFile::setPermissions(game.Root(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(error, "Unable to write to ..\\Korvane.INI");
    EXPECT_EQ(prompts.Warnings, QStringList{"..\\Korvane.INI not found, default one created."});
    EXPECT_FALSE(QFile::exists(game.SettingsPath()));
    ExpectValuesUntouched();
}
