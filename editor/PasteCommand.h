#pragma once
// Edit, Paste: hexes from the clipboard, copied in this editor or another, put on the map.

#include "editor/EditorView.h"

#include <QString>

// Places the clipboard's hexes (our own type first, else plain text) so that the top-left one
// lands on the cursor cell and the rest keep their arrangement (MovedHex); those that would
// fall off the map are left out. With point symmetry on, the mirror of each pasted hex that
// is not pasted itself takes the same content. One step named "Paste"; the pasted hexes
// become the selection. Returns what the hint panel says: how many were pasted and left
// out, or that the clipboard holds no hexes.
QString PasteCommand(EditorView& view);
