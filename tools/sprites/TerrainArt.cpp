// Height tiles and the sixteen ground tiles.

#include "graphics/HexGeometry.h"
#include "tools/sprites/SpriteArt.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// 5 by 7 digits 0 to 6, one string per row, '#' set.
const std::array<std::array<const char*, 7>, 7> Digits = {{
    {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "},
    {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "},
    {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"},
    {"#### ", "    #", "    #", " ### ", "    #", "    #", "#### "},
    {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "},
    {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "},
    {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "},
}};

// Low ground dark green, through yellow and brown, to pale high rock.
const std::array<QColor, 7> HeightColours = {QColor(0x2c, 0x55, 0x30), QColor(0x4e, 0x7d, 0x34),
                                             QColor(0x93, 0xa2, 0x3e), QColor(0xc9, 0xa9, 0x52),
                                             QColor(0xa8, 0x6f, 0x3a), QColor(0x7c, 0x5e, 0x50),
                                             QColor(0xe4, 0xe4, 0xe4)};

void PutDigit(QImage& art, int digit, int left, int top, QColor ink)
{
    const auto& rows = Digits[static_cast<std::size_t>(digit)];
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 5; ++c)
            if (rows[static_cast<std::size_t>(r)][c] == '#')
                art.setPixelColor(left + c, top + r, ink);
}

constexpr int DigitLeft = 20;
constexpr int DigitTop = 1;

// How far the pixel lies inside the hexagon's edge, counted as its rows and columns are.
int Inset(int a, int b)
{
    const int fromSlant = std::min(a, SpriteWidth - a) + std::min(b, SpriteHeight + 2 - b) - 19;
    return std::min({b, SpriteHeight - 1 - b, fromSlant});
}

// Contour ring k, for k = 1 to height, is the line of pixels 2k - 1 inside the edge: at the
// west corner, which no ground covers, they count the levels. The digit keeps clear of them.
bool OnContourRing(int a, int b, int height)
{
    const int inset = Inset(a, b);
    const bool byDigit = a >= DigitLeft - 1 && a <= DigitLeft + 5 && b <= DigitTop + 7;
    return InsideHex(a, b) && !byDigit && inset % 2 == 1 && inset < 2 * height;
}

QImage HeightImage(int height)
{
    const QColor base = HeightColours[static_cast<std::size_t>(height)];
    QImage art = PaintCell(base, [](QPainter&) {});
    Grain(art, 0.05, 100U + static_cast<unsigned>(height));
    const bool light = base.lightness() > 110;
    // Contour lines in a deep or a pale shade of the height's own colour, so that no two
    // heights share a pixel of them.
    const QColor contour = Shade(base, light ? 0.45 : 2.0);
    // Light from the north-west: a bright upper rim and a dark lower one give the tile relief.
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            if (OnContourRing(a, b, height))
                art.setPixelColor(a, b, contour);
            else if (OnHexRim(a, b, 1))
                art.setPixelColor(a, b, Shade(base, b < 20 ? 1.25 : 0.7));
    PutDigit(art, height, DigitLeft, DigitTop,
             light ? QColor(0x10, 0x10, 0x10) : QColor(0xff, 0xff, 0xff));
    return art;
}

// Ground art over the hexagon, with a dark seam where it ends at the height window.
SpriteCells GroundCells(QImage art)
{
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            if (InsideHex(a, b) && !InHeightWindow(a, b) && !ClearOfHeightWindow(a, b))
                art.setPixelColor(a, b, Shade(art.pixelColor(a, b), 0.55));
    return OpaqueCells(art, [](int a, int b) { return InsideHex(a, b) && !InHeightWindow(a, b); });
}

QImage Surface(QColor base, double grain, unsigned seed, const std::function<void(QPainter&)>& draw)
{
    QImage art = PaintCell(base, draw);
    Grain(art, grain, seed);
    return art;
}

void Tuft(QPainter& p, QPointF at, QColor colour)
{
    p.setPen(QPen(colour, 1.0));
    p.drawLine(at, at + QPointF(-1.5, -2.5));
    p.drawLine(at, at + QPointF(0.3, -3.0));
    p.drawLine(at, at + QPointF(1.8, -2.2));
}

void Tree(QPainter& p, QPointF at, double radius, QColor crown)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(at + QPointF(1.5, 1.5), radius, radius * 0.85);
    p.setBrush(Shade(crown, 0.75));
    p.drawEllipse(at, radius, radius * 0.85);
    p.setBrush(crown);
    p.drawEllipse(at + QPointF(-0.6, -0.6), radius * 0.8, radius * 0.68);
    p.setBrush(Shade(crown, 1.35));
    p.drawEllipse(at + QPointF(-radius * 0.35, -radius * 0.35), radius * 0.35, radius * 0.3);
}

void Waves(QPainter& p, int count, unsigned seed, QColor colour)
{
    p.setPen(QPen(colour, 1.0));
    p.setBrush(Qt::NoBrush);
    for (const QPointF& at : Scatter(count, seed, 3)) {
        QPainterPath wave(at + QPointF(-4, 0));
        wave.quadTo(at + QPointF(-2, -2), at);
        wave.quadTo(at + QPointF(2, -2), at + QPointF(4, 0));
        p.drawPath(wave);
    }
}

QImage Grass()
{
    return Surface(QColor(0x5a, 0x9a, 0x3c), 0.10, 1U, [](QPainter& p) {
        for (const QPointF& at : Scatter(16, 11U, 2))
            Tuft(p, at, QColor(0x3a, 0x72, 0x28));
        for (const QPointF& at : Scatter(8, 12U, 2))
            Tuft(p, at, QColor(0x8c, 0xc8, 0x5c));
    });
}

QImage Rough()
{
    return Surface(QColor(0x8e, 0x8a, 0x52), 0.16, 2U, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        for (const QPointF& at : Scatter(5, 21U, 4)) {
            p.setBrush(QColor(0x6c, 0x66, 0x3a));
            p.drawEllipse(at, 5.0, 2.6);
        }
        for (const QPointF& at : Scatter(9, 22U, 3)) {
            p.setBrush(QColor(0x3c, 0x38, 0x2c));
            p.drawEllipse(at + QPointF(0.8, 0.8), 2.0, 1.4);
            p.setBrush(QColor(0xa8, 0xa2, 0x96));
            p.drawEllipse(at, 2.0, 1.4);
            p.setBrush(QColor(0xd0, 0xcc, 0xc2));
            p.drawEllipse(at + QPointF(-0.7, -0.5), 0.8, 0.6);
        }
        for (const QPointF& at : Scatter(6, 23U, 2))
            Tuft(p, at, QColor(0x5a, 0x6a, 0x2c));
    });
}

QImage LightWoods()
{
    return Surface(QColor(0x64, 0xa2, 0x42), 0.10, 3U, [](QPainter& p) {
        for (const QPointF& at : Scatter(8, 31U, 2))
            Tuft(p, at, QColor(0x3e, 0x76, 0x2a));
        const QColor crown(0x2e, 0x7e, 0x2c);
        Tree(p, {28.0, 15.0}, 6.0, crown);
        Tree(p, {44.0, 9.0}, 5.5, crown);
        Tree(p, {36.0, 24.0}, 6.5, crown);
        Tree(p, {53.0, 24.0}, 4.5, crown);
        Tree(p, {17.0, 25.0}, 4.5, crown);
    });
}

QImage HeavyWoods()
{
    return Surface(QColor(0x1e, 0x44, 0x1a), 0.10, 4U, [](QPainter& p) {
        const QColor crowns[] = {QColor(0x1f, 0x5c, 0x1e), QColor(0x2a, 0x6a, 0x24),
                                 QColor(0x18, 0x50, 0x22)};
        const QPointF spots[] = {{16, 20}, {27, 6},  {40, 5},  {52, 11}, {58, 22}, {22, 30},
                                 {35, 31}, {48, 31}, {30, 18}, {43, 19}, {19, 10}, {55, 31}};
        for (std::size_t i = 0; i < std::size(spots); ++i)
            Tree(p, spots[i], 6.0 + static_cast<double>(i % 3), crowns[i % 3]);
    });
}

QImage Concrete()
{
    return Surface(QColor(0xb0, 0xb0, 0xaa), 0.05, 5U, [](QPainter& p) {
        p.setPen(QPen(QColor(0x84, 0x84, 0x80), 1.0));
        for (int b = 9; b < SpriteHeight; b += 10)
            p.drawLine(QPointF(0, b + 0.5), QPointF(SpriteWidth, b + 0.5));
        for (int row = 0; row * 10 < SpriteHeight; ++row)
            for (int a = (row % 2 == 0 ? 20 : 13); a < SpriteWidth; a += 14)
                p.drawLine(QPointF(a + 0.5, row * 10), QPointF(a + 0.5, row * 10 + 9));
        p.setPen(QPen(QColor(0x70, 0x70, 0x6c), 1.0));
        p.drawPolyline(QPolygonF({{38, 22}, {41, 25}, {40, 27}, {44, 29}}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x98, 0x96, 0x90));
        p.drawEllipse(QPointF(26, 13), 3.0, 1.6);
    });
}

QImage Water(int level)
{
    const QColor bases[] = {QColor(0x8c, 0xd2, 0xf2), QColor(0x4a, 0xa2, 0xe0),
                            QColor(0x24, 0x68, 0xbc), QColor(0x10, 0x32, 0x7a)};
    const QColor base = bases[level];
    return Surface(base, 0.04, 50U + static_cast<unsigned>(level), [&](QPainter& p) {
        Waves(p, 9 - level, 51U + static_cast<unsigned>(level),
              Shade(base, level == 0 ? 1.12 : 1.3 + 0.15 * level));
        if (level == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xc8, 0xd8, 0xb0));
            for (const QPointF& at : Scatter(5, 55U, 3))
                p.drawEllipse(at, 1.2, 0.8);
        }
    });
}

QImage Ice()
{
    return Surface(QColor(0xdc, 0xee, 0xf6), 0.04, 9U, [](QPainter& p) {
        p.setPen(QPen(QColor(0x8e, 0xb6, 0xcc), 1.0));
        p.drawPolyline(QPolygonF({{14, 9}, {24, 14}, {30, 13}, {40, 20}, {52, 19}, {60, 24}}));
        p.drawPolyline(QPolygonF(QList<QPointF>{{30, 13}, {33, 4}}));
        p.drawPolyline(QPolygonF({{40, 20}, {37, 30}, {42, 36}}));
        p.drawPolyline(QPolygonF(QList<QPointF>{{18, 30}, {26, 26}}));
        p.setPen(QPen(QColor(0xff, 0xff, 0xff), 1.0));
        p.drawLine(QPointF(46, 8), QPointF(52, 8));
        p.drawLine(QPointF(22, 22), QPointF(27, 22));
        p.drawLine(QPointF(49, 29), QPointF(53, 29));
    });
}

QImage Mud()
{
    return Surface(QColor(0x6e, 0x4c, 0x2c), 0.14, 10U, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        for (const QPointF& at : Scatter(6, 101U, 4)) {
            p.setBrush(QColor(0x52, 0x36, 0x1c));
            p.drawEllipse(at, 5.0, 2.5);
        }
        for (const QPointF& at : Scatter(4, 102U, 4)) {
            p.setBrush(QColor(0x4a, 0x40, 0x36));
            p.drawEllipse(at, 3.5, 1.6);
            p.setBrush(QColor(0x9a, 0x8e, 0x80));
            p.drawEllipse(at + QPointF(-1, -0.5), 1.5, 0.5);
        }
    });
}

QImage Sand()
{
    return Surface(QColor(0xe4, 0xcc, 0x8c), 0.06, 11U, [](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        // Dune crests: a lit windward side above, a shaded lee below.
        for (int i = 0; i < 4; ++i) {
            const double y = 8.0 + 8.5 * i;
            const double sway = (i % 2 == 0) ? 4.0 : -4.0;
            QPainterPath crest(QPointF(2, y + 1));
            crest.cubicTo(QPointF(18, y - sway), QPointF(36, y + sway), QPointF(64, y - 1));
            p.setPen(QPen(QColor(0xc2, 0xa2, 0x5c), 1.6));
            p.drawPath(crest.translated(0, 1));
            p.setPen(QPen(QColor(0xf6, 0xe6, 0xb2), 1.0));
            p.drawPath(crest.translated(0, -0.6));
        }
    });
}

QImage Lava()
{
    return Surface(QColor(0x36, 0x18, 0x12), 0.20, 12U, [](QPainter& p) {
        const QPolygonF flows[] = {
            QPolygonF({{12, 6}, {24, 12}, {32, 10}, {42, 17}, {54, 15}, {62, 20}}),
            QPolygonF({{14, 30}, {26, 24}, {34, 28}, {44, 26}, {52, 33}}),
            QPolygonF({{32, 10}, {30, 19}, {26, 24}}),
            QPolygonF(QList<QPointF>{{42, 17}, {44, 26}}),
        };
        p.setBrush(Qt::NoBrush);
        for (const QPolygonF& flow : flows) {
            p.setPen(
                QPen(QColor(0xd8, 0x3a, 0x0c), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(flow);
        }
        for (const QPolygonF& flow : flows) {
            p.setPen(
                QPen(QColor(0xff, 0x9a, 0x1c), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(flow);
        }
        p.setPen(QPen(QColor(0xff, 0xe8, 0x60), 0.8));
        for (const QPolygonF& flow : flows)
            p.drawPolyline(flow);
    });
}

QImage Volcano()
{
    return Surface(QColor(0x4c, 0x42, 0x3c), 0.12, 13U, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x38, 0x30, 0x2c));
        p.drawEllipse(QPointF(36, 34), 28, 6);  // ash around the foot
        QPainterPath cone;
        cone.moveTo(10, 37);
        cone.cubicTo(QPointF(22, 30), QPointF(26, 18), QPointF(29, 11));
        cone.lineTo(43, 11);
        cone.cubicTo(QPointF(46, 18), QPointF(50, 30), QPointF(62, 37));
        cone.closeSubpath();
        QLinearGradient light(QPointF(14, 20), QPointF(60, 24));
        light.setColorAt(0.0, QColor(0xa4, 0x8e, 0x78));
        light.setColorAt(0.5, QColor(0x74, 0x62, 0x52));
        light.setColorAt(1.0, QColor(0x3a, 0x2e, 0x28));
        p.setBrush(light);
        p.drawPath(cone);
        p.setBrush(QColor(0x2a, 0x1c, 0x16));
        p.drawEllipse(QPointF(36, 11.5), 7.5, 2.8);
        QRadialGradient glow(QPointF(36, 11.5), 6.0);
        glow.setColorAt(0.0, QColor(0xff, 0xf0, 0x80));
        glow.setColorAt(0.5, QColor(0xff, 0xa0, 0x20));
        glow.setColorAt(1.0, QColor(0xe0, 0x40, 0x10));
        p.setBrush(glow);
        p.drawEllipse(QPointF(36, 11.8), 5.8, 1.9);
        const QPolygonF streams[] = {QPolygonF({{32, 13}, {31, 17}, {28, 21}, {27, 26}, {23, 31}}),
                                     QPolygonF({{39, 13}, {41, 18}, {40, 22}, {43, 28}})};
        p.setBrush(Qt::NoBrush);
        for (const QPolygonF& stream : streams) {
            p.setPen(
                QPen(QColor(0xc8, 0x30, 0x0c), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(stream);
            p.setPen(
                QPen(QColor(0xff, 0xb0, 0x30), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(stream);
        }
    });
}

QImage Impassable()
{
    return Surface(QColor(0x3a, 0x36, 0x34), 0.12, 14U, [](QPainter& p) {
        struct Peak {
            QPointF left, top, right;
        };
        const Peak peaks[] = {{{14, 30}, {30, 6}, {44, 30}},
                              {{34, 34}, {48, 9}, {62, 34}},
                              {{4, 36}, {18, 16}, {32, 36}},
                              {{22, 38}, {36, 18}, {50, 38}}};
        p.setPen(Qt::NoPen);
        for (const Peak& peak : peaks) {
            const QPointF foot((peak.left.x() + peak.right.x()) / 2 + 2, peak.left.y());
            p.setBrush(QColor(0xa6, 0xa0, 0x98));
            p.drawPolygon(QPolygonF({peak.left, peak.top, foot}));
            p.setBrush(QColor(0x6e, 0x66, 0x5e));
            p.drawPolygon(QPolygonF({foot, peak.top, peak.right}));
            p.setPen(QPen(QColor(0x26, 0x22, 0x20), 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({peak.left, peak.top, peak.right}));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xf4, 0xf4, 0xf8));
            const QPointF snowL = peak.top + (peak.left - peak.top) * 0.28;
            const QPointF snowR = peak.top + (peak.right - peak.top) * 0.28;
            p.drawPolygon(QPolygonF({snowL, peak.top, snowR, peak.top + QPointF(1, 6)}));
        }
    });
}

QImage Cratered()
{
    return Surface(QColor(0x7c, 0x6c, 0x54), 0.14, 15U, [](QPainter& p) {
        struct Crater {
            QPointF at;
            double rx, ry;
        };
        const Crater craters[] = {{{31, 15}, 8.0, 5.0},
                                  {{49, 25}, 8.0, 5.5},
                                  {{22, 28}, 5.0, 3.2},
                                  {{48, 8}, 4.0, 2.6},
                                  {{13, 20}, 3.0, 2.0}};
        p.setPen(Qt::NoPen);
        for (const Crater& c : craters) {
            p.setBrush(QColor(0xa8, 0x98, 0x7c));
            p.drawEllipse(c.at, c.rx + 1.5, c.ry + 1.2);
            p.setBrush(QColor(0x3a, 0x30, 0x26));
            p.drawEllipse(c.at, c.rx, c.ry);
            p.setBrush(QColor(0x5a, 0x4c, 0x3c));
            p.drawEllipse(c.at + QPointF(c.rx * 0.2, c.ry * 0.25), c.rx * 0.7, c.ry * 0.65);
        }
    });
}

}  // namespace

QImage HeightMask()
{
    QImage mask(SpriteWidth, SpriteHeight, QImage::Format_RGB888);
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            mask.setPixel(a, b, InsideHex(a, b) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return mask;
}

std::vector<QImage> HeightImages()
{
    std::vector<QImage> images;
    for (int h = 0; h <= 6; ++h)
        images.push_back(HeightImage(h).convertToFormat(QImage::Format_RGB888));
    return images;
}

std::vector<SpriteCells> GroundSprites()
{
    const QImage tiles[] = {Grass(),  Rough(),   LightWoods(), HeavyWoods(), Concrete(), Water(0),
                            Water(1), Water(2),  Water(3),     Ice(),        Mud(),      Sand(),
                            Lava(),   Volcano(), Impassable(), Cratered()};
    std::vector<SpriteCells> sprites;
    for (const QImage& tile : tiles)
        sprites.push_back(GroundCells(tile));
    return sprites;
}
