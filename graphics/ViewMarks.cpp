// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/ViewMarks.h"

#include "core/MapSymmetry.h"
#include "graphics/HexGeometry.h"

#include <QPainter>
#include <QPolygonF>
#include <QRect>
#include <utility>

namespace {

// The outline of the hexagon in a sprite cell, along the edges of the pixels InsideHex
// admits.
const QPolygonF HexOutline(
    {{19, 0}, {48, 0}, {65, 17}, {65, 23}, {50, 38}, {17, 38}, {0, 21}, {0, 19}});

constexpr int CentreRadius = 9;

void Tint(QPainter& painter, const QRect& exposed, const HexSet& hexes, const QColor& colour)
{
    painter.setBrush(colour);
    hexes.ForEach([&](HexAddress hex) {
        const PixelPoint corner = HexToPixel(hex.x, hex.y);
        if (exposed.intersects(QRect(corner.px, corner.py, SpriteWidth, SpriteHeight)))
            painter.drawPolygon(HexOutline.translated(corner.px, corner.py));
    });
}

void MarkCentre(QPainter& painter)
{
    const QPointF centre = MapCentre();
    for (const auto& [colour, width] : {std::pair{QColor(Qt::black), 4}, {QColor(Qt::white), 2}}) {
        painter.setPen(QPen(colour, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, CentreRadius, CentreRadius);
        painter.drawLine(centre - QPointF(2 * CentreRadius, 0),
                         centre + QPointF(2 * CentreRadius, 0));
        painter.drawLine(centre - QPointF(0, 2 * CentreRadius),
                         centre + QPointF(0, 2 * CentreRadius));
    }
}

}  // namespace

void PaintViewMarks(QPainter& painter, const QRect& exposed, const ViewMarks& marks)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    Tint(painter, exposed, marks.Asymmetric, AsymmetryTint);
    Tint(painter, exposed, marks.Selected, SelectionTint);
    if (marks.Centre)
        MarkCentre(painter);
    painter.restore();
}

// Halfway between any hex and its mirror.
QPointF MapCentre()
{
    const HexAddress west{WestHalfColumns, WestHalfColumns};
    const HexAddress east = MirrorHex(west);
    const PixelPoint a = HexCentre(west.x, west.y);
    const PixelPoint b = HexCentre(east.x, east.y);
    return {(a.px + b.px) / 2.0, (a.py + b.py) / 2.0};
}
