#pragma once
// The sprite library: the process's one set of sprites cut from the six sheets, in sets
// addressed from index 0, loaded at start-up and on Reload, drawn onto the map image.

#include "graphics/SheetCutting.h"
#include "graphics/SpriteDrawing.h"

#include <QImage>
#include <array>
#include <functional>
#include <memory>

extern SpriteSet HeightSet;
extern SpriteSet EffectSet;
extern SpriteSet GroundSet;
// Facing sets by direction 1 to 6; element 0 is unused.
extern std::array<SpriteSet, 7> MechSets;
extern std::array<SpriteSet, 7> RoadSets;
extern std::array<SpriteSet, 7> RiverSets;
// A plain copy of height image 0, its whole cell.
extern QImage BaseTile;

// Makes the loading window for LoadSpriteLibrary; without a factory no progress is shown.
void SetSpriteProgressFactory(std::function<std::unique_ptr<SpriteProgress>()> factory);

// The progress bar's maximum for the present counts: 7 + effects + ground + 5 per mech + 20,
// counted in 64 bits and clamped to int; a count below 0 adds nothing.
int SpriteProgressMaximum();

// Shows the loading window, creates the sets and BaseTile, loads the sheets.
void LoadSpriteLibrary();
// As LoadSpriteLibrary, without the loading window and without the mech sheet, which only
// the showcases draw: for tools that draw maps alone. MechSets stay empty.
void LoadMapSprites();
// Refills the sets from the sheets named by the settings; throws GcError on a bad sheet.
void LoadSpriteSheets();
void FreeSpriteLibrary();
// Whether the sets exist and a load of them has ever finished.
bool SpriteLibraryReady();

// Image n of set at hex (x, y) on the map image, and on the view's own picture while layers
// are hidden (ViewImage), as the cursor mark and the showcases draw; an index the set lacks
// draws nothing.
void DrawSprite(const SpriteSet& set, int n, int x, int y);
// Image n of set at hex (x, y) on picture, of the map image's size, and the change noted for
// the view (NoteViewChange).
void DrawSpriteOn(QImage& picture, const SpriteSet& set, int n, int x, int y);
