#pragma once
// Edit, Flood Fill: the key that dragging paints, poured over a region of the map.

#include "editor/EditorView.h"

#include <QString>

// LastMapKey applied to the cursor cell and every hex joined to it that a fill spreads over
// (FillReach), inside the selection when there is one, and with point symmetry on at their
// mirrors too; a toggling key gives every hex what the cursor cell got. One step named
// "Flood Fill". Returns what the hint panel says: how many hexes were filled, or why none
// were (no map key yet, the cursor outside the selection).
QString FloodFillCommand(EditorView& view);
