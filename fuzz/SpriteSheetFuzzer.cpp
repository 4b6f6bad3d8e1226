// The sprite loader over arbitrary bytes as each of the six sheets, with arbitrary counts
// (layout in SheetBundle.h). A load either fails with one of the two messages the user may
// see, or gives sets of 66 by 38 sprites no larger than their counts, every facing set as
// large as facing set 1; every sprite then draws, clipped at the map image's edges.

#include "fuzz/FuzzGame.h"
#include "fuzz/SheetBundle.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Errors.h"
#include "settings/Settings.h"

#include <QImageReader>
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

bool MessageIsForTheUser(const QString& text)
{
    return text == QStringLiteral("Bitmap image is not valid") ||
           text.startsWith(QStringLiteral("Cannot open file ..\\Sprites\\"));
}

void CheckSet(const SpriteSet& set, std::int64_t count)
{
    FuzzCheck(set.Count() <= std::max<std::int64_t>(count, 0), "a set holds more than its count");
    FuzzCheck(set.Runs.size() == set.Images.size(), "a set's runs and images are out of step");
    for (const QImage& image : set.Images)
        FuzzCheck(image.width() == 66 && image.height() == 38, "a sprite is not 66 by 38");
}

void CheckFacings(const std::array<SpriteSet, 7>& sets, std::int64_t count)
{
    for (std::size_t d = 1; d <= 6; ++d) {
        CheckSet(sets[d], count);
        FuzzCheck(sets[d].Count() == sets[1].Count(), "facing sets differ in size");
    }
}

// Every sprite at the map's first and last hex, and once beyond each end of the set.
void DrawAll(const SpriteSet& set)
{
    for (int n = -1; n <= set.Count(); ++n) {
        DrawSprite(set, n, 1, 1);
        DrawSprite(set, n, 32, 32);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The loader refuses sheets beyond MaxSheetBytes, 64 MB as 32-bit pixels; a run-length
    // sheet of a hundred bytes may still unpack to that, and a huge count then cuts and turns
    // every cell of it: seconds under the sanitizers for one input, all of it linear work the
    // fuzzer has nothing to learn from. Qt's own limit of 16 MB, counted in the formats it
    // decodes to (one byte a pixel for palette sheets, four for the others), keeps the sheets
    // here within the loader's cap and mostly well below it; they still hold hundreds of sprites.
    QImageReader::setAllocationLimit(16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString spritesDir = FuzzGameRoot() + QStringLiteral("/Sprites/");
    const SheetBundle bundle = UnpackSheets(data, size);
    for (int i = 0; i < SheetCount; ++i)
        WriteFuzzFile(spritesDir + SheetFileNames[static_cast<std::size_t>(i)],
                      reinterpret_cast<const std::uint8_t*>(
                          bundle.Sheets[static_cast<std::size_t>(i)].constData()),
                      static_cast<std::size_t>(bundle.Sheets[static_cast<std::size_t>(i)].size()));
    EffectSpriteCount = bundle.EffectSprites;
    MechSpriteCount = bundle.MechSprites;
    GroundSpriteCount = bundle.GroundSprites;
    SpriteDir = QStringLiteral("..\\Sprites\\");

    try {
        LoadSpriteLibrary();
    } catch (const GcError& error) {
        FuzzCheck(MessageIsForTheUser(error.Text()), "a sheet failed with another message");
        FuzzCheck(!SpriteLibraryReady(), "a failed load counts as finished");
    }
    if (SpriteLibraryReady()) {
        FuzzCheck(HeightSet.Count() == 7, "the heights sheet did not give seven images");
        CheckSet(EffectSet, EffectSpriteCount);
        CheckSet(GroundSet, GroundSpriteCount);
        CheckFacings(MechSets, MechSpriteCount);
        CheckFacings(RoadSets, 2);
        CheckFacings(RiverSets, 2);
    }
    DrawAll(HeightSet);
    DrawAll(EffectSet);
    DrawAll(GroundSet);
    for (std::size_t d = 1; d <= 6; ++d) {
        DrawAll(MechSets[d]);
        DrawAll(RoadSets[d]);
        DrawAll(RiverSets[d]);
    }
    FreeSpriteLibrary();
    return 0;
}
