#pragma once
// Edit, Copy and Cut: the selected hexes onto the system clipboard, in our own type
// (HexRecordsMimeType) and as plain text, so that another editor, or any program, takes them.

#include "editor/EditorView.h"

#include <QString>

// Copies the selected hexes; returns what the hint panel says: how many, or that nothing is
// selected.
QString CopyCommand();

// Copies the selected hexes, then resets them to a fresh map's cell (flat grass, nothing
// on it), one step named "Cut"; returns the hint.
QString CutCommand(EditorView& view);
