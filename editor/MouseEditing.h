#pragma once
// Editing with the mouse through the keyboard editor's key table: a click puts the cursor on
// a hex, a key chosen for a hex applies there, and a stroke of the held button paints
// LastMapKey over the hexes it enters as one step.

#include "editor/EditorView.h"

// Key applied to hex (x, y) as if typed there: the hex becomes the cursor cell (the mark only
// while editing), a change is one step, and the key becomes LastMapKey.
void ApplyKeyToHex(char key, int x, int y, EditorView& view);

// The left button went down on hex (x, y): the cursor goes there. While editing mode is on,
// the stroke paints LastMapKey, if there is one, over its first hex once the pointer leaves
// it, and over every other hex it enters, each hex once; a toggling key gives every hex the
// state the first got. Otherwise the stroke only moves the cursor.
void BeginStroke(int x, int y, EditorView& view);

// The pointer, with the button held, entered hex (x, y).
void StrokeEnters(int x, int y, EditorView& view);

// The button went up: the stroke's step is closed.
void EndStroke();
