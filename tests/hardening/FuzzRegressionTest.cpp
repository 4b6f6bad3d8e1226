// Inputs the fuzz targets found, each kept with the fault it showed. The same inputs lie in
// fuzz/regressions/, where fuzz/run.sh replays them through the fuzz targets.

#include "settings/Settings.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <QByteArray>
#include <gtest/gtest.h>

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
    ExpectDefaultsReadBackAfterWritingThem("[General]\r\nVersion=0.9\r\n[SpriteAmount]\r\nMechSprites=9\r");
}

}  // namespace
