#include "platform/SafeFile.h"

#include "platform/Errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>

namespace {

// The file that writing to path replaces: the one a link names, not the link.
QString ReplacedFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

// A new file beside target under an unused name, open for writing. mode is filtered by the
// umask, as for any new file.
int CreateBeside(const QByteArray& target, QByteArray& name, mode_t mode)
{
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

GcError Failure(const char* what, const QString& path, const QString& reason)
{
    return GcError(QStringLiteral("%1 %2: %3").arg(QLatin1String(what), path, reason));
}

}  // namespace

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

void WriteFileUnsynced(const QString& path, const std::function<bool(QIODevice&)>& write,
                       qint64 expectedSize)
{
    const QByteArray target = QFile::encodeName(ReplacedFile(path));
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        throw Failure("Cannot create file", path, qt_error_string(EISDIR));
    if (exists && ::access(target.constData(), W_OK) != 0)
        throw Failure("Cannot create file", path, qt_error_string(errno));
    QByteArray temporary;
    // Until it has the old file's permissions, nobody else may read the new one.
    const int fd = CreateBeside(target, temporary, exists ? 0600 : 0666);
    if (fd < 0)
        throw Failure("Cannot create file", path, qt_error_string(errno));
    QString reason;
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0)
        reason = qt_error_string(errno);
    // Only a hint: where the file system cannot, or has no room, the writes find out.
    if (expectedSize > 0)
        ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, expectedSize);
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    try {
        if (reason.isEmpty() && !(write(file) && file.flush()))
            reason = file.errorString();
    } catch (...) {
        ::unlink(temporary.constData());
        throw;
    }
    file.close();
    if (reason.isEmpty() && file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (reason.isEmpty() && ::rename(temporary.constData(), target.constData()) != 0)
        reason = qt_error_string(errno);
    if (!reason.isEmpty()) {
        ::unlink(temporary.constData());
        throw Failure("Cannot write file", path, reason);
    }
}
