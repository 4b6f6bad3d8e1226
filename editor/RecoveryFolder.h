#pragma once
// The folder of recovery files, $XDG_STATE_HOME/gridcrafter/recovery: one file for each
// running editor whose map has unsaved changes, named after its process, and those that
// editors which died left behind. A file is its editor's alone while that editor runs.

#include "core/MapRecovery.h"
#include "platform/ProcessIdentity.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// $XDG_STATE_HOME/gridcrafter/recovery, or ~/.local/state/gridcrafter/recovery.
QString RecoveryFolder();

// "<pid>-<started>-<boot>.recovery": the file of the editor that runs as process.
QString RecoveryFileName(const ProcessIdentity& process);

// The process a recovery file's name tells; none for a name of another shape.
std::optional<ProcessIdentity> RecoveryFileOwner(const QString& fileName);

struct FoundRecovery {
    QString Path;
    MapRecovery Recovery;
};

// What a look into the folder found.
struct RecoveryFolderContents {
    // Of editors that no longer run, the newest first.
    std::vector<FoundRecovery> Abandoned;
    // Of editors that run (this one's included), in no order.
    std::vector<FoundRecovery> Running;
    // Files named as recoveries, of no running editor, that are no recovery.
    QStringList Unreadable;
};

// Reads the "*.recovery" files in folder (a missing folder holds none). A file of a running
// editor that cannot be read is left out: it is that editor's.
RecoveryFolderContents ReadRecoveryFolder(const QString& folder);

// Renames path to path + ".unreadable" (or ".unreadable-2" and so on where that is taken)
// and returns the new path. Throws GcError naming path and the reason.
QString MoveRecoveryAside(const QString& path);

// The processes of other running editors whose recovery names file as theirs: they have
// unsaved changes to it.
std::vector<qint64> EditorsWithUnsavedChangesTo(const QString& folder, const QString& file);
