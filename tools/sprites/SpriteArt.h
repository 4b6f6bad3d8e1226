#pragma once
// The default artwork of the six sprite sheets, painted in code.

#include "tools/sprites/ArtKit.h"

#include <vector>

// The hexagon in black, white around it: shared by all height images.
QImage HeightMask();
// Height images 0 to 6: a shade per height, a contour ring per level inside the hexagon's
// edge, and the height's digit in the window.
std::vector<QImage> HeightImages();

// Terrains in code order: grass, rough, light woods, heavy woods, concrete, water 0 to 3,
// ice, mud, sand, lava, volcano, impassable, cratered.
std::vector<SpriteCells> GroundSprites();
// Cursor, fire, smoke, swamp, mines.
std::vector<SpriteCells> EffectSprites();
// Four mechs facing north, small enough to stay inside the hexagon in every facing.
std::vector<SpriteCells> MechSprites();
// Arm from the centre to the north edge, then the centre piece.
std::vector<SpriteCells> RoadSprites();
std::vector<SpriteCells> RiverSprites();
