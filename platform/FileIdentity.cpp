#include "platform/FileIdentity.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <utility>

namespace {

QString ResolvedPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : QDir(folder).filePath(info.fileName());
}

std::optional<std::pair<dev_t, ino_t>> DeviceAndInode(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return std::pair{status.st_dev, status.st_ino};
}

}  // namespace

bool SameFile(const QString& a, const QString& b)
{
    if (ResolvedPath(a) == ResolvedPath(b))
        return true;
    const auto first = DeviceAndInode(a);
    return first && first == DeviceAndInode(b);
}
