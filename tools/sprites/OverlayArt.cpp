// Effects drawn over the ground, and the road and river pieces that join across hex edges.

#include "graphics/HexGeometry.h"
#include "tools/sprites/SpriteArt.h"

#include <QPainter>
#include <QPainterPath>

namespace {

SpriteCells Cursor()
{
    QImage art = PaintCell(Qt::transparent, [](QPainter&) {});
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            if (OnHexRim(a, b, 1))
                art.setPixelColor(a, b, QColor(0xff, 0xf0, 0x00));
            else if (OnHexRim(a, b, 2))
                art.setPixelColor(a, b, QColor(0xd0, 0x20, 0x10));
    return OverlayCells(art);
}

QPainterPath Flame(QPointF foot, double width, double height)
{
    const double half = width / 2;
    QPainterPath flame(foot + QPointF(0, 0));
    flame.cubicTo(foot + QPointF(-half * 1.4, 0), foot + QPointF(-half, -height * 0.5),
                  foot + QPointF(-half * 0.2, -height));
    flame.cubicTo(foot + QPointF(half * 0.1, -height * 0.6),
                  foot + QPointF(half * 0.7, -height * 0.7),
                  foot + QPointF(half * 0.5, -height * 0.45));
    flame.cubicTo(foot + QPointF(half * 1.2, -height * 0.3), foot + QPointF(half * 1.2, 0), foot);
    return flame;
}

SpriteCells Fire()
{
    return OverlayCells(PaintCell(Qt::transparent, [](QPainter& p) {
        struct Tongue {
            QPointF foot;
            double width, height;
        };
        const Tongue tongues[] = {{{22, 33}, 11, 17}, {{45, 34}, 12, 19}, {{33, 31}, 16, 27}};
        p.setPen(QPen(QColor(0x8a, 0x10, 0x08), 1.0));
        for (const Tongue& t : tongues) {
            p.setBrush(QColor(0xe0, 0x30, 0x10));
            p.drawPath(Flame(t.foot, t.width, t.height));
        }
        p.setPen(Qt::NoPen);
        for (const Tongue& t : tongues) {
            p.setBrush(QColor(0xff, 0x8c, 0x1a));
            p.drawPath(Flame(t.foot + QPointF(0, -1), t.width * 0.65, t.height * 0.7));
            p.setBrush(QColor(0xff, 0xe8, 0x6a));
            p.drawPath(Flame(t.foot + QPointF(0, -1.5), t.width * 0.3, t.height * 0.4));
        }
    }));
}

SpriteCells Smoke()
{
    return OverlayCells(PaintCell(Qt::transparent,
                                  [](QPainter& p) {
                                      struct Puff {
                                          QPointF at;
                                          double r;
                                      };
                                      const Puff puffs[] = {{{24, 25}, 6.5},
                                                            {{33, 19}, 8.5},
                                                            {{44, 13}, 7.5},
                                                            {{51, 6}, 5.0},
                                                            {{41, 25}, 6.0}};
                                      p.setPen(Qt::NoPen);
                                      for (const Puff& puff : puffs) {
                                          QRadialGradient body(puff.at, puff.r);
                                          body.setColorAt(0.0, QColor(0x8c, 0x8c, 0x92, 240));
                                          body.setColorAt(0.55, QColor(0x6c, 0x6c, 0x72, 180));
                                          body.setColorAt(1.0, QColor(0x50, 0x50, 0x56, 40));
                                          p.setBrush(body);
                                          p.drawEllipse(puff.at, puff.r, puff.r * 0.8);
                                      }
                                      p.setBrush(QColor(0xc4, 0xc4, 0xca, 230));
                                      for (const Puff& puff : puffs)
                                          p.drawEllipse(
                                              puff.at + QPointF(-puff.r * 0.3, -puff.r * 0.3),
                                              puff.r * 0.35, puff.r * 0.25);
                                  }),
                        true);
}

void Reeds(QPainter& p, QPointF foot)
{
    const QPointF tips[] = {{-2.5, -7}, {-0.5, -9}, {1.5, -8}, {3, -5.5}};
    p.setPen(QPen(QColor(0x9c, 0xb0, 0x46), 1.0));
    for (const QPointF& tip : tips)
        p.drawLine(foot, foot + tip);
    p.setPen(QPen(QColor(0x4a, 0x2c, 0x14), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + tips[1] * 0.8, foot + tips[1] * 0.95);
    p.drawLine(foot + tips[2] * 0.75, foot + tips[2] * 0.9);
}

SpriteCells Swamp()
{
    return OverlayCells(PaintCell(Qt::transparent, [](QPainter& p) {
        struct Pool {
            QPointF at;
            double rx, ry;
        };
        const Pool pools[] = {
            {{24, 22}, 9.0, 4.0}, {{44, 12}, 8.0, 3.5}, {{47, 28}, 7.0, 3.0}, {{34, 8}, 4.0, 2.0}};
        p.setPen(QPen(QColor(0x3a, 0x34, 0x1c), 1.0));
        for (const Pool& pool : pools) {
            p.setBrush(QColor(0x3e, 0x52, 0x34));
            p.drawEllipse(pool.at, pool.rx, pool.ry);
        }
        p.setPen(QPen(QColor(0x8a, 0xa0, 0x7a), 1.0));
        for (const Pool& pool : pools)
            p.drawLine(pool.at + QPointF(-pool.rx * 0.4, -pool.ry * 0.2),
                       pool.at + QPointF(pool.rx * 0.2, -pool.ry * 0.2));
        const QPointF clumps[] = {{18, 20}, {34, 26}, {51, 13}, {38, 11}, {54, 30}, {23, 33}};
        for (const QPointF& clump : clumps)
            Reeds(p, clump);
    }));
}

void Mine(QPainter& p, QPointF at)
{
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at + QPointF(-4.5, 0), at + QPointF(4.5, 0));
    p.drawLine(at + QPointF(0, -4.5), at + QPointF(0, 4.5));
    p.drawLine(at + QPointF(-3.2, -3.2), at + QPointF(3.2, 3.2));
    p.drawLine(at + QPointF(-3.2, 3.2), at + QPointF(3.2, -3.2));
    p.setPen(QPen(QColor(0xe8, 0xd0, 0x30), 1.0));
    p.setBrush(QColor(0x3c, 0x40, 0x34));
    p.drawEllipse(at, 3.2, 3.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x30, 0x20));
    p.drawEllipse(at, 1.2, 1.2);
}

SpriteCells Mines()
{
    return OverlayCells(PaintCell(Qt::transparent, [](QPainter& p) {
        const QPointF spots[] = {{25, 15}, {44, 10}, {30, 28}, {50, 26}};
        for (const QPointF& spot : spots)
            Mine(p, spot);
    }));
}

// A road or a river: a band of one width whose arm ends past the centre, under a round hub.
struct JoinStyle {
    QColor body;
    QColor edge;
    QColor mark;
    double halfWidth;
    double hubRadius;
    unsigned seed;
    bool dashed;
};

// How far the arm reaches past the centre: turned and shifted toward its edge, it still has
// to start under the hub.
constexpr double ArmOverreach = 3.5;
// The outer part of the arm, clear of any hub, carries the edges and marks.
constexpr double ArmMarkedLength = 10.0;

SpriteCells Arm(const JoinStyle& style)
{
    QImage art = PaintCell(Qt::transparent, [&](QPainter& p) {
        const double left = TurnCentre.x() - style.halfWidth;
        const double right = TurnCentre.x() + style.halfWidth;
        const double inner = TurnCentre.y() + ArmOverreach;
        QPainterPath band(QPointF(left, -1));
        band.lineTo(right, -1);
        band.lineTo(right, inner);
        band.arcTo(QRectF(left, inner - style.halfWidth, 2 * style.halfWidth, 2 * style.halfWidth),
                   0, -180);
        band.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(style.body);
        p.drawPath(band);
        p.setPen(QPen(style.edge, 1.0));
        p.drawLine(QPointF(left + 0.5, 0), QPointF(left + 0.5, ArmMarkedLength));
        p.drawLine(QPointF(right - 0.5, 0), QPointF(right - 0.5, ArmMarkedLength));
    });
    Grain(art, 0.08, style.seed);
    QPainter p(&art);
    p.setPen(QPen(style.mark, 1.0));
    if (style.dashed) {
        p.drawLine(QPointF(TurnCentre.x(), 0.5), QPointF(TurnCentre.x(), 3.5));
        p.drawLine(QPointF(TurnCentre.x(), 6.5), QPointF(TurnCentre.x(), 9.5));
    } else {
        p.drawLine(QPointF(TurnCentre.x() - 2, 2.5), QPointF(TurnCentre.x(), 2.5));
        p.drawLine(QPointF(TurnCentre.x() + 1, 7.5), QPointF(TurnCentre.x() + 3, 7.5));
    }
    p.end();
    return OverlayCells(art);
}

SpriteCells Hub(const JoinStyle& style)
{
    QImage art = PaintCell(Qt::transparent, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(style.body);
        p.drawEllipse(TurnCentre, style.hubRadius, style.hubRadius);
    });
    Grain(art, 0.08, style.seed + 1U);
    return OverlayCells(art);
}

// The road's hub no wider than the road, so that the road runs on through a hex without a
// blot at its centre.
const JoinStyle RoadStyle{QColor(0x5a, 0x5a, 0x60),
                          QColor(0x34, 0x34, 0x38),
                          QColor(0xf0, 0xd8, 0x5a),
                          4.5,
                          4.5,
                          70U,
                          true};
const JoinStyle RiverStyle{QColor(0x3c, 0x7c, 0xd0),
                           QColor(0x24, 0x4c, 0x86),
                           QColor(0x9c, 0xcc, 0xf4),
                           5.5,
                           7.5,
                           80U,
                           false};

}  // namespace

std::vector<SpriteCells> EffectSprites() { return {Cursor(), Fire(), Smoke(), Swamp(), Mines()}; }

std::vector<SpriteCells> RoadSprites() { return {Arm(RoadStyle), Hub(RoadStyle)}; }

std::vector<SpriteCells> RiverSprites() { return {Arm(RiverStyle), Hub(RiverStyle)}; }
