#pragma once
// Sprites as drawn: images with their opaque runs, grouped in sets, copied run by run into
// 32-bit images.

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <optional>
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

// Row y of a 32-bit image as pixels.
inline QRgb* PixelRow(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
inline const QRgb* PixelRow(const QImage& image, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

// The opaque stretches of each row of a premultiplied 66 by 38 sprite whose alpha is 0 or 255.
std::vector<OpaqueRun> OpaqueRuns(const QImage& sprite);

// Whether set holds image n with its runs.
bool Holds(const SpriteSet& set, int n);

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
