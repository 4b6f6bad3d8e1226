#pragma once
// A game installation as the editor and the tools meet it: they run in <game>/Gridcrafter,
// and the game's ..\Korvane.INI and ..\Sprites lie beside that folder.

#include <QString>

// Whether the current directory is a game's editor folder: its parent holds the settings
// file or a sprite folder, found as Windows would find them.
bool InGameEditorFolder();

// Makes <game>/Gridcrafter the current directory; throws GcError naming that folder and the
// reason when it cannot, and leaves the current directory as it was.
void EnterGameFolder(const QString& game);
