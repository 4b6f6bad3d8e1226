#include "platform/UserGameFolder.h"

#include "platform/Errors.h"
#include "platform/SafeFile.h"
#include "platform/WinPath.h"
#include "platform/XdgFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

void MakeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw GcError(QStringLiteral("Cannot create the folder %1").arg(path));
}

// A link counts as there even when it leads nowhere: the user put it there.
bool Present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Through a new file renamed into place: a copy cut short leaves nothing, and its failure
// names the system's reason (QFile::copy says "Unknown error" on a full disk).
void CopySheet(const QString& source, const QString& target)
{
    QFile sheet(source);
    const QByteArray bytes = sheet.open(QIODevice::ReadOnly) ? sheet.readAll() : QByteArray();
    if (sheet.error() != QFileDevice::NoError)
        throw GcError(
            QStringLiteral("Cannot copy %1 to %2: %3").arg(source, target, sheet.errorString()));
    WriteFileUnsynced(
        target, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); },
        bytes.size());
}

}  // namespace

QString UserGameFolder() { return XdgDataHome() + QStringLiteral("/gridcrafter/game"); }

void LayOutGameFolder(const QString& game, const QString& sheets)
{
    const QString sprites = NativePath(game + QStringLiteral("/Sprites"));
    MakeFolder(sprites);
    MakeFolder(game + QStringLiteral("/Gridcrafter"));
    const QDir source(sheets);
    for (const QString& name : source.entryList(QDir::Files, QDir::Name)) {
        const QString target = NativePath(sprites + QLatin1Char('/') + name);
        if (Present(target))
            continue;
        CopySheet(source.filePath(name), target);
    }
}
