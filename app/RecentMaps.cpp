#include "app/RecentMaps.h"

#include "app/Preferences.h"
#include "platform/FileIdentity.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <utility>

namespace {

const QString RecentMapsKey = QStringLiteral("RecentMaps");

void KeepRecentMaps(const QStringList& list) { EditorPreferences().setValue(RecentMapsKey, list); }

// "&" would mark an access key in a menu entry.
QString EntryText(int number, const QString& path)
{
    QString name = QFileInfo(path).fileName();
    return QStringLiteral("&%1 %2").arg(number).arg(
        name.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

}  // namespace

QStringList WithRecentMap(QStringList list, const QString& path)
{
    list.removeIf([&path](const QString& entry) { return SameFile(entry, path); });
    list.prepend(path);
    return list.mid(0, RecentMapCount);
}

QStringList RecentMaps()
{
    return EditorPreferences().value(RecentMapsKey).toStringList().mid(0, RecentMapCount);
}

TRecentMapsMenu::TRecentMapsMenu(QMenu& menu, QMenu& files,
                                 std::function<void(const QString&)> load)
    : QObject(&menu), menu_(menu), load_(std::move(load))
{
    connect(&files, &QMenu::aboutToShow, this, &TRecentMapsMenu::Fill);
    Fill();
}

void TRecentMapsMenu::Remember(const QString& path)
{
    KeepRecentMaps(WithRecentMap(RecentMaps(), path));
    Fill();
}

void TRecentMapsMenu::Fill()
{
    // Deleted later: Fill also runs inside the triggered signal of an entry.
    for (QAction* entry : menu_.actions()) {
        menu_.removeAction(entry);
        entry->deleteLater();
    }
    const QStringList maps = RecentMaps();
    for (int i = 0; i < maps.size(); ++i) {
        QAction* entry = menu_.addAction(EntryText(i + 1, maps[i]));
        // Everything after the first "|" is the hint, so a "|" in the path stays in it.
        entry->setStatusTip(QLatin1Char('|') + maps[i]);
        connect(entry, &QAction::triggered, this, [this, path = maps[i]] { Choose(path); });
    }
    menu_.setEnabled(!maps.isEmpty());
}

void TRecentMapsMenu::Choose(const QString& path)
{
    if (QFileInfo::exists(path)) {
        load_(path);
        return;
    }
    QStringList maps = RecentMaps();
    maps.removeAll(path);
    KeepRecentMaps(maps);
    Fill();
    CurrentPrompts().Warning(QStringLiteral("The map file %1 is no longer there; it was taken off "
                                            "the recent maps.")
                                 .arg(path));
}
