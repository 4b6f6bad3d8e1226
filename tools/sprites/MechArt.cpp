// Four mechs seen from above, facing north, drawn about the pixel that facings turn about.

#include "tools/sprites/SpriteArt.h"

#include <QPainter>

namespace {

const QColor Outline(0x1a, 0x1a, 0x1a);
const QColor Steel(0x50, 0x54, 0x5a);
const QColor Glass(0x6a, 0xe0, 0xff);

// A plate lit from the upper left.
void Part(QPainter& p, QRectF rect, QColor fill, double rounding = 1.5)
{
    QLinearGradient light(rect.topLeft(), rect.bottomRight());
    light.setColorAt(0.0, Shade(fill, 1.3));
    light.setColorAt(1.0, Shade(fill, 0.8));
    p.setPen(QPen(Outline, 1.0));
    p.setBrush(light);
    p.drawRoundedRect(rect, rounding, rounding);
}

void Barrel(QPainter& p, QPointF muzzle, double length, double width)
{
    Part(p, QRectF(muzzle.x() - width / 2, muzzle.y(), width, length), Steel, 0.5);
}

// Paints a mech with the painter's origin at the turning centre, north up.
SpriteCells Mech(const std::function<void(QPainter&)>& draw)
{
    return OverlayCells(PaintCell(Qt::transparent, [&](QPainter& p) {
        p.translate(TurnCentre);
        draw(p);
    }));
}

SpriteCells Scout()
{
    const QColor hull(0x6a, 0x8a, 0x3c);
    return Mech([&](QPainter& p) {
        Part(p, QRectF(-7, -13, 5, 14), Steel);  // left leg striding forward
        Part(p, QRectF(2, -2, 5, 14), Steel);    // right leg behind
        Part(p, QRectF(-13, -6, 5, 10), Shade(hull, 0.8));
        Part(p, QRectF(8, -6, 5, 10), Shade(hull, 0.8));
        Barrel(p, QPointF(-10.5, -14), 9, 2.5);
        Barrel(p, QPointF(10.5, -14), 9, 2.5);
        Part(p, QRectF(-8, -8, 16, 14), hull, 4);
        p.setBrush(Glass);
        p.drawEllipse(QPointF(0, -4), 3.5, 2.5);
    });
}

SpriteCells Brawler()
{
    const QColor hull(0xc0, 0xa0, 0x66);
    return Mech([&](QPainter& p) {
        Part(p, QRectF(-8, -14, 6, 8), Steel);
        Part(p, QRectF(2, 7, 6, 8), Steel);
        Barrel(p, QPointF(0, -16), 9, 3.5);
        Part(p, QRectF(-10, -9, 20, 17), hull, 3);
        for (int side : {-1, 1}) {
            const QRectF pod(side < 0 ? -16 : 9, -7, 7, 11);
            Part(p, pod, Shade(hull, 0.75));
            p.setPen(Qt::NoPen);
            p.setBrush(Outline);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 2; ++c)
                    p.drawEllipse(QPointF(pod.left() + 2 + 3 * c, pod.top() + 2.5 + 3 * r), 1.0,
                                  1.0);
        }
        p.setPen(QPen(Outline, 1.0));
        p.setBrush(Glass);
        p.drawRect(QRectF(-4, -7, 8, 2.5));
    });
}

SpriteCells Sniper()
{
    const QColor hull(0x5c, 0x74, 0x9c);
    return Mech([&](QPainter& p) {
        Part(p, QRectF(-8, -4, 4, 16), Steel);
        Part(p, QRectF(4, -9, 4, 16), Steel);
        Part(p, QRectF(-11, -5, 5, 9), Shade(hull, 0.8));
        Part(p, QRectF(2, -16, 3, 24), Steel, 0.5);  // the long rifle along the right shoulder
        Part(p, QRectF(1, -6, 10, 10), Shade(hull, 0.8));
        Part(p, QRectF(-7.5, -8, 13, 16), hull, 6.5);
        p.setBrush(Glass);
        p.drawEllipse(QPointF(-1, -4), 2.5, 2.5);
    });
}

SpriteCells Strider()
{
    const QColor hull(0xa8, 0x48, 0x30);
    return Mech([&](QPainter& p) {
        for (int sx : {-1, 1}) {
            for (int sy : {-1, 1}) {
                const QPointF foot(12.5 * sx, 10.5 * sy);
                p.setPen(QPen(Outline, 4.0, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(0, 0), foot);
                p.setPen(QPen(Steel, 2.0, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(0, 0), foot);
                p.setPen(QPen(Outline, 1.0));
                p.setBrush(Shade(hull, 0.7));
                p.drawEllipse(foot, 2.2, 2.2);
            }
        }
        Part(p, QRectF(-8, -6.5, 16, 15), hull, 7.5);
        Barrel(p, QPointF(-2.5, -15), 12, 2.5);
        Barrel(p, QPointF(2.5, -15), 12, 2.5);
        p.setPen(QPen(Outline, 1.0));
        p.setBrush(Shade(hull, 1.25));
        p.drawEllipse(QPointF(0, -1), 4.5, 4.5);
        p.setBrush(Glass);
        p.drawEllipse(QPointF(0, -3), 2, 1.5);
    });
}

}  // namespace

std::vector<SpriteCells> MechSprites() { return {Scout(), Brawler(), Sniper(), Strider()}; }
