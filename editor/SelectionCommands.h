#pragma once
// Choosing the selection: Select All, a drag with Shift over the map, and clearing it, with
// what the hint panel says while it changes.

#include "core/HexSet.h"
#include "graphics/HexGeometry.h"

#include <QString>

// Edit, Select All: every hex of the map.
void SelectAllCommand();

// Escape, or a plain click on the map: nothing selected.
void ClearSelection();

// A drag with Shift from one pixel of the map image to another selects base and the hexes
// whose centres (HexCentre) lie in the rectangle the two span, edges included.
void SelectRectangle(PixelPoint from, PixelPoint to, const HexSet& base);

// "No hexes selected", "1 hex selected", "12 hexes selected".
QString SelectionHint();

// How the hint panel counts hexes: "1 hex", "12 hexes".
QString CountedHexes(int count);
