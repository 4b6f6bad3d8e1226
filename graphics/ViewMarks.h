#pragma once
// Marks painted over the map view and never into the map image, so that no picture, print
// or file shows them: a tint over the selected hexes, another over the hexes that differ
// from their mirrors, and a mark on the map's centre while point symmetry is on. They are
// painted in the map image's coordinates through the painter, whatever transform it holds.

#include "core/HexSet.h"

#include <QColor>
#include <QPointF>

class QPainter;
class QRect;

inline const QColor SelectionTint(64, 160, 255, 110);
inline const QColor AsymmetryTint(255, 48, 48, 110);

// What the view marks.
struct ViewMarks {
    HexSet Selected;
    HexSet Asymmetric;
    bool Centre = false;
};

// Paints the marks that reach into exposed, a rectangle of the map image.
void PaintViewMarks(QPainter& painter, const QRect& exposed, const ViewMarks& marks);

// The centre of the map image about which the point mirror turns the map.
QPointF MapCentre();
