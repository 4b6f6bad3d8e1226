#pragma once
// Finds what keeps a map file from being read cleanly by the editor or the game. Reads only:
// it loads the file into MapGrid and looks at the game's settings, writing nothing.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct MapFileReport {
    // Why the file could not be read at all; findings are then empty.
    std::optional<QString> unreadable;
    // One line each: "(x,y): what" for a cell, a plain "what" for the whole file.
    QStringList findings;
};

// GroundSprites of ..\Korvane.INI when the current directory is a game's editor folder with a
// settings file; nothing when there is no file or the value is no integer (the editor then uses
// all sixteen terrains).
std::optional<std::int32_t> SettingsGroundSprites();

// Ground codes at or past groundSprites are findings too.
MapFileReport CheckMapFile(const QString& path, std::optional<std::int32_t> groundSprites);
