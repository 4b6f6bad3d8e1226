#pragma once
// Beginning a map at random, and the one pseudo-random generator of the process.

#include <cstdint>

// Seeds the generator from the clock; the start-up sequence calls it once.
void Randomize();
// Seeds the generator with a fixed value, for repeatable sequences.
void Randomize(std::uint32_t seed);

// A uniform integer in [0, n); 0 when n is 0 or less.
int Random(int n);

// Random heights 0 to 6 and random ground codes below GroundSpriteCount in every cell, no
// mines or overlays (padding untouched); names the map "Random", clears MapModified and
// updates the caption. Draws nothing.
void RandomMap();
