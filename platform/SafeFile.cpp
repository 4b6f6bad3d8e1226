#include "platform/SafeFile.h"

#include "platform/Errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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
// umask, as for any new file. The names come from the system's randomness: a process forked
// from another would draw the same names as its siblings from a generator of its own.
int CreateBeside(const QByteArray& target, QByteArray& name, mode_t mode)
{
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::system()->generate(), 36);
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

// The new file as a device that takes every byte. The first write the system refuses is kept
// with its reason, and what comes after it is dropped: the writer goes on undisturbed (libpng
// would stop with a message of its own on the terminal), and the reason is reported once it is
// done. Qt's own file device reports a write cut short by a full disk as "Unknown error".
class NewFileDevice : public QIODevice {
public:
    explicit NewFileDevice(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

    // Why the first refused write was refused; empty while none was.
    const QString& Refusal() const { return refusal_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        for (qint64 written = 0; refusal_.isEmpty() && written < length;) {
            const ssize_t n = ::write(fd_, data + written, static_cast<size_t>(length - written));
            if (n > 0)
                written += n;
            else if (n == 0 || errno != EINTR)
                refusal_ = qt_error_string(n == 0 ? EIO : errno);
        }
        return length;
    }

private:
    int fd_;
    QString refusal_;
};

// What went wrong in the writing itself: the system's refusal, or a writer that gave up.
QString WriteFailure(int fd, const std::function<bool(QIODevice&)>& write)
{
    NewFileDevice file(fd);
    const bool whole = write(file);
    if (!file.Refusal().isEmpty())
        return file.Refusal();
    return whole ? QString() : QStringLiteral("the data to write could not be made");
}

// Writes through write into a new file beside the one path names and renames it over that
// one; synced, the bytes reach the disk before the rename.
void ReplaceFile(const QString& path, const std::function<bool(QIODevice&)>& write,
                 qint64 expectedSize, bool synced)
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
    try {
        if (reason.isEmpty())
            reason = WriteFailure(fd, write);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.constData());
        throw;
    }
    // The data, and the size it needs to be read back, reach the disk before the rename.
    if (reason.isEmpty() && synced && ::fdatasync(fd) != 0)
        reason = qt_error_string(errno);
    if (::close(fd) != 0 && reason.isEmpty())
        reason = qt_error_string(errno);
    if (reason.isEmpty() && ::rename(temporary.constData(), target.constData()) != 0)
        reason = qt_error_string(errno);
    if (!reason.isEmpty()) {
        ::unlink(temporary.constData());
        throw Failure("Cannot write file", path, reason);
    }
}

}  // namespace

void WriteFileSafely(const QString& path, const QByteArray& bytes)
{
    // No room set aside first: for a file this small it only adds to the wait for the disk.
    ReplaceFile(
        path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); }, 0, true);
}

void WriteFileUnsynced(const QString& path, const std::function<bool(QIODevice&)>& write,
                       qint64 expectedSize)
{
    ReplaceFile(path, write, expectedSize, false);
}
