// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/RecoveryKeeper.h"

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "core/MapRecovery.h"
#include "editor/RecoveryFolder.h"
#include "platform/ProcessIdentity.h"

#include <QDateTime>
#include <QDir>
#include <QStringList>
#include <utility>
#include <vector>

RecoveryKeeper::RecoveryKeeper(QString folder, std::function<void(const QString&)> notice,
                               std::chrono::milliseconds delay, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      ownFile_(QDir(folder_).filePath(RecoveryFileName(ThisProcess()))),
      notice_(std::move(notice)),
      writer_(std::make_unique<BackgroundWriter>(
          [this](const QString& path, bool written, const QString& failure) {
              if (written && path == ownFile_)
                  lastWriteSucceeded_ = failure.isEmpty();
              // The writer's thread: the answer is taken on the window's.
              QMetaObject::invokeMethod(
                  this, [=, this] { Done(written, failure); }, Qt::QueuedConnection);
          }))
{
    delay_.setSingleShot(true);
    delay_.setInterval(delay);
    connect(&delay_, &QTimer::timeout, this, &RecoveryKeeper::KeepNow);
    listener_ =
        AddMapHistoryListener([this](const MapHistoryChange& change) { HistoryChanged(change); });
}

RecoveryKeeper::~RecoveryKeeper()
{
    Close();
    writer_.reset();
}

void RecoveryKeeper::KeepNow()
{
    delay_.stop();
    if (closed_ || !MapModified)
        return;
    // Only the copy is made here; the record is put together on the writer's thread.
    writer_->Write(ownFile_, [recovery = CaptureMapRecovery(QDateTime::currentDateTimeUtc())] {
        return EncodeMapRecovery(recovery);
    });
    written_ = true;
}

void RecoveryKeeper::TakeOver(const QString& abandoned)
{
    KeepNow();
    WaitForDisk();
    if (lastWriteSucceeded_)
        Discard(abandoned);
}

void RecoveryKeeper::Discard(const QString& abandoned) { writer_->Remove(abandoned); }

void RecoveryKeeper::Close()
{
    if (closed_)
        return;
    Forget();
    closed_ = true;
    RemoveMapHistoryListener(listener_);
    WaitForDisk();
}

void RecoveryKeeper::WaitForDisk() { writer_->Wait(); }

void RecoveryKeeper::HistoryChanged(const MapHistoryChange& change)
{
    const bool loaded = loading_ && change.Kind == HistoryChangeKind::Saved;
    loading_ = change.Kind == HistoryChangeKind::Step && change.WholeMap == MapStep::Load;
    if (!MapModified)
        Forget();
    else if (change.WholeMap || change.Kind == HistoryChangeKind::Unsaved)
        KeepNow();
    else if (!delay_.isActive())
        delay_.start();
    if (loaded)
        TellOtherEditors();
}

void RecoveryKeeper::Forget()
{
    delay_.stop();
    if (!written_)
        return;
    writer_->Remove(ownFile_);
    written_ = false;
}

void RecoveryKeeper::Done(bool written, const QString& failure)
{
    if (failure.isEmpty()) {
        if (written)
            failureTold_ = false;
        return;
    }
    if (failureTold_)
        return;
    failureTold_ = true;
    notice_(written ? QStringLiteral("No recovery copy of the unsaved changes: ") + failure
                    : failure);
}

void RecoveryKeeper::TellOtherEditors()
{
    const QString file = OpenMapFile();
    if (file.isEmpty())
        return;
    const std::vector<qint64> editors = EditorsWithUnsavedChangesTo(folder_, file);
    if (editors.empty())
        return;
    QStringList processes;
    for (const qint64 pid : editors)
        processes << QString::number(pid);
    notice_(QStringLiteral("Open with unsaved changes in another Gridcrafter (process %1): %2")
                .arg(processes.join(QStringLiteral(", ")), file));
}
