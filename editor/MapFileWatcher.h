#pragma once
// The file of the open map, watched for what other programs do to it. The editor's own saves
// and loads are not changes: each tells the watcher, through the history, what the file then
// holds. When another program changes the file, a map without unsaved changes is loaded again
// (one step of the history) and the notice says so; with unsaved changes the user is asked
// first. A file removed leaves the map as it is, unsaved. Save over a file that changed since
// it was loaded or saved asks first. The watch goes on when the file is replaced by a rename,
// as every save does: the folder is watched too, and the file watched anew after each change.

#include "core/MapHistory.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

class MapFileWatcher : public QObject {
public:
    // How long the file must stay quiet after a change before it is read, so that a program's
    // write is read whole; four times as long at most, while it goes on.
    static constexpr std::chrono::milliseconds DefaultSettle{200};

    // Watches the file of the open map from now on; notice shows a line in the hint panel,
    // redraw draws a map loaded again. Installs itself as the check before Save overwrites.
    MapFileWatcher(std::function<void(const QString&)> notice, std::function<void()> redraw,
                   std::chrono::milliseconds settle = DefaultSettle, QObject* parent = nullptr);
    ~MapFileWatcher() override;

    // The file watched now: that of the open map, empty for none.
    QString File() const { return file_; }

    // Looks at the file now, as a change reported by the system does once it settled.
    void CheckNow();

    // Before Save writes over path: true unless path is the watched file, another program
    // changed it since it was loaded or saved, and the user answers No to "<path> was changed
    // by another program since you loaded it. Overwrite it?".
    bool MayOverwrite(const QString& path);

private:
    // What a file holds: whether it is there, and a checksum of its bytes (empty where it
    // cannot be read).
    struct DiskState {
        bool Exists = false;
        QByteArray Checksum;
        friend bool operator==(const DiskState&, const DiskState&) = default;
    };
    static DiskState Read(const QString& path);
    static bool HoldsTheMapShown(const DiskState& state);

    void HistoryChanged(const MapHistoryChange& change);
    void Watch(const QString& file);
    void Rewatch();
    void Schedule();
    void Changed(const DiskState& now);
    void Removed(const DiskState& now);
    void LoadAgain(const DiskState& now);

    // Shows a line in the hint panel; draws a map loaded again.
    std::function<void(const QString&)> notice_;
    std::function<void()> redraw_;
    // Watches the file and its folder; only tells that something happened.
    QFileSystemWatcher system_;
    // Runs from a change until the file has settled; restarted by each change until it has run
    // maxSettle_ since the first.
    QTimer settle_;
    QElapsedTimer sinceFirstChange_;
    std::chrono::milliseconds maxSettle_;
    // The watched file, and what it held when last loaded or saved here or looked at.
    QString file_;
    DiskState known_;
    // What each file held when it was last loaded or saved, so that an undo that brings back
    // another file's map also brings back what that file held.
    QHash<QString, DiskState> loadedOrSaved_;
    // What the file held when the user kept the edits over it: not asked about again.
    std::optional<DiskState> declined_;
    // A change is being dealt with (its question may be open): later ones wait for it.
    bool busy_ = false;
    // The key of this watcher's history listener.
    int listener_ = 0;
};
