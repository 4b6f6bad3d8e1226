// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/FileCommands.h"

#include "core/MapFile.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/DiscardQuestion.h"
#include "platform/BusyCursor.h"
#include "platform/Prompts.h"

#include <optional>
#include <utility>

namespace {

std::function<void(const QString&)> mapFileSink;
std::function<bool(const QString&)> overwriteCheck;

void TellMapFile(const QString& path)
{
    if (mapFileSink)
        mapFileSink(path);
}

bool MayDiscardMapForLoad()
{
    return MayDiscardMap(
        QStringLiteral("Are you sure you want to load a map and discard this one?"));
}

// The map written to path through the safe write, and named after it.
void WriteMapAs(const QString& path)
{
    const BusyCursor busy;
    WriteMapFile(path);
    MapName = path;
    UpdateCaption();
}

QString SavedNotice() { return QStringLiteral("Map saved as ") + MapName; }

// Every save passes here once the map is in its file: undo's saved state and the map file
// sink follow.
void MapSaved()
{
    MarkMapSaved();
    TellMapFile(MapName);
}

void LoadChosenMap(const QString& path, const std::function<void()>& redraw)
{
    qint64 length = 0;
    {
        const BusyCursor busy;
        ChangeWholeMap(MapStep::Load, [&] {
            length = ReadMapFile(path);
            MapName = path;
            UpdateCaption();
        });
        redraw();
        MarkMapSaved();
    }
    TellMapFile(path);
    if (const QString notice = LongMapFileNotice(path, length); !notice.isEmpty())
        CurrentPrompts().Information(notice);
}

}  // namespace

void SaveMapCommand()
{
    const std::optional<QString> path = CurrentPrompts().FileDialog(SaveDialog, MapName);
    if (!path || (overwriteCheck && !overwriteCheck(*path)))
        return;
    WriteMapAs(*path);
    CurrentPrompts().Information(SavedNotice());
    MapSaved();
}

QString QuickSaveMapCommand()
{
    const QString file = OpenMapFile();
    if (file.isEmpty()) {
        SaveMapCommand();
        return {};
    }
    if (overwriteCheck && !overwriteCheck(file))
        return {};
    WriteMapAs(file);
    MapSaved();
    return SavedNotice();
}

void LoadMapCommand(const std::function<void()>& redraw)
{
    if (!MayDiscardMapForLoad())
        return;
    const std::optional<QString> path =
        CurrentPrompts().FileDialog(OpenDialog, MapDirectoryPart(MapName));
    if (path)
        LoadChosenMap(*path, redraw);
}

void LoadNamedMapCommand(const QString& path, const std::function<void()>& redraw)
{
    if (MayDiscardMapForLoad())
        LoadChosenMap(path, redraw);
}

void LoadMapWithoutAsking(const QString& path, const std::function<void()>& redraw)
{
    LoadChosenMap(path, redraw);
}

void SetOverwriteCheck(std::function<bool(const QString& path)> check)
{
    overwriteCheck = std::move(check);
}

void SetMapFileSink(std::function<void(const QString& path)> sink)
{
    mapFileSink = std::move(sink);
}

bool MayCloseEditor()
{
    if (!MapModified)
        return true;
    switch (CurrentPrompts().AskYesNoCancel(QStringLiteral("Save the changes to ") + MapName +
                                            QStringLiteral(" before closing?"))) {
    case Answer::Yes: SaveMapCommand(); return !MapModified;
    case Answer::No: return true;
    case Answer::Cancel: return false;
    }
    return false;
}
