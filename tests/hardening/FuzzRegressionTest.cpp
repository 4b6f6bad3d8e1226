// Inputs the fuzz targets found, each kept with the fault it showed, cut down to what matters. The
// same inputs lie in fuzz/regressions/, where fuzz/run.sh replays them through the fuzz targets.

#include "Editor.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QtEndian>

namespace {

// Writing the defaults into a file must make it read as the defaults, however it ended.
void ExpectDefaultsReadBackAfterWritingThem(const QByteArray& file)
{
    GameFolder game;
    ScriptedPrompts prompts;
    game.WriteSettings(file);
    LoadSettings();
    WriteDefaultSettings();
    prompts.Warnings.clear();
    LoadSettings();
    EXPECT_TRUE(prompts.Warnings.isEmpty()) << prompts.Warnings.join("|").toStdString();
    EXPECT_EQ(EffectSpriteCount, 5);
    EXPECT_EQ(MechSpriteCount, 4);
    EXPECT_EQ(GroundSpriteCount, 16);
    EXPECT_EQ(SpriteDir, "..\\Sprites\\");
}

// The writer ended the last line with a second carriage return, which the reader kept as
// part of the value: "Version" read "v2\xDF\r" and warned after every start.
TEST(FuzzRegression, SettingsFileEndingInALoneCarriageReturn)
{
    ExpectDefaultsReadBackAfterWritingThem("[General]\r\nVersion=v2\xDF[Gen\r");
    ExpectDefaultsReadBackAfterWritingThem(
        "[General]\r\nVersion=0.9\r\n[SpriteAmount]\r\nMechSprites=9\r");
}

using FuzzRegressionSheets = HostileInput;

// A header's row size times its height overflowed 64 bits while the loader checked that the
// pixel data was all there (undefined behaviour, caught by UBSan): a width of -2^31 at 65535
// bits per pixel, and the largest positive sizes. Such sheets are no valid bitmaps.
TEST_F(FuzzRegressionSheets, SizesWhoseDataLengthOverflows)
{
    game.WriteSettings("[General]\r\nVersion=v2\xDF\r\n");
    const struct {
        qint32 width;
        qint32 height;
        quint16 bitCount;
    } headers[] = {{-2147483647 - 1, 858993459, 65535},
                   {2147483647, 2147483647, 65535},
                   {2147483647, -2147483647 - 1, 32}};
    for (const auto& h : headers) {
        SCOPED_TRACE(h.width);
        WriteSheets();
        QByteArray mechs = BmpFile(MakeTestSheets().Mechs, BmpLayout::Bits24);
        qToLittleEndian(h.width, mechs.data() + 18);
        qToLittleEndian(h.height, mechs.data() + 22);
        qToLittleEndian(h.bitCount, mechs.data() + 28);
        WriteFile(SheetPath("MECHS.BMP"), mechs);
        EXPECT_EQ(StartEditor(), "Bitmap image is not valid");
        EXPECT_EQ(GroundSet.Count(), 16) << "the sheets before the mechs loaded";
        EXPECT_EQ(MechSets[1].Count(), 0);
        FreeSpriteLibrary();
    }
}

}  // namespace
