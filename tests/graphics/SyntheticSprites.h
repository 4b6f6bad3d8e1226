#pragma once
// Sprites of one solid colour each, so the middle pixel of a hex tells which sprite of which
// set was drawn there: put straight into the sets, or written as sheets of a game folder.

#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "tests/graphics/SyntheticSheets.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <vector>

namespace synthetic {

inline QRgb MechColour(int n, int d) { return qRgb(200, 10 * n, 30 * d); }
inline QRgb RoadColour(int n, int d) { return qRgb(20 + n, 150, 30 * d); }
inline QRgb GroundColour(int code) { return qRgb(0, 100 + code, 0); }

inline bool Everywhere(int, int) { return true; }

// Mech n of facing d and the road pieces as solid cells; the other sets empty.
inline void FillSetsInMemory(int mechs)
{
    FreeSpriteLibrary();
    const QImage opaque = MaskCell(Everywhere);
    for (std::size_t d = 1; d <= 6; ++d) {
        const int facing = static_cast<int>(d);
        for (int n = 0; n < mechs; ++n)
            AddSprite(MechSets[d], SolidCell(MechColour(n, facing)), opaque);
        for (int n = 0; n < 2; ++n)
            AddSprite(RoadSets[d], SolidCell(RoadColour(n, facing)), opaque);
    }
}

// The middle pixel of hex (x, y) on the map image.
inline QRgb HexMiddle(int x, int y)
{
    const PixelPoint at = HexToPixel(x, y);
    return MapImage().pixel(at.px + 33, at.py + 19);
}

inline void ClearMapImage() { MapImage().fill(Qt::black); }

// The map image's left half in left, its right half in right: where each lands shows a stretch.
inline void PaintHalves(QRgb left, QRgb right)
{
    QImage& image = MapImage();
    const int half = image.width() / 2;
    image.fill(right);
    for (int y = 0; y < image.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), half, left);
}

// count opaque sprites coloured by colour(i).
template <typename Colour>
std::vector<SheetSprite> SolidSprites(int count, Colour colour)
{
    std::vector<SheetSprite> sprites;
    sprites.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        sprites.push_back(SolidSprite(colour(i), Everywhere));
    return sprites;
}

// Sheets whose facing-1 mechs and ground tiles have the colours above; heights are grey.
inline SpriteSheets ShowcaseSheets(int mechs)
{
    const auto grey = [](int i) { return qRgb(90 + i, 90, 90); };
    const std::vector<SheetSprite> heights = SolidSprites(7, grey);
    std::vector<QImage> heightImages;
    heightImages.reserve(heights.size());
    for (const SheetSprite& sprite : heights)
        heightImages.push_back(sprite.Image);
    return {HeightSheet(MaskCell(Everywhere), heightImages),
            PairSheet(SolidSprites(5, grey)),
            PairSheet(SolidSprites(16, GroundColour)),
            PairSheet(SolidSprites(mechs, [](int n) { return MechColour(n, 1); })),
            PairSheet(SolidSprites(2, [](int n) { return RoadColour(n, 1); })),
            PairSheet(SolidSprites(2, [](int n) { return RoadColour(n, 1); }))};
}

// A settings file of this version with the given mech count and the default sprite folder.
inline QByteArray Settings(int mechs)
{
    return QByteArrayLiteral(
               "[General]\r\nVersion=v2\xDF\r\n[SpriteAmount]\r\nEffectSprites=5\r\n") +
           "MechSprites=" + QByteArray::number(mechs) +
           "\r\nGroundSprites=16\r\n[Directories]\r\nSprites=..\\Sprites\\\r\n";
}

}  // namespace synthetic
