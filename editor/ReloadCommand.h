#pragma once
// Reload and Reload tiles: the settings and the sprite sheets read again.

// Settings and sprite sheets read again, then a clean map (one step of the map's history),
// drawn, with the mech showcase. An error ends it before the map is cleared.
void ReloadSprites();
