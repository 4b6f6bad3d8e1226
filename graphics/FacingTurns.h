#pragma once
// Turning a sprite cell into the other five facings, with the exact pixel rules of the
// editor: each hexagon pixel takes the colour of the source pixel it turns back onto, and
// road and river arms are nudged toward the edge they join.

#include <QImage>

// The angle of facing d (1 to 6) from facing 1, in radians.
float FacingAngle(int d);

// Cells are 66 by 38 images of 32 bits per pixel. Turns source by angle into destination:
// only the hexagon's pixels that turn back onto the cell are written.
void TurnCell(const QImage& source, QImage& destination, float angle);
// Shifts a turned join cell of direction d toward its edge and whitens what falls outside
// the hexagon; directions 1 and 4 stay as turned.
void NudgeJoinCell(QImage& cell, int d);
void WhitenOutsideHex(QImage& cell);
