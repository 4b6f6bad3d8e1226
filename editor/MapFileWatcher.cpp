// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/MapFileWatcher.h"

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "editor/FileCommands.h"
#include "platform/Errors.h"
#include "platform/FileIdentity.h"
#include "platform/Prompts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <utility>

namespace {

constexpr QCryptographicHash::Algorithm Checksum = QCryptographicHash::Sha1;

QByteArray ChecksumOfMapShown()
{
    return QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid), Checksum);
}

}  // namespace

MapFileWatcher::MapFileWatcher(std::function<void(const QString&)> notice,
                               std::function<void()> redraw, std::chrono::milliseconds settle,
                               QObject* parent)
    : QObject(parent),
      notice_(std::move(notice)),
      redraw_(std::move(redraw)),
      maxSettle_(4 * settle)
{
    settle_.setSingleShot(true);
    settle_.setInterval(settle);
    connect(&settle_, &QTimer::timeout, this, &MapFileWatcher::CheckNow);
    connect(&system_, &QFileSystemWatcher::fileChanged, this, &MapFileWatcher::Schedule);
    connect(&system_, &QFileSystemWatcher::directoryChanged, this, &MapFileWatcher::Schedule);
    listener_ =
        AddMapHistoryListener([this](const MapHistoryChange& change) { HistoryChanged(change); });
    SetOverwriteCheck([this](const QString& path) { return MayOverwrite(path); });
    Watch(OpenMapFile());
}

MapFileWatcher::~MapFileWatcher()
{
    SetOverwriteCheck(nullptr);
    RemoveMapHistoryListener(listener_);
}

MapFileWatcher::DiskState MapFileWatcher::Read(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    QCryptographicHash checksum(Checksum);
    if (!file.open(QIODevice::ReadOnly) || !checksum.addData(&file))
        return {true, {}};
    return {true, checksum.result()};
}

bool MapFileWatcher::HoldsTheMapShown(const DiskState& state)
{
    return state.Exists && state.Checksum == ChecksumOfMapShown();
}

void MapFileWatcher::CheckNow()
{
    if (busy_) {
        Schedule();
        return;
    }
    Rewatch();
    if (file_.isEmpty())
        return;
    const DiskState now = Read(file_);
    if (now == known_ || now == declined_)
        return;
    // An own save under way, before it is marked as saved, or a copy of the map shown.
    if (HoldsTheMapShown(now)) {
        known_ = now;
        return;
    }
    busy_ = true;
    const auto done = qScopeGuard([this] { busy_ = false; });
    if (now.Exists)
        Changed(now);
    else
        Removed(now);
}

bool MapFileWatcher::MayOverwrite(const QString& path)
{
    if (file_.isEmpty() || !SameFile(path, file_))
        return true;
    const DiskState now = Read(file_);
    if (!now.Exists || now == known_ || HoldsTheMapShown(now))
        return true;
    return CurrentPrompts().AskYesNo(
        QStringLiteral("%1 was changed by another program since you loaded it. Overwrite it?")
            .arg(path));
}

void MapFileWatcher::HistoryChanged(const MapHistoryChange& change)
{
    const QString file = OpenMapFile();
    if (change.Kind == HistoryChangeKind::Saved && !file.isEmpty()) {
        loadedOrSaved_[file] = Read(file);
        Watch(file);
    } else if (file != file_) {
        // An undo, a redo or a new map brought another file's map, or none.
        Watch(file);
        Schedule();
    }
}

void MapFileWatcher::Watch(const QString& file)
{
    file_ = file;
    declined_.reset();
    const auto remembered = loadedOrSaved_.constFind(file);
    known_ = remembered != loadedOrSaved_.cend() ? *remembered : Read(file);
    Rewatch();
}

// Watched anew each time: a file replaced by a rename is another file under the same name,
// and the watch on the old one would tell nothing more.
void MapFileWatcher::Rewatch()
{
    const QStringList watched = system_.files() + system_.directories();
    if (!watched.isEmpty())
        system_.removePaths(watched);
    if (file_.isEmpty())
        return;
    const QFileInfo info(file_);
    if (QFileInfo(info.absolutePath()).isDir())
        system_.addPath(info.absolutePath());
    if (info.exists())
        system_.addPath(file_);
}

void MapFileWatcher::Schedule()
{
    if (!settle_.isActive())
        sinceFirstChange_.start();
    if (!settle_.isActive() || sinceFirstChange_.elapsed() < maxSettle_.count())
        settle_.start();
}

void MapFileWatcher::Changed(const DiskState& now)
{
    if (!MapModified) {
        LoadAgain(now);
        return;
    }
    if (CurrentPrompts().AskYesNo(
            QStringLiteral("%1 was changed by another program. Load it and lose your changes?")
                .arg(file_)))
        LoadAgain(now);
    else
        declined_ = now;
}

void MapFileWatcher::Removed(const DiskState& now)
{
    known_ = now;
    if (MapModified) {
        notice_(QStringLiteral("Removed by another program: %1").arg(file_));
        return;
    }
    MarkMapUnsaved();
    notice_(QStringLiteral("Removed by another program; the map is kept, unsaved: %1").arg(file_));
}

void MapFileWatcher::LoadAgain(const DiskState& now)
{
    const QString file = file_;
    try {
        LoadMapWithoutAsking(file, redraw_);
    } catch (const GcError& error) {
        declined_ = now;
        if (!MapModified)
            MarkMapUnsaved();
        notice_(QStringLiteral("Changed by another program: ") + error.Text());
        return;
    }
    notice_(QStringLiteral("Changed by another program and loaded again (Undo goes back): %1")
                .arg(file));
}
