#pragma once
// The hexes' coordinates written on a picture of the map: "XXYY", the column and the row in
// two digits each ("0107" is column 1, row 7), small, at the top of each hexagon, white on a
// dark box so that they read on every ground.

#include <QRect>
#include <QString>

class QPainter;

// "XXYY" for hex (x, y).
QString HexLabel(int x, int y);

// The smallest type the labels are drawn in, in pixels, however small the picture.
inline constexpr int SmallestLabelPixels = 7;

// Draws the label of every hex whose sprite cell shows in area, with painter, on a picture of
// the map scale times as large as the map image; area is in the picture's pixels. The type
// is 9 pixels at scale 1 and grows with the scale up to 18, never below SmallestLabelPixels.
void DrawHexLabels(QPainter& painter, double scale, const QRect& area);
