#pragma once
// Files, Recent maps: the last maps loaded or saved, newest first. The list lives in the
// editor's preferences alone, so that every run, and every editor running, shares it.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

inline constexpr int RecentMapCount = 8;

// list with path in front: an entry naming the same file goes, and the list ends after
// RecentMapCount entries.
QStringList WithRecentMap(QStringList list, const QString& path);

QStringList RecentMaps();

// The submenu: entries "&1 name" to "&8 name", each with the file's full path as its hint;
// disabled while the list is empty. It is filled anew whenever files, the menu it hangs in,
// opens. It belongs to the submenu.
class TRecentMapsMenu : public QObject {
public:
    // load: what loads a chosen map that is still there.
    TRecentMapsMenu(QMenu& menu, QMenu& files, std::function<void(const QString&)> load);

    // A map was loaded or saved under path.
    void Remember(const QString& path);

private:
    void Fill();
    void Choose(const QString& path);

    QMenu& menu_;
    std::function<void(const QString&)> load_;
};
