#pragma once
// Showing what a command of many cells, or the replay of its step, changed.

#include "core/HexSet.h"
#include "editor/EditorView.h"

// Draws cells with their neighbours, whose road and river joins follow them, or the whole map
// anew when that is quicker; then the cursor mark (while editing) and the description of the
// cursor cell.
void ShowChangedCells(const HexSet& cells, EditorView& view);
