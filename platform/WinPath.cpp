#include "platform/WinPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

bool IsFixedComponent(const QString& name)
{
    return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
}

// The entry of folder whose name equals name in any letter case; name itself when the exact
// entry exists or nothing matches, so that a later error names the path as it was written.
QString MatchInFolder(const QString& folder, const QString& name)
{
    if (IsFixedComponent(name) || QFileInfo::exists(folder + name))
        return name;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    // Sorted by exact name so that, among several matches, the choice does not depend on the
    // order the file system happens to list them in.
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

}  // namespace

QString NativePath(const QString& windowsPath)
{
    QString path = windowsPath;
    path.replace(QChar('\\'), QChar('/'));
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    const QStringList components = path.split(QChar('/'));
    QString resolved;
    for (qsizetype i = 0; i < components.size(); ++i) {
        if (i > 0)
            resolved += QChar('/');
        resolved += MatchInFolder(resolved, components[i]);
    }
    return resolved;
}
