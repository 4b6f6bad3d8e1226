#pragma once
// Draws the map model into the map image: hexes in layers, road and river joins, the cursor.

#include "graphics/DrawList.h"

#include <QImage>
#include <vector>

// Draws the hex's layers over what is there; repaints the view at once if asked.
void DrawCell(int x, int y, bool repaint);
// The cursor mark (effect image 0) at the hex, then an immediate repaint.
void DrawCursor(int x, int y);
// The whole map anew on black; the cursor mark is not drawn. Paints RedrawList in a strip
// per hardware thread.
void RedrawMap();
// The picture RedrawMap draws, in an image of its own: the map image, with whatever the
// cursor mark and the showcases painted into it, is left as it is.
QImage RedrawnMapImage();
void DrawRoadJoins(int x, int y);
void DrawRiverJoins(int x, int y);

// Every draw that DrawCell makes for each hex in turn, x by x and y by y: drawn in this
// order on black, they make the picture of RedrawMap.
std::vector<SpriteDraw> MapDraws();
// MapDraws without the draws that an identical later one hides, stacked by hex: the same
// picture on black.
std::vector<SpriteDraw> RedrawList();
