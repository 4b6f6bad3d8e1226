// ReadMapFile over files of arbitrary bytes and lengths, then everything the editor does with
// a map it has read: the status bar text of every hex and the whole picture. A file of a
// whole record must land in MapGrid byte for byte; a shorter one must be refused and leave
// MapGrid as it was.

#include "core/Catalogue.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "fuzz/FuzzGame.h"
#include "graphics/MapRenderer.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "tools/sprites/SpriteSheets.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The default sheets, read through the default settings as the editor starts.
    FuzzCheck(WriteSheets(FuzzGameRoot() + QStringLiteral("/Sprites"), DefaultSheets()).isEmpty(),
              "cannot write the default sprite sheets");
    SilentPrompts prompts;
    InstallPrompts(&prompts);
    LoadSettings();
    LoadSpriteLibrary();
    InstallPrompts(nullptr);
    FuzzCheck(SpriteLibraryReady(), "the default sprite sheets did not load");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString mapPath = FuzzGameRoot() + QStringLiteral("/Gridcrafter/Fuzz.KVX");
    WriteFuzzFile(mapPath, data, size);
    const MapGridType before = MapGrid;
    try {
        const qint64 length = ReadMapFile(mapPath);
        FuzzCheck(size >= sizeof(MapGrid), "a short file was read");
        FuzzCheck(length == static_cast<qint64>(size), "the length told is not the file's");
        FuzzCheck(std::memcmp(&MapGrid, data, sizeof(MapGrid)) == 0,
                  "the grid differs from the file's first record");
    } catch (const GcError&) {
        FuzzCheck(size < sizeof(MapGrid), "a whole map file was refused");
        FuzzCheck(std::memcmp(&MapGrid, &before, sizeof(MapGrid)) == 0,
                  "a refused file changed the grid");
    }
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            FuzzCheck(DescribeHex(x, y).startsWith(QStringLiteral("(%1,%2): ").arg(x).arg(y)),
                      "a hex description does not start with its position");
    RedrawMap();
    DrawCursor(1 + static_cast<int>(size % MapSize),
               1 + static_cast<int>(size / MapSize % MapSize));
    return 0;
}
