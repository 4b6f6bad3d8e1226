#include "core/MapFile.h"

#include "core/MapModel.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

bool IsPathDelimiter(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

bool IsNameDelimiter(QChar c) { return IsPathDelimiter(c) || c == QLatin1Char(':'); }

}  // namespace

void WriteMapFile(const QString& path)
{
    WriteFileSafely(path, QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof(MapGrid)));
}

qint64 ReadMapFile(const QString& path)
{
    const QFileInfo info(path);
    // A FIFO or device would block or never end; only plain files are maps.
    if (info.exists() && !info.isFile())
        throw GcError(QStringLiteral("Cannot open map file %1: it is not a file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw GcError(QStringLiteral("Cannot open map file %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.read(MapFileRecordSize);
    if (bytes.size() < MapFileRecordSize) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("the file holds %1 bytes, a map file holds %2")
                                         .arg(bytes.size())
                                         .arg(MapFileRecordSize);
        throw GcError(QStringLiteral("Cannot load map file %1: %2").arg(path, reason));
    }
    std::memcpy(&MapGrid, bytes.constData(), sizeof(MapGrid));
    return file.size();
}

QString LongMapFileNotice(const QString& path, qint64 length)
{
    if (length <= MapFileRecordSize)
        return {};
    return QStringLiteral(
               "%1 holds %2 bytes; a map file holds %3. Only the first %3 bytes were read.")
        .arg(path)
        .arg(length)
        .arg(MapFileRecordSize);
}

QString MapDirectoryPart(const QString& name)
{
    qsizetype last = name.size() - 1;
    while (last >= 0 && !IsNameDelimiter(name[last]))
        --last;
    if (last < 0)
        return {};
    // The final separator stays where it belongs to a root: "C:\", "/", a doubled one.
    const bool dropSeparator =
        last > 0 && IsPathDelimiter(name[last]) && !IsNameDelimiter(name[last - 1]);
    return name.left(dropSeparator ? last : last + 1);
}

QString OpenMapFile() { return QFileInfo(MapName).isAbsolute() ? MapName : QString(); }
