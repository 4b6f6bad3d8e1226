#pragma once
// The editor's start-up, once the title screen has closed.

// Busy cursor; the cursor to (1, 1), mine value 10, an empty history; the generator seeded
// from the clock; the settings and the sprite library loaded; a clean map, unmodified, drawn.
// A failed load ends it with the error, the cursor and history already set.
void StartEditor();
