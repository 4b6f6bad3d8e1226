#include "platform/SafeFile.h"

#include "platform/Errors.h"

#include <QSaveFile>

void WriteFileSafely(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw GcError(QStringLiteral("Cannot create file %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw GcError(QStringLiteral("Cannot write file %1: %2").arg(path, reason));
    }
    if (!file.commit())
        throw GcError(QStringLiteral("Cannot write file %1: %2").arg(path, file.errorString()));
}
