#pragma once
// The commands that begin a map: New, Clear and Random map, each one step of the map's history.

#include <functional>

// Files, New: asks before discarding unsaved edits, then a clean map drawn through redraw.
void NewMapCommand(const std::function<void()>& redraw);

// The Clear button: a clean map drawn through redraw, at once, whatever it discards.
void ClearMapCommand(const std::function<void()>& redraw);

// Files, Random map: asks before discarding unsaved edits, then RandomMap, drawn through
// draw (the map and the mech scatter over it).
void RandomMapCommand(const std::function<void()>& draw);
