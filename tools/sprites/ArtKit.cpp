#include "tools/sprites/ArtKit.h"

#include "graphics/HexGeometry.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const QRgb MaskShown = qRgb(0, 0, 0);
const QRgb MaskHidden = qRgb(255, 255, 255);

std::uint32_t Mix(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

QImage BlankCell(QRgb colour)
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB888);
    cell.fill(colour);
    return cell;
}

int ClampChannel(double v) { return std::clamp(static_cast<int>(std::floor(v + 0.5)), 0, 255); }

}  // namespace

bool InHeightWindow(int a, int b)
{
    // The north-west arm, turned and moved to its edge, runs from (25, 19) toward (8, 9), the
    // south-west one toward (8, 29). The corner under the north grid line keeps 7.5 pixels
    // above the first, more than half the widest arm; the west corner 7 below the first and
    // above the second, where the arms part.
    const double aboveNorthWest = 0.5 * (a - 8) + 0.866 * (9 - b);
    const double aboveSouthWest = 0.5 * (8 - a) + 0.866 * (29 - b);
    const bool northCorner = a <= 26 && b <= 8 && aboveNorthWest >= 7.5;
    const bool westCorner = -aboveNorthWest >= 7 && aboveSouthWest >= 7;
    return InsideHex(a, b) && (northCorner || westCorner);
}

bool ClearOfHeightWindow(int a, int b)
{
    for (int db = -1; db <= 1; ++db)
        for (int da = -1; da <= 1; ++da)
            if (InHeightWindow(a + da, b + db))
                return false;
    return true;
}

QImage PaintCell(QColor fill, const std::function<void(QPainter&)>& draw)
{
    QImage art(SpriteWidth, SpriteHeight, QImage::Format_ARGB32_Premultiplied);
    art.fill(fill);
    QPainter painter(&art);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return art;
}

double Noise(int a, int b, unsigned seed)
{
    const std::uint32_t h = Mix(static_cast<std::uint32_t>(a) * 73856093U ^
                                static_cast<std::uint32_t>(b) * 19349663U ^ Mix(seed + 1U));
    return static_cast<double>(h & 0xffffffU) / static_cast<double>(0x1000000U);
}

void Grain(QImage& art, double amount, unsigned seed)
{
    for (int b = 0; b < art.height(); ++b) {
        for (int a = 0; a < art.width(); ++a) {
            const QColor c = QColor::fromRgba(qUnpremultiply(art.pixel(a, b)));
            if (c.alpha() == 0)
                continue;
            const double f = 1.0 + amount * (2.0 * Noise(a, b, seed) - 1.0);
            art.setPixel(a, b,
                         qPremultiply(qRgba(ClampChannel(c.red() * f), ClampChannel(c.green() * f),
                                            ClampChannel(c.blue() * f), c.alpha())));
        }
    }
}

QColor Shade(QColor colour, double factor)
{
    return QColor(ClampChannel(colour.red() * factor), ClampChannel(colour.green() * factor),
                  ClampChannel(colour.blue() * factor), colour.alpha());
}

std::vector<QPointF> Scatter(int count, unsigned seed, int margin)
{
    std::vector<QPointF> points;
    for (unsigned i = 0; static_cast<int>(points.size()) < count && i < 10000U; ++i) {
        const int a = static_cast<int>(Mix(seed * 7919U + i * 2U) % SpriteWidth);
        const int b = static_cast<int>(Mix(seed * 7919U + i * 2U + 1U) % SpriteHeight);
        bool clear = true;
        for (int db = -margin; db <= margin; db += std::max(margin, 1))
            for (int da = -margin; da <= margin; da += std::max(margin, 1))
                clear = clear && InsideHex(a + da, b + db) && ClearOfHeightWindow(a + da, b + db);
        if (clear)
            points.emplace_back(a + 0.5, b + 0.5);
    }
    return points;
}

bool OnHexRim(int a, int b, int width)
{
    if (!InsideHex(a, b))
        return false;
    for (int db = -width; db <= width; ++db)
        for (int da = -width; da <= width; ++da)
            if (!InsideHex(a + da, b + db))
                return true;
    return false;
}

SpriteCells OpaqueCells(const QImage& art, const std::function<bool(int, int)>& shown)
{
    SpriteCells cells{BlankCell(MaskHidden), art.convertToFormat(QImage::Format_RGB888)};
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            if (shown(a, b))
                cells.Mask.setPixel(a, b, MaskShown);
    return cells;
}

SpriteCells OverlayCells(const QImage& art, bool dither)
{
    // Nothing may spill over the edge: a neighbour's hexagon starts right there.
    // Straight (not premultiplied) colours, so antialiased edges keep the colour of the stroke.
    const QImage straight = art.convertToFormat(QImage::Format_ARGB32);
    SpriteCells cells{BlankCell(MaskHidden), BlankCell(MaskHidden)};
    for (int b = 0; b < SpriteHeight; ++b) {
        for (int a = 0; a < SpriteWidth; ++a) {
            const QRgb pixel = straight.pixel(a, b);
            const int alpha = qAlpha(pixel);
            const bool solid = alpha >= (dither ? 170 : 110);
            const bool dithered = dither && alpha >= 60 && (a + b) % 2 == 0;
            if (InsideHex(a, b) && (solid || dithered)) {
                cells.Mask.setPixel(a, b, MaskShown);
                cells.Image.setPixel(a, b, qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
            }
        }
    }
    return cells;
}
