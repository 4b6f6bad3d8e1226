#pragma once
// Reading the sprite sheets and cutting them into sprite sets: pair sheets of a mask cell and
// its image cell, four pairs to a row; the heights sheet of one shared mask and seven images;
// turned sheets whose cells also make the other five facings.

#include "graphics/SpriteDrawing.h"
#include "platform/Errors.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

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

// The images of the heights sheet, and the steps the progress takes for each sheet kind.
inline constexpr int HeightSheetImages = 7;
inline constexpr int TurnedFacings = 5;

// A 66 by 38 RGB32 cell, all white.
QImage WhiteCell();

// The 66 by 38 rectangle of sheet at (left, top); where it lies outside the sheet it is
// white, which a mask reads as transparent.
QImage CutCell(const QImage& sheet, int left, int top);

// Adds image (a 66 by 38 cell) with its mask cell: white in the mask is transparent.
void AddSprite(SpriteSet& set, const QImage& image, const QImage& mask);

// The sheet at path (Windows-style) as an RGB32 image. Throws SpriteSheetError.
QImage ReadSheet(const QString& path);

// Each cutter empties its sets first and steps progress (when given) once a sprite.
// The heights sheet into set; baseTile becomes a plain copy of height image 0.
void CutHeightSheet(const QImage& sheet, SpriteSet& set, QImage& baseTile,
                    SpriteProgress* progress);
// The first count pairs of sheet into set. Pairs on rows that begin below the sheet are left
// out (their indexes draw nothing) but counted on the progress, so that it ends full.
void CutPlainSheet(const QImage& sheet, std::int32_t count, SpriteSet& set,
                   SpriteProgress* progress);
// As CutPlainSheet into sets[1], each cell also turned into facings 2 to 6 (nudged toward
// their edge for joins), one step a turned cell.
void CutTurnedSheet(const QImage& sheet, std::int32_t count, std::array<SpriteSet, 7>& sets,
                    bool nudge, SpriteProgress* progress);
