// LoadSettings over arbitrary bytes as the game's ..\Korvane.INI. Beyond not crashing, every
// file must read without an error (nothing is written while the file exists), warn at most
// about its version, and, once the defaults are written into it, read back as the defaults
// without a warning: the writer and the reader must agree on where a key lives.

#include "fuzz/FuzzGame.h"
#include "platform/Profile.h"
#include "settings/Settings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString settingsPath = FuzzGameRoot() + QStringLiteral("/Korvane.INI");
    WriteFuzzFile(settingsPath, data, size);
    SilentPrompts prompts;
    InstallPrompts(&prompts);

    LoadSettings();
    FuzzCheck(prompts.Warnings <= 1, "more than the version warning");
    FuzzCheck(SpriteDir.size() <= ProfileValueLimit, "sprite folder longer than a profile value");

    WriteDefaultSettings();
    prompts.Warnings = 0;
    LoadSettings();
    FuzzCheck(prompts.Warnings == 0, "defaults written into the file still warn");
    FuzzCheck(EffectSpriteCount == 5 && MechSpriteCount == 4 && GroundSpriteCount == 16,
              "defaults written into the file read back as other counts");
    FuzzCheck(SpriteDir == QStringLiteral("..\\Sprites\\"),
              "the default sprite folder written into the file reads back otherwise");

    InstallPrompts(nullptr);
    return 0;
}
