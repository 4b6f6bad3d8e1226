#pragma once
// The recovery of this editor: while the map has unsaved changes, a copy of it in this
// editor's file of the recovery folder, so that a start after a crash, a kill or a power cut
// can bring it back. It follows the history: written at most a quiet interval after a change
// (at once after a whole-map step), removed once the map is saved or loaded, and when the
// editor closes. The disk is left to a thread of its own; the window's thread only takes a
// copy of the map. A failure to write is told once through the notice and stops nothing.
// On a load it tells, through the same notice, of other running editors that have unsaved
// changes to that file.

#include "core/MapHistory.h"
#include "platform/BackgroundWriter.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class RecoveryKeeper : public QObject {
public:
    // The longest a change waits before it is written: half a second before the two seconds
    // of editing a kill may take at most, which leaves that long for the disk.
    static constexpr std::chrono::milliseconds DefaultDelay{1500};

    // Keeps this editor's recovery in folder, writing delay after a change; notice shows a
    // line in the hint panel.
    RecoveryKeeper(QString folder, std::function<void(const QString&)> notice,
                   std::chrono::milliseconds delay = DefaultDelay, QObject* parent = nullptr);
    // Closes as Close does.
    ~RecoveryKeeper() override;

    // The recovery folder, and this editor's file in it.
    QString Folder() const { return folder_; }
    QString OwnFile() const { return ownFile_; }

    // Writes the map as it is now, without waiting for the delay.
    void KeepNow();
    // After the recovery in abandoned was restored: this editor's recovery written at once,
    // waiting for the disk, then abandoned removed, but only once that write succeeded, so
    // that the map is on disk throughout.
    void TakeOver(const QString& abandoned);
    // Removes abandoned, a recovery the user chose to discard.
    void Discard(const QString& abandoned);
    // The editor closes normally: this editor's recovery is removed (waiting for the disk),
    // and later changes are no longer kept.
    void Close();
    // Returns once everything asked of the disk so far is done.
    void WaitForDisk();

private:
    void HistoryChanged(const MapHistoryChange& change);
    void Forget();
    void Done(bool written, const QString& failure);
    void TellOtherEditors();

    // Where the recovery files are, and the one of this editor.
    const QString folder_;
    const QString ownFile_;
    // Shows a line in the hint panel.
    std::function<void(const QString&)> notice_;
    // Runs from the first change not yet written to the write.
    QTimer delay_;
    // The key of this keeper's history listener.
    int listener_ = 0;
    // This editor's file was asked to be written since it was last removed.
    bool written_ = false;
    // The last write failed and the user was told; the next failure is told again only after a
    // write succeeded.
    bool failureTold_ = false;
    // Close was called.
    bool closed_ = false;
    // The last write of this editor's file succeeded; set on the writer's thread.
    std::atomic<bool> lastWriteSucceeded_ = false;
    // The last change of the history made a Load step: the Saved that follows ends a load.
    bool loading_ = false;
    // Declared last: its thread ends first, before the members its reports reach.
    std::unique_ptr<BackgroundWriter> writer_;
};
