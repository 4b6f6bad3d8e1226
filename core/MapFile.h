#pragma once
// Map files: the raw 20480 bytes of MapGrid, no header.

#include <QString>
#include <cstdint>
#include <functional>

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

// Files, Save: the save dialog preset to MapName, the file written, the map named after it
// and marked saved. A failed write throws GcError and leaves MapName, the caption and
// MapModified as they were.
void SaveMapCommand();

// Files, Load: asks before discarding unsaved edits, runs the open dialog in the folder of
// MapName, then loads the chosen file as LoadNamedMapCommand does.
void LoadMapCommand(const std::function<void()>& redraw);

// Load without the dialog, for a file named from outside (the command line, a drop, the
// recent maps): asks before discarding unsaved edits, reads the file as one step of the
// history, names the map after it, draws it through redraw and marks it saved; a file
// longer than a map is then noted. A file that cannot be read throws GcError; map, name and
// caption stay and nothing is drawn.
void LoadNamedMapCommand(const QString& path, const std::function<void()>& redraw);

// Called with the path of every map file loaded or saved, once that has succeeded.
void SetMapFileSink(std::function<void(const QString& path)> sink);

// Closing the editor: with unsaved edits asks whether to save them first. Yes runs Save
// and the answer is whether the map was saved; No answers true; Cancel false.
bool MayCloseEditor();
