#pragma once
// Map files: the raw 20480 bytes of MapGrid, no header; the map's name as a file.

#include <QString>
#include <cstdint>

inline constexpr std::int64_t MapFileRecordSize = 20480;

// Writes MapGrid to path through WriteFileSafely. Throws GcError naming the file and reason.
void WriteMapFile(const QString& path);

// Reads the first 20480 bytes of path into MapGrid and returns the file's length. A file
// that cannot be opened, is not a regular file or is shorter than 20480 bytes throws GcError
// naming the file and the reason, and MapGrid is left untouched.
qint64 ReadMapFile(const QString& path);

// What the user is told about a map file of that length whose rest was not read; empty
// unless it is longer than a map.
QString LongMapFileNotice(const QString& path, qint64 length);

// The folder part of a name by the Windows rule, "/" taken like "\": "C:\Maps\a.KVX" gives
// "C:\Maps", "C:\a.KVX" gives "C:\", "C:a.KVX" gives "C:", "/a.KVX" gives "/", "NewMap" "".
QString MapDirectoryPart(const QString& name);

// The file of the map: MapName once the map was saved or loaded (the dialogs give full
// paths); empty for "NewMap" and "Random".
QString OpenMapFile();
