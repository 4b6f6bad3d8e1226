#include "core/MapFile.h"

#include "core/MapModel.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cstring>

void WriteMapFile(const QString& path)
{
    WriteFileSafely(path, QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof(MapGrid)));
}

void ReadMapFile(const QString& path)
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
}
