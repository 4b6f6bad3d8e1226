#pragma once
// Draws the map model into the map image: hexes in layers, road and river joins, the cursor.

#include "core/HexGrid.h"
#include "graphics/DrawList.h"
#include "graphics/MapLayers.h"

#include <QImage>
#include <optional>
#include <vector>

// Draws the hex's layers over what is there, and those the view shows over the view's own
// picture while layers are hidden (ViewImage); repaints the view at once if asked.
void DrawCell(int x, int y, bool repaint);
// The cursor mark (effect image 0) at the hex, then an immediate repaint.
void DrawCursor(int x, int y);
// The whole map anew on black, and the view's own picture with the layers it shows; the
// cursor mark is not drawn. Paints RedrawList in a strip per hardware thread.
void RedrawMap();
// Makes the view show the layers of shown: the view's own picture drawn anew from the map
// without the others, with the cursor mark at mark if given (no showcase), or the map image
// when all show; then repaints the view. The map image is left alone.
void ShowLayers(LayerMask shown, std::optional<HexAddress> mark = std::nullopt);
// The picture RedrawMap draws with the layers of shown only, in an image of its own: the map
// image, with whatever the cursor mark and the showcases painted into it, is left as it is.
QImage RedrawnMapImage(LayerMask shown = AllLayers);
void DrawRoadJoins(int x, int y);
void DrawRiverJoins(int x, int y);

// Every draw that DrawCell makes for each hex in turn, x by x and y by y: drawn in this
// order on black, they make the picture of RedrawMap. Draws of the layers shown leaves out
// are not listed.
std::vector<SpriteDraw> MapDraws(LayerMask shown = AllLayers);
// MapDraws without the draws that an identical later one hides, stacked by hex: the same
// picture on black.
std::vector<SpriteDraw> RedrawList(LayerMask shown = AllLayers);
// The same picture for drawing once, into a file: not stacked, since a hex's stack costs as
// much to make as its draws and is worth keeping only for the redraws of an editor. A map
// whose hexes all differ would make a thousand of them, 10 MB.
std::vector<SpriteDraw> PictureDrawList(LayerMask shown = AllLayers);
