#pragma once
// Sprites cut from the six sheets, with their masks, in sets addressed from index 0.

#include <QImage>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>
#include <vector>

// An image list of 66 by 38 images. Each image is premultiplied ARGB with its mask as
// alpha (white in the mask cell: transparent), so drawing it is a masked copy.
struct SpriteSet {
    std::vector<QImage> Images;
    int Count() const { return static_cast<int>(Images.size()); }
};

extern SpriteSet HeightSet;
extern SpriteSet EffectSet;
extern SpriteSet GroundSet;
// Facing sets by direction 1 to 6; element 0 is unused.
extern std::array<SpriteSet, 7> MechSets;
extern std::array<SpriteSet, 7> RoadSets;
extern std::array<SpriteSet, 7> RiverSets;
// A plain copy of height image 0, its whole cell.
extern QImage BaseTile;

// Progress of a load as the loading window shows it.
class SpriteProgress {
public:
    virtual ~SpriteProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    virtual void Step() = 0;
};

// Makes the loading window for LoadSpriteLibrary; without a factory no progress is shown.
void SetSpriteProgressFactory(std::function<std::unique_ptr<SpriteProgress>()> factory);

// Shows the loading window, creates the sets and BaseTile, loads the sheets.
void LoadSpriteLibrary();
// Refills the sets from the sheets named by the settings; throws GcError on a bad sheet.
void LoadSpriteSheets();
void FreeSpriteLibrary();
// Whether the sets exist and the last load finished.
bool SpriteLibraryReady();

// Image n of set at hex (x, y) on the map image; an index the set lacks draws nothing.
void DrawSprite(const SpriteSet& set, int n, int x, int y);
// Image n of set with its top-left corner at topLeft of target.
void DrawSpriteAt(QImage& target, const SpriteSet& set, int n, QPoint topLeft);

// The steps of turning a facing, exposed for their exact pixel rules.
void TurnCell(const QImage& source, QImage& destination, float angle);
void NudgeJoinCell(QImage& cell, int d);
void WhitenOutsideHex(QImage& cell);
