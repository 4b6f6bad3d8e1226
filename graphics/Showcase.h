#pragma once
// Commands that paint sprites straight into the map image, leaving the map model alone.

// Every mech in its six facings: mech n in column n + 1, one facing per row 1 to 6.
void ShowMechs();
// The road arm (column 1) and centre piece (column 2) in their six facings, rows 7 to 12.
void ShowRoads();
// A random mech in a random facing on about one hex in five.
void FillMechs();
