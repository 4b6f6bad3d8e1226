#pragma once
// The commands on map files, with their questions through the prompts: Save, the quick save,
// Load, a load of a named file, and the question before closing.

#include <QString>
#include <functional>

// Files, Save: the save dialog preset to MapName, the file written, the map named after it
// and marked saved. A failed write throws GcError and leaves MapName, the caption and
// MapModified as they were.
void SaveMapCommand();

// Ctrl+S: a map that has a file (OpenMapFile) is written back into it through the same safe
// write as Save, without the dialog, the question before replacing and the notice box, and
// counts as saved as after Save; the answer is the notice, "Map saved as " and the file, for
// the hint panel. A map without a file is saved by SaveMapCommand, and the answer is empty.
// A failed write throws GcError and leaves MapName, the caption and MapModified as they were.
QString QuickSaveMapCommand();

// Files, Load: asks before discarding unsaved edits, runs the open dialog in the folder of
// MapName, then loads the chosen file as LoadNamedMapCommand does.
void LoadMapCommand(const std::function<void()>& redraw);

// Load without the dialog, for a file named from outside (the command line, a drop, the
// recent maps): asks before discarding unsaved edits, reads the file as one step of the
// history, names the map after it, draws it through redraw and marks it saved; a file
// longer than a map is then noted. A file that cannot be read throws GcError; map, name and
// caption stay and nothing is drawn.
void LoadNamedMapCommand(const QString& path, const std::function<void()>& redraw);

// The same without the question before discarding unsaved edits: a file that changed on disk
// loaded again.
void LoadMapWithoutAsking(const QString& path, const std::function<void()>& redraw);

// Asked before Save writes the map over path, once the path is chosen, and before the quick
// save writes into the map's file: whether it may (the answer empty when not). Without
// a check (nullptr), it may.
void SetOverwriteCheck(std::function<bool(const QString& path)> check);

// Called with the path of every map file loaded or saved, once that has succeeded.
void SetMapFileSink(std::function<void(const QString& path)> sink);

// Closing the editor: with unsaved edits asks whether to save them first. Yes runs Save
// and the answer is whether the map was saved; No answers true; Cancel false.
bool MayCloseEditor();
