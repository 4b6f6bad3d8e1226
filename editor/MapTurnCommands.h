#pragma once
// The Edit menu's changes of the whole map (MapTurns.h): each one step, drawn at once.

#include "editor/EditorView.h"

// Turn Map 180 Degrees: hex (x, y) goes to (33 - x, 33 - y). Step "Turn Map".
void TurnMapCommand(EditorView& view);

// Make Symmetric: the west half, turned, over the east half. Step "Make Symmetric".
void MakeSymmetricCommand(EditorView& view);

// Raise All Heights and Lower All Heights: every height one up or down, within 0 to 6.
void RaiseAllHeightsCommand(EditorView& view);
void LowerAllHeightsCommand(EditorView& view);
