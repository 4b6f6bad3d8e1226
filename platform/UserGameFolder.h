#pragma once
// The user's own game folder, where the editor works when it is started outside any game:
// laid out on first use from the sprite sheets installed with the program, and from then on
// left as the user keeps it.

#include <QString>

// $XDG_DATA_HOME/gridcrafter/game, or ~/.local/share/gridcrafter/game where XDG_DATA_HOME is
// unset or not an absolute path (XDG has such a value ignored).
QString UserGameFolder();

// Makes game a game folder: game/Sprites with a copy of each file of sheets that it lacks, and
// the editor folder game/Gridcrafter. Nothing that is there is replaced; a sheet or the sprite
// folder counts in any letter case, as the editor finds them. A missing sheets folder copies
// nothing. Throws GcError naming what could not be made and, for a sheet, the system's
// reason; a sheet cut short is not left behind.
void LayOutGameFolder(const QString& game, const QString& sheets);
