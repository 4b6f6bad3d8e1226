#pragma once
// Pure changes of where hexes go and which hexes a change reaches: an arrangement of hexes
// moved as a whole, the reach of a flood fill, and one key given to many hexes at once.
// Arrangements move in cube coordinates: a shape moved by an odd number of columns keeps
// its outline, which a shift of the offset coordinates would bend.

#include "core/HexGrid.h"
#include "core/HexSet.h"
#include "core/MapModel.h"

#include <optional>
#include <span>

// Where hex goes when the arrangement it belongs to moves so that from lands on to; none
// when that is off the map.
std::optional<HexAddress> MovedHex(HexAddress hex, HexAddress from, HexAddress to);

// The hex that leads an arrangement of hexes (not empty): the topmost of the leftmost column.
HexAddress TopLeftHex(std::span<const HexAddress> hexes);

// Whether a flood fill of key that starts on a cell like start spreads over cell: for a
// toggling key when the cell holds what the key toggles as start does, for other keys when
// it has start's ground and height.
bool FillJoins(char key, const MapCell& start, const MapCell& cell);

// The hexes a flood fill of key from start reaches within MapGrid: start and every hex of
// within joined to it through neighbours, each step onto a hex that FillJoins. Empty when
// within does not hold start.
HexSet FillReach(char key, HexAddress start, const HexSet& within);

// Key applied to the cell at first, then to each other hex of hexes as a stroke applies it:
// a toggling key gives them what first got (a hex that has it already stays as it is).
void ApplyKeyAcross(char key, HexAddress first, const HexSet& hexes);
