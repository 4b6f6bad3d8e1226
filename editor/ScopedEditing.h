#pragma once
// Keys and menu entries that reach beyond one hex: with point symmetry on, the mirror of the
// hex changed takes the key too, and a menu entry chosen on a selected hex goes to every
// selected hex. A toggling key gives the other hexes what the first got. Each such change is
// one step named after the key. With neither, they are EditorKeyPress and ApplyKeyToHex.

#include "editor/EditorView.h"

// The typed character, upper-cased, as EditorKeyPress takes it; with point symmetry on, a
// map key changes the cursor cell and its mirror in one step.
void ScopedKeyPress(char key, EditorView& view);

// A menu entry's key chosen on hex (x, y), which becomes the cursor cell: as ApplyKeyToHex,
// but on a selected hex it goes to every selected hex, and with point symmetry on to the
// mirror of each as well, in one step.
void ScopedApplyKeyToHex(char key, int x, int y, EditorView& view);
