#pragma once
// Sprites cut from the six sheets, with their masks, in sets addressed from index 0.

#include "graphics/BmpReader.h"
#include "platform/Errors.h"

#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// A stretch of opaque pixels in one row of a sprite.
struct OpaqueRun {
    std::uint8_t Row;
    std::uint8_t First;
    std::uint8_t Length;
    bool operator==(const OpaqueRun&) const = default;
};

// An image list of 66 by 38 images. Each image is premultiplied ARGB with its mask as
// alpha (white in the mask cell: transparent), so drawing it is a masked copy. Runs[n]
// lists the opaque pixels of image n row by row, so drawing copies only those; AddSprite
// keeps the two lists in step.
struct SpriteSet {
    std::vector<QImage> Images;
    std::vector<std::vector<OpaqueRun>> Runs;
    int Count() const { return static_cast<int>(Images.size()); }
};

// Adds image (a 66 by 38 cell) with its mask cell: white in the mask is transparent.
void AddSprite(SpriteSet& set, const QImage& image, const QImage& mask);

extern SpriteSet HeightSet;
extern SpriteSet EffectSet;
extern SpriteSet GroundSet;
// Facing sets by direction 1 to 6; element 0 is unused.
extern std::array<SpriteSet, 7> MechSets;
extern std::array<SpriteSet, 7> RoadSets;
extern std::array<SpriteSet, 7> RiverSets;
// A plain copy of height image 0, its whole cell.
extern QImage BaseTile;

// A sheet that cannot be read: the text is the user's ("Cannot open file ...", "Bitmap
// image is not valid"); Path is the sheet's name as the settings make it.
class SpriteSheetError : public GcError {
public:
    SpriteSheetError(const QString& text, const QString& path) : GcError(text), path_(path) {}
    QString Path() const { return path_; }

private:
    QString path_;
};

// Progress of a load as the loading window shows it.
class SpriteProgress {
public:
    virtual ~SpriteProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    // Advances the bar by steps, never past its maximum.
    virtual void Step(int steps) = 0;
};

// Makes the loading window for LoadSpriteLibrary; without a factory no progress is shown.
void SetSpriteProgressFactory(std::function<std::unique_ptr<SpriteProgress>()> factory);

// The progress bar's maximum for the present counts: 7 + effects + ground + 5 per mech + 20,
// counted in 64 bits and clamped to int; a count below 0 adds nothing.
int SpriteProgressMaximum();

// Shows the loading window, creates the sets and BaseTile, loads the sheets.
void LoadSpriteLibrary();
// Refills the sets from the sheets named by the settings; throws GcError on a bad sheet.
void LoadSpriteSheets();
void FreeSpriteLibrary();
// Whether the sets exist and a load of them has ever finished.
bool SpriteLibraryReady();

// Image n of set at hex (x, y) on the map image; an index the set lacks draws nothing.
void DrawSprite(const SpriteSet& set, int n, int x, int y);
// Image Image of *Set.
struct SpriteRef {
    const SpriteSet* Set;
    int Image;
    bool operator==(const SpriteRef&) const = default;
};
// The pictures of sprites drawn in turn at one place, as the one image of a set: the same
// pixels at the cost of one sprite. Images a set lacks add nothing. Finding and making are
// apart, so that the stacks of a whole map can be made on several threads: StackFor finds
// the stack of the sprites, a new and empty one the first time (New), which MakeStack then
// fills; stacks apart may be made at the same time. Kept until the next load or
// ForgetStackedSprites.
struct StackSlot {
    SpriteSet& Stack;
    bool New;
};
StackSlot StackFor(std::span<const SpriteRef> sprites);
void MakeStack(SpriteSet& stack, std::span<const SpriteRef> sprites);
std::size_t StackedSpriteCount();
// Only while no stacked sprite is in use.
void ForgetStackedSprites();
// Image n of set with its top-left corner at topLeft of target.
void DrawSpriteAt(QImage& target, const SpriteSet& set, int n, QPoint topLeft);

// The pixels of a 32-bit image, taken once, so that threads can draw into parts of it that
// do not meet without touching the image object.
struct PixelCanvas {
    uchar* Bits;
    qsizetype Pitch;
    int Width;
    int Height;
};
// Nothing for a format that sprite pixels cannot be copied into as they are.
std::optional<PixelCanvas> CanvasOf(QImage& image);
// A rectangle of pixels, right and bottom exclusive.
struct PixelClip {
    int Left;
    int Top;
    int Right;
    int Bottom;
};
// DrawSpriteAt on a canvas, only into the pixels of clip.
void DrawSpriteClipped(const PixelCanvas& canvas, const SpriteSet& set, int n, QPoint topLeft,
                       const PixelClip& clip);

// The steps of turning a facing, exposed for their exact pixel rules. Cells are 66 by 38
// images of 32 bits per pixel.
void TurnCell(const QImage& source, QImage& destination, float angle);
void NudgeJoinCell(QImage& cell, int d);
void WhitenOutsideHex(QImage& cell);
