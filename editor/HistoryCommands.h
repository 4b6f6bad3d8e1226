#pragma once
// Edit, Undo and Redo: the history replayed and shown on the view.

#include "editor/EditorView.h"

// Replays the step before (undo) or after (redo) and shows it: a key or stroke step through
// ShowReplayedCells, a step of ChangeCells through ShowChangedCells with the cursor back
// where it was, a whole-map step by a redraw of the map with the cursor mark while editing,
// the description of the cursor cell and, where the name changed, the caption. Nothing
// happens while another change is under way.
void UndoAndShow(EditorView& view);
void RedoAndShow(EditorView& view);
