#pragma once
// Map files: the raw 20480 bytes of MapGrid, no header.

#include <QString>
#include <cstdint>
#include <functional>

inline constexpr std::int64_t MapFileRecordSize = 20480;

// Writes MapGrid to path through WriteFileSafely. Throws GcError naming the file and reason.
void WriteMapFile(const QString& path);

// Reads the first 20480 bytes of path into MapGrid. A file that cannot be opened, is not a
// regular file or is shorter than 20480 bytes throws GcError naming the file and the reason,
// and MapGrid is left untouched.
void ReadMapFile(const QString& path);

// The folder part of a name by the Windows rule, "/" taken like "\": "C:\Maps\a.KVX" gives
// "C:\Maps", "C:\a.KVX" gives "C:\", "C:a.KVX" gives "C:", "/a.KVX" gives "/", "NewMap" "".
QString MapDirectoryPart(const QString& name);

// Files, Save: the save dialog preset to MapName, the file written, the map named after it.
// A failed write throws GcError and leaves MapName, the caption and MapModified as they were.
void SaveMapCommand();

// Files, Load: asks before discarding unsaved edits, runs the open dialog in the folder of
// MapName, reads the file, names the map after it and draws it through redraw. A file that
// cannot be read throws GcError; map, name and caption stay and nothing is drawn.
void LoadMapCommand(const std::function<void()>& redraw);
