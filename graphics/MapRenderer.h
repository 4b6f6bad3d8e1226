#pragma once
// Draws the map model into the map image: hexes in layers, road and river joins, the cursor.

// Draws the hex's layers over what is there; repaints the view at once if asked.
void DrawCell(int x, int y, bool repaint);
// The cursor mark (effect image 0) at the hex, then an immediate repaint.
void DrawCursor(int x, int y);
// The whole map anew on black; the cursor mark is not drawn.
void RedrawMap();
void DrawRoadJoins(int x, int y);
void DrawRiverJoins(int x, int y);
