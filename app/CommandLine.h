#pragma once
// The editor's command line: gridcrafter [--game DIR] [MAP.KVX], --help and --version.

#include "platform/CommandLine.h"

#include <QString>
#include <QStringList>
#include <optional>

struct EditorStart {
    ParsedCommandLine Line;  // with ExitStatus set, the run ends before any window is made
    QString MapPath;         // the map to load once the editor has started; empty for none
};

// Parses arguments (without the program's name) and, for --game DIR, enters DIR/Gridcrafter.
// MapPath is absolute, taken from the directory the editor was started in.
EditorStart PrepareEditorStart(const QStringList& arguments);

// The sprite sheets installed with the editor, share/gridcrafter/Sprites beside its bin
// folder. The build lays them out in the same place of the build tree, so a build runs alike.
QString InstalledSheets();

// Started without --game outside a game's editor folder, the editor works in the user's own
// game folder: laid out where it lacks something (sheets copied from sheets), then entered.
// Throws GcError naming what could not be made or entered.
void EnterUserGameFolderOutsideAGame(const ParsedCommandLine& line, const QString& sheets);

// --help and --version, answered before the application object exists so that they work
// without a display. Anything else waits until Qt has taken its own options out.
std::optional<int> AnswerWithoutDisplay(const QStringList& arguments);
