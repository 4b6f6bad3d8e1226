#pragma once
// The whole map changed in one go: turned 180 degrees, made point-symmetric, every height
// raised or lowered. A cell that moves takes its content (CellContent.h) to its new place
// and that place's X and Y; Reserved and the padding stay where they are.

// Turns MapGrid 180 degrees about the map's centre: hex (x, y) goes to (33 - x, 33 - y).
// Turning twice gives the map back.
void TurnMapHalfway();

// Copies the west half (columns 1 to 16), turned 180 degrees, over the east half (17 to 32),
// so that every hex holds its mirror's content.
void MakeMapSymmetric();

// Every height one up (step +1) or down (-1) as the height keys step it: never past 6 going up
// or below 0 going down. Mines and overlays stay.
void StepAllHeights(int step);
