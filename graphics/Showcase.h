#pragma once
// Commands that paint sprites straight into the map image, leaving the map model alone,
// and the reload of settings and sprites.

// Every mech in its six facings: mech n in column n + 1, one facing per row 1 to 6.
void ShowMechs();
// The road arm (column 1) and centre piece (column 2) in their six facings, rows 7 to 12.
void ShowRoads();
// A random mech in a random facing on about one hex in five.
void FillMechs();
// Settings and sprite sheets read again, then a clean map (one step of the map's history),
// drawn, with the mech showcase. An error ends it before the map is cleared.
void ReloadSprites();
