#pragma once
// Editing the map from the keyboard: the keys of the key table applied to the cursor cell,
// cursor moves with the scroll band, and what has to be drawn afterwards. The mouse edits
// through the same procedures. The main window is reached through EditorView.

#include "core/HexGrid.h"
#include "editor/EditorView.h"

#include <span>

// The typed character, already upper-cased, applied to the cursor cell and the cursor:
// the key table, the scroll band, the limits and the redraws. A change of the cell's bytes
// is one step of the map's history.
void EditorKeyPress(char key, EditorView& view);

// The cell half of the key table on the cursor cell, drawn and shown as typing the key does
// (the cursor mark only while editing); a map key becomes LastMapKey. Returns the cell's
// bytes before, for the history.
MapCell EditCursorCell(char key, EditorView& view);

// The cursor put on hex (x, y) as a cursor key moves it, without scrolling: the old cell
// drawn over its mark, the mark while editing, and the description, also when it stays.
void MoveCursorTo(int x, int y, EditorView& view);

// Undo or redo changed these cells: the cursor moves to the last (its old mark painted
// over), the cells and their neighbours are drawn anew so that the joins follow, the mark
// shows while editing, and the status bar describes the cursor cell.
void ShowReplayedCells(std::span<const HexAddress> cells, EditorView& view);

// Whether the cursor cell lies outside the band in which the view keeps it.
bool NeedsHorzScroll(const EditorView& view);
bool NeedsVertScroll(const EditorView& view);

// What switching editing mode on or off draws and shows.
void EditingModeSwitched(bool on, EditorView& view);
