#pragma once
// Recovery at start-up: the maps of editors that died with unsaved changes, offered back.

#include <functional>

class RecoveryKeeper;

// Looks into keeper's folder for recoveries of editors that no longer run; a file of a running
// editor is never touched. A file that is not a recovery is moved aside with a warning naming
// it. For each recovery, newest first, asks "Gridcrafter was not closed properly. Restore the
// unsaved changes to <name> from <time>?": Yes restores the map, its name (and so its file)
// and the cursor, unsaved, draws it through redraw, hands the recovery to keeper and asks no
// more; No removes that recovery and goes on; Cancel keeps it and the rest for the next start.
void OfferRecoveries(RecoveryKeeper& keeper, const std::function<void()>& redraw);
